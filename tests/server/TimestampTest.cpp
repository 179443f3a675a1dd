// A timestamp column reads back as binary(8): eight bytes, most significant
// first, holding the row version that CAST(... AS bigint) gives.
#include <gtest/gtest.h>

#include "kit/TestServer.h"

namespace {

uint64_t bigEndian(const std::string &bytes) {
    uint64_t n = 0;
    for (unsigned char c : bytes) n = (n << 8) | c;
    return n;
}

TEST(ServerTimestamp, ReadsBackAsEightBytes) {
    TestServer fx;
    auto s = fx.connect();
    ASSERT_TRUE(
        s->execute("create table t(k int, ts timestamp) insert into t(k) values (1) insert into t(k) values (2)").ok());
    auto r = s->execute("select ts, cast(ts as bigint), k from t order by k");
    ASSERT_TRUE(r.ok());
    const auto &rs = r.resultSets.at(0);
    EXPECT_EQ(rs.columns[0].type.base, server::Base::Timestamp);
    ASSERT_EQ(rs.rows.size(), 2u);
    uint64_t previous = 0;
    for (const auto &row : rs.rows) {
        ASSERT_EQ(row[0].kind, server::Value::Kind::Blob);
        ASSERT_EQ(row[0].s.size(), 8u);
        EXPECT_EQ(bigEndian(row[0].s), uint64_t(row[1].i));
        EXPECT_GT(bigEndian(row[0].s), previous);
        previous = bigEndian(row[0].s);
    }
    // A variable of the column's type reads back the same way.
    r = s->execute("declare @v timestamp select @v = ts from t where k = 2 select @v");
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.resultSets.at(0).rows.at(0)[0].kind, server::Value::Kind::Blob);
    EXPECT_EQ(bigEndian(r.resultSets[0].rows[0][0].s), previous);
}

}  // namespace
