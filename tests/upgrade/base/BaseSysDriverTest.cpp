// The base-data driver's fold, its base-currency fix-up and the version
// gate of the intelligent-closing defaults, on the standard sample.
#include <QLabel>

#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/base/clsBaseSys.h"

namespace {

// The measure units of an earlier run (a unit's group is found by its
// number, so a second run over them would find the first run's items).
// The other item phases pass over or add to what an earlier run made.
#define kUnits                                                                                                         \
    "DELETE FROM T_Item WHERE FItemClassID = 7; DELETE FROM T_UnitGroup WHERE FUnitGroupID > 0; DELETE FROM "          \
    "T_MeasureUnit WHERE FMeasureUnitID > 0"

class BaseSysDriverTest : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        clsBaseSys checker;
        ASSERT_EQ(check(checker), 0);
        newLogRows();
    }
    QString profile(const char *category, const char *key) {
        return targetValue(QStringLiteral("SELECT FValue FROM t_SystemProfile WHERE FCategory = '%1' AND FKey = '%2'")
                               .arg(category, key));
    }
    QStringList projects() {
        QStringList out;
        for (const QString &row : newLogRows()) out << row.section('\t', 0, 1);
        return out;
    }
};

TEST_F(BaseSysDriverTest, FailedOptionsEndTheStep) {
    ASSERT_EQ(targetRun("DELETE FROM AIS_GLPref"), QString());
    clsBaseSys step;
    EXPECT_EQ(upgrade(step), 2);
    EXPECT_EQ(newLogRows(), QStringList{QStringLiteral("错误\t账套选项\t不能取得源账套的账套选项资料")});
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM t_PeriodDate"), "0");
}

TEST_F(BaseSysDriverTest, AFailedPhaseSkipsTheRest) {
    ASSERT_EQ(targetRun("CREATE UNIQUE INDEX ux_NDCRange ON T_VoucherGroup (FNDCRange)"), QString());
    clsBaseSys step;
    EXPECT_EQ(upgrade(step), 2);
    EXPECT_EQ(projects(), (QStringList{QStringLiteral("成功\t账套选项"), QStringLiteral("成功\t用户资料"),
                                       QStringLiteral("成功\t币种"), QStringLiteral("错误\t凭证字")}));
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_Settle"), "0");
    EXPECT_EQ(profile("GL", "IntelTransferAccountType"), "<none>");
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(label->text(), "");
}

TEST_F(BaseSysDriverTest, ClosingDefaultsOnlyFromVersion14_1) {
    struct Case {
        const char *version;
        const char *recorded;
    } cases[] = {{"13.0", "<none>"}, {"14.1", "3"}};
    for (const Case &c : cases) {
        ASSERT_EQ(targetRun("DELETE FROM t_SystemProfile WHERE FKey IN ('CompanyTax', 'CompanyYHAccount', "
                            "'IntelTransferAccountType'); DELETE FROM t_PeriodDate; DELETE FROM T_User WHERE FUserID "
                            "> 10 AND FUserID <> 16394; DELETE FROM T_Group WHERE FUserID >= 16500; DELETE FROM "
                            "T_Currency WHERE FCurrencyID > 1; DELETE FROM T_VoucherGroup WHERE FGroupID > 1; DELETE "
                            "FROM T_VoucherExp; DELETE FROM T_VoucherExpGroup; DELETE FROM T_Settle; " kUnits),
                  QString());
        g_InstalledVersion = QString::fromLatin1(c.version);
        clsBaseSys step;
        EXPECT_EQ(upgrade(step), 0) << c.version;
        EXPECT_EQ(profile("GL", "IntelTransferAccountType"), c.recorded) << c.version;
        // Options to chart of accounts: fifteen entries.
        EXPECT_EQ(projects().size(), 15) << c.version;
        EXPECT_EQ(bar->Value(), 100);
    }
}

TEST_F(BaseSysDriverTest, BaseCurrencyFixUp) {
    struct Case {
        const char *base;
        const char *fbwb;
    } cases[] = {{"USD", "1"}, {"EUR", "EUR"}};  // EUR names no currency: unchanged
    for (const Case &c : cases) {
        ASSERT_EQ(
            targetRun(QStringLiteral("UPDATE AIS_GLPref SET FBaseCy = '%1'; DELETE FROM t_SystemProfile WHERE "
                                     "FKey IN ('CompanyTax', 'CompanyYHAccount'); DELETE FROM t_PeriodDate; "
                                     "DELETE FROM T_User WHERE FUserID > 10 AND FUserID <> 16394; DELETE FROM "
                                     "T_Group WHERE FUserID >= 16500; DELETE FROM T_Currency WHERE FCurrencyID "
                                     "> 0; INSERT INTO T_Currency (FCurrencyID, FNumber, FName) VALUES (1, "
                                     "N'RMB', N'人民币'); DELETE FROM T_VoucherGroup WHERE FGroupID > 1; DELETE "
                                     "FROM T_VoucherExp; DELETE FROM T_VoucherExpGroup; DELETE FROM T_Settle; " kUnits)
                          .arg(c.base)),
            QString());
        clsBaseSys step;
        EXPECT_EQ(upgrade(step), 0) << c.base;
        EXPECT_EQ(profile("GL", "FBWB"), c.fbwb) << c.base;
        newLogRows();
    }
    EXPECT_EQ(targetValue("SELECT FCurrencyID FROM T_Currency WHERE FNumber = 'RMB'"), "1");
}

}  // namespace
