// Sessions: login and database failures create nothing, a closed session
// leaves no temporary tables or open transaction to the next one, spids are
// distinct and listed.
#include <gtest/gtest.h>

#include <QDir>

#include <sqlite3.h>

#include <string>

#include "kit/TestServer.h"
#include "server/SqlError.h"

namespace {

TEST(ServerSession, FailuresCreateNothing) {
    TestServer fx;
    QStringList before = QDir(QString::fromStdString(fx.folder())).entryList(QDir::Files);
    try {
        server::Session s(fx.instance, "sa", "pw", "NoSuchDb");
        ADD_FAILURE();
    } catch (const server::SqlError &e) {
        EXPECT_EQ(e.number(), 4060);
        EXPECT_NE(e.text().find("NoSuchDb"), std::string::npos);
    }
    try {
        server::Session s(fx.instance, "sa", "wrong", "test");
        ADD_FAILURE();
    } catch (const server::SqlError &e) {
        EXPECT_EQ(e.number(), 18456);
    }
    EXPECT_EQ(QDir(QString::fromStdString(fx.folder())).entryList(QDir::Files), before);
}

TEST(ServerSession, AClosedSessionLeavesNothingBehind) {
    TestServer fx;
    int firstSpid = 0;
    {
        auto a = fx.connect();
        firstSpid = a->spid();
        ASSERT_TRUE(a->execute("create table #work(a int) insert into #work values (1) create table kept(a int)").ok());
        a->beginTransaction();
        ASSERT_TRUE(a->execute("insert into kept values (1)").ok());
    }
    auto b = fx.connect();
    EXPECT_NE(b->spid(), firstSpid);
    auto r = b->execute("select * from #work");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errors.front().number(), 208);
    r = b->execute("select count(*), object_id('tempdb..#work') from kept");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, 0);
    EXPECT_TRUE(r.resultSets[0].rows[0][1].isNull());
    ASSERT_TRUE(b->execute("create table #work(b varchar(3))").ok());
}

TEST(ServerSession, SessionsAreListedWithTheirDatabase) {
    TestServer fx;
    auto a = fx.connect();
    auto m = fx.connect("master");
    auto r = m->execute("select spid from sysprocesses where db_name(dbid) = 'test'");
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.resultSets[0].rows.size(), 1u);
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, a->spid());
    r = m->execute("drop database test");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errors.front().number(), 3702);
    a.reset();
    EXPECT_TRUE(m->execute("drop database test").ok());
}

}  // namespace

namespace {

TEST(ServerSession, DependentColumnReportsBothMessages) {
    TestServer fx;
    auto s = fx.connect();
    ASSERT_TRUE(s->execute("create table t_paitem(a int, tempsign int default(1))").ok());
    auto r = s->execute("alter table t_paitem drop column tempsign");
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_EQ(r.errors[0].number(), 5074);
    EXPECT_EQ(r.errors[1].number(), 4922);
    r = s->execute("alter table t_paitem drop constraint DF_none");
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_EQ(r.errors[0].number(), 3728);
    EXPECT_EQ(r.errors[1].number(), 3727);
    // Dropping the named default first lets the column go.
    r = s->execute("select b.name from syscolumns a, sysobjects b where a.id = object_id('t_paitem') "
                   "and b.id = a.cdefault and a.name = 'tempsign' and b.name like 'DF%'");
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.resultSets[0].rows.size(), 1u);
    std::string df = r.resultSets[0].rows[0][0].s;
    EXPECT_TRUE(s->execute("alter table t_paitem drop constraint  " + df).ok());
    EXPECT_TRUE(s->execute("alter  table t_paitem drop column tempsign ").ok());
}

}  // namespace

namespace {

bool ranCleanUp(server::Session &s) {
    for (sqlite3_stmt *st = sqlite3_next_stmt(s.handle(), nullptr); st; st = sqlite3_next_stmt(s.handle(), st))
        if (std::string(sqlite3_sql(st)).find("temp.sqlite_master") != std::string::npos) return true;
    return false;
}

}  // namespace

// A session that made nothing temporary hands its connection on as it got
// it, without looking for anything to undo; one that did is cleaned up.
TEST(ServerSession, OnlyASessionWithTemporaryObjectsIsCleanedUp) {
    TestServer fx;
    sqlite3 *pooled = nullptr;
    {
        auto a = fx.connect();
        pooled = a->handle();
        ASSERT_TRUE(a->execute("create table kept(a int) insert into kept values (1) select * from kept").ok());
    }
    {
        auto b = fx.connect();
        ASSERT_EQ(b->handle(), pooled);
        EXPECT_FALSE(ranCleanUp(*b));
        ASSERT_TRUE(b->execute("create table #work(a int) insert into #work values (1)").ok());
    }
    auto c = fx.connect();
    ASSERT_EQ(c->handle(), pooled);
    EXPECT_TRUE(ranCleanUp(*c));
    auto r = c->execute("select * from #work");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errors.front().number(), 208);
}
