// Text built-ins of the command layer: substring, replace, length, character
// codes, hexadecimal and formatted number text, debugger text output and END.
#pragma once

#include <cstdint>

#include "core/basic_string.h"

// Substring from start (0-based) of count bytes, clamped to the text. A start
// outside 0..length or a count of 0 or less gives "", except that a negative
// count whose sum with start is below zero takes the rest of the text.
BasicString MidString(const BasicString& text, double start, double count);
// Replaces every occurrence of find, left to right; text produced by a
// replacement is never searched again. An empty find changes nothing.
BasicString ReplaceString(const BasicString& text, const BasicString& find,
                          const BasicString& replacement);
double StrLengthNumber(const BasicString& s);
// Length of the number's text by the number-to-text rule.
double NumberTextLength(double v);
// First byte as a signed value; 0 for an empty string.
double AscCode(const BasicString& s);
// One-character text of the low byte of code; "" for a low byte of 0.
BasicString ChrString(double code);
// Two upper-case hexadecimal digits per byte.
BasicString HexBytes(const uint8_t* bytes, int32_t count);
// printf's "%<width>.<precision>f", locale-free (the point is always '.').
BasicString FormatNumber(double width, double precision, double value);

// Program text for a linked debugger ("TX" prefix); on standard output
// when no debugger is linked.
void DebugPrint(const BasicString& text);
// The END statement.
[[noreturn]] void EndStatement();

// Sender id of the last network message fetched; written by the network layer.
extern int32_t gNetLastSender;
BasicString NetLastSenderText();
