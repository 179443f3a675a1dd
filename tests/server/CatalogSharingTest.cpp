// Sessions share what they read of a database's catalogue: a change that
// only the catalogue records (a trigger switched off) and a database made
// anew at the same place are seen by the next session.
#include <gtest/gtest.h>

#include "kit/TestServer.h"

namespace {

int64_t count(server::Session &s, const std::string &sql) {
    auto r = s.execute(sql);
    EXPECT_TRUE(r.ok());
    return r.resultSets.empty() || r.resultSets[0].rows.empty() ? -1 : r.resultSets[0].rows[0][0].i;
}

TEST(CatalogSharing, ATriggerSwitchedOffIsOffForTheNextSession) {
    TestServer fx;
    {
        auto a = fx.connect();
        ASSERT_TRUE(a->execute("create table cs_t(a int) create table cs_log(n int)").ok());
        ASSERT_TRUE(
            a->execute("create trigger cs_trg on cs_t for insert as insert into cs_log select a from inserted").ok());
    }
    {
        auto b = fx.connect();
        ASSERT_TRUE(b->execute("insert into cs_t values (1)").ok());
        ASSERT_TRUE(b->execute("alter table cs_t disable trigger cs_trg").ok());
    }
    auto c = fx.connect();
    auto r = c->execute("insert into cs_t values (2)");
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    EXPECT_EQ(count(*c, "select count(*) from cs_log"), 1);
}

TEST(CatalogSharing, ADatabaseMadeAnewIsReadAnew) {
    TestServer fx;
    {
        auto m = fx.connect("master");
        ASSERT_TRUE(m->execute("create database again").ok());
    }
    {
        auto a = fx.connect("again");
        ASSERT_TRUE(a->execute("create table t(a int, b int)").ok());
        ASSERT_TRUE(a->execute("insert into t values (1, 2)").ok());
    }
    {
        auto m = fx.connect("master");
        ASSERT_TRUE(m->execute("drop database again").ok());
        ASSERT_TRUE(m->execute("create database again").ok());
    }
    auto b = fx.connect("again");
    ASSERT_TRUE(b->execute("create table t(x nvarchar(5))").ok());
    ASSERT_TRUE(b->execute("insert into t values (N'x')").ok());
    EXPECT_EQ(count(*b, "select count(*) from t where x = N'X'"), 1);
}

}  // namespace
