// Temporary tables made and dropped over and over in one session: after the
// first time, the loop leaves SQLite's schema of the session as it is (every
// statement the session holds stays prepared), while each new table starts
// empty with its own constraints.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "kit/TestServer.h"
#include "server/SqlError.h"

namespace {

int64_t tempSchemaVersion(server::Session &s) {
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(s.handle(), "PRAGMA temp.schema_version", -1, &st, nullptr);
    int64_t v = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    sqlite3_finalize(st);
    return v;
}

TEST(TempTableLoop, MadeAgainWithoutChangingTheSchema) {
    struct Case {
        const char *make;  // makes #loop_t with (k, v) from a row of #loop_src
    } cases[] = {
        {"create table #loop_t(k int not null primary key, v nvarchar(10) default N'none')\n"
         "insert into #loop_t(k) select k from #loop_src where k = @i"},
        {"select k, v into #loop_t from #loop_src where k = @i"},
    };
    for (const auto &c : cases) {
        TestServer fx;
        auto s = fx.connect();
        ASSERT_TRUE(s->execute("create table #loop_src(k int, v nvarchar(10))\n"
                               "insert into #loop_src values (1, N'a')\n"
                               "insert into #loop_src values (2, N'b')\n"
                               "insert into #loop_src values (3, N'c')\n"
                               "create table #loop_out(i int, n int, v nvarchar(10))")
                        .ok());
        const std::string loop = std::string("declare @i int\nset @i = 1\nwhile @i <= 3\nbegin\n") + c.make +
                                 "\ninsert into #loop_out select @i, count(*), max(v) from #loop_t\n"
                                 "drop table #loop_t\nset @i = @i + 1\nend";
        auto first = s->execute(loop);
        ASSERT_TRUE(first.ok()) << first.errors.front().what();
        const int64_t version = tempSchemaVersion(*s);
        auto again = s->execute(loop);
        ASSERT_TRUE(again.ok()) << again.errors.front().what();
        EXPECT_EQ(tempSchemaVersion(*s), version) << c.make;
        auto r = s->execute("select i, n from #loop_out order by i");
        ASSERT_TRUE(r.ok());
        ASSERT_EQ(r.resultSets[0].rows.size(), 6u);
        for (const auto &row : r.resultSets[0].rows) EXPECT_EQ(row[1].i, 1) << c.make;
    }
}

// A table taken again keeps the constraints of its definition.
TEST(TempTableLoop, TakenAgainWithItsConstraints) {
    TestServer fx;
    auto s = fx.connect();
    for (int round = 0; round < 3; ++round) {
        auto r = s->execute("create table #loop_k(k int not null primary key, v nvarchar(10) default N'none')\n"
                            "insert into #loop_k(k) values (1)");
        ASSERT_TRUE(r.ok()) << r.errors.front().what();
        r = s->execute("insert into #loop_k(k) values (1)");
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errors.front().number(), 2627) << round;
        r = s->execute("insert into #loop_k(k, v) values (null, N'x')");
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errors.front().number(), 515) << round;
        r = s->execute("select k, v from #loop_k");
        ASSERT_TRUE(r.ok());
        ASSERT_EQ(r.resultSets[0].rows.size(), 1u);
        EXPECT_EQ(r.resultSets[0].rows[0][1].s, "none");
        ASSERT_TRUE(s->execute("drop table #loop_k").ok());
    }
}

// A loop that makes its # table in two layouts alternately (the same
// SQLite table): each turn's statements read the layout of that turn.
TEST(TempTableLoop, EachTurnReadsItsOwnLayout) {
    TestServer fx;
    auto s = fx.connect();
    auto r = s->execute(
        "declare @i int\nset @i = 0\ncreate table #lay_out(i int, n int)\n"
        "while @i < 4\nbegin\n"
        "  if (@i / 2) * 2 = @i select cast('' as varchar(5)) as v into #lay_t where 1 = 0\n"
        "  else select cast('' as varchar(10)) as v into #lay_t where 1 = 0\n"
        "  insert into #lay_t values ('abcdefgh')\n"
        "  insert into #lay_out select @i, count(*) from #lay_t\n"
        "  drop table #lay_t\n"
        "  set @i = @i + 1\nend\n"
        "select i, n from #lay_out order by i");
    ASSERT_EQ(r.errors.size(), 2u);
    for (const auto &e : r.errors) EXPECT_EQ(e.number(), 8152);
    ASSERT_EQ(r.resultSets.size(), 1u);
    const auto &rows = r.resultSets[0].rows;
    ASSERT_EQ(rows.size(), 4u);
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i][1].i, i % 2 == 0 ? 0 : 1) << i;
    r = s->execute("select v from #lay_t");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errors.front().number(), 208);
}

}  // namespace
