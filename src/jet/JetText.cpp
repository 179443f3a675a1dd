#include "jet/JetText.h"

#include "jet/JetError.h"

namespace jet {

namespace {
[[noreturn]] void bad() { throw JetError(kErrValue, "text is not valid UTF-8"); }
}  // namespace

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0;
        int extra = 0;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            bad();
        }
        if (i + static_cast<size_t>(extra) >= s.size()) bad();
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) bad();
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            bad();
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += extra + 1;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() * 3);
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string encodeJetText(std::u16string_view text, bool allowCompression) {
    std::string plain;
    plain.reserve(text.size() * 2);
    bool compressible = allowCompression && !text.empty();
    for (char16_t c : text) {
        plain += static_cast<char>(c & 0xFF);
        plain += static_cast<char>(c >> 8);
        // A two-byte unit whose low byte is 00 would read as a mode switch.
        if ((c & 0xFF) == 0) compressible = false;
    }
    if (!compressible) return plain;
    std::string packed("\xFF\xFE", 2);
    bool oneByte = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool small = text[i] < 0x100;
        if (small != oneByte) {
            packed += '\0';
            oneByte = small;
        }
        packed += static_cast<char>(text[i] & 0xFF);
        if (!oneByte) packed += static_cast<char>(text[i] >> 8);
    }
    return packed.size() < plain.size() ? packed : plain;
}

std::u16string decodeJetText(const unsigned char *b, size_t n) {
    std::u16string out;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        out.reserve(n);
        bool oneByte = true;
        size_t i = 2;
        while (i < n) {
            if (b[i] == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                out += static_cast<char16_t>(b[i]);
                ++i;
            } else if (i + 1 < n) {
                out += static_cast<char16_t>(b[i] | (b[i + 1] << 8));
                i += 2;
            } else {
                break;  // a dangling half unit
            }
        }
        return out;
    }
    out.reserve(n / 2);
    for (size_t i = 0; i + 1 < n; i += 2) out += static_cast<char16_t>(b[i] | (b[i + 1] << 8));
    return out;
}

}  // namespace jet
