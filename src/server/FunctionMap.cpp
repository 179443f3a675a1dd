// The built-in functions of the subset: one row per function saying how it
// is checked, typed and written for SQLite.
#include <functional>
#include <map>

#include "server/Convert.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"
#include "server/Translator.h"

namespace server {

namespace {

using Args = std::vector<TExpr>;
using Handler = std::function<TExpr(Translator &, const Expr &, Args &)>;

struct FunctionRow {
    int minArgs;
    int maxArgs;
    bool aggregate;
    Handler build;
};

TExpr make(std::string sql, SqlType type) {
    TExpr r;
    r.sql = std::move(sql);
    r.type = type;
    return r;
}

TExpr asText(Translator &t, const TExpr &x) {
    if (x.type.isText() || x.type.base == Base::Null) return x;
    return t.convertTo(x, SqlType::of(Base::VarChar, 30), int(ConvertMode::Cast));
}

TExpr asInt(Translator &t, const TExpr &x) {
    if (x.type.isInteger() || x.type.base == Base::Null) return x;
    return t.convertTo(x, SqlType::of(Base::Int), int(ConvertMode::Implicit));
}

TExpr asDate(Translator &t, const TExpr &x) {
    if (x.type.base == Base::DateTime || x.type.base == Base::Null) return x;
    return t.convertTo(x, SqlType::of(Base::DateTime), int(ConvertMode::Implicit));
}

SqlType textResult(const TExpr &x) {
    if (x.type.isText())
        return x.type.base == Base::NText  ? SqlType::of(Base::NVarChar, 4000)
               : x.type.base == Base::Text ? SqlType::of(Base::VarChar, 8000)
                                           : x.type;
    return SqlType::of(Base::VarChar, 30);
}

bool monthUnit(const Expr &e) {
    if (e.args.empty() || e.args[0]->kind != ExprKind::Column || !e.args[0]->qualifier.empty()) return false;
    std::string u = lowerAscii(e.args[0]->text);
    return u == "month" || u == "mm" || u == "m";
}

const std::map<std::string, FunctionRow> &functionTable() {
    static const std::map<std::string, FunctionRow> table = {
        {"ISNULL",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              SqlType type = a[0].type.base == Base::Null ? a[1].type : a[0].type;
              TExpr y = t.convertTo(a[1], type, int(ConvertMode::Cast));
              TExpr r = make("IFNULL(" + a[0].sql + "," + y.sql + ")", type);
              r.nullable = a[1].nullable;
              return r;
          }}},
        // NULLIF(a, b): NULL where a equals b under the comparison rules, else a
        // (guards divisions by a rate that may be 0).
        {"NULLIF",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              TExpr equal = t.compare(a[0], "=", a[1]);
              TExpr r = make("(CASE WHEN " + equal.sql + " THEN NULL ELSE " + a[0].sql + " END)", a[0].type);
              r.nullable = true;
              return r;
          }}},
        {"LEN",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_len(" + asText(t, a[0]).sql + ")", SqlType::of(Base::Int));
          }}},
        {"SUBSTRING",
         {3, 3, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_substring(" + asText(t, a[0]).sql + "," + asInt(t, a[1]).sql + "," + asInt(t, a[2]).sql +
                              ")",
                          textResult(a[0]));
          }}},
        {"LEFT",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_left(" + asText(t, a[0]).sql + "," + asInt(t, a[1]).sql + ")", textResult(a[0]));
          }}},
        {"RIGHT",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_right(" + asText(t, a[0]).sql + "," + asInt(t, a[1]).sql + ")", textResult(a[0]));
          }}},
        {"CHARINDEX",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_charindex(" + asText(t, a[0]).sql + "," + asText(t, a[1]).sql + ")",
                          SqlType::of(Base::Int));
          }}},
        {"REVERSE",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_reverse(" + asText(t, a[0]).sql + ")", textResult(a[0]));
          }}},
        {"LTRIM",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_ltrim(" + asText(t, a[0]).sql + ")", textResult(a[0]));
          }}},
        {"RTRIM",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_rtrim(" + asText(t, a[0]).sql + ")", textResult(a[0]));
          }}},
        {"REPLACE",
         {3, 3, false,
          [](Translator &t, const Expr &, Args &a) {
              SqlType rt = textResult(a[0]);
              rt.length = rt.isUnicode() ? 4000 : 8000;
              return make("pnw_replace(" + asText(t, a[0]).sql + "," + asText(t, a[1]).sql + "," + asText(t, a[2]).sql +
                              ")",
                          rt);
          }}},
        {"ASCII",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_ascii(" + asText(t, a[0]).sql + ")", SqlType::of(Base::Int));
          }}},
        {"ABS",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              TExpr x =
                  a[0].type.isText() ? t.convertTo(a[0], SqlType::of(Base::Float), int(ConvertMode::Implicit)) : a[0];
              return make("pnw_abs(" + x.sql + ")", x.type);
          }}},
        {"ROUND",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              TExpr x =
                  a[0].type.isText() ? t.convertTo(a[0], SqlType::of(Base::Float), int(ConvertMode::Implicit)) : a[0];
              return make("pnw_roundto(" + x.sql + "," + asInt(t, a[1]).sql + ")", x.type);
          }}},
        {"YEAR",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_datepart(" + asDate(t, a[0]).sql + ",0)", SqlType::of(Base::Int));
          }}},
        {"MONTH",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_datepart(" + asDate(t, a[0]).sql + ",1)", SqlType::of(Base::Int));
          }}},
        {"DAY",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_datepart(" + asDate(t, a[0]).sql + ",2)", SqlType::of(Base::Int));
          }}},
        {"DATEDIFF",
         {3, 3, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_monthdiff(" + asDate(t, a[1]).sql + "," + asDate(t, a[2]).sql + ")",
                          SqlType::of(Base::Int));
          }}},
        {"DATEADD",
         {3, 3, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_addmonths(" + asInt(t, a[1]).sql + "," + asDate(t, a[2]).sql + ")",
                          SqlType::of(Base::DateTime));
          }}},
        {"GETDATE",
         {0, 0, false,
          [](Translator &, const Expr &, Args &) { return make("pnw_getdate()", SqlType::of(Base::DateTime)); }}},
        {"OBJECT_ID",
         {1, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_objectid(" + asText(t, a[0]).sql + ")", SqlType::of(Base::Int));
          }}},
        {"OBJECTPROPERTY",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              return make("pnw_objectproperty(" + asInt(t, a[0]).sql + "," + asText(t, a[1]).sql + ")",
                          SqlType::of(Base::Int));
          }}},
        {"COL_LENGTH",
         {2, 2, false,
          [](Translator &t, const Expr &, Args &a) {
              // Bytes of a column as syscolumns.length gives them; NULL for a missing table or column.
              return make("(SELECT length FROM (SELECT id, name, length FROM main.__pnw_columns UNION ALL "
                          "SELECT id, name, length FROM temp.__pnw_columns) WHERE id = pnw_objectid(" +
                              asText(t, a[0]).sql + ") AND name = " + asText(t, a[1]).sql + " COLLATE TSQL)",
                          SqlType::of(Base::SmallInt));
          }}},
        {"DB_NAME",
         {0, 1, false,
          [](Translator &t, const Expr &, Args &a) {
              return make(a.empty() ? "pnw_dbname()" : "pnw_dbname(" + asInt(t, a[0]).sql + ")",
                          SqlType::of(Base::NVarChar, 128));
          }}},
        {"COUNT",
         {0, 1, true,
          [](Translator &, const Expr &e, Args &a) {
              if (e.star) return make("COUNT(*)", SqlType::of(Base::Int));
              if (a[0].type.isLob() && e.distinct) throw makeError(306);
              std::string arg = a[0].sql + (a[0].type.isText() && e.distinct ? " COLLATE TSQL" : "");
              TExpr r =
                  make(std::string("COUNT(") + (e.distinct ? "DISTINCT " : "") + arg + ")", SqlType::of(Base::Int));
              r.nullable = false;
              return r;
          }}},
        {"SUM",
         {1, 1, true,
          [](Translator &, const Expr &e, Args &a) {
              if (e.distinct) throw makeError(102, "DISTINCT", "（不支持的语法：SUM(DISTINCT)）");
              const SqlType &t = a[0].type;
              if (!t.isNumeric() && t.base != Base::Null) throw makeError(8117, t.name(), "sum");
              SqlType rt = t.base == Base::BigInt                  ? t
                           : t.isInteger() || t.base == Base::Null ? SqlType::of(Base::Int)
                           : t.base == Base::Decimal               ? SqlType::of(Base::Decimal, 0, 38, t.scale)
                           : t.base == Base::Money                 ? t
                                                                   : SqlType::of(Base::Float);
              return make("pnw_sum(" + a[0].sql + "," + std::to_string(packType(rt)) + ")", rt);
          }}},
        {"MAX",
         {1, 1, true,
          [](Translator &, const Expr &e, Args &a) {
              if (a[0].type.isLob()) throw makeError(8117, a[0].type.name(), "max");
              return make(std::string("MAX(") + (e.distinct ? "DISTINCT " : "") + a[0].sql +
                              (a[0].type.isText() ? " COLLATE TSQL" : "") + ")",
                          a[0].type);
          }}},
        {"MIN",
         {1, 1, true,
          [](Translator &, const Expr &e, Args &a) {
              if (a[0].type.isLob()) throw makeError(8117, a[0].type.name(), "min");
              return make(std::string("MIN(") + (e.distinct ? "DISTINCT " : "") + a[0].sql +
                              (a[0].type.isText() ? " COLLATE TSQL" : "") + ")",
                          a[0].type);
          }}},
    };
    return table;
}

}  // namespace

TExpr Translator::function(const Expr &e, const Scope &scope) {
    auto it = functionTable().find(e.op);
    if (it == functionTable().end()) throw makeError(195, e.op);
    const FunctionRow &row = it->second;
    int n = e.star ? 0 : int(e.args.size());
    if (n < row.minArgs || n > row.maxArgs || (e.op == "COUNT" && !e.star && n != 1))
        throw makeError(174, e.op, std::to_string(row.maxArgs));
    if ((e.op == "DATEDIFF" || e.op == "DATEADD") && !monthUnit(e))
        throw makeError(102, e.op, "（不支持的语法：只支持 month 单位）");
    if (e.distinct && !row.aggregate) throw makeError(102, "DISTINCT");
    Args args;
    Scope inner = scope;
    if (row.aggregate) {
        if (!scope.aggregateAllowed) throw makeError(147);
        inner.aggregateAllowed = false;
    }
    size_t first = (e.op == "DATEDIFF" || e.op == "DATEADD") ? 1 : 0;
    for (size_t i = 0; i < e.args.size(); ++i) {
        if (i < first) {
            args.push_back(TExpr());
            continue;
        }
        args.push_back(expr(e.args[i], row.aggregate ? inner : scope));
    }
    return row.build(*this, e, args);
}

}  // namespace server
