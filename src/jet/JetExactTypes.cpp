#include "jet/JetExactTypes.h"

#include <algorithm>
#include <cstdint>

namespace jet {

std::string decimalText(const std::string &stored, int scale) {
    if (stored.size() != 17) return {};
    auto byte = [&stored](size_t i) { return static_cast<unsigned char>(stored[i]); };
    // The 128-bit magnitude as four 32-bit words, least significant first.
    uint32_t words[4];
    for (int w = 0; w < 4; ++w) {
        const size_t at = 1 + 4 * static_cast<size_t>(3 - w);
        words[w] = uint32_t(byte(at)) | uint32_t(byte(at + 1)) << 8 | uint32_t(byte(at + 2)) << 16 |
                   uint32_t(byte(at + 3)) << 24;
    }
    // Decimal digits by repeated division by ten.
    std::string digits;
    while (words[0] || words[1] || words[2] || words[3]) {
        uint64_t rest = 0;
        for (int w = 3; w >= 0; --w) {
            const uint64_t cur = (rest << 32) | words[w];
            words[w] = static_cast<uint32_t>(cur / 10);
            rest = cur % 10;
        }
        digits += static_cast<char>('0' + rest);
    }
    scale = std::clamp(scale, 0, 38);
    while (digits.size() <= static_cast<size_t>(scale)) digits += '0';
    std::reverse(digits.begin(), digits.end());
    if (scale > 0) digits.insert(digits.size() - static_cast<size_t>(scale), ".");
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return (byte(0) & 0x80) && !zero ? "-" + digits : digits;
}

std::string guidText(const std::string &stored) {
    if (stored.size() != 16) return {};
    static const char *hex = "0123456789ABCDEF";
    // Byte order of the text: the three fields reversed, the rest as stored.
    static const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string out;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        const auto b = static_cast<unsigned char>(stored[static_cast<size_t>(order[i])]);
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    return out;
}

}  // namespace jet
