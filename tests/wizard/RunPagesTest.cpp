#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QTableWidget>
#include <QTreeWidget>

#include "TestStages.h"
#include "WizardFixture.h"
#include "controls/ProgressBar.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"
#include "wizard/cltLogReport.h"
#include "wizard/ctlUpgrade.h"

namespace {

class RunPagesTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        m_stages = std::make_unique<StageRegistry::Override>(plannedStages(&journal, &plans));
        PnwDictionary record;
        record.setItem(QStringLiteral("Source"), QStringLiteral("/d/demo.ais"));
        record.setItem(QStringLiteral("AcctNum"), QStringLiteral("AIS1"));
        record.setItem(QStringLiteral("AcctName"), QStringLiteral("演示"));
        record.setItem(QStringLiteral("DBDir"), QStringLiteral("/srv"));
        record.setItem(QStringLiteral("Option"), 0);
        g_UpgradeSettings = PnwList();
        g_UpgradeSettings.Add(record);
        // Lines reach the page under test as the writer hands them to a window.
        WizardHooks::WriteUpgradeLog = [this](const QString &project, const QString &description, const QString &detail,
                                              int status) {
            const char *const names[] = {"成功", "警告", "错误"};
            UpgradeLogLine line{QString::fromUtf8(names[status]),
                                QStringLiteral("2018/3/27 15:30:45"),
                                project,
                                description,
                                detail,
                                QString()};
            if (m_logPage) m_logPage->addLogLine(line);
        };
        WizardHooks::OpenReport = [this](const QString &path, const QString &anchor) { opened << path + '#' + anchor; };
        WizardHooks::CheckReportPath = [this] { return m_checkReport; };
        WizardHooks::UpgradeReportPath = [] { return QStringLiteral("/r/upgrade.html"); };
    }
    void TearDown() override {
        m_stages.reset();
        WizardTest::TearDown();
    }

    // The next case of a table: no plans, journal or usage events, no cancel.
    void startCase() {
        plans.clear();
        journal.clear();
        m_usage.events().clear();
        g_CancelRequested = false;
    }

    // A check page with its label and bar, on step 2.
    std::unique_ptr<cltLogReport> checkPage() {
        g_WizardStep = 2;
        auto page = std::make_unique<cltLogReport>();
        page->setLblObject(&m_label);
        page->setBarObject(&m_bar);
        m_logPage = page.get();
        return page;
    }

    QMap<int, StagePlan> plans;
    QLabel m_label;
    ProgressBar m_bar;
    cltLogReport *m_logPage = nullptr;
    QString m_checkReport = QStringLiteral("/r/check.html");
    QStringList opened;
    std::unique_ptr<StageRegistry::Override> m_stages;
};

TEST_F(RunPagesTest, APassedCheckPassesWhateverWarningsTheStagesLogged) {
    // A stage done with warnings counts as done: the next ones still run.
    plans[StageRegistry::BaseData].result = StepWarnings;
    auto page = checkPage();
    plans[StageRegistry::GeneralLedger].during = [] {
        WizardHooks::WriteUpgradeLog(QStringLiteral("财务处理"), QStringLiteral("凭证不平衡"), QString(), 1);
    };
    page->setIsActived(true);
    EXPECT_EQ(page->outcome(), RunOutcome::Passed);
    EXPECT_TRUE(page->CheckResult());
    EXPECT_EQ(m_label.text(), QStringLiteral("账套检测完成，请查看检测报告。"));
    EXPECT_EQ(logInits, 1);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].endsWith(QStringLiteral("标准版(迷你版)升级专业版数据检测")));
    EXPECT_EQ(reports[0].size(), 14 + QStringLiteral("标准版(迷你版)升级专业版数据检测").size());
    EXPECT_EQ(g_CurrentModule, 0);
    EXPECT_TRUE(page->gridDetail()->isEnabled());
    EXPECT_EQ(journal.size(), 6) << journal.join(QLatin1Char(',')).toStdString();
}

// A stage whose check logs an error but returns done: the stages after it
// still check, and the run fails naming the stage that logged the error.
TEST_F(RunPagesTest, ACheckThatLoggedAnErrorDoesNotPass) {
    plans[StageRegistry::GeneralLedger].during = [] {
        WriteUpgradeLog(QStringLiteral("财务处理"), QStringLiteral("凭证不平衡"), QString(), 2);
    };
    auto page = checkPage();
    MessageScript script;  // no log table here: the entry's write is refused and told
    page->setIsActived(true);
    EXPECT_EQ(page->outcome(), RunOutcome::Failed);
    EXPECT_FALSE(page->CheckResult());
    EXPECT_EQ(m_label.text(), QStringLiteral("财务处理过程中出现错误。"));
    ASSERT_FALSE(page->lines().isEmpty());
    EXPECT_EQ(page->lines().last().project, QStringLiteral("财务处理"));
    EXPECT_EQ(page->lines().last().description, QStringLiteral("检测过程中出现错误"));
    EXPECT_EQ(page->lines().last().status, QStringLiteral("错误"));
    EXPECT_EQ(journal.size(), 6) << journal.join(QLatin1Char(',')).toStdString();
    ASSERT_EQ(reports.size(), 1);
}

TEST_F(RunPagesTest, CheckRunEndings) {
    struct Case {
        const char *name;
        std::function<void()> arrange;
        RunOutcome outcome;
        const char *project;
        const char *description;
        const char *status;
        const char *label;
        QStringList usage;
    };
    const Case cases[] = {
        {"account creation fails",
         [this] { plans[1].result = StepFailed; },
         RunOutcome::Failed,
         "新建账套",
         "检测过程中出现错误",
         "错误",
         "新建账套过程中出现错误。",
         {QStringLiteral("1")}},
        {"account creation sees the cancel",
         [this] {
             plans[1].result = StepFailed;
             plans[1].during = [] { g_CancelRequested = true; };
         },
         RunOutcome::Cancelled,
         "新建账套",
         "用户取消了数据检测",
         "警告",
         "用户取消了数据检测。",
         {QStringLiteral("1")}},
        {"cancel during base data",
         [this] { plans[2].during = [] { g_CancelRequested = true; }; },
         RunOutcome::Cancelled,
         "基础资料",
         "用户取消了数据检测",
         "警告",
         "用户取消了数据检测。",
         {}},
        {"cashier fails",
         [this] { plans[6].result = StepFailed; },
         RunOutcome::Failed,
         "出纳管理",
         "检测过程中出现错误",
         "错误",
         "出纳管理过程中出现错误。",
         {}},
        {"payroll raises once the cancel deleted the set",
         [this] {
             plans[5].raise = true;
             plans[5].during = [] { g_CancelRequested = true; };
         },
         RunOutcome::Cancelled,
         "工资管理",
         "用户取消了数据检测",
         "警告",
         "用户取消了数据检测。",
         {}},
        {"payroll raises",
         [this] { plans[5].raise = true; },
         RunOutcome::Error,
         "工资管理",
         "检测过程中出现错误",
         "错误",
         "工资管理过程中出现错误！原因可能是：磁盘已满",
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        startCase();
        c.arrange();
        auto page = checkPage();
        MessageScript script;
        page->setIsActived(true);
        EXPECT_EQ(page->outcome(), c.outcome);
        EXPECT_FALSE(page->CheckResult());
        ASSERT_FALSE(page->lines().isEmpty());
        const UpgradeLogLine last = page->lines().last();
        EXPECT_EQ(last.project, QString::fromUtf8(c.project));
        EXPECT_EQ(last.description, QString::fromUtf8(c.description));
        EXPECT_EQ(last.status, QString::fromUtf8(c.status));
        EXPECT_EQ(m_label.text(), QString::fromUtf8(c.label));
        EXPECT_EQ(m_usage.events(), c.usage);
        EXPECT_TRUE(page->gridDetail()->isEnabled());
        EXPECT_TRUE(m_bar.isHidden());
        if (c.outcome == RunOutcome::Error) {
            ASSERT_EQ(script.count(), 1);
            EXPECT_EQ(script.last().prompt, QStringLiteral("磁盘已满"));
            EXPECT_EQ(script.last().buttons, 16);
        } else {
            EXPECT_EQ(script.count(), 0);
        }
        if (c.outcome == RunOutcome::Failed && QString::fromUtf8(c.project) == QStringLiteral("新建账套")) {
            EXPECT_EQ(journal, QStringList{QStringLiteral("upgrade 1")});  // no module check ran
        }
    }
}

TEST_F(RunPagesTest, ACheckWithoutSettingsSaysSo) {
    g_UpgradeSettings = PnwList();
    auto page = checkPage();
    MessageScript script;
    page->setIsActived(true);
    ASSERT_EQ(script.count(), 1);
    EXPECT_EQ(script.last().prompt, QStringLiteral("未取到升级设置数据，请检查升级设置是否正确。"));
    EXPECT_TRUE(journal.isEmpty());
    EXPECT_FALSE(page->CheckResult());
}

TEST_F(RunPagesTest, ABarInADescriptionStaysInItsField) {
    auto page = checkPage();
    const UpgradeLogLine line{QStringLiteral("警告"),     QStringLiteral("2018/3/27 15:30:45"),
                              QStringLiteral("基础资料"), QStringLiteral("科目|1001|没有下级"),
                              QStringLiteral("详细日志"), QStringLiteral("AIS_UpgradeLog_科目")};
    page->addLogLine(line);
    page->setLog(line.text());
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(page->gridDetail()->item(row, 3)->text(), line.description);
        EXPECT_EQ(page->gridDetail()->item(row, 4)->text(), line.detail);
        EXPECT_EQ(page->gridDetail()->item(row, 5)->text(), line.link);
        EXPECT_EQ(page->lvwDetail()->topLevelItem(row)->text(3), line.description);
    }
    EXPECT_EQ(page->gridDetail()->rowCount(), cltLogReport::InitialGridRows);
    // The hidden grid keeps its designed widths: the log column is the widest.
    const int character = page->gridDetail()->fontMetrics().averageCharWidth();
    EXPECT_EQ(page->gridDetail()->columnWidth(0), 7 * character);
    EXPECT_EQ(page->gridDetail()->columnWidth(4), qRound(21.25 * character));
    page->setLog(QString());
    EXPECT_TRUE(page->lines().isEmpty());
    EXPECT_EQ(page->lvwDetail()->topLevelItemCount(), 0);
}

// Hovering any row of the log list, the description cell too, invites the
// double click that opens the entry.
TEST_F(RunPagesTest, TheLogListInvitesADoubleClick) {
    auto page = checkPage();
    page->resize(900, 300);
    page->show();
    page->addLogLine({QStringLiteral("错误"), QStringLiteral("2018/3/27 15:30:45"), QStringLiteral("出纳管理"),
                      QStringLiteral("无法打开登录所请求的数据库 \"D01\"。登录失败。这是一条很长很长的描述"),
                      QStringLiteral("详细日志"), QStringLiteral("AIS_UpgradeLog_银行")});
    QTreeWidget *list = page->lvwDetail();
    for (int column = 0; column < list->columnCount(); ++column) {
        const QRect cell = list->visualItemRect(list->topLevelItem(0));
        const QPoint at(list->header()->sectionViewportPosition(column) + 5, cell.center().y());
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &help);
        EXPECT_EQ(QToolTip::text(), QStringLiteral("双击可以查看明细")) << column;
        QToolTip::hideText();
    }
}

TEST_F(RunPagesTest, OpeningTheReportFromARow) {
    auto page = checkPage();
    page->addLogLine({QStringLiteral("警告"), QString(), QStringLiteral("基础资料"), QStringLiteral("币别"),
                      QStringLiteral("详细日志"), QStringLiteral("AIS_UpgradeLog_币别")});
    page->addLogLine({QStringLiteral("错误"), QString(), QStringLiteral("基础资料"),
                      QStringLiteral("检测过程中出现错误"), QString(), QString()});
    page->openReportAtRow(1);
    page->openReportAtRow(2);
    EXPECT_EQ(opened, (QStringList{QStringLiteral("/r/check.html#AIS_UpgradeLog_币别"),
                                   QStringLiteral("/r/check.html#日志总览")}));
    EXPECT_EQ(page->gridDetail()->item(0, 4)->foreground().color(), QColor(85, 26, 139));

    g_WizardStep = 4;
    opened.clear();
    page->openReportAtRow(1);
    EXPECT_EQ(opened, QStringList{QStringLiteral("/r/upgrade.html#AIS_UpgradeLog_币别")});

    g_WizardStep = 2;
    m_checkReport.clear();
    MessageScript script;
    page->openReportAtRow(1);
    ASSERT_EQ(script.count(), 1);
    EXPECT_EQ(script.last().prompt, QStringLiteral("找不到日志文件。"));
    EXPECT_EQ(script.last().buttons, 64);
    // An entry without a detail table goes to the overview even then.
    opened.clear();
    page->openReportAtRow(2);
    EXPECT_EQ(script.count(), 1);
    EXPECT_EQ(opened, QStringList{QStringLiteral("#日志总览")});

    // While a run writes, a double click is refused.
    page->gridDetail()->setEnabled(false);
    emit page->lvwDetail()->itemDoubleClicked(page->lvwDetail()->topLevelItem(0), 0);
    EXPECT_EQ(script.last().prompt, QStringLiteral("正在写入日志，请该操作完成后查看。"));
}

TEST_F(RunPagesTest, TheMiniLayoutHidesTwoBars) {
    ctlUpgrade page;
    page.resize(600, 340);
    g_SourceEdition = QStringLiteral("迷你版");
    page.Layout();
    EXPECT_TRUE(page.ProBar(3)->isHidden());
    EXPECT_TRUE(page.ProBar(5)->isHidden());
    EXPECT_EQ(page.ProBar(4)->y(), page.ProBar(3)->y());
    EXPECT_TRUE(page.ProBar(0)->isHidden());
    g_SourceEdition = QStringLiteral("标准版");
    page.Layout();
    EXPECT_FALSE(page.ProBar(3)->isHidden());
    EXPECT_FALSE(page.ProBar(5)->isHidden());
    EXPECT_EQ(page.ProBar(4)->y(), 2880 / 15);
    for (int i = 0; i < ctlUpgrade::BarCount; ++i) {
        EXPECT_TRUE(page.ProBar(i)->Text().startsWith(QStringLiteral("        ")));
        EXPECT_EQ(page.ProBar(i)->width(), 600 - 500 / 15);
    }
}

TEST_F(RunPagesTest, UpgradeRunEndings) {
    struct Case {
        const char *name;
        QString edition;
        int option;
        std::function<void()> arrange;
        RunOutcome outcome;
        QStringList stages;
        QStringList usage;
        const char *label;
    };
    const QStringList all{"2", "4", "3", "5", "6"};
    const Case cases[] = {
        {"standard",
         QStringLiteral("标准版"),
         0,
         [] {},
         RunOutcome::Passed,
         all,
         {"OptionAll"},
         "账套升级成功，请查看升级报告。"},
        {"base data with warnings",
         QStringLiteral("标准版"),
         0,
         [this] { plans[2].result = StepWarnings; },
         RunOutcome::Passed,
         all,
         {"OptionAll"},
         "账套升级成功，请查看升级报告。"},
        {"mini, balances only",
         QStringLiteral("迷你版"),
         1,
         [] {},
         RunOutcome::Passed,
         {"2", "4", "5", "6"},
         {"OptionBal"},
         "账套升级成功，请查看升级报告。"},
        {"ledger fails",
         QStringLiteral("标准版"),
         0,
         [this] { plans[4].result = StepFailed; },
         RunOutcome::Failed,
         {"2", "4"},
         {"OptionAll", "4", "7"},
         "财务处理过程中出现错误！"},
        {"failure while cancelling",
         QStringLiteral("标准版"),
         0,
         [this] {
             plans[3].result = StepFailed;
             plans[3].during = [] { g_CancelRequested = true; };
         },
         RunOutcome::Cancelled,
         {"2", "4", "3"},
         {"OptionAll", "-1"},
         "用户取消了该操作"},
        {"cancel during cashier",
         QStringLiteral("标准版"),
         0,
         [this] { plans[6].during = [] { g_CancelRequested = true; }; },
         RunOutcome::Cancelled,
         all,
         {"OptionAll", "-1"},
         "用户取消了该操作"},
        {"ledger raises once the cancel deleted the set",
         QStringLiteral("标准版"),
         0,
         [this] {
             plans[4].raise = true;
             plans[4].during = [] { g_CancelRequested = true; };
         },
         RunOutcome::Cancelled,
         {"2", "4"},
         {"OptionAll", "-1"},
         "用户取消了该操作"},
        {"base data raises",
         QStringLiteral("标准版"),
         0,
         [this] { plans[2].raise = true; },
         RunOutcome::Error,
         {"2"},
         {"OptionAll", "2"},
         "基础资料过程中出现错误！原因可能是：磁盘已满"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        startCase();
        g_SourceEdition = c.edition;
        PnwDictionary record = g_UpgradeSettings.DictionaryItem(1);
        record.setItem(QStringLiteral("Option"), c.option);
        c.arrange();
        g_WizardStep = 3;
        cltLogReport report;
        m_logPage = &report;
        ctlUpgrade page;
        page.setLblObject(&m_label);
        MessageScript script;
        page.setActived(true);
        EXPECT_EQ(page.outcome(), c.outcome);
        EXPECT_EQ(page.UpgradeResult(), c.outcome == RunOutcome::Passed);
        QStringList codes;
        for (const QString &entry : journal) codes << entry.section(QLatin1Char(' '), 1, 1);
        EXPECT_EQ(codes, c.stages);
        EXPECT_EQ(m_usage.events(), c.usage);
        EXPECT_EQ(m_label.text(), QString::fromUtf8(c.label));
        if (c.outcome != RunOutcome::Passed) {
            ASSERT_FALSE(report.lines().isEmpty());
            EXPECT_EQ(report.lines().last().project, GetStepName(codes.last().toInt()));
        }
        EXPECT_EQ(script.count(), c.outcome == RunOutcome::Error ? 1 : 0);
        m_logPage = nullptr;

        // Leaving the page resets the bars and the status line.
        page.setActived(false);
        EXPECT_EQ(page.ProBar(1)->Value(), 0);
        EXPECT_TRUE(m_label.text().isEmpty());
    }
}

}  // namespace
