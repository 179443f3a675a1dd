// The contract of every upgrade stage (account creation, base data, fixed
// assets, general ledger, payroll, cashier). The runs create one stage object
// per call, call one operation, read the result and drop the object; whatever
// must outlive a call lives in program-wide state, never in the object.
#pragma once

#include <QString>

class ProgressBar;
class QLabel;

// Result codes of a stage operation. Any other value counts as StepDone.
enum StepResult : int {
    StepDone = 0,
    StepWarnings = 1,  // done; the warnings are already logged
    StepFailed = 2,    // the failure is already logged; no further stage runs
};

class interface {
public:
    virtual ~interface() = default;

    // Examines this stage's staged source data and logs the findings.
    // SQLConnectString "" means g_TargetConnectString.
    virtual int CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
        (void)PoBar, (void)LblObject, (void)SQLConnectString;
        return StepDone;
    }
    // Converts this stage's data into the target account set.
    virtual int UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
        (void)PoBar, (void)LblObject, (void)SQLConnectString;
        return StepDone;
    }

protected:
    interface() = default;
};
