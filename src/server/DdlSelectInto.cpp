// SELECT ... INTO: a new table with the select list's names and types
// (direct columns keep their declared type, literals give their own), the
// identity property inherited from a plain identity column of one table.
#include "server/Ddl.h"
#include "server/DdlLayout.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

void runSelectInto(Session &s, Translator &tr, const Statement &st, BatchResult &out) {
    const ObjectName &target = *st.select->cores.front().into;
    std::string schema = tr.schemaFor(target);
    Catalog &cat = s.catalog(schema);
    if (cat.object(target.name)) throw makeError(2714, target.name);
    Translator::SelectOut sel = tr.select(*st.select, nullptr);
    const SelectCore &core = st.select->cores.front();
    bool plainSource = st.select->cores.size() == 1 && core.from.size() == 1 && core.from[0].joins.empty() &&
                       core.from[0].first.kind == TableRef::Kind::Named && core.groupBy.empty() && !core.distinct;
    std::vector<ColumnInfo> cols;
    int identities = 0;
    for (size_t i = 0; i < sel.columns.size(); ++i) {
        const OutputColumn &oc = sel.columns[i];
        if (oc.name.empty()) throw makeError(1038);
        for (const auto &c : cols)
            if (collateCompare(c.name, oc.name) == 0) throw makeError(2705, target.name, oc.name);
        ColumnInfo c;
        c.name = oc.name;
        c.type = oc.type;
        if (c.type.base == Base::Null) c.type = SqlType::of(Base::Int);
        if (c.type.base == Base::Timestamp) c.type = SqlType::of(Base::BigInt);
        c.colid = int(i) + 1;
        c.nullable = oc.nullable;
        if (oc.identity && plainSource && identities == 0) {
            c.identity = true;
            c.seed = oc.seed;
            c.increment = oc.increment;
            c.nullable = false;
            ++identities;
        }
        cols.push_back(c);
    }
    std::string sqlName = quoteIdent(schema) + "." + quoteIdent(target.name);
    if (schema == "temp")
        makeTempTable(s, target.name, tableDdl(sqlName, cols, {}, {}), cols, identities == 0);
    else
        s.run(tableDdl(sqlName, cols, {}, {}));
    int id = cat.addObject(target.name, "U", 0);
    for (const auto &c : cols) {
        cat.addColumn(id, c);
        if (c.identity) setIdentitySeed(s, schema, target.name, c.seed);
    }
    std::string list, src;
    for (size_t i = 0; i < cols.size(); ++i) {
        list += (i ? "," : "") + quoteIdent(cols[i].name);
        src += std::string(i ? "," : "") + "\"__s\".\"__c" + std::to_string(i) + "\"";
    }
    out.rowsAffected = s.runBound("INSERT INTO " + sqlName + "(" + list + ") SELECT " + src + " FROM (" + sel.sql +
                                  ") AS \"__s\" WHERE true");
    cat.invalidate();
}

}  // namespace server
