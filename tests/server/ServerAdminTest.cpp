// Server administration through sessions: KILL, DROP DATABASE while in use,
// BACKUP and RESTORE with MOVE and REPLACE, sp_configure, sysfiles.
#include <gtest/gtest.h>

#include <filesystem>

#include "kit/TestServer.h"

namespace fs = std::filesystem;

namespace {

int firstError(const server::BatchResult &r) { return r.errors.empty() ? 0 : r.errors.front().number(); }

std::string text(const server::BatchResult &r, size_t row = 0, size_t col = 0) {
    if (!r.ok()) return "error " + std::string(r.errors.front().what());
    if (r.resultSets.empty() || r.resultSets[0].rows.size() <= row) return "no row";
    const auto &v = r.resultSets[0].rows[row][col];
    if (v.isNull()) return "NULL";
    return v.kind == server::Value::Kind::Int ? std::to_string(v.i) : v.s;
}

// The batch that ends every other session of a database and drops it.
std::string deleteAccountBatch(const std::string &n) {
    return "if exists(select * from sysprocesses where db_name(dbid)='" + n +
           "')\r\n"
           "Begin\r\n"
           "declare @i INT  \r\n"
           "declare cur cursor for select spid from sysprocesses where spid>49 and db_name(dbid)= '" +
           n +
           "' \r\n"
           " open cur \r\n"
           " fetch next from cur into @i  \r\n"
           " while @@fetch_status=0  \r\n"
           "    begin if @i<>@@SPID exec('kill '+@i) \r\n"
           "    fetch next from cur into @i  \r\n"
           "    end \r\n"
           " close cur \r\n"
           "deallocate cur  \r\n"
           "End\r\n";
}

}  // namespace

TEST(ServerAdmin, KilledSessionFailsAndItsTransactionRollsBack) {
    TestServer f;
    auto a = f.connect();
    auto b = f.connect();
    ASSERT_TRUE(a->execute("create table t(k int)").ok());
    b->beginTransaction();
    ASSERT_TRUE(b->execute("insert into t values (1)").ok());
    EXPECT_EQ(firstError(a->execute("kill " + std::to_string(a->spid()))), 6104);
    EXPECT_EQ(firstError(a->execute("kill 32000")), 6106);
    ASSERT_TRUE(a->execute("kill " + std::to_string(b->spid())).ok());
    EXPECT_TRUE(b->killed());
    EXPECT_NE(firstError(b->execute("select 1")), 0);
    EXPECT_EQ(text(a->execute("select count(*) from t")), "0");
    EXPECT_EQ(text(a->execute("select count(*) from sysprocesses where spid = " + std::to_string(b->spid()))), "0");
}

TEST(ServerAdmin, DropWhileInUseFailsThenTheDeleteBatchClearsTheWay) {
    TestServer f;
    auto admin = f.connect("master");
    ASSERT_TRUE(admin->execute("create database A001").ok());
    std::string file = text(admin->execute("select filename from sysdatabases where name = 'A001'"));
    ASSERT_TRUE(fs::exists(file));
    auto user1 = f.connect("A001");
    auto user2 = f.connect("A001");
    ASSERT_TRUE(user1->execute("create table t(k int) insert into t values (1)").ok());
    EXPECT_EQ(firstError(admin->execute("drop database A001")), 3702);

    auto r = admin->execute(deleteAccountBatch("A001"));
    ASSERT_TRUE(r.ok()) << r.errors.front().what();
    EXPECT_TRUE(user1->killed());
    EXPECT_TRUE(user2->killed());
    r = admin->execute("if exists(select * from master.dbo.sysdatabases where name='A001') \r\n drop database A001");
    ASSERT_TRUE(r.ok()) << r.errors.front().what();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(fs::exists(file + "-wal"));
    EXPECT_EQ(text(admin->execute("select count(*) from sysdatabases where name = 'A001'")), "0");
    EXPECT_NE(firstError(user1->execute("insert into t values (2)")), 0);
    EXPECT_FALSE(fs::exists(file));
}

TEST(ServerAdmin, BackupAndRestoreWithMoveAndReplace) {
    TestServer f;
    auto admin = f.connect("master");
    {
        auto base = f.connect("test");
        ASSERT_TRUE(base->execute("create table t_Base(k int) insert into t_Base values (42)").ok());
        EXPECT_EQ(text(base->execute("select name from sysfiles where (status & 0x40) <> 0")), "test_log");
        EXPECT_EQ(text(base->execute("select db_name()")), "test");
    }
    std::string bak = f.folder() + "/base.bak";
    ASSERT_TRUE(admin->execute("BACKUP DATABASE test TO DISK = '" + bak + "' WITH INIT").ok());
    fs::create_directories(f.folder() + "/data");
    std::string dir = f.folder() + "/data/";
    auto restore = [&](const std::string &db, const std::string &logicalData, const char *tail) {
        return admin->execute("RESTORE DATABASE " + db + " from disk='" + bak + "' with recovery, move '" +
                              logicalData + "' to '" + dir + db + "_Data.mdf',move 'test_log' to '" + dir + db +
                              "_log.ldf'  " + tail);
    };
    auto r = restore("A002", "test", ", replace");
    ASSERT_TRUE(r.ok()) << r.errors.front().what();
    EXPECT_TRUE(fs::exists(dir + "A002_Data.mdf"));
    EXPECT_TRUE(fs::exists(dir + "A002_log.ldf"));
    EXPECT_EQ(text(admin->execute("select filename from sysdatabases where name = 'A002'")), dir + "A002_Data.mdf");
    {
        auto s = f.connect("A002");
        EXPECT_EQ(text(s->execute("select k from t_Base")), "42");
        EXPECT_EQ(text(s->execute("select filename from sysfiles where (status & 0x40) <> 0")), dir + "A002_log.ldf");
        ASSERT_TRUE(s->execute("insert into t_Base values (1)").ok());
        EXPECT_TRUE(s->execute("Backup Log [A002] with No_Log").ok());
        EXPECT_TRUE(s->execute("ALTER DATABASE [A002] MODIFY FILE (NAME ='test_log', MAXSIZE = UNLIMITED)").ok());
        EXPECT_EQ(firstError(s->execute("ALTER DATABASE [A002] MODIFY FILE (NAME ='nope', MAXSIZE = UNLIMITED)")),
                  5041);
        // In use: no restore over it.
        EXPECT_EQ(firstError(restore("A002", "test", ", replace")), 3101);
    }
    EXPECT_EQ(firstError(restore("A002", "test", "")), 3159);
    ASSERT_TRUE(restore("A002", "test", ", replace").ok());
    EXPECT_EQ(text(f.connect("A002")->execute("select count(*) from t_Base")), "1");

    r = restore("A003", "nosuch", ", replace");
    ASSERT_EQ(firstError(r), 3234);
    EXPECT_EQ(std::string(r.errors.front().what()).find("语法错误"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "A003_Data.mdf"));
    EXPECT_EQ(firstError(admin->execute("RESTORE DATABASE A004 from disk='" + f.folder() + "/none.bak' with recovery")),
              3201);
    for (const char *bad : {"001", "select", "A-1"}) {
        r = restore(bad, "test", ", replace");
        ASSERT_FALSE(r.ok()) << bad;
        EXPECT_NE(std::string(r.errors.front().what()).find("语法错误"), std::string::npos) << bad;
    }
    // NORECOVERY leaves it restoring until a RECOVERY restore.
    ASSERT_TRUE(admin
                    ->execute("RESTORE DATABASE A005 from disk='" + bak + "' with norecovery, move 'test' to '" + dir +
                              "A005.mdf', move 'test_log' to '" + dir + "A005.ldf'")
                    .ok());
    EXPECT_THROW(f.connect("A005"), server::SqlError);
    ASSERT_TRUE(admin
                    ->execute("RESTORE DATABASE A005 from disk='" + bak + "' with recovery, move 'test' to '" + dir +
                              "A005.mdf', move 'test_log' to '" + dir + "A005.ldf'")
                    .ok());
    EXPECT_NO_THROW(f.connect("A005"));
    admin->beginTransaction();
    EXPECT_EQ(firstError(restore("A006", "test", "")), 574);
    admin->rollback();
}

TEST(ServerAdmin, ConfigureTurnsAdHocQueriesOn) {
    TestServer f;
    auto admin = f.connect("master");
    EXPECT_FALSE(f.instance->adHocQueriesEnabled());
    EXPECT_EQ(firstError(admin->execute("exec sp_configure 'Ad Hoc Distributed Queries',1")), 15123);
    EXPECT_EQ(firstError(admin->execute("exec sp_configure 'no such option',1")), 15123);
    auto r = admin->execute("exec sp_configure 'show advanced options',1 \r\nreconfigure\r\n"
                            "exec sp_configure 'Ad Hoc Distributed Queries',1\r\nreconfigure\r\n");
    ASSERT_TRUE(r.ok()) << r.errors.front().what();
    EXPECT_TRUE(f.instance->adHocQueriesEnabled());
    r = admin->execute("exec sp_configure 'show advanced options', 1;\r\nRECONFIGURE;\r\n"
                       "exec sp_configure 'Ad Hoc Distributed Queries', 0;\r\n");
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(f.instance->adHocQueriesEnabled());  // stored, not yet in use
    ASSERT_TRUE(admin->execute("RECONFIGURE").ok());
    EXPECT_FALSE(f.instance->adHocQueriesEnabled());
    EXPECT_EQ(text(admin->execute("select @@spid")), std::to_string(admin->spid()));
}

TEST(ServerAdmin, ADroppedDatabaseIsLetGoBySessionsThatReadIt) {
    TestServer f;
    auto admin = f.connect("master");
    ASSERT_TRUE(admin->execute("create database A007").ok());
    ASSERT_TRUE(f.connect("A007")->execute("create table t(k int) insert into t values (5)").ok());
    auto reader = f.connect("test");
    EXPECT_EQ(text(reader->execute("select k from A007..t")), "5");
    std::string file = text(admin->execute("select filename from sysdatabases where name = 'A007'"));
    ASSERT_TRUE(admin->execute("drop database A007").ok());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(firstError(reader->execute("insert into A007..t values (6)")), 911);
    EXPECT_FALSE(fs::exists(file));

    // A restored database leaves neither its data nor its log file behind.
    std::string bak = f.folder() + "/t.bak";
    ASSERT_TRUE(admin->execute("backup database test to disk = '" + bak + "'").ok());
    ASSERT_TRUE(admin->execute("restore database A008 from disk = '" + bak + "' with replace").ok());
    std::string data = text(admin->execute("select filename from sysdatabases where name = 'A008'"));
    ASSERT_TRUE(fs::exists(data));
    ASSERT_TRUE(admin->execute("drop database A008").ok());
    EXPECT_FALSE(fs::exists(data));
    EXPECT_FALSE(fs::exists(f.folder() + "/A008_log.ldf"));
}
