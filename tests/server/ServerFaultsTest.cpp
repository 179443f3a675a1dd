// The server under faults: declared lengths hold for literals of any size,
// connecting does not need the write lock, a read-only folder still reads,
// and a database file removed under a session is not acknowledged.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "kit/TestServer.h"
#include "server/SqlError.h"

namespace {

struct LongLiteralCase {
    const char *column;
    const char *prefix;
    int length;
};

TEST(ServerFaults, LiteralsLongerThanTheColumnAreRefusedAtEverySize) {
    TestServer fx;
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
    TestServer fx;
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

// localsql run as a user who cannot write the instance folder (as root, the
// check would be bypassed: the tool then runs as nobody).
QString localsqlReadOnly(const QStringList &args, int *code) {
    QString tool = QStringLiteral(PNW_BINARY_DIR "/bin/localsql");
    QProcess p;
    if (geteuid() == 0)
        p.start(QStringLiteral("setpriv"),
                QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", tool} + args);
    else
        p.start(tool, args);
    p.waitForFinished(60000);
    *code = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(ServerFaults, AReadOnlyFolderReadsAndRefusesWrites) {
    if (geteuid() == 0 && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "setpriv is needed to drop root's rights";
    TestServer fx;
    {
        auto s = fx.connect();
        ASSERT_TRUE(s->execute("create table t(a int) insert into t values (7)").ok());
    }
    namespace fs = std::filesystem;
    fs::path folder(fx.folder());
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto traverse = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(folder, readOnly | traverse);
    for (const auto &entry : fs::directory_iterator(folder)) fs::permissions(entry.path(), readOnly);
    const QString inst = QString::fromStdString(fx.folder());
    const QStringList login{"-S", inst, "-d", "test", "-U", "sa", "-P", "pw", "-Q"};
    struct Step {
        const char *sql;
        int code;
        const char *expected;
    };
    const Step steps[] = {
        {"select a from t", 0, "a\n7\n"},
        {"select count(*) as n from sysfiles", 0, "n\n2\n"},
        {"insert into t values (8)", 1, "Msg 3906: "},
        {"create table u(a int)", 1, "Msg 3906: "},
        {"update t set a = 9", 1, "Msg 3906: "},
    };
    for (const auto &step : steps) {
        int code = -1;
        QString out = localsqlReadOnly(login + QStringList{QString::fromUtf8(step.sql)}, &code);
        EXPECT_EQ(code, step.code) << step.sql << " " << out.toStdString();
        EXPECT_TRUE(out.contains(QString::fromUtf8(step.expected))) << step.sql << " " << out.toStdString();
        EXPECT_FALSE(out.contains(QStringLiteral("50000"))) << out.toStdString();
    }
    fs::permissions(folder, fs::perms::owner_all);
    for (const auto &entry : fs::directory_iterator(folder))
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write);
    auto s = fx.connect();
    auto r = s->execute("select count(*) from t");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, 1);
}

enum class FileLoss { Deleted, Replaced };

TEST(ServerFaults, ALostDataFileIsNotAcknowledgedAndTheDatabaseIsSuspect) {
    for (FileLoss loss : {FileLoss::Deleted, FileLoss::Replaced}) {
        SCOPED_TRACE(loss == FileLoss::Deleted ? "deleted" : "replaced");
        TestServer fx;
        namespace fs = std::filesystem;
        const fs::path data = fs::path(fx.folder()) / "test.mdf";
        auto a = fx.connect();
        auto b = fx.connect();
        ASSERT_TRUE(a->execute("create table t(a int) insert into t values (1)").ok());
        a->beginTransaction();
        ASSERT_TRUE(a->execute("insert into t values (2)").ok());
        if (loss == FileLoss::Deleted) {
            fs::remove(data);
        } else {
            fs::copy_file(data, data.string() + ".copy");
            fs::rename(data.string() + ".copy", data);
        }
        try {
            a->commit();
            ADD_FAILURE() << "a commit into a lost file was acknowledged";
        } catch (const server::SqlError &e) {
            EXPECT_EQ(e.number(), 823);
        }
        // A statement that commits alone is refused the same way.
        auto r = b->execute("insert into t values (3)");
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errors.front().number(), 823);
        try {
            fx.connect();
            ADD_FAILURE() << "a suspect database opened";
        } catch (const server::SqlError &e) {
            EXPECT_EQ(e.number(), 926);
        }
        auto m = fx.connect("master");
        r = m->execute("select status from sysdatabases where name = 'test'");
        ASSERT_TRUE(r.ok());
        ASSERT_EQ(r.resultSets[0].rows.size(), 1u);
        EXPECT_EQ(r.resultSets[0].rows[0][0].i, 256);
    }
}

TEST(ServerFaults, ATransactionThatReadWritesAfterAnotherCommit) {
    TestServer fx;
    auto a = fx.connect();
    auto b = fx.connect();
    ASSERT_TRUE(a->execute("create table t(k int primary key, n int) insert into t values (1, 0)").ok());
    // Each round: a reads, b commits a change, a then writes from what is now committed.
    for (int round = 0; round < 5; ++round) {
        a->beginTransaction();
        auto r = a->execute("select n from t where k = 1");
        ASSERT_TRUE(r.ok());
        ASSERT_TRUE(b->execute("update t set n = n + 1 where k = 1").ok());
        r = a->execute("update t set n = n + 10 where k = 1 insert into t values (" + std::to_string(round + 2) +
                       ", 0)");
        ASSERT_TRUE(r.ok()) << (r.errors.empty() ? "" : r.errors.front().text());
        a->commit();
    }
    // A transaction that wrote before keeps its work when it writes again.
    a->beginTransaction();
    ASSERT_TRUE(a->execute("insert into t values (100, 1) select count(*) from t").ok());
    ASSERT_TRUE(a->execute("update t set n = 2 where k = 100").ok());
    a->commit();
    auto r = b->execute("select n, (select count(*) from t) from t where k = 1");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resultSets[0].rows[0][0].i, 55);
    EXPECT_EQ(r.resultSets[0].rows[0][1].i, 7);
}

}  // namespace
