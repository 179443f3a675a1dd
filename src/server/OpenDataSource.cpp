#include "server/OpenDataSource.h"

#include <sqlite3.h>

#include <filesystem>

#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/Workgroup.h"
#include "server/Ast.h"
#include "server/Catalog.h"
#include "server/DataSourceText.h"
#include "server/Instance.h"
#include "server/JetVirtualTable.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace {

namespace fs = std::filesystem;

std::string trimmedName(const std::string &s) { return trimRightBlanks(trimLeftBlanks(s)); }

bool providerInstalled(Instance &instance, const std::string &provider) {
    std::string list = instance.setting("providers");
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        std::string item = trimmedName(list.substr(start, end - start));
        if (!item.empty() && iequals(item, provider)) return true;
        start = end + 1;
    }
    return false;
}

SqlError cannotOpen(const std::string &provider) { return makeError(7303, provider); }

// The server's mapping of the provider's column types.
SqlType mappedType(const jet::JetFieldInfo &f) {
    if (f.typeName == "Boolean") return SqlType::of(Base::Bit);
    if (f.typeName == "Byte") return SqlType::of(Base::TinyInt);
    if (f.typeName == "Integer") return SqlType::of(Base::SmallInt);
    if (f.typeName == "Long" || f.typeName == "AutoNumber") return SqlType::of(Base::Int);
    if (f.typeName == "Currency") return SqlType::of(Base::Money, 0, 19, 4);
    if (f.typeName == "Single") return SqlType::of(Base::Real);
    if (f.typeName == "Double") return SqlType::of(Base::Float);
    if (f.typeName == "DateTime") return SqlType::of(Base::DateTime);
    if (f.typeName == "Text") return SqlType::of(Base::NVarChar, f.size > 0 ? std::min(f.size, 4000) : 255);
    if (f.typeName == "Memo") return SqlType::of(Base::NText);
    // OLE objects, and the binary kinds the subset has no type for, as bytes.
    return SqlType::of(Base::Image);
}

std::shared_ptr<JetRowSource> openSource(const TableRef &ref, const std::string &provider) {
    DataSourceText text(ref.odsInit);
    std::string file = text.path("Data Source");
    if (file.empty()) throw cannotOpen(provider);
    // The workgroup: the one the text names, else "system.mda" beside the file.
    bool named = !text.value("Jet OLEDB:System database").empty();
    std::string workgroup =
        named ? text.path("Jet OLEDB:System database") : (fs::path(file).parent_path() / "system.mda").string();
    std::string user = text.has("User ID") ? text.value("User ID") : "Admin";
    std::string password = text.value("Password");
    std::error_code ec;
    bool check = named || text.has("User ID") || fs::exists(workgroup, ec);
    auto source = std::make_shared<JetRowSource>();
    source->provider = provider;
    try {
        if (check && !jet::Workgroup::checkLogon(workgroup, user, password)) throw cannotOpen(provider);
        source->reader = std::make_unique<jet::JetReader>(file);
    } catch (const jet::JetError &) {
        throw cannotOpen(provider);
    } catch (const std::bad_alloc &) {
        throw cannotOpen(provider);
    }
    source->table = source->reader->findTable(ref.name.name);
    if (!source->table) throw makeError(7314, provider, ref.name.name);
    // A damaged table cannot be read; the other tables of the file can.
    if (!source->table->damage.empty()) throw cannotOpen(provider);
    return source;
}

}  // namespace

std::string OpenDataSource::open(Instance &instance, sqlite3 *db, const TableRef &ref,
                                 std::vector<OutputColumn> &columns) {
    std::string provider = trimmedName(ref.odsProvider);
    if (!instance.adHocQueriesEnabled()) throw makeError(15281);
    if (!providerInstalled(instance, provider)) throw makeError(7403, ref.odsProvider);
    std::shared_ptr<JetRowSource> source = openSource(ref, ref.odsProvider);
    columns.clear();
    for (const auto &f : source->table->fields) {
        OutputColumn c;
        c.name = f.name;
        c.type = mappedType(f);
        c.nullable = !f.required;
        columns.push_back(c);
    }
    if (columns.empty()) throw makeError(7314, ref.odsProvider, ref.name.name);
    static int64_t counter = 0;
    std::string name = "__ods_" + std::to_string(++counter);
    JetVirtualTable::add(name, source);
    JetVirtualTable::registerModule(db);
    try {
        execSql(db, "CREATE VIRTUAL TABLE temp." + quoteIdent(name) + " USING " + JetVirtualTable::kModule + "(" +
                        name + ")");
    } catch (...) {
        JetVirtualTable::remove(name);
        throw;
    }
    // The table holds its own reference from now on; the source stays listed
    // for SQLite to reconnect after a schema reset, until close.
    return name;
}

void OpenDataSource::close(sqlite3 *db, const std::string &name) {
    sqlite3_exec(db, ("DROP TABLE IF EXISTS temp." + quoteIdent(name)).c_str(), nullptr, nullptr, nullptr);
    JetVirtualTable::remove(name);
}

}  // namespace server
