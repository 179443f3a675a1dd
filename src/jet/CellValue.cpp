#include "jet/CellValue.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "jet/JetDate.h"
#include "jet/JetError.h"
#include "jet/JetText.h"

namespace jet {

namespace {

[[noreturn]] void badCell(const ColumnSpec &c, const std::string &cell, const std::string &why) {
    throw JetError(kErrValue, "column " + c.name + ": \"" + cell.substr(0, 40) + "\" " + why);
}

int64_t parseInteger(const ColumnSpec &c, const std::string &s, int64_t lo, int64_t hi) {
    int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) badCell(c, s, "is not a whole number");
    if (v < lo || v > hi) badCell(c, s, "is out of range");
    return v;
}

double parseReal(const ColumnSpec &c, const std::string &s) {
    if (s.empty()) badCell(c, s, "is not a number");
    char *end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) badCell(c, s, "is not a number");
    return v;
}

std::string shortest(double v, bool single) {
    char buf[64];
    auto r =
        single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v)) : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

}  // namespace

int64_t parseCurrency(const std::string &text) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+')) ++i;
    int64_t units = 0;
    int fraction = -1;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '.' && fraction < 0) {
            fraction = 0;
            continue;
        }
        if (ch < '0' || ch > '9') throw JetError(kErrValue, "\"" + text + "\" is not an amount of money");
        if (fraction >= 4) throw JetError(kErrValue, "\"" + text + "\" has more than four decimals");
        if (__builtin_mul_overflow(units, 10, &units) || __builtin_add_overflow(units, ch - '0', &units))
            throw JetError(kErrValue, "\"" + text + "\" is out of range for money");
        digits = true;
        if (fraction >= 0) ++fraction;
    }
    if (!digits) throw JetError(kErrValue, "\"" + text + "\" is not an amount of money");
    for (int f = fraction < 0 ? 0 : fraction; f < 4; ++f) {
        if (__builtin_mul_overflow(units, 10, &units))
            throw JetError(kErrValue, "\"" + text + "\" is out of range for money");
    }
    return negative ? -units : units;
}

std::string formatCurrency(int64_t scaled) {
    const bool negative = scaled < 0;
    const uint64_t mag = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string frac = std::to_string(mag % 10000);
    frac.insert(0, 4 - frac.size(), '0');
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string out = (negative ? "-" : "") + std::to_string(mag / 10000);
    if (!frac.empty()) out += "." + frac;
    return out;
}

Value valueFromCell(const ColumnSpec &c, const Cell &cell) {
    if (!cell) {
        if (c.required && c.type != ColumnType::AutoNumber)
            throw JetError(kErrValue, "column " + c.name + " is Required but the value is NULL");
        return Value::null();
    }
    const std::string &s = *cell;
    switch (c.type) {
    case ColumnType::Boolean:
        if (s == "1" || s == "true" || s == "True" || s == "-1") return Value::boolean(true);
        if (s == "0" || s == "false" || s == "False") return Value::boolean(false);
        badCell(c, s, "is not 1 or 0");
    case ColumnType::Byte: return Value::integral(parseInteger(c, s, 0, 255));
    case ColumnType::Integer: return Value::integral(parseInteger(c, s, -32768, 32767));
    case ColumnType::Long:
    case ColumnType::AutoNumber: return Value::integral(parseInteger(c, s, INT32_MIN, INT32_MAX));
    case ColumnType::Currency: try { return Value::currency(parseCurrency(s));
        } catch (const JetError &e) {
            throw JetError(kErrValue, "column " + c.name + ": " + e.what());
        }
    case ColumnType::Single: {
        const double v = parseReal(c, s);
        if (std::fabs(v) > std::numeric_limits<float>::max()) badCell(c, s, "is out of range for Single");
        return Value::single(static_cast<float>(v));
    }
    case ColumnType::Double: return Value::dbl(parseReal(c, s));
    case ColumnType::DateTime: try { return Value::dateTime(jetDateFromText(s));
        } catch (const JetError &e) {
            throw JetError(kErrValue, "column " + c.name + ": " + e.what());
        }
    case ColumnType::Text:
    case ColumnType::Memo: {
        std::u16string u;
        try {
            u = utf8ToUtf16(s);
        } catch (const JetError &e) {
            throw JetError(kErrValue, "column " + c.name + ": " + e.what());
        }
        if (c.type == ColumnType::Text && u.size() > static_cast<size_t>(c.size))
            badCell(c, s, "is longer than " + std::to_string(c.size) + " characters");
        return Value::text(s);
    }
    case ColumnType::OLE: {
        if (s.size() % 2) badCell(c, s, "is not hexadecimal");
        std::string raw;
        raw.reserve(s.size() / 2);
        for (size_t i = 0; i < s.size(); i += 2) {
            const int hi = hexDigit(s[i]), lo = hexDigit(s[i + 1]);
            if (hi < 0 || lo < 0) badCell(c, s, "is not hexadecimal");
            raw += static_cast<char>(hi * 16 + lo);
        }
        return Value::binary(raw);
    }
    }
    badCell(c, s, "has an unknown column type");
}

Cell cellFromValue(const Value &v) {
    switch (v.kind) {
    case ValueKind::Null: return std::nullopt;
    case ValueKind::Boolean: return std::string(v.integer ? "1" : "0");
    case ValueKind::Integer: return std::to_string(v.integer);
    case ValueKind::Currency: return formatCurrency(v.integer);
    case ValueKind::Single: return shortest(v.real, true);
    case ValueKind::Double: return shortest(v.real, false);
    case ValueKind::DateTime: return jetDateToText(v.real);
    case ValueKind::Text: return v.bytes;
    case ValueKind::Binary: {
        static const char *hex = "0123456789ABCDEF";
        std::string out;
        for (unsigned char ch : v.bytes) {
            out += hex[ch >> 4];
            out += hex[ch & 15];
        }
        return out;
    }
    }
    return std::nullopt;
}

}  // namespace jet
