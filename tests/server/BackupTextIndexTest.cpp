// A database whose text columns are indexed (under the engine's collation)
// backs up and restores under a new name with its rows.
#include <gtest/gtest.h>

#include "kit/TestServer.h"

namespace {

TEST(BackupTextIndexTest, IndexedTextColumnsSurviveBackupAndRestore) {
    TestServer server;
    {
        auto s = server.connect();
        auto r = s->execute("CREATE TABLE T_Unit (FID int NOT NULL, FName nvarchar(40) NOT NULL, "
                            "CONSTRAINT PK_T_Unit PRIMARY KEY (FName))\n"
                            "CREATE INDEX ix_T_Unit_FID ON T_Unit (FID)\n"
                            "INSERT INTO T_Unit VALUES (1, N'个')\n"
                            "INSERT INTO T_Unit VALUES (2, N'Box')");
        ASSERT_TRUE(r.ok()) << r.errors.front().text();
    }
    const std::string bak = server.folder() + "/test.bak";
    auto m = server.connect("master");
    auto b = m->execute("BACKUP DATABASE test TO DISK = '" + bak + "' WITH INIT");
    ASSERT_TRUE(b.ok()) << b.errors.front().text();
    auto r =
        m->execute("RESTORE DATABASE copy1 from disk='" + bak + "' with recovery, move 'test' to '" + server.folder() +
                   "/copy1.mdf',move 'test_log' to '" + server.folder() + "/copy1_log.ldf', replace");
    ASSERT_TRUE(r.ok()) << r.errors.front().text();
    auto c = server.connect("copy1");
    auto rows = c->execute("SELECT FID FROM T_Unit WHERE FName = 'box'");
    ASSERT_TRUE(rows.ok()) << rows.errors.front().text();
    ASSERT_EQ(rows.resultSets.at(0).rows.size(), 1u);
    EXPECT_EQ(rows.resultSets[0].rows[0][0].i, 2);
}

}  // namespace
