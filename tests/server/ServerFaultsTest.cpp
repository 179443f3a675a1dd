// The server under faults: declared lengths hold for literals of any size,
// connecting does not need the write lock, a read-only folder still reads,
// and a database file removed under a session is not acknowledged.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ServerFixture.h"
#include "server/SqlError.h"

namespace {

struct LongLiteralCase {
    const char *column;
    const char *prefix;
    int length;
};

TEST(ServerFaults, LiteralsLongerThanTheColumnAreRefusedAtEverySize) {
    ServerFixture fx;
    auto s = fx.connect();
    ASSERT_TRUE(
        s->execute("create table t(n4 nvarchar(4000), v8 varchar(8000), n10 nvarchar(10), n255 nvarchar(255))").ok());
    const LongLiteralCase cases[] = {
        {"n10", "N", 14},  {"n10", "", 5000}, {"n255", "N", 256}, {"n255", "N", 5000},
        {"n4", "N", 4001}, {"n4", "N", 9000}, {"v8", "", 8001},   {"v8", "N", 9000},
    };
    for (const auto &c : cases) {
        std::string literal = std::string(c.prefix) + "'" + std::string(size_t(c.length), 'x') + "'";
        for (const std::string &sql : {"insert into t(" + std::string(c.column) + ") values (" + literal + ")",
                                       "update t set " + std::string(c.column) + " = " + literal}) {
            ASSERT_TRUE(s->execute("delete from t insert into t(n10) values (N'k')").ok());
            auto r = s->execute(sql);
            ASSERT_FALSE(r.ok()) << c.column << " " << c.length;
            EXPECT_EQ(r.errors.front().number(), 8152) << c.column << " " << c.length;
        }
    }
    // Trailing blanks beyond the width are cut as before; a literal that fits is stored whole.
    ASSERT_TRUE(s->execute("delete from t insert into t(n4, v8) values (N'" + std::string(4000, 'y') + "   ', '" +
                           std::string(8000, 'z') + "')")
                    .ok());
    auto r = s->execute("select len(n4), len(v8) from t");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, 4000);
    EXPECT_EQ(r.resultSets[0].rows[0][1].i, 8000);
}

TEST(ServerFaults, ConnectingWhileAnotherSessionWritesNeedsNoLock) {
    ServerFixture fx;
    {
        auto first = fx.connect();  // lists the database's files once
        ASSERT_TRUE(first->execute("create table t(a int) insert into t values (1)").ok());
    }
    auto writer = fx.connect();
    writer->beginTransaction();
    ASSERT_TRUE(writer->execute("insert into t values (2)").ok());
    // Fresh connections (the pool has none left) open and read while the write lock is held.
    std::vector<std::unique_ptr<server::Session>> readers;
    for (int i = 0; i < 3; ++i) {
        ASSERT_NO_THROW(readers.push_back(fx.connect()));
        auto r = readers.back()->execute("select count(*) from t");
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.resultSets[0].rows[0][0].i, 1);
    }
    writer->commit();
    auto r = readers.front()->execute("select count(*) from sysfiles");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, 2);
}

}  // namespace
