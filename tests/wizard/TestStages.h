// Small real stages for the run tests: each implements the step contract,
// records its call in a shared journal, may log an entry, run an action
// while it works (a click that arrives while it lets events through) and
// returns the result its plan gives.
#pragma once

#include <functional>
#include <memory>

#include <QMap>
#include <QStringList>

#include "accounts/interface.h"
#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "foundation/Progress.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwError.h"
#include "wizard/StageRegistry.h"
#include "wizard/WizardHooks.h"

struct StagePlan {
    int result = StepDone;
    std::function<void()> during;  // runs inside the stage's progress
    bool raise = false;            // leaves with an error of its own
    bool setsEdition = false;      // account creation: the source is "迷你版"
};

class PlannedStage : public interface {
public:
    PlannedStage(int code, QStringList *journal, QMap<int, StagePlan> *plans)
        : m_code(code), m_journal(journal), m_plans(plans) {}

    int CheckData(ProgressBar *PoBar, QLabel *, QString SQLConnectString) override {
        return work(QStringLiteral("check"), PoBar, SQLConnectString);
    }
    int UpgradeData(ProgressBar *PoBar, QLabel *, QString SQLConnectString) override {
        return work(QStringLiteral("upgrade"), PoBar, SQLConnectString);
    }

private:
    int work(const QString &what, ProgressBar *bar, const QString &connection) {
        const StagePlan plan = m_plans->value(m_code);
        m_journal->append(what + QLatin1Char(' ') + QString::number(m_code) +
                          (connection.isEmpty() ? QString() : QStringLiteral(" @") + connection));
        if (plan.setsEdition) g_SourceEdition = QStringLiteral("迷你版");
        if (bar) {
            InitProgress(bar, 100, true);
            if (plan.during) plan.during();
            SetProgress(bar, 100);
        } else if (plan.during) {
            plan.during();
        }
        if (plan.raise) throw PnwError(-1, QStringLiteral("PlannedStage"), QStringLiteral("磁盘已满"));
        if (plan.result == StepWarnings)
            WizardHooks::WriteUpgradeLog(GetStepName(m_code), QStringLiteral("有警告"), QString(), 1);
        return plan.result;
    }

    int m_code;
    QStringList *m_journal;
    QMap<int, StagePlan> *m_plans;
};

// All six stages as planned stages; account creation makes the account set.
inline QList<StageEntry> plannedStages(QStringList *journal, QMap<int, StagePlan> *plans,
                                       std::function<void()> onCreate = nullptr) {
    QList<StageEntry> list;
    for (int code = 1; code <= 6; ++code) {
        list.append(StageEntry{code, [=]() -> std::unique_ptr<interface> {
                                   if (code == StageRegistry::CreateAccount && onCreate) onCreate();
                                   return std::make_unique<PlannedStage>(code, journal, plans);
                               }});
    }
    return list;
}
