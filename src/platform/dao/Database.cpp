#include "platform/dao/Database.h"

#include "jet/JetReader.h"

namespace dao {

namespace {

int daoType(const jet::JetFieldInfo &f) {
    // The Jet column codes are DAO's type numbers, except Decimal.
    return f.jetType == 16 ? dbDecimal : f.jetType;
}

std::vector<TableDef> tableDefsOf(const jet::JetReader &reader) {
    std::vector<TableDef> defs;
    for (const auto &t : reader.tables()) {
        std::vector<Field> fields;
        for (const auto &f : t.fields) {
            const bool variable = f.jetType == dbText || f.jetType == dbMemo || f.jetType == dbLongBinary;
            const int attributes = (variable ? dbVariableField : dbFixedField) | (f.autoNumber ? dbAutoIncrField : 0);
            fields.emplace_back(QString::fromStdString(f.name), daoType(f), f.size, f.required, attributes);
        }
        defs.emplace_back(QString::fromStdString(t.name), t.system ? static_cast<unsigned>(dbSystemObject) : 0u,
                          t.rowCount, Fields(std::move(fields)), QString::fromStdString(t.damage));
    }
    return defs;
}

}  // namespace

Database::Database(std::unique_ptr<jet::JetReader> reader)
    : name_(QString::fromStdString(reader->path())), reader_(std::move(reader)), tableDefs_(tableDefsOf(*reader_)) {}

Database::~Database() = default;

void Database::Close() { reader_.reset(); }

}  // namespace dao
