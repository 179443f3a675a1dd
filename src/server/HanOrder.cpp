#include "server/HanOrder.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <string>
#include <vector>

#include "server/TextUtil.h"

namespace server {

namespace {

bool isHan(char32_t c) { return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF); }

bool firstLevel(uint16_t gbk) { return gbk >= 0xB0A1 && gbk <= 0xD7F9 && (gbk & 0xFF) >= 0xA1; }

struct HanTable {
    std::vector<uint32_t> keys = std::vector<uint32_t>(0x10000, 0);

    HanTable() {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *coll = ucol_open("zh", &status);
        if (U_FAILURE(status) || !coll) return;
        struct Entry {
            std::string sortKey;
            char32_t c;
            uint16_t gbk;
        };
        std::vector<Entry> entries;
        for (char32_t c = 0x3400; c < 0x10000; ++c) {
            if (!isHan(c)) continue;
            uint16_t g = cp936Code(c);
            if (g <= 0xFF) continue;
            UChar u = UChar(c);
            uint8_t buf[64];
            int32_t n = ucol_getSortKey(coll, &u, 1, buf, int32_t(sizeof buf));
            if (n <= 0 || n > int32_t(sizeof buf)) continue;
            entries.push_back({std::string(reinterpret_cast<const char *>(buf), size_t(n)), c, g});
        }
        ucol_close(coll);
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry &a, const Entry &b) { return a.sortKey < b.sortKey; });
        // Characters before the first first-level one go just below it (B0A1).
        uint32_t anchor = 0xB0A0;
        uint32_t after = 0;
        for (const Entry &e : entries) {
            if (firstLevel(e.gbk)) {
                anchor = e.gbk;
                after = 0;
                keys[e.c] = (anchor << 16) | 0x4040;
                continue;
            }
            ++after;
            if (after >= 190 * 190) after = 190 * 190 - 1;
            keys[e.c] = (anchor << 16) | ((0x40 + after / 190) << 8) | (0x40 + after % 190);
        }
    }
};

}  // namespace

uint32_t hanOrderKey(char32_t c) {
    if (c >= 0x10000 || !isHan(c)) return 0;
    static const HanTable table;
    return table.keys[c];
}

}  // namespace server
