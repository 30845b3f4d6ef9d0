// HTTP/1.0 download of one resource into a file.
#pragma once

#include "core/basic_string.h"

// GET path from host (name or dotted address) on port (truncated, modulo
// 65536) and stores the body in fileName ('\' taken as '/'). 1 when the
// server sent its whole response and closed the connection and every byte
// was written; 0 otherwise (no file could be made, a write fell short, the
// request does not fit 4096 bytes, the connection failed or was reset, or
// the server was silent for longer than the time limit). A response cut
// short (closed before its header ended, or before the Content-Length it
// announced arrived, however large) also gives 0 and its file is removed,
// as does one whose Content-Length is no length (negative, not a number, or
// two values that disagree; one value repeated is that value). Bytes past an
// announced length are not stored. After other failures a file that was
// made stays with what was written.
double HttpGetToFile(const BasicString& host, const BasicString& path, double port,
                     const BasicString& fileName);

// The same with the silence limit in milliseconds.
double HttpGetToFileWithin(const BasicString& host, const BasicString& path, double port,
                           const BasicString& fileName, double limitMs);

// Silence limit of HttpGetToFile: ORVALE_HTTP_TIMEOUT seconds (a positive
// number), else 30 seconds.
double HttpTimeoutMs();
