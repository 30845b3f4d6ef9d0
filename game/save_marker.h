// The save marker "partone.kv": the end of Part One writes it, the main
// program reads it on every start to offer Part Two. It is kept in the
// program's folder (the current folder); where that cannot be written, in
// the per-user data folder ($XDG_DATA_HOME/kestrovar/, else
// ~/.local/share/kestrovar/). Both places are read.
#pragma once

#include "core/basic_string.h"

inline constexpr char kSaveMarkerName[] = "partone.kv";
inline constexpr char kUnlockCode[] = "5093176";

// Path of the marker at place 0 (program folder) or 1 (user folder); ""
// when the place is not known.
BasicString SaveMarkerPath(double place);

// A marker that cannot be read (no permission, read error) is taken as
// absent by all three below: it is never compared or deleted, and
// SaveMarkerExists says why in the error log.

// 1 when a readable marker exists at either place, else 0.
double SaveMarkerExists();

// The unlock code when the first line of a marker at either place is
// exactly that; else the first line of the first marker found, "" when it
// is empty.
BasicString ReadSaveMarker();

// Deletes the readable markers at both places; silent where it cannot.
// Yields 0.
double KillSaveMarkers();

// Writes the unlock code and CR LF as the marker: in the program's folder,
// else in the user folder (made when missing). On the handheld "sync" runs
// afterwards. Yields 1 when written; 0 when neither place could be written,
// which the error log records and the game survives (Part Two stays
// locked).
double WriteSaveMarker();
