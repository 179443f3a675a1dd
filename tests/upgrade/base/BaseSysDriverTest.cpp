// The base-data driver's fold, its base-currency fix-up and the version
// gate of the intelligent-closing defaults, on the standard sample.
#include <QLabel>

#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "platform/PnwError.h"
#include "upgrade/base/clsBaseSys.h"

namespace {

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

// A bar whose drawing fails once it reaches a value: an error raised in the
// driver itself, between two phases.
class FailingBar : public ProgressBar {
public:
    explicit FailingBar(int failAt) : m_failAt(failAt) {}

protected:
    void redraw() override {
        if (Value() == m_failAt && m_failAt >= 0) {
            m_failAt = -1;
            throw PnwError(380, QStringLiteral("ProgressBar"), QStringLiteral("属性值无效"));
        }
        ProgressBar::redraw();
    }

private:
    int m_failAt;
};

TEST_F(BaseSysDriverTest, AnErrorRaisedInTheDriverEndsTheStepWithItsReason) {
    // The bar fails when the item paths are repaired (40).
    FailingBar failing(40);
    clsBaseSys step;
    EXPECT_EQ(step.UpgradeData(&failing, label, QString()), 2);
    const QStringList log = newLogRows();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.last(), QStringLiteral("错误\t基础资料\t发生错误：属性值无效"));
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(targetValue("SELECT COUNT(*) FROM T_Item WHERE FItemClassID = 2"), "0");
}

// The installed version decides whether the target's closing defaults are
// set after the chart of accounts.
class BaseSysVersionTest : public BaseSysDriverTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(BaseSysVersionTest, ClosingDefaultsOnlyFromVersion14_1) {
    const QString version = QString::fromLatin1(GetParam());
    g_InstalledVersion = version;
    clsBaseSys step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(profile("GL", "IntelTransferAccountType"), version == "14.1" ? "3" : "<none>");
    const QStringList logged = projects();
    ASSERT_FALSE(logged.isEmpty());
    EXPECT_EQ(logged.last(), QStringLiteral("成功\t会计科目"));
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(label->text(), "");
}

INSTANTIATE_TEST_SUITE_P(Versions, BaseSysVersionTest, ::testing::Values("13.0", "14.1"));

// The base currency's code in the profile becomes its identifier; a code
// that names no converted currency is left as it is.
class BaseSysFixUpTest : public BaseSysDriverTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(BaseSysFixUpTest, BaseCurrencyFixUp) {
    const QString base = QString::fromLatin1(GetParam());
    ASSERT_EQ(targetRun(QStringLiteral("UPDATE AIS_GLPref SET FBaseCy = '%1'").arg(base)), QString());
    clsBaseSys step;
    EXPECT_EQ(upgrade(step), 0);
    EXPECT_EQ(profile("GL", "FBWB"), base == "USD" ? QStringLiteral("1") : base);
    EXPECT_EQ(targetValue("SELECT FNumber FROM T_Currency WHERE FCurrencyID = 1"), base == "USD" ? "USD" : "RMB");
}

INSTANTIATE_TEST_SUITE_P(Bases, BaseSysFixUpTest, ::testing::Values("USD", "EUR"));

}  // namespace
