// A target made from a sample for the payroll step, with the base rows the
// step reads seeded (see PayrollBaseSeed.h) and the data-type asker reset
// after each test.
#pragma once

#include "kit/UpgradeStepFixture.h"
#include "PayrollBaseSeed.h"
#include "upgrade/payroll_cashier/PayrollDataTypeAsker.h"
#include "upgrade/payroll_cashier/clsEboPa.h"

class PayrollFixture : public UpgradeStepFixture {
protected:
    void TearDown() override {
        SetPayrollDataTypeAsker(nullptr);
        UpgradeStepFixture::TearDown();
    }

    // Creates the target and seeds the base rows.
    void createSeeded(const QString &sample) {
        createFrom(sample);
        ASSERT_EQ(targetRun(PayrollBaseSeedSql()), QString());
    }

    int checkPayroll() {
        clsEboPa step;
        return check(step);
    }
    int upgradePayroll() {
        clsEboPa step;
        return upgrade(step);
    }
};
