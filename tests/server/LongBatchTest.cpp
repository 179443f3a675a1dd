// Long batches (generated data scripts) are parsed and run one statement at a
// time; they must behave as a short batch does: a syntax error anywhere runs
// nothing, variables live for the whole batch, a statement error ends only
// its statement, triggers fire, and the batch can be run again.
#include <gtest/gtest.h>

#include <string>

#include "kit/TestServer.h"
#include "server/SqlError.h"

namespace {

// `rows` single-row inserts into long_rows, keys 1..rows.
std::string inserts(int rows) {
    std::string text;
    for (int i = 1; i <= rows; ++i)
        text += "insert into long_rows(k, name) values (" + std::to_string(i) + ", 'row " + std::to_string(i) + "')\n";
    return text;
}

struct LongCase {
    const char *name;
    std::string batch;
    int error;          // number of the first error, 0 for none
    long long rows;     // rows in long_rows afterwards
    long long audited;  // rows in long_audit afterwards
};

class LongBatch : public ::testing::TestWithParam<LongCase> {};

TEST_P(LongBatch, RunsAsAShortBatchDoes) {
    const LongCase &c = GetParam();
    TestServer fx;
    auto s = fx.connect();
    ASSERT_TRUE(s->execute("create table long_rows(k int primary key, name varchar(20))\n"
                           "create table long_audit(k int)\n"
                           "create table long_total(n int)")
                    .ok());
    ASSERT_TRUE(s->execute("create trigger tr_long on long_rows for insert\nas\n"
                           "insert into long_audit select k from inserted")
                    .ok());
    auto r = s->execute(c.batch);
    if (c.error) {
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errors.front().number(), c.error);
    } else {
        ASSERT_TRUE(r.ok()) << r.errors.front().what();
    }
    r = s->execute("select (select count(*) from long_rows), (select count(*) from long_audit)");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, c.rows);
    EXPECT_EQ(r.resultSets[0].rows[0][1].i, c.audited);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LongBatch,
    ::testing::Values(
        LongCase{"Inserts", inserts(3000), 0, 3000, 3000},
        LongCase{"SyntaxErrorAtTheEndRunsNothing", inserts(3000) + "select from", 156, 0, 0},
        LongCase{"ProcedureNotFirst", inserts(3000) + "create procedure p_late as select 1", 111, 0, 0},
        LongCase{"DuplicateEndsOnlyItsStatement",
                 inserts(3000) + "insert into long_rows(k, name) values (7, 'x')\n" +
                     "insert into long_rows(k, name) values (3001, 'y')",
                 2627, 3001, 3001},
        LongCase{"VariablesLiveForTheWholeBatch",
                 "declare @n int\nset @n = 0\n" + inserts(3000) +
                     "select @n = count(*) from long_rows\ninsert into long_rows(k, name) values (@n + 1, 'last')",
                 0, 3001, 3001}),
    [](const ::testing::TestParamInfo<LongCase> &info) { return std::string(info.param.name); });

TEST(LongBatchReuse, RunsAgainAndKeepsItsResults) {
    TestServer fx;
    auto s = fx.connect();
    ASSERT_TRUE(s->execute("create table long_rows(k int primary key, name varchar(20))").ok());
    std::string batch = "delete from long_rows\n" + inserts(3000) + "select count(*), max(name) from long_rows";
    for (int run = 0; run < 2; ++run) {
        auto r = s->execute(batch);
        ASSERT_TRUE(r.ok()) << r.errors.front().what();
        ASSERT_EQ(r.resultSets.size(), 1u);
        EXPECT_EQ(r.resultSets[0].rows[0][0].i, 3000);
        EXPECT_EQ(r.resultSets[0].rows[0][1].s, "row 999");
    }
}

}  // namespace
