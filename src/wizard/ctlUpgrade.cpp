#include "wizard/ctlUpgrade.h"

#include <exception>
#include <memory>

#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>

#include "controls/ProgressBar.h"
#include "controls/WizardControls.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/Progress.h"
#include "foundation/UpgradeLog.h"
#include "foundation/UsageStatistics.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"
#include "wizard/StageRegistry.h"
#include "wizard/WizardHooks.h"

namespace {

constexpr int kPx = 15;  // twips per pixel
const char *const kBarTitles[ctlUpgrade::BarCount] = {"创建目标帐套", "升级基础资料", "升级账务处理",
                                                      "升级固定资产", "升级工资管理", "升级出纳管理"};
const int kBarTops[ctlUpgrade::BarCount] = {120, 360, 1200, 2040, 2880, 3720};

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

void status(QLabel *label, const QString &text) {
    if (label) SetStatusCaption(label, text);
}

}  // namespace

ctlUpgrade::ctlUpgrade(QWidget *parent) : QWidget(parent) {
    for (int i = 0; i < BarCount; ++i) {
        m_bars[i] = WizardControls::makeProgressBar(this);
        m_bars[i]->move(240 / kPx, kBarTops[i] / kPx);
    }
    m_bars[0]->hide();
    Layout();
}

ProgressBar *ctlUpgrade::ProBar(int index) const { return index >= 0 && index < BarCount ? m_bars[index] : nullptr; }

void ctlUpgrade::resizeEvent(QResizeEvent *) { Layout(); }

void ctlUpgrade::Layout() {
    for (int i = 0; i < BarCount; ++i) {
        m_bars[i]->resize(qMax(1, width() - 500 / kPx), 600 / kPx);
        m_bars[i]->setText(QStringLiteral("        ") + QString::fromUtf8(kBarTitles[i]));
    }
    if (g_SourceEdition == QStringLiteral("迷你版")) {
        m_bars[3]->hide();
        m_bars[5]->hide();
        m_bars[4]->move(m_bars[4]->x(), m_bars[3]->y());
    } else {
        m_bars[3]->show();
        m_bars[5]->show();
        m_bars[4]->move(m_bars[4]->x(), kBarTops[4] / kPx);
    }
}

void ctlUpgrade::setActived(bool active) {
    if (active == m_active) return;
    m_active = active;
    if (active) {
        // The edition is known only after the check: lay the bars out for it.
        Layout();
        runUpgrade();
        return;
    }
    for (ProgressBar *bar : m_bars) SetProgress(bar, 0);
    status(m_label, QString());
}

void ctlUpgrade::runUpgrade() {
    if (g_UpgradeSettings.Count() == 0) {
        ShowMessage(QStringLiteral("未取到升级设置数据，请检查升级设置是否正确。"), 16, QStringLiteral("岫禾提示"));
        m_outcome = RunOutcome::Failed;
        return;
    }
    m_running = true;
    const QDateTime now = QDateTime::currentDateTime();
    const QString title = now.toString(QStringLiteral("yyyyMMdd")) + now.toString(QStringLiteral("hhmmss")) +
                          QStringLiteral("标准版(迷你版)升级专业版升级日志");
    try {
        const PnwDictionary settings = g_UpgradeSettings.DictionaryItem(1);
        ReportUsage(settings.Item(QStringLiteral("Option")).toInt() == 0 ? QStringLiteral("OptionAll")
                                                                         : QStringLiteral("OptionBal"));
        WizardHooks::InitUpgradeLog();
        const QString connection = WizardHooks::GetConnectString(settings.Item(QStringLiteral("AcctNum")).toString());

        RunOutcome outcome = RunOutcome::Passed;
        for (const UpgradeStep &step : kSteps) {
            if (step.code == StageRegistry::FixedAssets && g_SourceEdition != QStringLiteral("标准版")) continue;
            const StageEntry entry = StageRegistry::stage(step.code);
            if (!entry.create) continue;
            g_CurrentModule = step.code;
            std::unique_ptr<interface> stage = entry.create();
            const int result = stage->UpgradeData(m_bars[step.bar], m_label, connection);
            if (result == StepFailed) {
                outcome = RunMustStop() ? RunOutcome::Cancelled : RunOutcome::Failed;
                break;
            }
            stage.reset();
            QCoreApplication::processEvents();
            if (RunMustStop()) {
                outcome = RunOutcome::Cancelled;
                break;
            }
        }
        if (outcome == RunOutcome::Passed) {
            status(m_label, QStringLiteral("正在删除升级所用临时数据。"));
            WizardHooks::WriteHtmlReport(title);
            m_upgradeResult = true;
            status(m_label, QStringLiteral("账套升级成功，请查看升级报告。"));
        } else if (outcome == RunOutcome::Failed) {
            status(m_label, GetStepName() + QStringLiteral("过程中出现错误！"));
            WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("升级过程中出现错误,升级中断。"), QString(), 2);
            WizardHooks::WriteHtmlReport(title);
            ReportUsage(QString::number(g_CurrentModule));
            ReportUsage(QStringLiteral("7"));
        } else {
            status(m_label, QStringLiteral("用户取消了该操作"));
            WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("用户取消了数据检测,升级中断。"), QString(), 1);
            WizardHooks::WriteHtmlReport(title);
            ReportUsage(QStringLiteral("-1"));
        }
        m_outcome = outcome;
    } catch (const std::exception &e) {
        const PnwError *pnw = dynamic_cast<const PnwError *>(&e);
        const QString description = pnw ? pnw->description() : QString::fromLocal8Bit(e.what());
        try {
            status(m_label, GetStepName() + QStringLiteral("过程中出现错误！原因可能是：") + description);
            WizardHooks::WriteUpgradeLog(GetStepName(), QStringLiteral("升级过程中出现错误,升级中断。"), QString(), 2);
            WizardHooks::WriteHtmlReport(title);
        } catch (const std::exception &) {
            // The run is ending on its own error already.
        }
        ShowMessage(description, 16, QStringLiteral("岫禾提示"));
        ReportUsage(QString::number(g_CurrentModule));
        m_outcome = RunOutcome::Error;
    }
    m_running = false;
}
