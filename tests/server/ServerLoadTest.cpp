// Sessions that read and then write at the same time: every transaction
// commits, the data add up, and a session that must wait for the write lock
// waits (3 s, then 1222) instead of failing at once, also when it changes
// the schema after reading.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "kit/TestServer.h"
#include "server/SqlError.h"

namespace {

using server::Session;

long long scalar(Session &s, const std::string &sql) {
    auto r = s.execute(sql);
    if (!r.ok()) throw r.errors.front();
    const server::Value &v = r.resultSets.at(0).rows.at(0).at(0);
    return v.kind == server::Value::Kind::Int ? v.i : static_cast<long long>(v.d);
}

void exec(Session &s, const std::string &sql) {
    auto r = s.execute(sql);
    if (!r.ok()) throw r.errors.front();
}

// One client's transactions: read, then bump its counter, add an entry and
// add one to the shared balance; every 10th changes the schema after its read.
// Returns the failures as "number text" lines, "" when every one committed.
std::string runClient(Session &s, int client, int transactions) {
    const std::string c = std::to_string(client);
    std::string failures;
    int committed = 0;
    for (int seq = 0; seq < transactions; ++seq) {
        const std::string own = "t_Own" + c + "_" + std::to_string(seq);
        try {
            s.beginTransaction();
            if (scalar(s, "select FCount from t_Counter where FClient = " + c) != committed)
                failures += "0 stale read\n";
            scalar(s, "select FAmount from t_Balance where FID = 1");
            if (seq % 10 == 3)
                exec(s, "create table " + own + "(FClient int primary key, FCount int)\n" + "insert into " + own +
                            " select FClient, FCount from t_Counter\n" + "alter table " + own +
                            " add FNote varchar(10) null\n" + "drop table " + own);
            if (seq % 10 == 7)
                exec(s, "select FClient, FCount into " + own + " from t_Counter\n" + "create index ix_" + own + " on " +
                            own + "(FCount)\n" + "drop table " + own);
            exec(s, "update t_Counter set FCount = FCount + 1 where FClient = " + c);
            exec(s, "insert into t_Entry(FClient, FSeq) values (" + c + ", " + std::to_string(seq) + ")");
            exec(s, "declare @b money\n"
                    "select @b = FAmount from t_Balance where FID = 1\n"
                    "update t_Balance set FAmount = @b + 1 where FID = 1");
            s.commit();
            ++committed;
        } catch (const server::SqlError &e) {
            failures += std::to_string(e.number()) + " " + e.text() + "\n";
            if (s.inTransaction()) s.rollback();
        }
    }
    return failures;
}

TEST(ServerLoad, EightClientsInTransactionsCommitEveryOneExactly) {
    constexpr int kClients = 8;
    constexpr int kTransactions = 50;
    TestServer fx;
    {
        auto s = fx.connect();
        ASSERT_TRUE(s->execute("create table t_Counter(FClient int primary key, FCount int not null)\n"
                               "create table t_Entry(FID int identity primary key, FClient int not null, "
                               "FSeq int not null)\n"
                               "create unique index ix_Entry on t_Entry(FClient, FSeq)\n"
                               "create table t_Balance(FID int primary key, FAmount money not null)\n"
                               "insert into t_Balance values (1, 0)")
                        .ok());
        for (int c = 0; c < kClients; ++c)
            ASSERT_TRUE(s->execute("insert into t_Counter values (" + std::to_string(c) + ", 0)").ok());
    }
    // Each client is a process of its own, as separate programs connect; no
    // SQLite handle may cross fork, so this process lets the instance go.
    fx.instance.reset();
    server::Instance::release(fx.folder());
    auto report = [&](int c) { return fx.folder() + "/client" + std::to_string(c) + ".txt"; };
    std::vector<pid_t> pids;
    for (int c = 0; c < kClients; ++c) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::string failures;
            try {
                Session s(server::Instance::open(fx.folder()), "sa", "pw", "test");
                failures = runClient(s, c, kTransactions);
            } catch (const server::SqlError &e) {
                failures = std::to_string(e.number()) + " " + e.text() + "\n";
            }
            std::ofstream(report(c)) << failures;
            _exit(0);
        }
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int c = 0; c < kClients; ++c) {
        std::ifstream f(report(c));
        ASSERT_TRUE(f.good()) << "client " << c << " reported nothing";
        std::string failures((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        EXPECT_EQ(failures, "") << "client " << c;
    }
    fx.instance = server::Instance::open(fx.folder());
    auto s = fx.connect();
    const long long total = kClients * kTransactions;
    EXPECT_EQ(scalar(*s, "select sum(FCount) from t_Counter"), total);
    EXPECT_EQ(scalar(*s, "select count(*) from t_Entry"), total);
    EXPECT_EQ(scalar(*s, "select count(distinct FSeq) from t_Entry"), kTransactions);
    EXPECT_EQ(scalar(*s, "select FAmount from t_Balance where FID = 1"), total);
    EXPECT_EQ(scalar(*s, "select count(*) from sysobjects where name like 't_Own%'"), 0);
}

// Statements that change the schema, each run by a transaction that has
// read, after another session committed since that read.
const char *const kSchemaChanges[] = {
    "create table t_New(a int)",
    "alter table t add b int null",
    "select k, n into t_Copy from t",
    "create index ix_t on t(n)",
    "drop table t_Old",
    "truncate table t_Old",
    "create procedure p_New as select 1",
    "create trigger tr_New on t for insert as select 1",
    "drop procedure p_Old",
    "alter table t disable trigger tr_Old",
};

TEST(ServerLoad, ASchemaChangeAfterAReadWritesAfterAnotherCommit) {
    for (const char *sql : kSchemaChanges) {
        SCOPED_TRACE(sql);
        TestServer fx;
        auto a = fx.connect();
        auto b = fx.connect();
        ASSERT_TRUE(a->execute("create table t(k int primary key, n int)\n"
                               "insert into t values (1, 0)\n"
                               "create table t_Old(a int)")
                        .ok());
        ASSERT_TRUE(a->execute("create procedure p_Old as select 1").ok());
        ASSERT_TRUE(a->execute("create trigger tr_Old on t for update as select 1").ok());
        a->beginTransaction();
        ASSERT_TRUE(a->execute("select n from t where k = 1").ok());
        ASSERT_TRUE(b->execute("insert into t values (2, 0)").ok());
        auto r = a->execute(sql);
        ASSERT_TRUE(r.ok()) << r.errors.front().number() << " " << r.errors.front().text();
        ASSERT_TRUE(a->execute("update t set n = n + 1").ok());
        a->commit();
        EXPECT_EQ(scalar(*b, "select sum(n) from t"), 2);
    }
}

enum class Start { InTransactionAfterARead, OutsideATransaction };

// The other session holds the write lock and commits a little later: the
// schema change waits for it and then runs.
TEST(ServerLoad, ASchemaChangeWaitsWhileAnotherSessionWrites) {
    for (Start start : {Start::InTransactionAfterARead, Start::OutsideATransaction}) {
        for (const char *sql : {"create table t_New(a int)", "select k, n into t_Copy from t"}) {
            SCOPED_TRACE(sql);
            TestServer fx;
            auto a = fx.connect();
            auto b = fx.connect();
            ASSERT_TRUE(a->execute("create table t(k int primary key, n int) insert into t values (1, 0)").ok());
            if (start == Start::InTransactionAfterARead) {
                a->beginTransaction();
                ASSERT_TRUE(a->execute("select n from t").ok());
            }
            b->beginTransaction();
            ASSERT_TRUE(b->execute("update t set n = 5").ok());
            // b is used by that thread alone until it is joined.
            std::thread committer([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                b->commit();
            });
            auto r = a->execute(sql);
            committer.join();
            ASSERT_TRUE(r.ok()) << r.errors.front().number() << " " << r.errors.front().text();
            if (a->inTransaction()) a->commit();
            EXPECT_EQ(scalar(*b, "select count(*) from sysobjects where name in ('t_New', 't_Copy')"), 1);
        }
    }
}

// A writer that does not finish: the schema change gives up with 1222 after
// the full wait, and its transaction stays open for the client to roll back.
TEST(ServerLoad, ASchemaChangeGivesUpOnlyAfterTheFullWait) {
    TestServer fx;
    auto a = fx.connect();
    auto b = fx.connect();
    ASSERT_TRUE(a->execute("create table t(k int primary key, n int) insert into t values (1, 0)").ok());
    a->beginTransaction();
    ASSERT_TRUE(a->execute("select n from t").ok());
    b->beginTransaction();
    ASSERT_TRUE(b->execute("update t set n = 5").ok());
    auto t0 = std::chrono::steady_clock::now();
    auto r = a->execute("create table t_New(a int)");
    double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errors.front().number(), 1222);
    EXPECT_GE(waited, 2.9);
    EXPECT_TRUE(a->inTransaction());
    a->rollback();
    b->commit();
    EXPECT_EQ(scalar(*a, "select count(*) from sysobjects where name = 't_New'"), 0);
}

}  // namespace
