// The base-data step as the runs call it, on both samples: the check run's
// findings and the upgrade run's conversions, checked in the target against
// the samples' text (samples/<set>/*.tsv). The natures of business-unit
// accounts are answered by a scripted asker.
#include <QLabel>

#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/base/SubLedgerNatureAsker.h"
#include "upgrade/base/clsBaseSys.h"
#include "upgrade/common/UpgradeGlobals.h"

namespace {

class BaseSysRunTest : public UpgradeStepFixture, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        previousAsker = SubLedgerNatureAskerHook();
        SubLedgerNatureAskerHook() = [this](const QVariant &data, PnwList &answer) {
            // Every account asked about: customer, except 2202 (supplier)
            // and 1123 (both).
            asked.clear();
            answer = data.value<PnwList>();
            for (int i = 1; i <= answer.Count(); ++i) {
                PnwDictionary record = answer.DictionaryItem(i);
                const QString code = record.Item("FAcctID").toString();
                asked << code + "/" + record.Item("FAcctName").toString() + "/" +
                             record.Item("FIsCustomer").toString() + "/" + record.Item("FIsSupplier").toString();
                record.setItem("FIsCustomer", code == "2202" ? 0 : 1);
                record.setItem("FIsSupplier", code == "2202" || code == "1123" ? 1 : 0);
            }
            return true;
        };
    }
    void TearDown() override {
        SubLedgerNatureAskerHook() = previousAsker;
        UpgradeStepFixture::TearDown();
    }
    SubLedgerNatureAsker previousAsker;
    QStringList asked;
};

TEST_P(BaseSysRunTest, CheckFindsThePasswordWarningAndAsksTheNatures) {
    createFrom(QString::fromLatin1(GetParam()));
    clsBaseSys step;
    EXPECT_EQ(check(step), 0);
    EXPECT_EQ(newLogRows(),
              (QStringList{QStringLiteral("成功\t会计期间设置\t会计期间属于12、13期，可以升级。"),
                           QStringLiteral("警告\t用户组及用户设置\t升级后需要重新设置操作员密码。\r\n")}));
    // GLAcct.tsv: the accounts with FClsID 1 (none with FCustomer 1).
    EXPECT_EQ(asked, (QStringList{QStringLiteral("1122/应收账款/0/0"), QStringLiteral("1123/预付账款/0/0"),
                                  QStringLiteral("2202/应付账款/0/0"), QStringLiteral("2203/预收账款/0/0")}));
    EXPECT_EQ(g_SubLedgerNatures.Count(), 4);
    EXPECT_EQ(g_SubLedgerNatures.Item("1122").toInt(), 0);
    EXPECT_EQ(g_SubLedgerNatures.Item("1123").toInt(), 2);
    EXPECT_EQ(g_SubLedgerNatures.Item("2202").toInt(), 1);
    EXPECT_EQ(target("SELECT FAcctID, FSubledgerType FROM TempGLAcctMapping ORDER BY FAcctID"),
              (QStringList{"1122\t1", "1123\t8", "2202\t8", "2203\t1"}));
    // GLPref.tsv: three levels, cumulative lengths 4, 6, 8.
    EXPECT_EQ(g_AcctLevelCount, 3);
    EXPECT_EQ(g_AcctLevelLengths.Item("1").toInt(), 4);
    EXPECT_EQ(g_AcctLevelLengths.Item("2").toInt(), 2);
    EXPECT_EQ(g_AcctLevelLengths.Item("3").toInt(), 2);
    EXPECT_EQ(g_AcctLevelLengths.Item("4").toInt(), -8);
}

TEST_P(BaseSysRunTest, UpgradeConvertsOptionsPeriodsUsersCurrenciesAndLists) {
    const QString set = QString::fromLatin1(GetParam());
    const bool mini = set == "mini";
    createFrom(set);
    clsBaseSys checker;
    ASSERT_EQ(check(checker), 0);
    newLogRows();
    clsBaseSys step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(
        newLogRows(),
        (QStringList{
            QStringLiteral("成功\t账套选项\t名称、税号、银行账户、电话、地址、本位币、会计制度、会计启用年度、"
                           "会计启用期间、会计期间数等。"),
            QStringLiteral("成功\t用户资料\t用户组数目：4；用户数目：4"),
            mini ? QStringLiteral("成功\t币种\t币种数目：1") : QStringLiteral("成功\t币种\t币种数目：3"),
            QStringLiteral("成功\t凭证字\t凭证字数目：4"),
            QStringLiteral("成功\t会计常用摘要\t会计常用摘要数目：12"),
            QStringLiteral("成功\t结算方式\t结算方式数目：6"),
            // GLAcct.tsv units 条 块 套 台 箱; GLEmpGroup, GLDuty, GLDegree;
            // GLObj classes 2, 3, 1 and (standard) 4; GLAcct rows.
            QStringLiteral("成功\t计量单位\t计量单位数目：5"),
            QStringLiteral("成功\t辅助资料-职员类别\t辅助资料-职员类别数目：3"),
            QStringLiteral("成功\t辅助资料-职员职务\t辅助资料-职员职务数目：8"),
            QStringLiteral("成功\t辅助资料-文化程度\t辅助资料-文化程度数目：5"),
            QStringLiteral("成功\t基础资料-部门\t基础资料-部门数目：7"),
            mini ? QStringLiteral("成功\t基础资料-职员\t基础资料-职员数目：6")
                 : QStringLiteral("成功\t基础资料-职员\t基础资料-职员数目：10"),
            mini ? QStringLiteral("成功\t核算项目-往来单位\t升级往来单位数目：9")
                 : QStringLiteral("成功\t核算项目-往来单位\t升级往来单位数目：11"),
        }) + (mini ? QStringList() : QStringList{QStringLiteral("成功\t核算项目-销售项目\t核算项目-销售项目数目：4")}) +
            QStringList{mini ? QStringLiteral("成功\t会计科目\t升级会计科目数目：54")
                             : QStringLiteral("成功\t会计科目\t升级会计科目数目：56")});
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(label->text(), "");

    // Options (GLPref.tsv: start 2025/1, current 2025/12, 12 periods by
    // calendar month, FCoType 22, base RMB; depreciation made only in the
    // standard set).
    auto profile = [this](const char *category, const char *key) {
        return targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = '%1' AND FKey = '%2'")
                               .arg(category, key));
    };
    EXPECT_EQ(profile("General", "CompanyName"), targetValue("SELECT FCompany FROM AIS_GLPref"));
    EXPECT_EQ(profile("General", "CompanyTax"), targetValue("SELECT ISNULL(FTax, '') FROM AIS_GLPref"));
    EXPECT_EQ(profile("General", "CompanyYHAccount"), targetValue("SELECT ISNULL(FBank, '') FROM AIS_GLPref"));
    EXPECT_EQ(profile("GL", "FBWB"), "1");  // RMB, moved to its identifier
    EXPECT_EQ(profile("GL", "AccountType"), "3");
    for (const char *module : {"GL", "FA", "PA"}) {
        EXPECT_EQ(profile(module, "StartYear"), "2025");
        EXPECT_EQ(profile(module, "StartPeriod"), "1");
        EXPECT_EQ(profile(module, "CurrentYear"), "2025");
        EXPECT_EQ(profile(module, "CurrentPeriod"), "12");
    }
    EXPECT_EQ(profile("GL", "PeriodCount"), "12");
    EXPECT_EQ(profile("GL", "Closed"), "1");
    EXPECT_EQ(profile("GL", "InitClosed"), "1");
    EXPECT_EQ(profile("FA", "Closed"), "1");
    EXPECT_EQ(profile("IC", "ICClosed"), "0");
    EXPECT_EQ(profile("FA", "withoutDepr"), mini ? "-1" : "0");
    EXPECT_EQ(profile("GL", "PeriodByMonth"), "1");
    EXPECT_EQ(g_PeriodsPerYear, 12);
    // From version 14.1 the target's procedure records the system.
    EXPECT_EQ(profile("GL", "IntelTransferAccountType"), "3");

    // Periods: fifty calendar years from 2025.
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM t_PeriodDate"), "600");
    EXPECT_EQ(targetValue("SELECT MIN(FYear) FROM t_PeriodDate"), "2025");
    EXPECT_EQ(targetValue("SELECT MAX(FYear) FROM t_PeriodDate"), "2074");
    EXPECT_EQ(profile("GL", "PeriodDates"), "010102010301040105010601070108010901100111011201");

    // Users (GLUserGroup.tsv, SysUsers.tsv): groups 2 and 3 become 11 and
    // 12; manager (312) maps to 16394; the others are new users.
    EXPECT_EQ(target("SELECT FUserID, FName, FPrimaryGroup, FAuthRight FROM T_User WHERE FUserID IN (11, 12)"),
              (QStringList{QStringLiteral("11\t财务会计组\t11\t4"), QStringLiteral("12\t出纳组\t12\t4")}));
    EXPECT_EQ(targetValue("SELECT FZ8InterID FROM AIS_SysUsers WHERE FUser = 'manager'"), "16394");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_User WHERE FUserID >= 16500"), "3");
    EXPECT_EQ(
        target("SELECT S.FUser, U.FPrimaryGroup, U.FAuthRight FROM AIS_SysUsers S INNER JOIN T_User U "
               "ON U.FUserID = S.FZ8InterID WHERE S.FUID <> 312 ORDER BY S.FUID"),
        (QStringList{QStringLiteral("陈静\t11\t20"), QStringLiteral("王芳\t11\t20"), QStringLiteral("李娜\t12\t20")}));
    EXPECT_EQ(target("SELECT S.FUser, G.FGroupID FROM AIS_SysUsers S INNER JOIN T_Group G ON G.FUserID = "
                     "S.FZ8InterID WHERE S.FUID <> 312 ORDER BY S.FUID, G.FGroupID"),
              (QStringList{QStringLiteral("陈静\t0"), QStringLiteral("陈静\t11"), QStringLiteral("王芳\t0"),
                           QStringLiteral("王芳\t11"), QStringLiteral("李娜\t0"), QStringLiteral("李娜\t12")}));

    // Currencies (GLCy.tsv, GLRate.tsv period 12).
    if (mini) {
        EXPECT_EQ(target("SELECT FCurrencyID, FNumber FROM T_Currency ORDER BY FCurrencyID"),
                  (QStringList{"0\t*", "1\tRMB"}));
    } else {
        EXPECT_EQ(
            target("SELECT FCurrencyID, FNumber, FName, FOperator, FExchangeRate FROM T_Currency ORDER BY "
                   "FCurrencyID"),
            (QStringList{QStringLiteral("0\t*\t所有币别\t*\t1"), QStringLiteral("1\tRMB\t人民币\t*\t1"),
                         QStringLiteral("1000\tHKD\t港币\t*\t0.912"), QStringLiteral("1001\tUSD\t美元\t*\t7.1653")}));
    }
    const QStringList mapped =
        mini ? QStringList{"*\t0", "RMB\t1"} : QStringList{"*\t0", "HKD\t1000", "RMB\t1", "USD\t1001"};
    EXPECT_EQ(target("SELECT FCyID, FZ8InterID FROM AIS_GLCy ORDER BY FCyID"), mapped);

    // Voucher groups (GLVchGroup.tsv): 记 merges into the target's group 1,
    // the others are added; 转's FNDCRange 1001 stays 1001.
    EXPECT_EQ(target("SELECT FGroup, FZ8InterID FROM AIS_GLVchGroup ORDER BY FOrder"),
              (QStringList{QStringLiteral("记\t1"), QStringLiteral("收\t2"), QStringLiteral("付\t3"),
                           QStringLiteral("转\t4")}));
    EXPECT_EQ(target("SELECT FGroupID, FName, FNDCRange, CAST(FStandard AS int) FROM T_VoucherGroup ORDER BY FGroupID"),
              (QStringList{QStringLiteral("1\t记\t\t1"), QStringLiteral("2\t收\t\t0"), QStringLiteral("3\t付\t\t0"),
                           QStringLiteral("4\t转\t1001\t0")}));
    EXPECT_EQ(g_StdVoucherGroupID, 1);
    EXPECT_EQ(g_StdVoucherGroupName, QStringLiteral("记"));

    // Explanations (GLExp.tsv, GLExpGroup.tsv) into an empty target.
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_VoucherExp"), "12");
    EXPECT_EQ(
        target("SELECT FGroupID, FName FROM T_VoucherExpGroup ORDER BY FGroupID"),
        (QStringList{QStringLiteral("1\t常用摘要"), QStringLiteral("2\t费用报销"), QStringLiteral("3\t期末处理")}));
    EXPECT_EQ(target("SELECT E.FExpID, V.FNumber, V.FGroupID, V.FExplanation FROM AIS_GLExp E INNER JOIN "
                     "T_VoucherExp V ON V.FVoucherExpID = E.FZ8InterID WHERE E.FExpID IN (1, 9, 10, 12) ORDER BY "
                     "E.FExpID"),
              (QStringList{QStringLiteral("1\t01\t1\t提取备用金"), QStringLiteral("9\t09\t3\t计提本月工资"),
                           QStringLiteral("10\t10\t3\t发放本月工资"), QStringLiteral("12\t12\t3\t期末调汇")}));
    EXPECT_EQ(target("SELECT FExpGroupID, FZ8InterID FROM AIS_GLExpGroup ORDER BY FExpGroupID"),
              (QStringList{"1\t1", "2\t2", "3\t3"}));

    // Settlement methods (GLSettle.tsv), numbered in code order.
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_Settle"), "6");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM AIS_GLSettle S INNER JOIN T_Settle T ON T.FItemID = S.FZ8InterID "
                          "AND T.FName = S.FSettCode"),
              "6");
    EXPECT_EQ(target("SELECT FNumber FROM T_Settle ORDER BY FItemID"),
              (QStringList{"001", "002", "003", "004", "005", "006"}));
}

INSTANTIATE_TEST_SUITE_P(Samples, BaseSysRunTest, ::testing::Values("standard", "mini"));

}  // namespace
