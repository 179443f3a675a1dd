#include "TableSums.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

#include "server/Catalog.h"
#include "server/Session.h"
#include "server/SqlError.h"
#include "server/TextUtil.h"

namespace {

// FNV-1a over the bytes, then a SplitMix64 finish so that sums of many
// hashes carry no pattern of their inputs; two seeds give 128 bits.
struct Hasher {
    uint64_t h[2] = {0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL};
    void add(const char *p, size_t n) {
        for (size_t i = 0; i < n; ++i)
            for (uint64_t &x : h) x = (x ^ uint8_t(p[i])) * 0x100000001b3ULL;
    }
    void add(const std::string &s) { add(s.data(), s.size()); }
    static uint64_t finish(uint64_t z) {
        z += 0x9e3779b97f4a7c15ULL;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    void addTo(uint64_t sum[2]) const {
        sum[0] += finish(h[0]);
        sum[1] += finish(h[1]);
    }
};

// One value as a tagged, length-framed text: no two different rows frame
// alike. Exact numbers keep their scale's digits, so 1.1 and 1.10 of a
// money column are one value; floats keep every digit.
std::string framed(const server::Value &v, const server::SqlType &type) {
    std::string body;
    char tag = 'N';
    switch (v.kind) {
    case server::Value::Kind::Null:
        break;
    case server::Value::Kind::Int:
        tag = 'I';
        body = std::to_string(v.i);
        break;
    case server::Value::Kind::Real: {
        tag = 'R';
        char buffer[64];
        if (type.isExact())
            std::snprintf(buffer, sizeof buffer, "%.*f", type.scale, v.d);
        else
            std::snprintf(buffer, sizeof buffer, "%.17g", v.d);
        body = buffer;
        break;
    }
    case server::Value::Kind::Text:
        tag = 'T';
        body = v.s;
        break;
    case server::Value::Kind::Blob:
        tag = 'B';
        body = v.s;
        break;
    }
    return tag + std::to_string(body.size()) + ':' + body;
}

}  // namespace

std::string IgnoreKey(const std::string &table, const std::string &column) {
    return server::lowerAscii(table) + '.' + server::lowerAscii(column);
}

std::string HexSum(const uint64_t sum[2]) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%016llx%016llx", static_cast<unsigned long long>(sum[0]),
                  static_cast<unsigned long long>(sum[1]));
    return buffer;
}

std::vector<TableSum> SumTables(server::Session &session, const std::set<std::string> &ignore) {
    server::BatchResult names = session.execute("SELECT name FROM sysobjects WHERE xtype = 'U'");
    if (!names.ok()) throw names.errors.front();
    std::vector<TableSum> out;
    server::Catalog &catalog = session.catalog("main");
    for (const auto &row : names.resultSets.at(0).rows) {
        std::shared_ptr<const server::TableInfo> info = catalog.table(row.at(0).s);
        if (!info) throw server::makeError(208, row.at(0).s);
        TableSum table;
        table.name = info->name;
        std::vector<const server::ColumnInfo *> read;
        std::string select;
        for (const server::ColumnInfo &c : info->columns) {
            if (ignore.count(IgnoreKey(info->name, c.name))) {
                table.ignored.push_back(c.name);
                continue;
            }
            read.push_back(&c);
            table.columns.push_back({c.name, {0, 0}});
            select += (select.empty() ? "" : ", ") + server::quoteIdent(c.name);
        }
        if (!read.empty()) {
            sqlite3_stmt *st = nullptr;
            const std::string sql = "SELECT " + select + " FROM " + info->sqlName();
            if (sqlite3_prepare_v2(session.handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
                sqlite3_finalize(st);
                throw session.mapError(sqlite3_errcode(session.handle()), sql);
            }
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                Hasher rowHash;
                for (size_t i = 0; i < read.size(); ++i) {
                    const std::string value = framed(server::readSqliteValue(st, int(i), read[i]->type), read[i]->type);
                    rowHash.add(value);
                    Hasher valueHash;
                    valueHash.add(value);
                    valueHash.addTo(table.columns[i].sum);
                }
                rowHash.addTo(table.sum);
                ++table.rows;
            }
            sqlite3_finalize(st);
            if (rc != SQLITE_DONE) throw session.mapError(rc, sql);
        } else {
            server::BatchResult count = session.execute("SELECT COUNT(*) FROM [" + info->name + "]");
            if (!count.ok()) throw count.errors.front();
            table.rows = count.resultSets.at(0).rows.at(0).at(0).i;
        }
        out.push_back(std::move(table));
    }
    std::sort(out.begin(), out.end(), [](const TableSum &a, const TableSum &b) {
        return server::lowerAscii(a.name) < server::lowerAscii(b.name);
    });
    return out;
}
