// The settings rewrite: line by line, as the game splits them, the ten match keys replaced.
#include "data/settings_write.h"
#include <cstring>
#include "data/number.h"
#include "data/settings.h"

namespace {

struct Writer {
    Buffer<char>& out;
    std::size_t used;
    void Put(const char* s, std::size_t n) {
        std::memcpy(out.data() + used, s, n);
        used += n;
    }
    void Put(const char* s) { Put(s, std::strlen(s)); }
    void Setting(int key, int16_t value, const char* end, std::size_t endLength) {
        char digits[12];
        DecimalText(value, digits);
        Put(SettingName(key));
        Put("=");
        Put(digits);
        Put(end, endLength);
    }
};

}  // namespace

bool RewriteSettings(const char* old, std::size_t oldSize, const Match& match,
                     const char* dataFolder, Buffer<char>& out, std::size_t& outSize) {
    const std::size_t folderLength = dataFolder ? std::strlen(dataFolder) : 0;
    // Each of the old lines at most grows to a key, "=", a number and its end; then up to
    // ten new lines, a Path line and one line end put before them.
    std::size_t lines = 1;
    for (std::size_t i = 0; i < oldSize; i++) lines += old[i] == '\n' || old[i] == '\r';
    if (!out.reset(oldSize + lines * 24 + 11 * 24 + folderLength + 16)) return false;
    Writer w{out, 0};
    bool given[kSettingCount] = {};
    bool endsOpen = false;  // the last line has no line end
    for (std::size_t at = 0; at < oldSize;) {
        std::size_t end = at;
        while (end < oldSize && old[end] != '\r' && old[end] != '\n') end++;
        std::size_t next = end;
        if (next < oldSize) next += (old[next] == '\r' && next + 1 < oldSize && old[next + 1] == '\n') ? 2 : 1;
        const char* eq = static_cast<const char*>(std::memchr(old + at, '=', end - at));
        int key = SettingIndexSpan(old + at, eq ? eq : old + end);
        if (key >= 0) given[key] = true;
        if (key >= 0 && key != kPathSetting)
            w.Setting(key, match.number[key], old + end, next - end);
        else
            w.Put(old + at, next - at);
        endsOpen = next == end;
        at = next;
    }
    bool adding = !given[kPathSetting] && dataFolder;
    for (int key = 0; key < kPathSetting; key++) adding |= !given[key];
    if (endsOpen && adding) w.Put("\r\n");  // the player's last line stays as it was otherwise
    for (int key = 0; key < kPathSetting; key++)
        if (!given[key]) w.Setting(key, match.number[key], "\r\n", 2);
    if (!given[kPathSetting] && dataFolder) {
        w.Put("Path=");
        w.Put(dataFolder);
        w.Put("\r\n");
    }
    outSize = w.used;
    return true;
}
