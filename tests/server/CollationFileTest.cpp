// A database file whose text indexes were built under an older text order
// is reindexed when a session first opens or attaches it, so lookups
// through those indexes find their rows.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstring>

#include "kit/TestServer.h"

namespace {

// Any order other than the engine's: plain bytes, reversed.
int reversedBytes(void *, int na, const void *a, int nb, const void *b) {
    int c = std::memcmp(a, b, size_t(std::min(na, nb)));
    if (c == 0) c = na - nb;
    return -c;
}

std::vector<std::string> column(const server::BatchResult &r) {
    std::vector<std::string> out;
    if (r.resultSets.empty()) return out;
    for (const auto &row : r.resultSets[0].rows) out.push_back(row[0].s);
    return out;
}

TEST(ServerCollationFile, AnIndexOfAnOlderOrderIsRebuilt) {
    TestServer fx;
    auto s = fx.connect();
    ASSERT_TRUE(s->execute("create database old").ok());
    {
        auto o = fx.connect("old");
        ASSERT_TRUE(o->execute("create table h(n nvarchar(10)) create index ix_h on h(n) "
                               "insert into h values (N'亍') insert into h values (N'处') "
                               "insert into h values (N'啊') insert into h values (N'座')")
                        .ok());
    }
    auto r = s->execute("select filename from master..sysdatabases where name = 'old'");
    ASSERT_TRUE(r.ok());
    std::string file = r.resultSets.at(0).rows.at(0)[0].s;
    // What an older build leaves: the index in its own order, no version.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_create_collation(db, "TSQL", SQLITE_UTF8, nullptr, reversedBytes);
    ASSERT_EQ(sqlite3_exec(db, "REINDEX \"TSQL\"; PRAGMA user_version = 0", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    r = s->execute("select n from old..h where n >= N'亍' order by n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(column(r), (std::vector<std::string>{"亍", "处", "座"}));
    r = s->execute("select count(*) from old..h where n = N'处'");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets.at(0).rows.at(0)[0].i, 1);
}

}  // namespace
