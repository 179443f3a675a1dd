// Sessions: login and database failures create nothing, a closed session
// leaves no temporary tables or open transaction to the next one, spids are
// distinct and listed.
#include <gtest/gtest.h>

#include <QDir>

#include "ServerFixture.h"
#include "server/SqlError.h"

namespace {

TEST(ServerSession, FailuresCreateNothing)
{
    ServerFixture fx;
    QStringList before = QDir(QString::fromStdString(fx.folder())).entryList(QDir::Files);
    try {
        server::Session s(fx.instance, "sa", "pw", "NoSuchDb");
        ADD_FAILURE();
    } catch (const server::SqlError& e) {
        EXPECT_EQ(e.number(), 4060);
        EXPECT_NE(e.text().find("NoSuchDb"), std::string::npos);
    }
    try {
        server::Session s(fx.instance, "sa", "wrong", "test");
        ADD_FAILURE();
    } catch (const server::SqlError& e) {
        EXPECT_EQ(e.number(), 18456);
    }
    EXPECT_EQ(QDir(QString::fromStdString(fx.folder())).entryList(QDir::Files), before);
}

TEST(ServerSession, AClosedSessionLeavesNothingBehind)
{
    ServerFixture fx;
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

TEST(ServerSession, SessionsAreListedWithTheirDatabase)
{
    ServerFixture fx;
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
