#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "controls/ProgressBar.h"
#include "support/QtApp.h"

namespace {

struct RangeCase {
    const char *name;
    int min, max, value;  // starting state, written Max, Min, Value in that order
    char prop;            // 'x' Max, 'n' Min, 'v' Value
    int written;
    int expMin, expMax, expValue;
};

void PrintTo(const RangeCase &c, std::ostream *os) { *os << c.name; }

class ProgressBarRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ProgressBarRange, ClampsAsSpecified) {
    ensureQtApp();
    const RangeCase &c = GetParam();
    ProgressBar bar;
    bar.setMax(c.max);
    bar.setMin(c.min);
    bar.setValue(c.value);
    if (c.prop == 'x') bar.setMax(c.written);
    if (c.prop == 'n') bar.setMin(c.written);
    if (c.prop == 'v') bar.setValue(c.written);
    EXPECT_EQ(bar.Min(), c.expMin);
    EXPECT_EQ(bar.Max(), c.expMax);
    EXPECT_EQ(bar.Value(), c.expValue);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgressBarRange,
                         ::testing::Values(RangeCase{"max0", 0, 100, 50, 'x', 0, 0, 1, 1},
                                           RangeCase{"maxNegative", 0, 100, 50, 'x', -7, 0, 1, 1},
                                           RangeCase{"maxNotAboveMin", 10, 100, 50, 'x', 10, 10, 11, 11},
                                           RangeCase{"maxBelowValue", 0, 100, 80, 'x', 50, 0, 50, 50},
                                           RangeCase{"minAtMax", 0, 50, 50, 'n', 60, 49, 50, 50},
                                           RangeCase{"minNegative", 0, 100, 50, 'n', -5, 0, 100, 50},
                                           RangeCase{"minAboveValue", 0, 100, 10, 'n', 20, 20, 100, 20},
                                           RangeCase{"valueAboveMax", 0, 100, 50, 'v', 150, 0, 100, 100},
                                           RangeCase{"valueBelowMin", 5, 100, 50, 'v', -3, 5, 100, 5}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ProgressBarModel, CaptionAndTextAreOneText) {
    ensureQtApp();
    ProgressBar bar;
    QSignalSpy spy(&bar, &ProgressBar::propertyChanged);
    bar.setCaption("abc");
    EXPECT_EQ(bar.Text(), "abc");
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), "Text");
}

TEST(ProgressBarModel, EveryWriteRedrawsAndMaxCascadesToValue) {
    ensureQtApp();
    ProgressBar bar;
    bar.setValue(80);
    QSignalSpy spy(&bar, &ProgressBar::propertyChanged);
    const int before = bar.redrawCount();
    bar.setMax(50);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), "Value");
    EXPECT_EQ(spy.at(1).at(0).toString(), "Max");
    EXPECT_EQ(bar.redrawCount() - before, 2);
}

}  // namespace
