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
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardHooks.h"

namespace {

constexpr int kPx = 15;  // twips per pixel
const char *const kBarTitles[ctlUpgrade::BarCount] = {"创建目标帐套", "升级基础资料", "升级账务处理",
                                                      "升级固定资产", "升级工资管理", "升级出纳管理"};
const int kBarTops[ctlUpgrade::BarCount] = {120, 360, 1200, 2040, 2880, 3720};

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
    m_running = true;
    m_outcome = RunUpgrade(m_bars, m_label);
    if (m_outcome == RunOutcome::Passed) m_upgradeResult = true;
    m_running = false;
}
