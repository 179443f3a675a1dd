// ALTER DATABASE ... SET DELAYED_DURABILITY: while FORCED, no commit on the
// database's file syncs and the log grows past the ordinary checkpoint
// interval; every connection of that file follows (live, pooled, new), no
// other file does. DISABLED puts the ordinary setting back and leaves all
// that was committed on disk: a power cut right after loses nothing.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>

#include "kit/PowerCut.h"
#include "kit/TestServer.h"

namespace fs = std::filesystem;

namespace {

int firstError(const server::BatchResult &r) { return r.errors.empty() ? 0 : r.errors.front().number(); }

// The sync setting of a session's own database file (0 off, 1 normal).
int syncSetting(server::Session &s) {
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(s.handle(), "PRAGMA main.synchronous", -1, &st, nullptr);
    const int value = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    return value;
}

std::string fileOf(TestServer &server, const std::string &database) {
    return server.instance->database(database)->filename;
}

// A table and `rows` rows of about 400 bytes, each row committed alone.
void writeRows(server::Session &s, int rows) {
    ASSERT_EQ(firstError(s.execute("create table t(a int, b varchar(400))")), 0);
    const std::string text(400, 'x');
    ASSERT_EQ(firstError(s.execute("declare @i int set @i = 0 while @i < " + std::to_string(rows) +
                                   " begin insert into t values (@i, '" + text + "') set @i = @i + 1 end")),
              0);
}

// The rows of t and the integrity check of a database file opened alone.
std::pair<int, std::string> openAlone(const std::string &path) {
    sqlite3 *db = nullptr;
    std::pair<int, std::string> found{-1, "cannot open"};
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            found.second = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        else
            found.second = sqlite3_errmsg(db);
        sqlite3_finalize(st);
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM t", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            found.first = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return found;
}

TEST(DurabilityTest, EveryConnectionOfTheFileFollowsAndNoOther) {
    TestServer server({"acct", "other"});
    auto live = server.connect("acct");
    server.connect("acct");  // closed: its connection waits in the pool
    auto other = server.connect("other");
    auto master = server.connect("master");
    ASSERT_EQ(syncSetting(*live), 1);
    const int masterSetting = syncSetting(*master);

    ASSERT_EQ(firstError(master->execute("ALTER DATABASE acct SET DELAYED_DURABILITY = FORCED")), 0);
    auto pooled = server.connect("acct");
    auto fresh = server.connect("acct");  // the pool is empty again: a new connection
    for (server::Session *s : {live.get(), pooled.get(), fresh.get()}) {
        ASSERT_EQ(firstError(s->execute("select 1")), 0);
        EXPECT_EQ(syncSetting(*s), 0);
    }
    ASSERT_EQ(firstError(other->execute("select 1")), 0);
    EXPECT_EQ(syncSetting(*other), 1);
    EXPECT_EQ(syncSetting(*master), masterSetting);

    ASSERT_EQ(firstError(live->execute("ALTER DATABASE [ACCT] SET DELAYED_DURABILITY = DISABLED")), 0);
    for (server::Session *s : {live.get(), pooled.get(), fresh.get()}) {
        ASSERT_EQ(firstError(s->execute("select 1")), 0);
        EXPECT_EQ(syncSetting(*s), 1);
    }

    // A database dropped while forced comes back at the ordinary setting.
    ASSERT_EQ(firstError(master->execute("ALTER DATABASE acct SET DELAYED_DURABILITY = FORCED")), 0);
    live.reset();
    pooled.reset();
    fresh.reset();
    ASSERT_EQ(firstError(master->execute("DROP DATABASE acct")), 0);
    ASSERT_EQ(firstError(master->execute("CREATE DATABASE acct")), 0);
    auto again = server.connect("acct");
    ASSERT_EQ(firstError(again->execute("select 1")), 0);
    EXPECT_EQ(syncSetting(*again), 1);
}

TEST(DurabilityTest, TheStatementsRefusals) {
    TestServer server({"acct"});
    auto s = server.connect("acct");
    const struct {
        const char *batch;
        int error;
    } cases[] = {
        {"ALTER DATABASE nowhere SET DELAYED_DURABILITY = FORCED", 911},
        {"ALTER DATABASE acct SET DELAYED_DURABILITY = SOMETIMES", 102},
        {"ALTER DATABASE acct SET RECOVERY SIMPLE", 102},
    };
    for (const auto &c : cases) EXPECT_EQ(firstError(s->execute(c.batch)), c.error) << c.batch;
    s->beginTransaction();
    EXPECT_EQ(firstError(s->execute("ALTER DATABASE acct SET DELAYED_DURABILITY = FORCED")), 574);
    s->rollback();
}

TEST(DurabilityTest, NothingSyncsWhileForcedAndAllIsOnDiskOnceDisabled) {
    powercut::Install();
    TestServer server({"acct", "other"});
    powercut::Watch(server.path().toStdString());
    const std::string acct = fileOf(server, "acct");
    const std::string other = fileOf(server, "other");
    const int rows = 3000;  // some 6,000 log pages: past the ordinary interval several times
    {
        auto s = server.connect("other");
        writeRows(*s, rows);
    }
    EXPECT_GT(powercut::Syncs(other + "-wal"), 0);

    auto s = server.connect("acct");
    ASSERT_EQ(firstError(s->execute("ALTER DATABASE acct SET DELAYED_DURABILITY = FORCED")), 0);
    const int dataSyncs = powercut::Syncs(acct), logSyncs = powercut::Syncs(acct + "-wal");
    writeRows(*s, rows);
    EXPECT_EQ(powercut::Syncs(acct), dataSyncs);
    EXPECT_EQ(powercut::Syncs(acct + "-wal"), logSyncs);
    // Checkpointed less often: the log grew well past the ordinary one's size.
    EXPECT_GT(fs::file_size(acct + "-wal"), 2 * fs::file_size(other + "-wal"));

    ASSERT_EQ(firstError(s->execute("ALTER DATABASE acct SET DELAYED_DURABILITY = DISABLED")), 0);
    EXPECT_EQ(fs::file_size(acct + "-wal"), 0U);
    const std::string cut = server.path().toStdString() + "/cut.mdf";
    ASSERT_TRUE(powercut::WriteImages({{acct, cut}, {acct + "-wal", cut + "-wal"}}));
    EXPECT_EQ(openAlone(cut), std::make_pair(rows, std::string("ok")));
}

}  // namespace
