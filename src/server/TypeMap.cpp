#include "server/SqlType.h"

#include <algorithm>
#include <map>

#include "server/TextUtil.h"

namespace server {

namespace {

// One row per type: how it is named, coded and stored.
struct TypeRow {
    Base base;
    const char *name;
    int xtype;
    int bytes;  // fixed length in bytes (0: by declaration)
    int precedence;
    const char *decl;  // SQLite column declaration
};

const TypeRow kTypes[] = {
    {Base::Null, "null", 0, 0, 0, ""},
    {Base::Bit, "bit", 104, 1, 8, "INTEGER"},
    {Base::TinyInt, "tinyint", 48, 1, 9, "INTEGER"},
    {Base::SmallInt, "smallint", 52, 2, 10, "INTEGER"},
    {Base::Int, "int", 56, 4, 11, "INTEGER"},
    {Base::BigInt, "bigint", 127, 8, 12, "INTEGER"},
    {Base::Money, "money", 60, 8, 13, "REAL"},
    {Base::Decimal, "decimal", 106, 0, 14, "REAL"},
    {Base::Real, "real", 59, 4, 15, "REAL"},
    {Base::Float, "float", 62, 8, 16, "REAL"},
    {Base::DateTime, "datetime", 61, 8, 17, "TEXT"},
    {Base::VarChar, "varchar", 167, 0, 1, "TEXT COLLATE TSQL"},
    {Base::NVarChar, "nvarchar", 231, 0, 2, "TEXT COLLATE TSQL"},
    {Base::Text, "text", 35, 16, 6, "TEXT COLLATE TSQL"},
    {Base::NText, "ntext", 99, 16, 7, "TEXT COLLATE TSQL"},
    {Base::Image, "image", 34, 16, 5, "BLOB"},
    {Base::Timestamp, "timestamp", 189, 8, 4, "INTEGER"},
    {Base::UniqueIdentifier, "uniqueidentifier", 36, 16, 3, "TEXT COLLATE TSQL"},
};

const TypeRow &row(Base b) {
    for (const auto &r : kTypes)
        if (r.base == b) return r;
    return kTypes[0];
}

// Names the subset accepts; the rest is rejected as unknown.
const std::map<std::string, Base> &nameMap() {
    static const std::map<std::string, Base> names = {
        {"bit", Base::Bit},
        {"tinyint", Base::TinyInt},
        {"smallint", Base::SmallInt},
        {"int", Base::Int},
        {"integer", Base::Int},
        {"bigint", Base::BigInt},
        {"money", Base::Money},
        {"decimal", Base::Decimal},
        {"dec", Base::Decimal},
        {"real", Base::Real},
        {"float", Base::Float},
        {"datetime", Base::DateTime},
        {"varchar", Base::VarChar},
        {"nvarchar", Base::NVarChar},
        {"text", Base::Text},
        {"ntext", Base::NText},
        {"image", Base::Image},
        {"timestamp", Base::Timestamp},
        {"uniqueidentifier", Base::UniqueIdentifier},
    };
    return names;
}

}  // namespace

SqlType SqlType::of(Base b, int len, int prec, int sc) {
    SqlType t;
    t.base = b;
    t.length = len;
    t.precision = prec;
    t.scale = sc;
    if (b == Base::Money) {
        t.precision = 19;
        t.scale = 4;
    }
    return t;
}

bool SqlType::isText() const {
    return base == Base::VarChar || base == Base::NVarChar || base == Base::Text || base == Base::NText;
}
bool SqlType::isLob() const { return base == Base::Text || base == Base::NText || base == Base::Image; }
bool SqlType::isInteger() const {
    return base == Base::Bit || base == Base::TinyInt || base == Base::SmallInt || base == Base::Int ||
           base == Base::BigInt;
}
bool SqlType::isExact() const { return base == Base::Money || base == Base::Decimal; }
bool SqlType::isNumeric() const { return isInteger() || isExact() || base == Base::Real || base == Base::Float; }
bool SqlType::isUnicode() const { return base == Base::NVarChar || base == Base::NText; }

int SqlType::xtype() const { return row(base).xtype; }

int SqlType::byteLength() const {
    switch (base) {
    case Base::VarChar: return length;
    case Base::NVarChar: return 2 * length;
    case Base::Decimal: return precision <= 9 ? 5 : precision <= 19 ? 9 : precision <= 28 ? 13 : 17;
    default: return row(base).bytes;
    }
}

int SqlType::precedence() const { return row(base).precedence; }

int SqlType::definedSize() const {
    switch (base) {
    case Base::VarChar:
    case Base::NVarChar: return length;
    case Base::Text:
    case Base::NText:
    case Base::Image: return 2147483647;
    case Base::Decimal: return byteLength();
    default: return row(base).bytes;
    }
}

std::string SqlType::name() const {
    std::string n = row(base).name;
    if (base == Base::VarChar || base == Base::NVarChar)
        n += "(" + std::to_string(length) + ")";
    else if (base == Base::Decimal)
        n += "(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
    return n;
}

std::string SqlType::sqliteDecl() const { return row(base).decl; }

SqlType dominantType(const SqlType &a, const SqlType &b) {
    if (a.base == Base::Null) return b;
    if (b.base == Base::Null) return a;
    if (a.base == b.base) {
        SqlType t = a;
        if (a.base == Base::Decimal) {
            int scale = std::max(a.scale, b.scale);
            int whole = std::max(a.precision - a.scale, b.precision - b.scale);
            t.scale = scale;
            t.precision = std::min(38, whole + scale);
        } else {
            t.length = std::max(a.length, b.length);
        }
        return t;
    }
    return a.precedence() >= b.precedence() ? a : b;
}

bool typeFromName(const std::string &name, Base &out) {
    auto it = nameMap().find(lowerAscii(name));
    if (it == nameMap().end()) return false;
    out = it->second;
    return true;
}

SqlType typeFromXtype(int xtype, int length, int precision, int scale) {
    for (const auto &r : kTypes) {
        if (r.xtype == xtype && r.base != Base::Null) return SqlType::of(r.base, length, precision, scale);
    }
    return SqlType::of(Base::Null);
}

}  // namespace server
