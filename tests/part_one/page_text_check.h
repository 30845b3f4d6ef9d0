// The check of a part's text table against the real font strip: printable
// ASCII, at most 249 characters, within 10 % of the given length, one-line
// texts within the screen, wrapped texts ending 20 units above the next
// thing printed. Needs the play harness's environment (font and kern); the
// tests run it with the desktop strip and again with the handheld's.
#pragma once

#include <string>

#include "game/page_texts.h"

// Checks every entry of table; lookup is the name of the part's lookup
// function, whose uses in the part's sources (folder below game/) must all
// name keys of the table.
void CheckPageTexts(const PageTextTable& table, const std::string& lookup,
                    const std::string& sourceFolder);

// Lines WrapText prints for text at margin, with the glyph widths in kern.
int WrappedLines(const std::string& text, double margin);
