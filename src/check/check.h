// The checker's three passes over what the game reads: settings, database, pictures.
#pragma once
#include <cstdint>
#include "data/records.h"
#include "duel/text.h"

struct CheckOptions {
    bool all = false;   // every record and picture, not only what the settings name
    bool json = false;
};

// The folder separator of the system the checker runs on, and what it sets up first.
extern const char kSeparator[];
// Whether the system gives file names, and shows text, in UTF-8; else in its ANSI code
// page, which is taken for Windows-1252.
extern const bool kUtf8Names;
void StartPlatform();

// Where each number setting was last given, for placing findings (0: never given).
struct SettingLines {
    Text<255> file;  // the settings file's name as shown in findings
    long line[11] = {};
    bool read = false;  // the file could be read
};

// Checks the settings file line by line, then reads it into the duel state exactly as the
// game does. False when the file can't be read.
bool CheckSettings(const char* file, const char* shownName, SettingLines& lines);

// Checks path + "master.dat" and the records the settings name, when they were read
// (every record with --all). False when the file can't be found or read.
bool CheckDatabase(const CheckOptions& options, const SettingLines& settings);
void PrintRecordsJson();

// Checks the pictures the settings name, when named (with --all, also every picture of the
// data folder and every picture a record needs).
void CheckPictures(const CheckOptions& options, bool named);
// Forgets the pictures of the last check, for a check that looks at none.
void ResetPictures();
void PrintPictures();
void PrintPicturesJson();

// The records the database pass read, for the picture pass: creature and trainer numbers.
int RecordCount(int section);
int16_t RecordNumber(int section, int i);

// Writes the duel screen as the game shows it once the opening is over, for the match the
// settings name, into a 24-bit bitmap file. False when the file can't be written.
bool WriteDuelScreen(const char* file);
