#include "server/TextUtil.h"

#include <iconv.h>

#include <array>
#include <memory>
#include <mutex>

#include "server/HanOrder.h"
#include "server/SqlError.h"

namespace server {

std::string lowerAscii(std::string_view s) {
    std::string r(s);
    for (char &c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}

std::string upperAscii(std::string_view s) {
    std::string r(s);
    for (char &c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return r;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

namespace {

// Decodes one UTF-8 sequence at s[i]; invalid bytes come out as U+FFFD.
char32_t nextChar(std::string_view s, size_t &i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0) {
        ++i;
        return 0xFFFD;
    }
    char32_t v = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= s.size()) {
            ++i;
            return 0xFFFD;
        }
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        v = (v << 6) | (d & 0x3F);
    }
    i += extra + 1;
    return v;
}

// Unicode BMP code point -> GBK bytes (0 when not representable; ASCII as is).
struct GbkTable {
    std::vector<uint16_t> map;
    GbkTable() : map(0x10000, 0) {
        iconv_t cd = iconv_open("GBK", "UTF-32LE");
        if (cd == (iconv_t)-1) return;
        for (uint32_t cp = 0x80; cp < 0x10000; ++cp) {
            if (cp >= 0xD800 && cp < 0xE000) continue;
            char in[4] = {char(cp & 0xFF), char((cp >> 8) & 0xFF), 0, 0};
            char out[8];
            char *ip = in;
            char *op = out;
            size_t il = 4, ol = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) != (size_t)-1) {
                size_t n = sizeof out - ol;
                if (n == 2)
                    map[cp] = uint16_t((uint8_t(out[0]) << 8) | uint8_t(out[1]));
                else if (n == 1)
                    map[cp] = uint8_t(out[0]);
            }
        }
        iconv_close(cd);
    }
};

const GbkTable &gbk() {
    static const GbkTable table;
    return table;
}

}  // namespace

std::u32string decodeUtf8(std::string_view s) {
    std::u32string r;
    r.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) r.push_back(nextChar(s, i));
    return r;
}

void appendUtf8(std::string &out, char32_t c) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

std::string encodeUtf8(std::u32string_view s) {
    std::string r;
    r.reserve(s.size());
    for (char32_t c : s) appendUtf8(r, c);
    return r;
}

char32_t foldCase(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c >= 0x100 && c <= 0x17F && (c % 2 == 0) && c != 0x130) return c + 1;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
    return c;
}

uint16_t cp936Code(char32_t c) { return c < 0x80 ? uint16_t(c) : c < 0x10000 ? gbk().map[c] : 0; }

std::string collationKey(std::string_view s) {
    std::string key;
    key.reserve(s.size());
    size_t i = 0;
    const auto &map = gbk().map;
    while (i < s.size()) {
        char32_t c = foldCase(nextChar(s, i));
        if (c < 0x80) {
            key.push_back(char(c));
        } else if (uint32_t h = hanOrderKey(c)) {
            // Chinese characters in pinyin order (HanOrder.h); 4 bytes each.
            key.push_back(char(h >> 24));
            key.push_back(char((h >> 16) & 0xFF));
            key.push_back(char((h >> 8) & 0xFF));
            key.push_back(char(h & 0xFF));
        } else if (c < 0x10000 && map[c] != 0) {
            uint16_t g = map[c];
            if (g > 0xFF) key.push_back(char(g >> 8));
            key.push_back(char(g & 0xFF));
        } else {
            // Outside the code page: after every code page character.
            key.push_back(char(0xFF));
            key.push_back(char(0xFF));
            key.push_back(char((c >> 16) & 0xFF));
            key.push_back(char((c >> 8) & 0xFF));
            key.push_back(char(c & 0xFF));
        }
    }
    while (!key.empty() && key.back() == ' ') key.pop_back();
    return key;
}

int collateCompare(std::string_view a, std::string_view b) {
    // Fast path: plain ASCII on both sides.
    size_t na = a.size(), nb = b.size();
    while (na > 0 && a[na - 1] == ' ') --na;
    while (nb > 0 && b[nb - 1] == ' ') --nb;
    bool ascii = true;
    size_t n = std::min(na, nb);
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 0x80 || y >= 0x80) {
            ascii = false;
            break;
        }
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return x < y ? -1 : 1;
    }
    if (ascii) {
        bool restAscii = true;
        for (size_t i = n; i < na; ++i)
            if (static_cast<unsigned char>(a[i]) >= 0x80) restAscii = false;
        for (size_t i = n; i < nb; ++i)
            if (static_cast<unsigned char>(b[i]) >= 0x80) restAscii = false;
        if (restAscii) return na == nb ? 0 : (na < nb ? -1 : 1);
    }
    std::string ka = collationKey(a.substr(0, na)), kb = collationKey(b.substr(0, nb));
    int c = ka.compare(kb);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int utf16Length(std::string_view s) {
    int n = 0;
    size_t i = 0;
    while (i < s.size()) n += nextChar(s, i) >= 0x10000 ? 2 : 1;
    return n;
}

int cp936Length(std::string_view s) {
    int n = 0;
    size_t i = 0;
    const auto &map = gbk().map;
    while (i < s.size()) {
        char32_t c = nextChar(s, i);
        n += (c < 0x80 || c >= 0x10000 || map[c] == 0 || map[c] <= 0xFF) ? 1 : 2;
    }
    return n;
}

std::string toCp936Repertoire(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    size_t i = 0;
    const auto &map = gbk().map;
    while (i < s.size()) {
        char32_t c = nextChar(s, i);
        if (c < 0x80 || (c < 0x10000 && map[c] != 0))
            appendUtf8(r, c);
        else
            r.push_back('?');
    }
    return r;
}

std::string cutToLength(std::string_view s, int n, bool unicode) {
    std::string r;
    int used = 0;
    size_t i = 0;
    const auto &map = gbk().map;
    while (i < s.size()) {
        char32_t c = nextChar(s, i);
        int w =
            unicode ? (c >= 0x10000 ? 2 : 1) : ((c < 0x80 || c >= 0x10000 || map[c] == 0 || map[c] <= 0xFF) ? 1 : 2);
        if (used + w > n) break;
        used += w;
        appendUtf8(r, c);
    }
    return r;
}

std::string trimRightBlanks(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return std::string(s.substr(0, n));
}

std::string trimLeftBlanks(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return std::string(s.substr(i));
}

namespace {

// Order of two case-folded characters under the collation.
int compareChar(char32_t a, char32_t b) {
    if (a < 0x80 && b < 0x80) return a < b ? -1 : a > b ? 1 : 0;
    std::u32string x(1, a), y(1, b);
    return collateCompare(encodeUtf8(x), encodeUtf8(y));
}

// The [...] set opening at p[pi]: `end` gets the index after its ']' and
// the result tells whether c is in it ([^...] negates; a-z is a range
// under the collation; '-' first or last is itself). Without a closing ']'
// end is npos.
bool inSet(const std::u32string &p, size_t pi, char32_t c, size_t &end) {
    size_t i = pi + 1;
    bool negate = i < p.size() && p[i] == '^';
    if (negate) ++i;
    size_t close = p.find(U']', i);
    end = close == std::u32string::npos ? close : close + 1;
    if (close == std::u32string::npos) return false;
    bool found = false;
    while (i < close) {
        if (i + 2 < close && p[i + 1] == '-') {
            if (compareChar(p[i], c) <= 0 && compareChar(c, p[i + 2]) <= 0) found = true;
            i += 3;
        } else {
            if (compareChar(p[i], c) == 0) found = true;
            ++i;
        }
    }
    return found != negate;
}

bool likeAt(const std::u32string &t, size_t ti, const std::u32string &p, size_t pi) {
    while (pi < p.size()) {
        char32_t pc = p[pi];
        if (pc == '%') {
            while (pi < p.size() && p[pi] == '%') ++pi;
            if (pi == p.size()) return true;
            for (size_t k = ti; k <= t.size(); ++k)
                if (likeAt(t, k, p, pi)) return true;
            return false;
        }
        if (ti >= t.size()) return false;
        if (pc == '[') {
            size_t end;
            if (!inSet(p, pi, t[ti], end)) return false;
            ++ti;
            pi = end;
            continue;
        }
        if (pc != '_' && pc != t[ti]) return false;
        ++ti;
        ++pi;
    }
    // Trailing blanks of the text do not count.
    while (ti < t.size() && t[ti] == ' ') ++ti;
    return ti == t.size();
}

std::u32string folded(std::string_view s) {
    std::u32string r = decodeUtf8(s);
    for (auto &c : r) c = foldCase(c);
    return r;
}

}  // namespace

bool likeMatch(std::string_view text, std::string_view pattern) {
    std::u32string t = folded(text), p = folded(pattern);
    // Trailing blanks of the pattern are significant except when matching blanks.
    return likeAt(t, 0, p, 0);
}

int charIndex(std::string_view find, std::string_view s) {
    std::u32string f = folded(find), t = folded(s);
    if (f.empty()) return 0;
    size_t pos = t.find(f);
    return pos == std::u32string::npos ? 0 : int(pos) + 1;
}

std::string replaceCollated(std::string_view s, std::string_view from, std::string_view to) {
    std::u32string orig = decodeUtf8(s);
    std::u32string t = folded(s), f = folded(from), r = decodeUtf8(to);
    if (f.empty()) return std::string(s);
    std::u32string out;
    size_t i = 0;
    while (i < t.size()) {
        if (t.compare(i, f.size(), f) == 0) {
            out += r;
            i += f.size();
        } else {
            out.push_back(orig[i]);
            ++i;
        }
    }
    return encodeUtf8(out);
}

}  // namespace server

namespace server {

std::string toCp936Bytes(std::string_view s) {
    std::string r;
    size_t i = 0;
    const auto &map = gbk().map;
    while (i < s.size()) {
        char32_t c = nextChar(s, i);
        if (c < 0x80) {
            r.push_back(char(c));
        } else if (c < 0x10000 && map[c] != 0) {
            uint16_t g = map[c];
            if (g > 0xFF) r.push_back(char(g >> 8));
            r.push_back(char(g & 0xFF));
        } else {
            r.push_back('?');
        }
    }
    return r;
}

}  // namespace server
