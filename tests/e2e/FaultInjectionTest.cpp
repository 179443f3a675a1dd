// The server's fault seam: an armed fault fails exactly the statement it
// picks, with the error given, before any of it runs, wherever the
// statement runs (a batch, a replayed batch, a procedure), and only once.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "server/FaultInjection.h"
#include "server/Instance.h"
#include "server/Session.h"

namespace {

class FaultInjectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        server::Instance::create(dir.path().toStdString(), "sa", "pw");
        instance = server::Instance::open(dir.path().toStdString());
        server::Session admin(instance, "sa", "pw", "master");
        ASSERT_TRUE(admin.execute("CREATE DATABASE test").ok());
        session = std::make_unique<server::Session>(instance, "sa", "pw", "test");
        ASSERT_TRUE(session->execute("CREATE TABLE t_X (FID int)").ok());
        ASSERT_TRUE(session->execute("CREATE TABLE t_XY (FID int)").ok());
    }
    void TearDown() override {
        server::ResetFaults();
        session.reset();
        instance.reset();
        server::Instance::release(dir.path().toStdString());
    }

    // "" when the batch ran, else "number: text" of its first error.
    std::string run(const std::string &sql) {
        const server::BatchResult r = session->execute(sql);
        return r.ok() ? std::string() : std::to_string(r.errors.front().number()) + ": " + r.errors.front().text();
    }
    int64_t count(const std::string &table) {
        const server::BatchResult r = session->execute("SELECT COUNT(*) FROM " + table);
        return r.ok() ? r.resultSets.front().rows.front().front().i : -1;
    }

    QTemporaryDir dir;
    std::shared_ptr<server::Instance> instance;
    std::unique_ptr<server::Session> session;
};

TEST_F(FaultInjectionTest, TheNthStatementFailsOnceWithTheGivenError) {
    server::FailStatementAfter(2, 8152);
    EXPECT_EQ(run("INSERT INTO t_X VALUES (1)"), "");
    EXPECT_FALSE(server::FaultFired());
    EXPECT_EQ(run("INSERT INTO t_X VALUES (2)"), "8152: 将截断字符串或二进制数据。");
    EXPECT_TRUE(server::FaultFired());
    EXPECT_EQ(run("INSERT INTO t_X VALUES (3)"), "");
    EXPECT_EQ(count("t_X"), 2);
}

TEST_F(FaultInjectionTest, AWriteToTheNamedTableFailsAndReadsAndOtherTablesPass) {
    server::FailStatementWhen([](std::string_view sql) { return server::WritesTable(sql, "T_x"); }, 547, "冲突。");
    EXPECT_EQ(run("SELECT * FROM t_X"), "");
    EXPECT_EQ(run("INSERT INTO t_XY VALUES (1)"), "");
    EXPECT_EQ(run("INSERT INTO t_X SELECT FID FROM t_XY"), "547: 冲突。");
    EXPECT_EQ(count("t_X"), 0);
}

TEST_F(FaultInjectionTest, ReplayedBatchesAndProcedureStatementsCount) {
    const auto writesX = [](std::string_view sql) { return server::WritesTable(sql, "t_X"); };
    // The same batch again runs from the session's cache of translations.
    server::FailStatementWhen(writesX, 2627, "重复键。", 2);
    EXPECT_EQ(run("INSERT INTO t_X VALUES (1)"), "");
    EXPECT_EQ(run("INSERT INTO t_X VALUES (1)"), "2627: 重复键。");

    ASSERT_EQ(run("CREATE PROCEDURE p_Add AS\nINSERT INTO t_XY VALUES (5)\nUPDATE t_X SET FID = 5"), "");
    server::FailStatementWhen(writesX, 1205, "死锁。");
    EXPECT_EQ(run("EXEC p_Add"), "1205: 死锁。");
    EXPECT_EQ(count("t_X WHERE FID = 5"), 0);
}

TEST_F(FaultInjectionTest, AResetDisarms) {
    server::FailStatementAfter(1, 8152);
    server::ResetFaults();
    EXPECT_EQ(run("INSERT INTO t_X VALUES (1)"), "");
    EXPECT_FALSE(server::FaultFired());
}

}  // namespace
