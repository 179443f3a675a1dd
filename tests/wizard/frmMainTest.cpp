#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "WizardFixture.h"
#include "TestStages.h"
#include "controls/zqbutton.h"
#include "foundation/WaitCursor.h"
#include "platform/PnwDictionary.h"
#include "wizard/Navigation.h"
#include "wizard/TitleBar.h"
#include "wizard/cltLogReport.h"
#include "wizard/ctlSetting.h"
#include "wizard/ctlUpgrade.h"

namespace {

class frmMainTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        m_stages = std::make_unique<StageRegistry::Override>(plannedStages(&journal, &plans, [this] {
            accounts.insert(g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("AcctNum")).toString());
        }));
    }
    void TearDown() override {
        m_stages.reset();
        WizardTest::TearDown();
    }

    // A loaded window on step 0.
    std::unique_ptr<frmMain> load() {
        auto window = std::make_unique<frmMain>();
        EXPECT_TRUE(window->Form_Load(instanceKey()));
        return window;
    }

    void fillSettings(frmMain &w, const QString &number = QStringLiteral("AIS1")) {
        const QString ais = m_dir.filePath(QStringLiteral("demo.ais"));
        ASSERT_TRUE(WriteJetHeaderFile(ais));
        ctlSetting *s = w.ctlSetting1();
        s->txtSource()->setText(ais);
        s->txtAcctNumber()->setText(number);
        s->txtAcctName()->setText(QStringLiteral("演示账套"));
        s->txtDBDir()->setText(m_dir.path());
        SettingsValidator::Lookups lookups = SettingsValidator::defaultLookups();
        lookups.freeMegabytes = [](const QString &) { return qint64(1000); };
        s->setLookups(lookups);
    }

    // From step 0 through the settings into the check run.
    std::unique_ptr<frmMain> throughCheck() {
        auto w = load();
        w->btnNext_Click();
        fillSettings(*w);
        w->btnNext_Click();
        return w;
    }

    QString next(const frmMain &w) const { return w.btnNext()->Caption(); }

    QMap<int, StagePlan> plans;
    std::unique_ptr<StageRegistry::Override> m_stages;
};

TEST_F(frmMainTest, StartUpShowsTheNoticeAndReportsTheLoad) {
    auto w = load();
    EXPECT_EQ(w->windowTitle(), frmMain::WindowTitle);
    EXPECT_EQ(g_WizardStep, 0);
    EXPECT_EQ(next(*w), QStringLiteral("开  始"));
    EXPECT_TRUE(w->btnPrevious()->isHidden());
    EXPECT_FALSE(w->lblNotice()->isHidden());
    EXPECT_TRUE(w->lblNotice()->text().contains(QStringLiteral("岫禾VEQ专业版13.0及以上版本")));
    EXPECT_EQ(w->lblAdvice()->y(), w->lblNotice()->y() + w->lblNotice()->height());
    EXPECT_EQ(g_AcctCtlConnectString,
              QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=AcctCtl;User ID=sa;Password=pw"));
    EXPECT_EQ(g_ServerUser, QStringLiteral("sa"));
    EXPECT_EQ(m_usage.events(), QStringList{QStringLiteral("LOAD")});
    EXPECT_TRUE(w->Navigation1(0)->Actived());
    EXPECT_FALSE(w->Navigation1(1)->Actived());
}

TEST_F(frmMainTest, VersionGateComparesText) {
    const struct {
        const char *version;
        bool passes;
    } cases[] = {{"12.1", false}, {"13.0", true}, {"14.1", true}, {"9.0", true}, {"100.0", false}, {"", false}};
    for (const auto &c : cases) {
        setInstalledVersion(QString::fromUtf8(c.version));
        g_ConnectStringTemplate.clear();
        m_usage.events().clear();
        MessageScript script;
        auto w = load();
        SCOPED_TRACE(c.version);
        EXPECT_EQ(g_InstalledVersion, QString::fromUtf8(c.version));
        if (c.passes) {
            EXPECT_EQ(script.count(), 0);
            EXPECT_FALSE(g_ConnectStringTemplate.isEmpty());
            EXPECT_EQ(m_usage.events(), QStringList{QStringLiteral("LOAD")});
        } else {
            ASSERT_EQ(script.count(), 1);
            EXPECT_EQ(script.last().prompt, QStringLiteral("该工具支持升级到VEQ专业版13.0或以上版本"));
            EXPECT_EQ(script.last().buttons, 64);
            EXPECT_EQ(script.last().title, QStringLiteral("岫禾提示"));
            EXPECT_TRUE(g_ConnectStringTemplate.isEmpty());
            EXPECT_TRUE(m_usage.events().isEmpty());
            EXPECT_EQ(next(*w), QStringLiteral("开  始"));  // the window stays usable on step 0
        }
    }
}

TEST_F(frmMainTest, FailedGateLeavesTheSettingsPageReportingTheInstallation) {
    setInstalledVersion(QStringLiteral("12.1"));
    WizardHooks::PurgeAndListAccounts = [] { return std::optional<QList<RegisteredAccount>>(); };
    MessageScript script;
    auto w = load();
    w->btnNext_Click();
    fillSettings(*w);
    w->btnNext_Click();
    EXPECT_EQ(g_WizardStep, 1);
    ASSERT_EQ(script.count(), 2);
    EXPECT_TRUE(script.last().prompt.endsWith(QStringLiteral("请检查是否正确安装VEQ专业版13.0。")));
    EXPECT_EQ(script.last().buttons, 16);
}

TEST_F(frmMainTest, AWholeRunWalksEveryStepWithItsCaptions) {
    auto w = load();
    w->btnNext_Click();
    EXPECT_EQ(g_WizardStep, 1);
    EXPECT_EQ(next(*w), QStringLiteral("下一步"));
    EXPECT_EQ(w->btnPrevious()->Caption(), QStringLiteral("上一步"));
    EXPECT_FALSE(w->btnPrevious()->isHidden());
    EXPECT_FALSE(w->ctlSetting1()->isHidden());

    w->btnPrevious_Click();
    EXPECT_EQ(g_WizardStep, 0);
    w->btnNext_Click();
    fillSettings(*w);
    w->btnNext_Click();

    EXPECT_EQ(g_WizardStep, 2);
    EXPECT_EQ(journal, (QStringList{QStringLiteral("upgrade 1"), QStringLiteral("check 2"), QStringLiteral("check 3"),
                                    QStringLiteral("check 4"), QStringLiteral("check 5"), QStringLiteral("check 6")}));
    EXPECT_TRUE(w->ctlCheckData()->CheckResult());
    EXPECT_EQ(next(*w), QStringLiteral("下一步"));
    EXPECT_FALSE(w->btnPrevious()->isHidden());
    EXPECT_EQ(w->LBLDes()->text(), QStringLiteral("账套检测完成，请查看检测报告。"));
    EXPECT_TRUE(w->PBar()->isHidden());
    EXPECT_EQ(g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("AcctNum")).toString(), QStringLiteral("AIS1"));

    journal.clear();
    w->btnNext_Click();
    const QString at =
        QStringLiteral(" @Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=AIS1;User ID=sa;Password=pw");
    EXPECT_EQ(journal, (QStringList{QStringLiteral("upgrade 2") + at, QStringLiteral("upgrade 4") + at,
                                    QStringLiteral("upgrade 3") + at, QStringLiteral("upgrade 5") + at,
                                    QStringLiteral("upgrade 6") + at}));
    EXPECT_EQ(g_WizardStep, 4);
    EXPECT_EQ(next(*w), QStringLiteral("完  成"));
    EXPECT_TRUE(w->btnPrevious()->isHidden());
    EXPECT_FALSE(w->ctlLogReport()->isHidden());
    EXPECT_EQ(w->furthestStep(), 4);
    EXPECT_EQ(m_usage.events(),
              (QStringList{QStringLiteral("LOAD"), QStringLiteral("OptionAll"), QStringLiteral("SUCCESS")}));

    w->btnNext_Click();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(w->ended());
}

// The wizard works with the keys alone: the welcome page's button has the
// focus, so Enter and Space start; Tab visits only controls that show, never
// the step list, which takes no input.
TEST_F(frmMainTest, TheWelcomeAndSettingsPagesTakeTheKeys) {
    auto w = load();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    const auto focused = [] { return QApplication::focusWidget(); };
    const auto tabStops = [&](int presses) {
        QStringList wrong;
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(focused() ? focused() : w.get(), Qt::Key_Tab);
            QWidget *f = focused();
            if (!f || !f->isVisible() || qobject_cast<Navigation *>(f))
                wrong << (f ? QString::fromLatin1(f->metaObject()->className()) : QStringLiteral("none"));
        }
        return wrong;
    };
    EXPECT_EQ(focused(), w->btnNext());
    EXPECT_EQ(tabStops(3), QStringList());
    EXPECT_EQ(focused(), w->btnNext());
    QTest::keyClick(focused(), Qt::Key_Return);
    EXPECT_EQ(g_WizardStep, 1);
    EXPECT_EQ(tabStops(12), QStringList());

    w->btnPrevious_Click();
    ASSERT_EQ(g_WizardStep, 0);
    EXPECT_EQ(focused(), w->btnNext());
    QTest::keyClick(focused(), Qt::Key_Space);
    EXPECT_EQ(g_WizardStep, 1);
}

TEST_F(frmMainTest, AFailedCheckOffersARecheckThatDeletesTheSetFirst) {
    plans[StageRegistry::FixedAssets].result = StepFailed;
    auto w = throughCheck();
    EXPECT_EQ(next(*w), QStringLiteral("重新检测"));
    EXPECT_FALSE(w->ctlCheckData()->CheckResult());
    EXPECT_EQ(w->LBLDes()->text(), QStringLiteral("固定资产过程中出现错误。"));
    ASSERT_FALSE(w->ctlCheckData()->lines().isEmpty());
    EXPECT_EQ(w->ctlCheckData()->lines().last().description, QStringLiteral("检测过程中出现错误"));
    EXPECT_FALSE(journal.contains(QStringLiteral("check 4")));

    plans.clear();
    journal.clear();
    w->btnNext_Click();
    EXPECT_EQ(deleted, QStringList{QStringLiteral("AIS1")});
    EXPECT_EQ(journal.first(), QStringLiteral("upgrade 1"));
    EXPECT_EQ(next(*w), QStringLiteral("下一步"));
}

TEST_F(frmMainTest, ACancelledCheckDoesNotPassAndTheButtonWaitsForTheRun) {
    frmMain *window = nullptr;
    bool enabledWhileEnding = true;
    QString captionWhileEnding;
    plans[StageRegistry::BaseData].during = [&] {
        window->btnNext_Click();  // "取  消" arrives while the stage lets events through
        enabledWhileEnding = window->btnNext()->Enabled();
        captionWhileEnding = window->btnNext()->Caption();
        window->btnNext_Click();  // a second click must not start the next step inside the run
    };
    auto w = load();
    window = w.get();
    w->btnNext_Click();
    fillSettings(*w);
    w->btnNext_Click();

    EXPECT_FALSE(enabledWhileEnding);
    EXPECT_EQ(captionWhileEnding, QStringLiteral("下一步"));
    EXPECT_EQ(deleted, QStringList{QStringLiteral("AIS1")});
    EXPECT_FALSE(journal.contains(QStringLiteral("check 3")));
    EXPECT_EQ(w->ctlCheckData()->outcome(), RunOutcome::Cancelled);
    EXPECT_FALSE(w->ctlCheckData()->CheckResult());
    EXPECT_EQ(g_WizardStep, 2);
    EXPECT_EQ(next(*w), QStringLiteral("重新检测"));
    EXPECT_TRUE(w->btnNext()->Enabled());
    EXPECT_EQ(w->LBLDes()->text(), QStringLiteral("用户取消了数据检测。"));
    const UpgradeLogLine last = w->ctlCheckData()->lines().last();
    EXPECT_EQ(last.project, QStringLiteral("基础资料"));
    EXPECT_EQ(last.status, QStringLiteral("警告"));
    EXPECT_EQ(last.description, QStringLiteral("用户取消了数据检测"));
}

TEST_F(frmMainTest, ACancelledUpgradeEndsOnTheReportWithRetry) {
    frmMain *window = nullptr;
    auto w = throughCheck();
    window = w.get();
    plans[StageRegistry::BaseData].during = [&] { window->btnNext_Click(); };
    journal.clear();
    w->btnNext_Click();
    EXPECT_EQ(journal.size(), 1);  // the general ledger did not start
    EXPECT_EQ(g_WizardStep, 4);
    EXPECT_EQ(next(*w), QStringLiteral("重  试"));
    EXPECT_EQ(w->btnPrevious()->Caption(), QStringLiteral("关  闭"));
    EXPECT_FALSE(w->btnPrevious()->isHidden());
    EXPECT_TRUE(w->btnNext()->Enabled());
    EXPECT_TRUE(m_usage.events().contains(QStringLiteral("-1")));
    ASSERT_FALSE(w->ctlLogReport()->lines().isEmpty());
    EXPECT_EQ(w->ctlLogReport()->lines().last().description, QStringLiteral("用户取消了数据检测,升级中断。"));

    // "关  闭" reports the failure and asks the closing question.
    MessageScript script({MsgBox::Cancel});
    w->btnPrevious_Click();
    EXPECT_TRUE(m_usage.events().contains(QStringLiteral("FAIL")));
    EXPECT_EQ(script.count(), 1);
    EXPECT_EQ(quits, 0);
}

TEST_F(frmMainTest, ClicksWhileTheBusyPointerShowsAreDropped) {
    auto w = load();
    BeginWaitCursor();
    w->btnNext_Click();
    EXPECT_EQ(g_WizardStep, 0);
    EndWaitCursor();
    w->btnNext_Click();
    EXPECT_EQ(g_WizardStep, 1);
}

TEST_F(frmMainTest, GoingBackAndForwardDeletesTheSetOfTheEarlierCheck) {
    auto w = throughCheck();
    EXPECT_TRUE(accounts.contains(QStringLiteral("AIS1")));
    w->btnPrevious_Click();
    EXPECT_EQ(g_WizardStep, 1);
    EXPECT_TRUE(w->ctlCheckData()->lines().isEmpty());  // leaving step 2 cleared the page
    EXPECT_TRUE(deleted.isEmpty());                     // going back alone deletes nothing

    journal.clear();
    w->ctlSetting1()->txtAcctNumber()->setText(QStringLiteral("AIS2"));
    w->btnNext_Click();
    EXPECT_EQ(deleted, QStringList{QStringLiteral("AIS1")});
    EXPECT_EQ(journal.first(), QStringLiteral("upgrade 1"));
    EXPECT_TRUE(accounts.contains(QStringLiteral("AIS2")));
    EXPECT_EQ(next(*w), QStringLiteral("下一步"));
}

TEST_F(frmMainTest, LeavingTheSettingsShowsErrorsByNumber) {
    const struct {
        int number;
        int icon;
    } cases[] = {{5, 64}, {6, 48}, {91, 16}, {-1, 16}};
    for (const auto &c : cases) {
        auto w = load();
        w->btnNext_Click();
        fillSettings(*w);
        SettingsValidator::Lookups lookups = SettingsValidator::defaultLookups();
        lookups.accounts = [n = c.number]() -> std::optional<QList<RegisteredAccount>> {
            throw PnwError(n, QStringLiteral("test"), QStringLiteral("不能读取账套列表"));
        };
        w->ctlSetting1()->setLookups(lookups);
        MessageScript script;
        w->btnNext_Click();
        SCOPED_TRACE(c.number);
        EXPECT_EQ(g_WizardStep, 1);
        ASSERT_EQ(script.count(), 1);
        EXPECT_EQ(script.last().buttons, c.icon);
        EXPECT_TRUE(script.last().prompt.startsWith(QStringLiteral("不能读取账套列表")));
    }
}

TEST_F(frmMainTest, ClosingAsksTheRightQuestion) {
    struct Case {
        const char *name;
        std::function<std::unique_ptr<frmMain>()> reach;
        int answer;
        QString question;
        bool ends;
        bool deletes;
    };
    const QString quit = QStringLiteral("确定要退出吗？");
    const QString drop = QStringLiteral("升级没有成功，需要删除新建的账套吗？");
    auto failedCheck = [this] {
        plans[StageRegistry::BaseData].result = StepFailed;
        return throughCheck();
    };
    auto upgraded = [this] {
        plans.clear();
        auto w = throughCheck();
        w->btnNext_Click();
        return w;
    };
    const Case cases[] = {
        {"before any check, yes", [this] { return load(); }, MsgBox::Yes, quit, true, false},
        {"before any check, no", [this] { return load(); }, MsgBox::No, quit, false, false},
        {"failed check, cancel", failedCheck, MsgBox::Cancel, drop, false, false},
        {"failed check, yes", failedCheck, MsgBox::Yes, drop, true, true},
        {"failed check, no", failedCheck, MsgBox::No, drop, true, false},
        {"after success", upgraded, MsgBox::Yes, quit, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        quits = 0;
        deleted.clear();
        accounts.clear();
        auto w = c.reach();
        MessageScript script({c.answer});
        const bool closed = w->close();
        ASSERT_EQ(script.count(), 1);
        EXPECT_EQ(script.last().prompt, c.question);
        EXPECT_EQ(script.last().buttons, c.question == quit ? 68 : 67);
        EXPECT_EQ(closed, c.ends);
        EXPECT_EQ(quits, c.ends ? 1 : 0);
        EXPECT_EQ(deleted.contains(QStringLiteral("AIS1")), c.deletes);
        if (!c.ends) {
            EXPECT_FALSE(w->ended());
        }
    }
}

TEST_F(frmMainTest, ClosingDuringACheckEndsTheRunAtItsNextTest) {
    frmMain *window = nullptr;
    MessageScript script({MsgBox::Yes});
    plans[StageRegistry::BaseData].during = [&] { window->close(); };
    auto w = load();
    window = w.get();
    w->btnNext_Click();
    fillSettings(*w);
    w->btnNext_Click();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(w->ended());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(deleted, QStringList{QStringLiteral("AIS1")});
    EXPECT_FALSE(journal.contains(QStringLiteral("check 3")));
    EXPECT_EQ(w->ctlCheckData()->outcome(), RunOutcome::Cancelled);
}

TEST_F(frmMainTest, StepsAreEnabledUpToTheFurthestReached) {
    auto w = load();
    w->btnNext_Click();
    w->btnPrevious_Click();
    EXPECT_EQ(w->furthestStep(), 1);
    w->EnableSteps(true);
    EXPECT_TRUE(w->Navigation1(0)->Enabled());
    EXPECT_TRUE(w->Navigation1(1)->Enabled());
    EXPECT_FALSE(w->Navigation1(2)->Enabled());
    w->EnableSteps(false);
    EXPECT_FALSE(w->Navigation1(0)->Enabled());
}

TEST_F(frmMainTest, TheTitleBarCloseButtonAsksToo) {
    auto w = load();
    MessageScript script({MsgBox::No});
    emit w->titleBar()->closeRequested();
    EXPECT_EQ(script.count(), 1);
    EXPECT_EQ(quits, 0);
}

TEST_F(frmMainTest, ASecondCopyRaisesTheFirstAndEnds) {
    auto first = load();
    EXPECT_FALSE(first->isVisible());
    frmMain second;
    EXPECT_FALSE(second.Form_Load(instanceKey()));
    EXPECT_TRUE(second.ended());
    for (int i = 0; i < 200 && !first->isVisible(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(first->isVisible());
}

TEST_F(frmMainTest, LogLinesGoToThePageOfTheStep) {
    auto w = load();
    UpgradeLogLine line;
    line.status = QStringLiteral("警告");
    line.project = QStringLiteral("基础资料");
    line.description = QStringLiteral("币别|美元|没有汇率");
    line.detail = QStringLiteral("详细日志");
    line.link = QStringLiteral("AIS_UpgradeLog_币别");
    g_WizardStep = 2;
    ShowUpgradeLogLine(line);
    g_WizardStep = 3;
    ShowUpgradeLogText(line.text());
    ASSERT_EQ(w->ctlCheckData()->lines().size(), 1);
    ASSERT_EQ(w->ctlLogReport()->lines().size(), 1);
    for (const UpgradeLogLine &got : {w->ctlCheckData()->lines()[0], w->ctlLogReport()->lines()[0]}) {
        EXPECT_EQ(got.description, line.description);
        EXPECT_EQ(got.detail, line.detail);
        EXPECT_EQ(got.link, line.link);
    }
}

}  // namespace
