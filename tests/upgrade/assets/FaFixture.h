// The fixed-asset tests' target: the standard sample created and seeded
// with FaBaseSeed, then the fixed-asset step run on it.
#pragma once

#include <QLatin1Char>
#include <QString>

#include "FaSeed.h"
#include "kit/UpgradeStepFixture.h"
#include "upgrade/assets/clsEboFa.h"

class FaFixture : public UpgradeStepFixture {
protected:
    // Creates and seeds the target, then runs the changes on it.
    void createSeeded(const QString &changes = QString()) {
        createFrom(QStringLiteral("standard"));
        ASSERT_EQ(targetRun(FaBaseSeed()), QString());
        if (!changes.isEmpty()) {
            ASSERT_EQ(targetRun(changes), QString());
        }
    }
    // createSeeded, then the step with the settings' option (0 everything,
    // 1 balances only); a failed step fails the case.
    void upgradeSeeded(int option, const QString &changes = QString()) {
        createSeeded(changes);
        setOption(option);
        clsEboFa stage;
        ASSERT_EQ(upgrade(stage), 0) << newLogRows().join(QLatin1Char('\n')).toStdString();
    }
};
