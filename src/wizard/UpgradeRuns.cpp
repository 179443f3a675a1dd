#include "wizard/UpgradeRuns.h"

#include <exception>
#include <memory>
#include <optional>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/Progress.h"
#include "foundation/UpgradeLog.h"
#include "foundation/UsageStatistics.h"
#include "platform/PnwDictionary.h"
#include "wizard/BulkLoad.h"
#include "wizard/StageRegistry.h"
#include "wizard/WizardHooks.h"

namespace {

QString runTitle(const QString &what) {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toString(QStringLiteral("yyyyMMdd")) + now.toString(QStringLiteral("hhmmss")) + what;
}

void status(QLabel *label, const QString &text) {
    if (label) SetStatusCaption(label, text);
}

// The upgrade run's order: stage code and bar.
struct UpgradeStep {
    int code;
    int bar;
};
const UpgradeStep kSteps[] = {{StageRegistry::BaseData, 1},
                              {StageRegistry::GeneralLedger, 2},
                              {StageRegistry::FixedAssets, 3},
                              {StageRegistry::Payroll, 4},
                              {StageRegistry::Cashier, 5}};

StageObserver &observer() {
    static StageObserver o;
    return o;
}

// Runs one stage call and tells the observer how it went.
int timedStage(int code, const std::function<int()> &call) {
    QElapsedTimer timer;
    timer.start();
    const int result = call();
    if (observer()) observer()(code, result, timer.nsecsElapsed() / 1e9);
    return result;
}

// One stage of a run: a new stage object for the call, timed and told, then
// dropped; pending events run and the run's stop flag is tested. Gives the
// outcome that ends the run, or none to go on.
std::optional<RunOutcome> runStage(const StageEntry &entry, const std::function<int(interface &)> &call) {
    g_CurrentModule = entry.code;
    std::unique_ptr<interface> stage = entry.create();
    const int result = timedStage(entry.code, [&] { return call(*stage); });
    if (result == StepFailed) return RunMustStop() ? RunOutcome::Cancelled : RunOutcome::Failed;
    stage.reset();
    QCoreApplication::processEvents();
    if (RunMustStop()) return RunOutcome::Cancelled;
    return std::nullopt;
}

// The endings of a cancelled run: its one entry, with the stage it stopped.
void checkCancelled(QLabel *label, const QString &title) {
    status(label, QStringLiteral("用户取消了数据检测。"));
    WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("用户取消了数据检测"), QString(), 1);
    WizardHooks::WriteHtmlReport(title);
}

void upgradeCancelled(QLabel *label, const QString &title) {
    status(label, QStringLiteral("用户取消了该操作"));
    WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("用户取消了数据检测,升级中断。"), QString(), 1);
    WizardHooks::WriteHtmlReport(title);
    ReportUsage(QStringLiteral("-1"));
}

}  // namespace

StageObserver SetStageObserver(StageObserver o) {
    StageObserver previous = std::move(observer());
    observer() = std::move(o);
    return previous;
}

RunOutcome RunDataCheck(ProgressBar *bar, QLabel *label) {
    if (g_WizardStep != 2) return RunOutcome::NotRun;
    g_CurrentModule = 0;
    if (g_UpgradeSettings.Count() == 0) {
        ShowMessage(QStringLiteral("未取到升级设置数据，请检查升级设置是否正确。"), 16, kMessageTitle);
        return RunOutcome::Failed;
    }
    const QString title = runTitle(QStringLiteral("标准版(迷你版)升级专业版数据检测"));
    try {
        WizardHooks::InitUpgradeLog();
        RunOutcome outcome = RunOutcome::Passed;
        // The first stage that logged an error: the check does not pass,
        // whatever the stage returned, but every stage still checks.
        std::optional<int> loggedError;
        for (const StageEntry &entry : StageRegistry::stages()) {
            if (!entry.create) continue;
            if (entry.code == StageRegistry::CreateAccount) status(label, QStringLiteral("开始新建账套..."));
            const int errorsBefore = UpgradeLogErrorCount();
            const std::optional<RunOutcome> end = runStage(entry, [&](interface &stage) {
                if (entry.code != StageRegistry::CreateAccount) return stage.CheckData(bar, label, QString());
                const int result = stage.UpgradeData(bar, label, QString());
                if (result == StepFailed) ReportUsage(QString::number(entry.code));
                return result;
            });
            if (end) {
                outcome = *end;
                break;
            }
            if (!loggedError && UpgradeLogErrorCount() > errorsBefore) loggedError = entry.code;
        }
        if (outcome == RunOutcome::Passed && loggedError) {
            g_CurrentModule = *loggedError;
            outcome = RunOutcome::Failed;
        }
        if (outcome == RunOutcome::Passed) {
            status(label, QStringLiteral("账套检测完成，请查看检测报告。"));
            WizardHooks::WriteHtmlReport(title);
            g_CurrentModule = 0;
        } else if (outcome == RunOutcome::Failed) {
            status(label, GetStepName() + QStringLiteral("过程中出现错误。"));
            WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("检测过程中出现错误"), QString(), 2);
            WizardHooks::WriteHtmlReport(title);
        } else {
            checkCancelled(label, title);
        }
        return outcome;
    } catch (const std::exception &e) {
        const QString description = ErrorDescription(e);
        try {
            if (g_CancelRequested) {
                // The cancel deleted the account set under the stage: the
                // stage's error is the cancel's doing.
                checkCancelled(label, title);
                return RunOutcome::Cancelled;
            }
            status(label, GetStepName() + QStringLiteral("过程中出现错误！原因可能是：") + description);
            WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("检测过程中出现错误"), QString(), 2);
            WizardHooks::WriteHtmlReport(title);
        } catch (const std::exception &) {
            // The run is ending on its own error already.
        }
        ShowMessage(description, 16, kMessageTitle);
        return RunOutcome::Error;
    }
}

RunOutcome RunUpgrade(const UpgradeBars &bars, QLabel *label) {
    if (g_UpgradeSettings.Count() == 0) {
        ShowMessage(QStringLiteral("未取到升级设置数据，请检查升级设置是否正确。"), 16, kMessageTitle);
        return RunOutcome::Failed;
    }
    const QString title = runTitle(QStringLiteral("标准版(迷你版)升级专业版升级日志"));
    try {
        const PnwDictionary settings = g_UpgradeSettings.DictionaryItem(1);
        ReportUsage(settings.Item(QStringLiteral("Option")).toInt() == 0 ? QStringLiteral("OptionAll")
                                                                         : QStringLiteral("OptionBal"));
        WizardHooks::InitUpgradeLog();
        const QString connection = WizardHooks::GetConnectString(settings.Item(QStringLiteral("AcctNum")).toString());
        BulkLoad bulkLoad(connection);

        RunOutcome outcome = RunOutcome::Passed;
        for (const UpgradeStep &step : kSteps) {
            if (step.code == StageRegistry::FixedAssets && g_SourceEdition != QStringLiteral("标准版")) continue;
            const StageEntry entry = StageRegistry::stage(step.code);
            if (!entry.create) continue;
            const std::optional<RunOutcome> end =
                runStage(entry, [&](interface &stage) { return stage.UpgradeData(bars[step.bar], label, connection); });
            if (end) {
                outcome = *end;
                break;
            }
        }
        if (outcome == RunOutcome::Passed) {
            bulkLoad.finish();
            status(label, QStringLiteral("正在删除升级所用临时数据。"));
            WizardHooks::WriteHtmlReport(title);
            status(label, QStringLiteral("账套升级成功，请查看升级报告。"));
        } else if (outcome == RunOutcome::Failed) {
            status(label, GetStepName() + QStringLiteral("过程中出现错误！"));
            WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("升级过程中出现错误,升级中断。"), QString(), 2);
            WizardHooks::WriteHtmlReport(title);
            ReportUsage(QString::number(g_CurrentModule));
            ReportUsage(QStringLiteral("7"));
        } else {
            upgradeCancelled(label, title);
        }
        return outcome;
    } catch (const std::exception &e) {
        const QString description = ErrorDescription(e);
        try {
            if (g_CancelRequested) {
                upgradeCancelled(label, title);
                return RunOutcome::Cancelled;
            }
            status(label, GetStepName() + QStringLiteral("过程中出现错误！原因可能是：") + description);
            WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("升级过程中出现错误,升级中断。"), QString(), 2);
            WizardHooks::WriteHtmlReport(title);
        } catch (const std::exception &) {
            // The run is ending on its own error already.
        }
        ShowMessage(description, 16, kMessageTitle);
        ReportUsage(QString::number(g_CurrentModule));
        return RunOutcome::Error;
    }
}
