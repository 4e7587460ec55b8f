// Rewrites the settings file for a new match, keeping every line it does not own.
#pragma once
#include <cstddef>
#include <cstdint>
#include "data/settings.h"
#include "duel/buffer.h"

// The ten numbers of a match, in the order of the settings' keys.
struct Match {
    int16_t number[kPathSetting];
};

// The new file from the old one's bytes (none for a missing file): every line whose key is
// one of the ten gets the match's number, each line keeping its own line end; a key no line
// has is added at the end with CR LF. Comments, unknown keys, Path and line ends stay as
// they are. When no line sets Path, dataFolder (if given) is added as Path. False when
// memory is short.
bool RewriteSettings(const char* old, std::size_t oldSize, const Match& match,
                     const char* dataFolder, Buffer<char>& out, std::size_t& outSize);
