// The network thread of a hosted or joined session, and the request a
// client sends to the host and waits on.
#pragma once

#include "net/net_session.h"

// Marks the thread as running (stopRequested 0, threadRunning 1) and starts
// it; false (flags back to stopped) when no thread could be made.
bool NetStartThread(NetSession* s);

// The thread procedure: runs cycles until stopRequested is set, then
// clears threadRunning (its last touch of the session) and returns 0.
int NetThreadMain(NetSession* s);

// Sends a request whose type and payload the caller filled in and waits up
// to 5 seconds for the host's answer, which overwrites the packet. False
// when no thread runs, the hidden request player got no id, the send failed
// or nothing came.
bool NetRequest(NetSession* s, NetPacket* packet);

// The hosting process's own text (magic, type, target, sender and payload
// filled in): delivered to its own players at once and written to the
// sockets of the others' processes, as the host forwards texts. False when
// this process does not host a running session (nothing was done); sent
// tells whether every write went out.
bool NetSendDirect(NetSession* s, NetPacket* packet, bool* sent);

// Most sockets the host keeps accepted at once; further connections are
// closed as they arrive.
constexpr int kNetMaxConnections = 100;
