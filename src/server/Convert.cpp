#include "server/Convert.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "server/ConvertStyles.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace server {

namespace {

const double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12,
                         1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25,
                         1e26, 1e27, 1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38};

std::string typeWord(const SqlType &t) {
    switch (t.base) {
    case Base::VarChar: return "varchar";
    case Base::NVarChar: return "nvarchar";
    case Base::Text: return "text";
    case Base::NText: return "ntext";
    default: return t.name();
    }
}

// A GUID's text as the server shows it: 32 hexadecimal digits in groups of
// 8-4-4-4-12, upper case; braces around it are accepted on input.
bool normalGuid(const std::string &in, std::string &out) {
    std::string t = in;
    if (t.size() == 38 && t.front() == '{' && t.back() == '}') t = t.substr(1, 36);
    if (t.size() != 36) return false;
    out.clear();
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != '-') return false;
            out += c;
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else {
            return false;
        }
    }
    return true;
}

std::string trimAll(const std::string &s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
    return s.substr(b, e - b);
}

bool parseIntText(const std::string &t, int64_t &out, bool &overflow) {
    overflow = false;
    size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        neg = t[i] == '-';
        ++i;
    }
    if (i >= t.size()) return false;
    __int128 v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
        if (v > (__int128)INT64_MAX + 1) overflow = true;
    }
    if (overflow) return true;
    if (neg) v = -v;
    if (v > INT64_MAX || v < INT64_MIN) {
        overflow = true;
        return true;
    }
    out = int64_t(v);
    return true;
}

// sign digits [. digits]
bool parseDecimalText(const std::string &t, double &out) {
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool digits = false, dot = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            digits = true;
        else if (t[i] == '.' && !dot)
            dot = true;
        else
            return false;
    }
    if (!digits) return false;
    out = std::strtod(t.c_str(), nullptr);
    return true;
}

bool parseFloatText(const std::string &t, double &out) {
    if (t.empty()) return false;
    char *end = nullptr;
    out = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size()) return false;
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) return false;
    return std::isfinite(out);
}

void checkIntRange(int64_t v, Base b, const std::string &shown) {
    int64_t lo = INT64_MIN, hi = INT64_MAX;
    switch (b) {
    case Base::TinyInt:
        lo = 0;
        hi = 255;
        break;
    case Base::SmallInt:
        lo = -32768;
        hi = 32767;
        break;
    case Base::Int:
        lo = INT32_MIN;
        hi = INT32_MAX;
        break;
    default: break;
    }
    if (v < lo || v > hi) throw makeError(8115, shown, SqlType::of(b).name());
}

double checkExact(double v, const SqlType &to) {
    double r = roundScale(v, to.scale);
    int whole = to.base == Base::Money ? 15 : to.precision - to.scale;
    if (std::fabs(r) >= kPow10[std::min(whole, 38)]) throw makeError(8115, "numeric", to.name());
    return r;
}

int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

void civilFromDays(int64_t z, int &y, int &m, int &d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = int64_t(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

const int64_t kDays1900 = daysFromCivil(1900, 1, 1);

int daysInMonth(int y, int m) {
    static const int dm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
    return dm[m - 1];
}

std::string formatDateTime(int y, int mo, int d, int h, int mi, int s, int ms) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, mo, d, h, mi, s, ms);
    return buf;
}

bool allDigits(const std::string &s, size_t b, size_t e) {
    if (b >= e) return false;
    for (size_t i = b; i < e; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

}  // namespace

int64_t packType(const SqlType &t) {
    return int64_t(t.xtype()) | (int64_t(t.length) << 8) | (int64_t(t.precision) << 24) | (int64_t(t.scale) << 32);
}

SqlType unpackType(int64_t code) {
    return typeFromXtype(int(code & 0xFF), int((code >> 8) & 0xFFFF), int((code >> 24) & 0xFF),
                         int((code >> 32) & 0xFF));
}

double roundScale(double v, int scale) {
    if (scale < 0 || !std::isfinite(v)) return v;
    if (scale > 18) scale = 18;
    double m = v * kPow10[scale];
    double a = std::fabs(m);
    if (a >= 4.5e15)  // already a whole number of units
        return std::round(m) / kPow10[scale];
    // A product like 2.345 * 100 lands a hair below the half it stands for:
    // within the representation error, a half rounds away from zero.
    double whole = std::floor(a);
    double frac = a - whole;
    double r = std::fabs(frac - 0.5) <= a * 4e-16 ? whole + 1 : std::round(a);
    return (m < 0 ? -r : r) / kPow10[scale];
}

std::string formatScaled(double v, int scale) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "%.*f", scale, roundScale(v, scale));
    std::string s = buf;
    if (s.rfind("-0", 0) == 0) {
        bool zero = true;
        for (char c : s.substr(1))
            if (c != '0' && c != '.') zero = false;
        if (zero) s = s.substr(1);
    }
    return s;
}

std::string formatFloat(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    std::string s = buf;
    size_t e = s.find('e');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        char sign = s[e + 1];
        std::string digits = s.substr(e + 2);
        while (digits.size() < 3) digits = "0" + digits;
        s = mant + "e" + sign + digits;
    }
    return s;
}

std::string parseDateTime(const std::string &raw) {
    std::string t = trimAll(raw);
    if (t.empty()) return "1900-01-01 00:00:00.000";
    size_t sep = t.find_first_of(" T");
    std::string date = t.substr(0, sep);
    std::string time = sep == std::string::npos ? "" : trimAll(t.substr(sep + 1));
    int y, m, d;
    if (allDigits(date, 0, date.size()) && date.size() == 8) {
        y = std::atoi(date.substr(0, 4).c_str());
        m = std::atoi(date.substr(4, 2).c_str());
        d = std::atoi(date.substr(6, 2).c_str());
    } else {
        char sepc = 0;
        for (char c : date)
            if (c == '-' || c == '/' || c == '.') {
                sepc = c;
                break;
            }
        if (!sepc) throw makeError(241);
        size_t p1 = date.find(sepc), p2 = date.find(sepc, p1 + 1);
        if (p2 == std::string::npos || date.find(sepc, p2 + 1) != std::string::npos) throw makeError(241);
        if (!allDigits(date, 0, p1) || !allDigits(date, p1 + 1, p2) || !allDigits(date, p2 + 1, date.size()))
            throw makeError(241);
        if (p1 != 4 || p2 - p1 - 1 > 2 || date.size() - p2 - 1 > 2) throw makeError(241);
        y = std::atoi(date.substr(0, p1).c_str());
        m = std::atoi(date.substr(p1 + 1, p2 - p1 - 1).c_str());
        d = std::atoi(date.substr(p2 + 1).c_str());
    }
    int h = 0, mi = 0, s = 0, ms = 0;
    if (!time.empty()) {
        size_t c1 = time.find(':');
        if (c1 == std::string::npos || !allDigits(time, 0, c1) || c1 > 2) throw makeError(241);
        size_t c2 = time.find(':', c1 + 1);
        size_t minEnd = c2 == std::string::npos ? time.size() : c2;
        if (!allDigits(time, c1 + 1, minEnd) || minEnd - c1 - 1 > 2) throw makeError(241);
        h = std::atoi(time.substr(0, c1).c_str());
        mi = std::atoi(time.substr(c1 + 1, minEnd - c1 - 1).c_str());
        if (c2 != std::string::npos) {
            size_t dot = time.find('.', c2 + 1);
            size_t secEnd = dot == std::string::npos ? time.size() : dot;
            if (!allDigits(time, c2 + 1, secEnd) || secEnd - c2 - 1 > 2) throw makeError(241);
            s = std::atoi(time.substr(c2 + 1, secEnd - c2 - 1).c_str());
            if (dot != std::string::npos) {
                std::string frac = time.substr(dot + 1);
                if (!allDigits(frac, 0, frac.size()) || frac.size() > 3) throw makeError(241);
                while (frac.size() < 3) frac += "0";
                ms = std::atoi(frac.c_str());
            }
        }
        if (h > 23 || mi > 59 || s > 59) throw makeError(242);
    }
    if (m < 1 || m > 12 || d < 1 || y < 1753 || y > 9999 || d > daysInMonth(y, m)) throw makeError(242);
    // datetime keeps 1/300 second ticks.
    int ticks = int(std::lround(ms * 0.3));
    ms = int(std::lround(ticks / 0.3));
    if (ms >= 1000) ms = 997;
    return formatDateTime(y, m, d, h, mi, s, ms);
}

double daysFromDateTime(const std::string &iso) {
    if (iso.size() < 19) return 0;
    int y = std::atoi(iso.substr(0, 4).c_str());
    int m = std::atoi(iso.substr(5, 2).c_str());
    int d = std::atoi(iso.substr(8, 2).c_str());
    int h = std::atoi(iso.substr(11, 2).c_str());
    int mi = std::atoi(iso.substr(14, 2).c_str());
    int s = std::atoi(iso.substr(17, 2).c_str());
    int ms = iso.size() >= 23 ? std::atoi(iso.substr(20, 3).c_str()) : 0;
    double days = double(daysFromCivil(y, unsigned(m), unsigned(d)) - kDays1900);
    return days + (h * 3600000.0 + mi * 60000.0 + s * 1000.0 + ms) / 86400000.0;
}

std::string dateTimeFromDays(double days) {
    // datetime spans 1753-01-01 (-53690) to 9999-12-31 (2958463); anything
    // outside, NaN included, overflows before the integer conversions below.
    if (!(days >= -53691.0 && days < 2958464.0)) throw makeError(8115, "expression", "datetime");
    double whole = std::floor(days);
    // datetime keeps 1/300 second ticks.
    int64_t ticks = std::llround((days - whole) * 86400.0 * 300.0);
    int64_t msOfDay = std::llround(double(ticks) * 10.0 / 3.0);
    int64_t day = int64_t(whole);
    if (msOfDay >= 86400000) {
        msOfDay -= 86400000;
        ++day;
    }
    int y, m, d;
    civilFromDays(day + kDays1900, y, m, d);
    if (y < 1753 || y > 9999) throw makeError(8115, "expression", "datetime");
    int ms = int(msOfDay % 1000);
    int64_t secs = msOfDay / 1000;
    return formatDateTime(y, m, d, int(secs / 3600), int((secs / 60) % 60), int(secs % 60), ms);
}

std::string currentDateTime() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm;
    localtime_r(&ts.tv_sec, &tm);
    int ms = int(ts.tv_nsec / 1000000);
    int ticks = int(std::lround(ms * 0.3));
    ms = std::min(997, int(std::lround(ticks / 0.3)));
    return formatDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
}

std::string displayText(const Value &v, const SqlType &type) {
    switch (v.kind) {
    case Value::Kind::Null: return "NULL";
    case Value::Kind::Int: return std::to_string(v.i);
    case Value::Kind::Real: {
        if (type.isExact()) return formatScaled(v.d, type.scale);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", v.d);
        return buf;
    }
    case Value::Kind::Text: return v.s;
    case Value::Kind::Blob: {
        static const char *hex = "0123456789ABCDEF";
        std::string r = "0x";
        for (unsigned char c : v.s) {
            r.push_back(hex[c >> 4]);
            r.push_back(hex[c & 15]);
        }
        return r;
    }
    }
    return "";
}

Value convertValue(const Value &v, const SqlType &fromIn, const SqlType &to, ConvertMode mode, int style) {
    if (v.isNull() || to.base == Base::Null) return v;
    SqlType from = fromIn;
    if (from.base == Base::Null) {
        // Unknown source: read it from the stored representation.
        from = v.kind == Value::Kind::Int    ? SqlType::of(Base::BigInt)
               : v.kind == Value::Kind::Real ? SqlType::of(Base::Float)
               : v.kind == Value::Kind::Blob ? SqlType::of(Base::Image)
                                             : SqlType::of(Base::NVarChar, 4000);
    }
    // Normalise the stored representation to what `from` says.
    std::string text;
    double num = 0;
    int64_t inum = 0;
    bool isInt = false;
    if (from.base == Base::Timestamp && v.kind == Value::Kind::Blob) {
        // A timestamp as read (binary(8), most significant byte first).
        uint64_t n = 0;
        for (unsigned char c : v.s) n = (n << 8) | c;
        inum = int64_t(n);
        num = double(inum);
        isInt = true;
    } else if (from.isText() || from.base == Base::DateTime || from.base == Base::Image ||
               from.base == Base::UniqueIdentifier) {
        if (v.kind == Value::Kind::Text || v.kind == Value::Kind::Blob)
            text = v.s;
        else if (v.kind == Value::Kind::Int)
            text = std::to_string(v.i);
        else
            text = formatFloat(v.d);
    } else if (v.kind == Value::Kind::Int) {
        inum = v.i;
        num = double(v.i);
        isInt = true;
    } else if (v.kind == Value::Kind::Real) {
        num = v.d;
    } else {
        // A number type holding text (e.g. an untyped SQLite column): parse it.
        double d;
        if (parseFloatText(trimAll(v.s), d))
            num = d;
        else
            throw makeError(245, typeWord(SqlType::of(Base::VarChar)), v.s, from.name());
    }

    switch (to.base) {
    case Base::Bit:
    case Base::TinyInt:
    case Base::SmallInt:
    case Base::Int:
    case Base::BigInt:
    case Base::Timestamp: {
        int64_t r = 0;
        if (from.isText()) {
            std::string t = trimAll(text);
            if (t.empty()) return Value::fromInt(0);
            if (to.base == Base::Bit) {
                if (iequals(t, "true")) return Value::fromInt(1);
                if (iequals(t, "false")) return Value::fromInt(0);
            }
            bool overflow = false;
            if (!parseIntText(t, r, overflow)) throw makeError(245, typeWord(from), text, to.name());
            if (overflow) throw makeError(8115, "expression", to.name());
        } else if (from.base == Base::DateTime) {
            r = int64_t(std::floor(daysFromDateTime(text) + 0.5));
        } else if (from.base == Base::Image || from.base == Base::UniqueIdentifier) {
            throw makeError(529, from.name(), to.name());
        } else if (isInt) {
            r = inum;
        } else {
            // money rounds to the nearest whole (a half away from zero);
            // decimal and float lose their fraction.
            double t = from.base == Base::Money ? roundScale(num, 0) : std::trunc(num);
            if (!(t > -9.3e18 && t < 9.3e18)) throw makeError(8115, "expression", to.name());
            r = int64_t(t);
            if (to.base == Base::Bit) return Value::fromInt(num != 0 ? 1 : 0);
        }
        if (to.base == Base::Bit) return Value::fromInt(r != 0 ? 1 : 0);
        checkIntRange(r, to.base, std::to_string(r));
        return Value::fromInt(r);
    }
    case Base::Money:
    case Base::Decimal:
    case Base::Float:
    case Base::Real: {
        double r = 0;
        if (from.isText()) {
            std::string t = trimAll(text);
            if (to.base == Base::Money) {
                std::string cleaned;
                for (char c : t)
                    if (c != ',') cleaned.push_back(c);
                if (cleaned.rfind("$", 0) == 0)
                    cleaned = cleaned.substr(1);
                else if (cleaned.rfind("\xEF\xBF\xA5", 0) == 0 || cleaned.rfind("\xC2\xA5", 0) == 0)
                    cleaned = cleaned.substr(cleaned[0] == '\xEF' ? 3 : 2);
                if (cleaned.empty())
                    r = 0;
                else if (!parseDecimalText(cleaned, r))
                    throw makeError(235);
            } else if (to.base == Base::Decimal) {
                if (!parseDecimalText(t, r)) throw makeError(8114, typeWord(from), "numeric");
            } else {
                if (t.empty())
                    r = 0;
                else if (!parseFloatText(t, r))
                    throw makeError(8114, typeWord(from), "float");
            }
        } else if (from.base == Base::DateTime) {
            r = daysFromDateTime(text);
        } else if (from.base == Base::Image || from.base == Base::UniqueIdentifier) {
            throw makeError(529, from.name(), to.name());
        } else {
            r = num;
        }
        if (to.base == Base::Money || to.base == Base::Decimal) return Value::fromReal(checkExact(r, to));
        if (to.base == Base::Real) r = double(float(r));
        return Value::fromReal(r);
    }
    case Base::DateTime: {
        if (from.isText()) {
            if (!convertStyleKnown(style))
                throw makeError(102, "CONVERT", "（不支持的样式 " + std::to_string(style) + "）");
            return Value::fromText(parseDateTime(text));
        }
        if (from.base == Base::DateTime) return Value::fromText(text);
        if (from.base == Base::Image || from.base == Base::UniqueIdentifier)
            throw makeError(529, from.name(), to.name());
        return Value::fromText(dateTimeFromDays(num));
    }
    case Base::VarChar:
    case Base::NVarChar:
    case Base::Text:
    case Base::NText: {
        std::string out;
        if (from.isText() || from.base == Base::Image || from.base == Base::UniqueIdentifier) {
            out = text;
        } else if (from.base == Base::DateTime) {
            out = formatDateTimeStyle(text, style);
        } else if (from.base == Base::Money) {
            out = formatScaled(num, 2);
        } else if (from.base == Base::Decimal) {
            out = formatScaled(num, from.scale);
        } else if (from.base == Base::Float || from.base == Base::Real) {
            out = formatFloat(num);
        } else {
            out = std::to_string(isInt ? inum : int64_t(num));
        }
        if (to.base == Base::VarChar || to.base == Base::Text) out = toCp936Repertoire(out);
        if (to.base == Base::VarChar || to.base == Base::NVarChar) {
            bool unicode = to.base == Base::NVarChar;
            int len = unicode ? utf16Length(out) : cp936Length(out);
            if (len > to.length) {
                if (mode == ConvertMode::Store) {
                    std::string trimmed = trimRightBlanks(out);
                    int tl = unicode ? utf16Length(trimmed) : cp936Length(trimmed);
                    if (tl > to.length) throw makeError(8152);
                }
                if (!from.isText() && from.base != Base::DateTime && mode != ConvertMode::Store &&
                    from.base != Base::Image && from.isInteger())
                    return Value::fromText("*");
                out = cutToLength(out, to.length, unicode);
            }
        }
        return Value::fromText(out);
    }
    case Base::Image: {
        if (from.base == Base::UniqueIdentifier) throw makeError(529, from.name(), to.name());
        if (v.kind == Value::Kind::Blob || v.kind == Value::Kind::Text) return Value::fromBlob(v.s);
        throw makeError(529, from.name(), to.name());
    }
    case Base::UniqueIdentifier: {
        if (from.base == Base::UniqueIdentifier) return Value::fromText(text);
        if (!from.isText()) throw makeError(529, from.name(), to.name());
        std::string guid;
        if (!normalGuid(trimAll(text), guid)) throw makeError(8169);
        return Value::fromText(guid);
    }
    case Base::Null: break;
    }
    return v;
}

}  // namespace server
