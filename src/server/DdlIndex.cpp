// CREATE INDEX and the SET options (NOCOUNT, IDENTITY_INSERT).
#include "server/Ddl.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

void runCreateIndex(Session &s, Translator &tr, const Statement &st) {
    std::string schema = tr.schemaFor(st.target);
    if (schema == "temp") forgetKeptTempTables(s);
    auto t = s.catalog(schema).table(st.target.name);
    if (!t) throw makeError(1088, st.target.display());
    std::string cols;
    for (const auto &c : st.columns) {
        const ColumnInfo *ci = t->column(c);
        if (!ci) throw makeError(1911, c);
        if (ci->type.isLob()) throw makeError(1919, c);
        cols += (cols.empty() ? "" : ",") + quoteIdent(ci->name);
    }
    // SQLite names indexes per schema, the server per table.
    std::string name = t->name + "$" + st.itemName;
    try {
        s.run(std::string("CREATE ") + (st.unique ? "UNIQUE " : "") + "INDEX " + quoteIdent(schema) + "." +
              quoteIdent(name) + " ON " + quoteIdent(t->name) + "(" + cols + ")");
    } catch (const SqlError &e) {
        if (e.text().find("already exists") != std::string::npos) throw makeError(1913, st.itemName, t->name);
        if (e.text().find("UNIQUE") != std::string::npos) throw makeError(1505, t->name, st.itemName);
        throw;
    }
}

void runSetOption(Session &s, Translator &tr, const Statement &st) {
    if (st.option == "nocount") return;
    // IDENTITY_INSERT
    std::string schema = tr.schemaFor(st.target);
    auto t = s.catalog(schema).table(st.target.name);
    if (!t) throw makeError(1088, st.target.display());
    std::string key = collationKey(schema + "." + t->name);
    if (st.on) {
        if (t->identityIndex() < 0) throw makeError(8106, t->name);
        std::string current = s.identityInsertTable();
        if (!current.empty() && current != key) throw makeError(8107, current.substr(current.find('.') + 1), t->name);
        s.setIdentityInsert(key);
    } else if (s.identityInsertTable() == key) {
        s.setIdentityInsert("");
    }
}

}  // namespace server
