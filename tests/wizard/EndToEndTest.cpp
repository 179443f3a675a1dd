// The wizard driven through its real widgets on a stand-in installation:
// settings, the check run that creates and stages the target, the reports,
// the upgrade run and the ways a run ends early.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "EndToEndFixture.h"
#include "controls/ProgressBar.h"
#include "controls/zqbutton.h"
#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "support/SampleFiles.h"
#include "support/SampleVariant.h"
#include "wizard/RunOutcome.h"
#include "wizard/TitleBar.h"
#include "wizard/WizardHooks.h"
#include "wizard/cltLogReport.h"
#include "wizard/ctlSetting.h"
#include "wizard/ctlUpgrade.h"

namespace {

QString next(const frmMain &w) { return w.btnNext()->Caption(); }

// A real left click in the middle of one of the window's drawn buttons.
void click(zqbutton *button) { QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center()); }
void clickNext(frmMain &w) { click(w.btnNext()); }
void clickPrevious(frmMain &w) { click(w.btnPrevious()); }
// A left press on the title bar's close box.
void clickClose(frmMain &w) {
    QTest::mousePress(w.titleBar()->picForm(), Qt::LeftButton, Qt::NoModifier, QPoint(55, 12));
}

// The lines of a run page, one per line, for failure messages.
std::string pageLines(const cltLogReport *page) {
    QStringList out;
    for (const UpgradeLogLine &line : page->lines())
        out << line.status + QLatin1Char(' ') + line.project + QLatin1Char(' ') + line.description;
    return out.join(QLatin1Char('\n')).toStdString();
}

QString readText(const QString &path) {
    QFile f(path);
    // The reports are written in the ANSI code page, as their header says.
    return f.open(QIODevice::ReadOnly) ? AnsiCodec::decode(f.readAll(), 936) : QString();
}

}  // namespace

TEST_F(EndToEndTest, TheStandardSampleGoesTheWholeRoad) {
    const QString source = copySample(QStringLiteral("standard"));
    auto w = load();
    EXPECT_EQ(m_usage.events(), QStringList{QStringLiteral("LOAD")});
    fillSettings(*w, source, QStringLiteral("A01"));

    clickNext(*w);
    ASSERT_EQ(g_WizardStep, 2);
    ASSERT_TRUE(w->ctlCheckData()->CheckResult()) << pageLines(w->ctlCheckData());
    EXPECT_EQ(w->LBLDes()->text(), QStringLiteral("账套检测完成，请查看检测报告。"));
    EXPECT_EQ(next(*w), QStringLiteral("下一步"));
    EXPECT_EQ(g_SourceEdition, QStringLiteral("标准版"));
    EXPECT_TRUE(databaseExists(QStringLiteral("A01")));
    EXPECT_TRUE(QFileInfo::exists(dbFolder() + QStringLiteral("/A01_Data.mdf")));
    EXPECT_EQ(registeredNumbers(), QStringList{QStringLiteral("A01")});
    expectStagedRows(QStringLiteral("A01"), source);
    const QString checkReport = g_CheckReportPath;
    EXPECT_TRUE(checkReport.startsWith(dataFolder())) << readText(checkReport).left(3000).toStdString();
    EXPECT_TRUE(readText(checkReport).contains(QStringLiteral("创建临时表")))
        << readText(checkReport).left(3000).toStdString();

    clickNext(*w);
    EXPECT_EQ(g_WizardStep, 4);
    EXPECT_EQ(next(*w), QStringLiteral("完  成"));
    EXPECT_TRUE(w->btnPrevious()->isHidden());
    for (int bar = 1; bar < 6; ++bar) EXPECT_FALSE(w->ctlUpgrade1()->ProBar(bar)->isHidden()) << bar;
    EXPECT_LT(w->ctlUpgrade1()->ProBar(3)->y(), w->ctlUpgrade1()->ProBar(4)->y());
    const QString upgradeReport = g_UpgradeReportPath;
    EXPECT_NE(upgradeReport, checkReport);
    EXPECT_TRUE(upgradeReport.startsWith(dataFolder())) << upgradeReport.toStdString();
    EXPECT_TRUE(readText(upgradeReport).contains(QStringLiteral("<html")));
    EXPECT_EQ(m_usage.events(),
              (QStringList{QStringLiteral("LOAD"), QStringLiteral("OptionAll"), QStringLiteral("SUCCESS")}));

    clickNext(*w);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(w->ended());
    // A finished upgrade keeps its set.
    EXPECT_TRUE(databaseExists(QStringLiteral("A01")));
    EXPECT_EQ(registeredNumbers(), QStringList{QStringLiteral("A01")});
}

TEST_F(EndToEndTest, TheMiniSampleShowsTheMiniLayout) {
    const QString source = copySample(QStringLiteral("mini"));
    auto w = load();
    fillSettings(*w, source, QStringLiteral("M01"));
    clickNext(*w);
    ASSERT_TRUE(w->ctlCheckData()->CheckResult()) << pageLines(w->ctlCheckData());
    EXPECT_EQ(g_SourceEdition, QStringLiteral("迷你版"));
    expectStagedRows(QStringLiteral("M01"), source);
    clickNext(*w);
    EXPECT_EQ(g_WizardStep, 4);
    EXPECT_EQ(next(*w), QStringLiteral("完  成"));
    // The upgrade page had no fixed assets or cashier, payroll in their place.
    const ctlUpgrade *page = w->ctlUpgrade1();
    EXPECT_TRUE(page->ProBar(3)->isHidden());
    EXPECT_TRUE(page->ProBar(5)->isHidden());
    EXPECT_FALSE(page->ProBar(4)->isHidden());
    EXPECT_EQ(page->ProBar(4)->y(), page->ProBar(3)->y());
}

TEST_F(EndToEndTest, SettingsTheServerRefusesStayOnThePage) {
    const QString source = copySample(QStringLiteral("standard"));
    ASSERT_EQ(installation().run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE B02")), QString());
    struct Case {
        const char *name;
        QString source;
        QString number;
        QString message;
    };
    const Case cases[] = {
        {"no such source", installation().path() + QStringLiteral("/none.ais"), QStringLiteral("A01"),
         QStringLiteral("你填写的VEQ标准版(迷你版)账套文件不存在！")},
        {"number of a database on the server", source, QStringLiteral("B02"),
         QStringLiteral("账套号:B02已使用，请重新输入。")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto w = load();
        fillSettings(*w, c.source, c.number);
        MessageScript script;
        clickNext(*w);
        EXPECT_EQ(g_WizardStep, 1);
        ASSERT_EQ(script.count(), 1);
        EXPECT_EQ(script.last().prompt, c.message);
    }
    EXPECT_FALSE(databaseExists(QStringLiteral("A01")));
    EXPECT_TRUE(registeredNumbers().isEmpty());
}

TEST_F(EndToEndTest, AnUnreadableDatabaseListRefusesWithTheServersText) {
    auto w = load();
    ASSERT_FALSE(WizardHooks::ListServerDatabases().isEmpty());
    // Without the list no number can be confirmed free: the lookup raises
    // (and the settings page refuses) instead of answering "none in use".
    const QString saved = g_AcctCtlConnectString;
    g_AcctCtlConnectString.replace(QStringLiteral("AcctCtl"), QStringLiteral("NoSuchCatalogue"));
    QString error;
    try {
        WizardHooks::ListServerDatabases();
    } catch (const std::exception &e) {
        error = ErrorDescription(e);
    }
    g_AcctCtlConnectString = saved;
    EXPECT_TRUE(error.contains(QStringLiteral("NoSuchCatalogue"))) << error.toStdString();
}

TEST_F(EndToEndTest, CancelDuringTheCheckDeletesTheSet) {
    const QString source = copySample(QStringLiteral("standard"));
    auto w = load();
    fillSettings(*w, source, QStringLiteral("A01"));
    // "取  消" arrives once account creation has moved its bar.
    QTimer watcher;
    int clicks = 0;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (clicks == 0 && g_CurrentModule == 1 && w->PBar()->Value() > 0) {
            ++clicks;
            EXPECT_EQ(next(*w), QStringLiteral("取  消"));
            clickNext(*w);
        }
    });
    watcher.start(0);
    clickNext(*w);
    watcher.stop();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(w->ctlCheckData()->outcome(), RunOutcome::Cancelled) << pageLines(w->ctlCheckData());
    EXPECT_FALSE(w->ctlCheckData()->CheckResult());
    EXPECT_EQ(w->LBLDes()->text(), QStringLiteral("用户取消了数据检测。"));
    EXPECT_EQ(next(*w), QStringLiteral("重新检测"));
    EXPECT_FALSE(databaseExists(QStringLiteral("A01")));
    EXPECT_TRUE(registeredNumbers().isEmpty());
}

TEST_F(EndToEndTest, ARefusedSourceFailsTheCheckAndARecheckRunsAgain) {
    const QString folder = installation().path() + QStringLiteral("/variant");
    const QString source = BuildSampleVariant(folder, {{QStringLiteral("FPeriodsPerYear"), QStringLiteral("24")}});
    ASSERT_FALSE(source.isEmpty());
    const QByteArray hash = FileHash(source);
    auto w = load();
    fillSettings(*w, source, QStringLiteral("A01"));
    clickNext(*w);
    EXPECT_EQ(g_WizardStep, 2);
    EXPECT_FALSE(w->ctlCheckData()->CheckResult());
    EXPECT_EQ(w->LBLDes()->text(), QStringLiteral("新建账套过程中出现错误。"));
    EXPECT_EQ(next(*w), QStringLiteral("重新检测"));
    EXPECT_TRUE(QString::fromStdString(pageLines(w->ctlCheckData()))
                    .contains(QStringLiteral("你要升级的标准版年度会计期间总数不是12期或者13期")))
        << pageLines(w->ctlCheckData());
    EXPECT_FALSE(databaseExists(QStringLiteral("A01")));
    EXPECT_TRUE(registeredNumbers().isEmpty());
    EXPECT_EQ(FileHash(source), hash);

    // The source is mended outside the program; the recheck passes.
    ASSERT_EQ(BuildSampleVariant(folder, {}), source);
    clickNext(*w);
    ASSERT_TRUE(w->ctlCheckData()->CheckResult()) << pageLines(w->ctlCheckData());
    EXPECT_EQ(next(*w), QStringLiteral("下一步"));
    EXPECT_TRUE(databaseExists(QStringLiteral("A01")));
    EXPECT_EQ(registeredNumbers(), QStringList{QStringLiteral("A01")});
}

TEST_F(EndToEndTest, ClosingAfterAFailedUpgradeMayDeleteTheSet) {
    const QString source = copySample(QStringLiteral("standard"));
    auto w = load();
    fillSettings(*w, source, QStringLiteral("A01"));
    clickNext(*w);
    ASSERT_TRUE(w->ctlCheckData()->CheckResult()) << pageLines(w->ctlCheckData());
    ASSERT_TRUE(databaseExists(QStringLiteral("A01")));
    MessageScript script({MsgBox::Yes});
    clickClose(*w);
    ASSERT_EQ(script.count(), 1);
    EXPECT_EQ(script.last().prompt, QStringLiteral("升级没有成功，需要删除新建的账套吗？"));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(databaseExists(QStringLiteral("A01")));
    EXPECT_TRUE(registeredNumbers().isEmpty());
}

TEST_F(EndToEndTest, ANewCheckWithAnotherNumberDeletesTheEarlierSet) {
    const QString source = copySample(QStringLiteral("standard"));
    auto w = load();
    fillSettings(*w, source, QStringLiteral("A01"));
    clickNext(*w);
    ASSERT_TRUE(w->ctlCheckData()->CheckResult()) << pageLines(w->ctlCheckData());
    clickPrevious(*w);
    ASSERT_EQ(g_WizardStep, 1);
    EXPECT_TRUE(databaseExists(QStringLiteral("A01")));  // going back alone deletes nothing
    w->ctlSetting1()->txtAcctNumber()->setText(QStringLiteral("A02"));
    clickNext(*w);
    ASSERT_TRUE(w->ctlCheckData()->CheckResult()) << pageLines(w->ctlCheckData());
    EXPECT_FALSE(databaseExists(QStringLiteral("A01")));
    EXPECT_TRUE(databaseExists(QStringLiteral("A02")));
    EXPECT_EQ(registeredNumbers(), QStringList{QStringLiteral("A02")});
}

class EndToEndOldInstallation : public EndToEndTest {
protected:
    EndToEndOldInstallation() : EndToEndTest("12.0") {}
};

TEST_F(EndToEndOldInstallation, TheVersionGateStopsTheRun) {
    const QString source = copySample(QStringLiteral("standard"));
    MessageScript script;
    auto w = load();
    ASSERT_EQ(script.count(), 1);
    EXPECT_EQ(script.last().prompt, QStringLiteral("该工具支持升级到VEQ专业版13.0或以上版本"));
    EXPECT_TRUE(m_usage.events().isEmpty());
    fillSettings(*w, source, QStringLiteral("A01"));
    clickNext(*w);
    EXPECT_EQ(g_WizardStep, 1);
    // Without the server's login the account list cannot be read: the
    // server's own text, without its number.
    ASSERT_EQ(script.count(), 2);
    EXPECT_EQ(script.last().buttons, 16);
    EXPECT_TRUE(script.last().prompt.endsWith(QStringLiteral("SQL Server 不存在或访问被拒绝。")))
        << script.last().prompt.toStdString();
    EXPECT_FALSE(script.last().prompt.startsWith(QStringLiteral("17"))) << script.last().prompt.toStdString();
    EXPECT_FALSE(databaseExists(QStringLiteral("A01")));
}
