// What the checker found, and how it says so: plain lines or JSON.
#pragma once
#include <cstdint>
#include "data/number.h"
#include "duel/text.h"

enum class Severity { Error, Warning };

using Place = Text<300>;
using Sentence = Text<600>;

// "file:line", or the file name alone when line is 0.
Place PlaceOf(const char* file, long line);

// True when text is name but for the case of its letters and blanks around it: a key or a
// header the game would take for nothing, though the author meant it.
bool AlmostEqual(const char* text, const char* name);

void Report(Severity severity, const char* place, const char* sentence);
// Forgets every finding so far (for a caller that checks more than once).
void ResetFindings();
int ErrorCount();
int WarningCount();

// Output on standard output.
void Print(const char* text);
void PrintNumber(int32_t v);
// A JSON string from Windows-1252 text, quotes included.
void PrintJson(const char* text);
// The same for a file's name, in the system's own characters.
void PrintJsonName(const char* name);
// Windows-1252 text, in the characters the system's terminal shows.
void PrintText(const char* text);
// Every finding, as lines ("place: error: sentence") or as a JSON array.
void PrintFindings();
void PrintFindingsJson();
