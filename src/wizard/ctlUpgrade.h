// The upgrade page of step 3: runs the upgrade of every module stage, each
// on a progress bar of its own, against the account set the check of the
// same run of the program created. The log lines of the run go to the
// report page of step 4. UI thread only.
#pragma once

#include <array>

#include <QWidget>

#include "wizard/RunOutcome.h"
#include "wizard/UpgradeRuns.h"

class ProgressBar;
class QLabel;

class ctlUpgrade : public QWidget {
    Q_OBJECT
public:
    explicit ctlUpgrade(QWidget *parent = nullptr);

    static constexpr int BarCount = 6;

    // True after a run that succeeded; nothing sets it back.
    bool UpgradeResult() const { return m_upgradeResult; }
    RunOutcome outcome() const { return m_outcome; }
    bool isRunning() const { return m_running; }

    // Setting True runs the whole upgrade before returning; setting False
    // resets the bars. Setting the value it has does nothing.
    bool Actived() const { return m_active; }
    void setActived(bool active);

    void setLblObject(QLabel *label) { m_label = label; }

    // Bar i: 0 account creation (never shown), 1 base data, 2 general
    // ledger, 3 fixed assets, 4 payroll, 5 cashier.
    ProgressBar *ProBar(int index) const;

    // Sizes and places the bars; the Mini edition hides fixed assets and
    // cashier and moves payroll up to the fixed-asset place.
    void Layout();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void runUpgrade();

    bool m_active = false;
    bool m_running = false;
    bool m_upgradeResult = false;
    RunOutcome m_outcome = RunOutcome::NotRun;
    QLabel *m_label = nullptr;
    UpgradeBars m_bars{};
};
