// The declared T-SQL type of a column, a variable or an expression, as the
// engine's catalogue keeps it. Values live in SQLite in the representation
// the type map gives (see TypeMap.cpp).
#pragma once

#include <string>

namespace server {

enum class Base {
    Null,  // the type of the NULL literal: converts to anything
    Bit,
    TinyInt,
    SmallInt,
    Int,
    BigInt,
    Money,
    Decimal,
    Real,
    Float,
    DateTime,
    VarChar,
    NVarChar,
    Text,
    NText,
    Image,
    Timestamp,
    UniqueIdentifier,  // a GUID, held as its text "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
};

struct SqlType {
    Base base = Base::Null;
    int length = 0;     // characters for (n)varchar, 0 where the type has none
    int precision = 0;  // decimal only
    int scale = 0;      // decimal and money

    static SqlType of(Base b, int len = 0, int prec = 0, int sc = 0);

    bool isText() const;     // varchar, nvarchar, text, ntext
    bool isLob() const;      // text, ntext, image: not comparable
    bool isInteger() const;  // bit up to bigint
    bool isExact() const;    // money and decimal
    bool isNumeric() const;  // any number type, bit included
    bool isUnicode() const;

    int xtype() const;         // the server's type code (syscolumns.xtype)
    int byteLength() const;    // syscolumns.length
    int precedence() const;    // higher wins in mixed expressions
    int definedSize() const;   // what a client reads as DefinedSize
    std::string name() const;  // "nvarchar(50)", "decimal(16,6)", ...
    // SQLite column declaration (affinity and collation).
    std::string sqliteDecl() const;
    bool operator==(const SqlType &o) const = default;
};

// The type that wins when two types meet (comparison, arithmetic, CASE, UNION).
SqlType dominantType(const SqlType &a, const SqlType &b);

// Looks up a type name of the subset ("int", "INTEGER", "nvarchar", ...).
// Returns false for a name the subset does not know.
bool typeFromName(const std::string &name, Base &out);

SqlType typeFromXtype(int xtype, int length, int precision, int scale);

}  // namespace server
