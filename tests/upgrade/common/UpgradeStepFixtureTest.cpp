// The shared fixture itself: both samples give a target with staging copies
// and a log, and nothing logged after creation counts as new.
#include "kit/UpgradeStepFixture.h"

class UpgradeStepFixtureTest : public UpgradeStepFixture, public ::testing::WithParamInterface<const char *> {};

TEST_P(UpgradeStepFixtureTest, CreatesTheTargetWithStagingCopies) {
    createFrom(QString::fromLatin1(GetParam()));
    EXPECT_NE(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLAcct")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLAcct WHERE FZ8InterID IS NOT NULL")),
              QStringLiteral("0"));
    EXPECT_TRUE(newLogRows().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Samples, UpgradeStepFixtureTest, ::testing::Values("standard", "mini"));
