#include <QPalette>
#include <gtest/gtest.h>

#include "controls/ColourMath.h"
#include "support/QtApp.h"

namespace {

using colour::rgb;

struct ShiftCase {
    const char *name;
    colour::Value in;
    float factor;
    colour::Value out;
};

class ShiftColour : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftColour, UsesTheSinglePrecisionFactor) {
    const ShiftCase &c = GetParam();
    EXPECT_EQ(colour::shift(c.in, c.factor), c.out);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShiftColour,
                         ::testing::Values(ShiftCase{"blackBy03", rgb(0, 0, 0), 0.3f, rgb(77, 77, 77)},
                                           ShiftCase{"blackBy01", rgb(0, 0, 0), 0.1f, rgb(26, 26, 26)},
                                           ShiftCase{"frameOfMainButtons", rgb(76, 132, 203), -0.34f, rgb(0, 45, 116)},
                                           ShiftCase{"lightenClampsAt255", rgb(250, 10, 0), 0.09f, rgb(255, 33, 23)},
                                           ShiftCase{"by009", rgb(76, 132, 203), 0.09f, rgb(99, 155, 226)},
                                           ShiftCase{"by007", rgb(76, 132, 203), 0.07f, rgb(94, 150, 221)}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ColourMath, MeanRoundsHalvesToEven) {
    EXPECT_EQ(colour::mean(rgb(240, 241, 0), rgb(241, 242, 1)), rgb(240, 242, 0));
    EXPECT_EQ(colour::mean(rgb(99, 155, 226), rgb(255, 255, 255)), rgb(177, 205, 240));
}

TEST(ColourMath, GreyAndLighten) {
    EXPECT_EQ(colour::grey(rgb(203, 57, 57)), rgb(106, 106, 106));
    EXPECT_EQ(colour::lighten(rgb(0, 100, 200), 180), rgb(180, 255, 255));
    EXPECT_EQ(colour::lighten(rgb(0, 100, 200), 80), rgb(80, 180, 255));
}

TEST(ColourMath, TranslateSystemReferences) {
    ensureQtApp();
    const QPalette pal = QGuiApplication::palette();
    EXPECT_EQ(colour::translate(colour::systemRef(15)), colour::fromQColor(pal.color(QPalette::Button)));
    EXPECT_EQ(colour::translate(colour::systemRef(18)), colour::fromQColor(pal.color(QPalette::ButtonText)));
    EXPECT_EQ(colour::translate(rgb(1, 2, 3)), rgb(1, 2, 3));
    EXPECT_EQ(colour::translate(colour::systemRef(99)), colour::kInvalid);
}

}  // namespace
