#include "LedgerFixture.h"

#include "upgrade/common/StepKit.h"

int LedgerPhaseProbe::run(Phase phase, bool balanceOnly) {
    clsEboGL step;
    step.BalanceOnly = balanceOnly;
    StepKit kit(nullptr, nullptr, QString());
    return (step.*phase)(kit);
}

bool LedgerPhaseProbe::contra(QString &errorText) {
    clsEboGL step;
    StepKit kit(nullptr, nullptr, QString());
    return step.UpdateContraAccount(kit, errorText);
}
