// The stand-in installation's scripts (base account set and AcctCtl) run
// through the engine without an error, and what they seed works.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "kit/TestServer.h"
#include "server/ScriptBatches.h"

namespace {

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void runScript(server::Session &s, const std::string &relative) {
    std::string text = readFile(std::string(PNW_SOURCE_DIR "/") + relative);
    ASSERT_FALSE(text.empty()) << relative;
    for (const auto &batch : server::splitGoBatches(text)) {
        auto r = s.execute(batch);
        ASSERT_TRUE(r.ok()) << relative << ": " << r.errors.front().what() << "\n" << batch.substr(0, 400);
    }
}

std::string scalar(server::Session &s, const std::string &sql) {
    auto r = s.execute(sql);
    if (!r.ok()) return "error " + std::string(r.errors.front().what());
    if (r.resultSets.empty() || r.resultSets[0].rows.empty()) return "no row";
    const auto &v = r.resultSets[0].rows[0][0];
    if (v.isNull()) return "NULL";
    if (v.kind == server::Value::Kind::Int) return std::to_string(v.i);
    return v.s;
}

}  // namespace

TEST(StandinScripts, BaseAndAcctCtlRunCleanAndTheirObjectsWork) {
    TestServer f;
    {
        auto admin = f.connect("master");
        ASSERT_TRUE(admin->execute("CREATE DATABASE AcctCtl").ok());
    }
    auto base = f.connect("test");
    runScript(*base, "standin/base/10_tables.sql");
    runScript(*base, "standin/base/20_objects.sql");
    runScript(*base, "standin/base/30_rows.sql");
    auto ctl = f.connect("AcctCtl");
    runScript(*ctl, "standin/acctctl/acctctl.sql");

    EXPECT_EQ(scalar(*ctl, "select FName from t_ad_dbtype where FTypeID = 1"), "SQL Server");
    EXPECT_TRUE(ctl->execute("execute Pro_BuildAcctAllUser").ok());

    // The procedure records the closing type; other values change nothing.
    ASSERT_TRUE(base->execute("exec pr_InitIntelTransfer 3").ok());
    ASSERT_TRUE(base->execute("exec pr_InitIntelTransfer 9").ok());
    EXPECT_EQ(scalar(*base, "select FValue from t_SystemProfile where FCategory = 'GL' and "
                            "FKey = 'IntelTransferAccountType'"),
              "3");

    // The balance procedure brings the ancestors' totals in line, level by level.
    ASSERT_TRUE(
        base->execute(
                "insert into T_Account (FAccountID, FNumber, FName, FParentID) values (9001, '9', N'A', 0)\n"
                "insert into T_Account (FAccountID, FNumber, FName, FParentID) values (9002, '9.1', N'B', 9001)\n"
                "insert into T_Account (FAccountID, FNumber, FName, FParentID) values (9003, '9.1.1', N'C', 9002)\n"
                "insert into t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FDebit, FDebitFor) "
                "values (2018, 1, 9003, 0, 1, 12.5, 12.5)")
            .ok());
    auto r = base->execute("exec sp_UpdateBalance 9003, 1");
    ASSERT_TRUE(r.ok()) << r.errors.front().what();
    EXPECT_EQ(scalar(*base, "select count(*) from t_Balance where FAccountID in (9001, 9002) and FCurrencyID = 1 "
                            "and FDebit = 12.5"),
              "2");
    EXPECT_EQ(scalar(*base, "select count(*) from t_Balance where FAccountID in (9001, 9002) and FCurrencyID = 0 "
                            "and FDebitFor = 12.5"),
              "2");

    // The triggers fill the derived columns and keep the item counter.
    ASSERT_TRUE(base->execute("insert into T_Item (FItemClassID, FNumber, FName) values (1, '01', N'甲')").ok());
    ASSERT_TRUE(
        base->execute("declare @p int\n"
                      "select @p = max(FItemID) from T_Item\n"
                      "insert into T_Item (FItemClassID, FNumber, FParentID, FName) values (1, '01.1', @p, N'乙')")
            .ok());
    EXPECT_EQ(scalar(*base, "select FFullName from T_Item where FNumber = '01.1'"), "甲_乙");
    EXPECT_EQ(scalar(*base, "select FShortNumber from T_Item where FNumber = '01.1'"), "01.1");
    EXPECT_EQ(scalar(*base, "select FMaxNum from ICMaxNum where FTableName = 'T_Item'"),
              scalar(*base, "select max(FItemID) from T_Item"));

    // Switched off, the full-name trigger leaves new rows alone.
    ASSERT_TRUE(base->execute("ALTER TABLE T_Item DISABLE TRIGGER [T_Item_FullName]").ok());
    ASSERT_TRUE(base->execute("insert into T_Item (FItemClassID, FNumber, FName) values (1, '02', N'丙')").ok());
    EXPECT_EQ(scalar(*base, "select FFullName from T_Item where FNumber = '02'"), "NULL");
    EXPECT_EQ(scalar(*base, "select FMaxNum from ICMaxNum where FTableName = 'T_Item'"),
              scalar(*base, "select max(FItemID) from T_Item"));
    ASSERT_TRUE(base->execute("ALTER TABLE T_Item ENABLE TRIGGER [T_Item_FullName]").ok());
    ASSERT_TRUE(base->execute("update T_Item set FName = N'丁' where FNumber = '02'").ok());
    EXPECT_EQ(scalar(*base, "select FFullName from T_Item where FNumber = '02'"), "丁");
}
