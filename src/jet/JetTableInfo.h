// What the reader tells about one table and its fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

struct JetFieldInfo {
    std::string name;
    int jetType = 0;        // the Jet column code (1 Yes/No .. 12 Memo, 15 GUID, 16 Decimal, 17, 18 complex)
    std::string typeName;   // "Boolean", "Long", "Text", ... as in the table text form
    int size = 0;           // bytes for fixed types, characters for Text, 0 for Memo/OLE
    bool required = false;  // NOT NULL
    bool autoNumber = false;
    int precision = 0;  // Decimal only
    int scale = 0;      // Decimal only
};

struct JetTableInfo {
    std::string name;
    bool system = false;   // MSys* and other tables flagged as system tables
    int64_t rowCount = 0;  // as the table definition records it
    std::vector<JetFieldInfo> fields;
    // Why the table cannot be read (its definition is damaged), empty when
    // it can; such a table has no fields and opening it throws.
    std::string damage;
};

}  // namespace jet
