#include <functional>

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "WidgetSize.h"
#include "controls/zqbutton.h"
#include "support/QtApp.h"

namespace {

using colour::rgb;

colour::Value at(const zqbutton &b, QPoint p) { return colour::fromQColor(QColor(b.image().pixel(p))); }

void mouse(zqbutton &b, QEvent::Type type, Qt::MouseButton button) {
    QMouseEvent ev(type, QPointF(3, 3), QPointF(3, 3), button, button, Qt::NoModifier);
    QApplication::sendEvent(&b, &ev);
}

enum Look { Normal, Hot, Down, Disabled, Set, SetHot };

struct Probe {
    QPoint at;
    colour::Value expected;
};

struct FaceCase {
    const char *name;
    int style;
    int scheme;  // -1: the style's own
    Look look;
    std::vector<Probe> probes;
};

void PrintTo(const FaceCase &c, std::ostream *os) { *os << c.name; }

class StyleFaces : public ::testing::TestWithParam<FaceCase> {};

// A 60 x 24 button without caption; B is its back colour after the style.
TEST_P(StyleFaces, PixelsAtKnownPoints) {
    ensureQtApp();
    const FaceCase &c = GetParam();
    zqbutton b;
    resizeNow(b, 60, 24);
    b.setCaption("");
    b.setButtonStyle(c.style);
    if (c.scheme >= 0) b.setColorScheme(c.scheme);
    if (c.look == Set || c.look == SetHot) {
        b.setMode(1);
        b.setValue(true);
    }
    if (c.look == Hot || c.look == Down || c.look == SetHot) mouse(b, QEvent::MouseMove, Qt::NoButton);
    if (c.look == Down) mouse(b, QEvent::MouseButtonPress, Qt::LeftButton);
    if (c.look == Disabled) b.setEnabled(false);
    for (const Probe &p : c.probes)
        EXPECT_EQ(at(b, p.at), colour::translate(p.expected)) << "at " << p.at.x() << "," << p.at.y();
}

// System colours are read when a case runs, once the application exists.
constexpr colour::Value kFace = colour::systemRef(15);
constexpr colour::Value kGreyText = colour::systemRef(17);
const colour::Value kWhite = rgb(255, 255, 255);
const colour::Value k9 = rgb(213, 214, 225);  // style 9 in its scheme 2
const colour::Value k8 = rgb(173, 209, 255);

INSTANTIATE_TEST_SUITE_P(
    Cases, StyleFaces,
    ::testing::Values(
        FaceCase{
            "style1Pressed",
            1,
            -1,
            Down,
            {{{0, 10}, kGreyText}, {{10, 0}, kGreyText}, {{59, 10}, kWhite}, {{10, 23}, kWhite}, {{10, 10}, kFace}}},
        FaceCase{"style2Scheme1Frame",
                 2,
                 1,
                 Normal,
                 {{{20, 0}, rgb(55, 98, 6)}, {{1, 1}, colour::shift(rgb(55, 98, 6), 0.3f)}}},
        FaceCase{"style2Hot",
                 2,
                 -1,
                 Hot,
                 {{{20, 2}, rgb(253, 216, 137)},
                  {{20, 1}, rgb(255, 240, 207)},
                  {{20, 22}, rgb(229, 151, 0)},
                  {{20, 0}, rgb(0, 60, 116)}}},
        FaceCase{"style3Normal",
                 3,
                 -1,
                 Normal,
                 {{{20, 0}, rgb(112, 112, 112)}, {{20, 1}, kWhite}, {{1, 1}, rgb(95, 150, 190)}}},
        FaceCase{
            "style5SetGetsOrange",
            5,
            -1,
            Set,
            {{{20, 0}, rgb(0, 0, 128)}, {{20, 1}, rgb(255, 213 + (173 - 213) * 1 / 23, 140 + (85 - 140) * 1 / 23)}}},
        FaceCase{"style5SetUnderTheCursor",
                 5,
                 -1,
                 SetHot,
                 {{{20, 1}, rgb(254, 145 + (211 - 145) * 1 / 23, 78 + (142 - 78) * 1 / 23)}}},
        FaceCase{"style7Hot",
                 7,
                 -1,
                 Hot,
                 {{{20, 0}, rgb(97, 158, 202)}, {{20, 1}, kWhite}, {{1, 1}, colour::shift(rgb(97, 158, 202), 0.3f)}}},
        FaceCase{"style9NormalEqualsHot",
                 9,
                 -1,
                 Hot,
                 {{{20, 0}, colour::shift(k9, -0.2f)},
                  {{20, 1}, kWhite},
                  {{20, 20}, k9},
                  {{20, 23}, colour::shift(k9, -0.25f)},
                  {{1, 1}, colour::shift(k9, 0.05f)}}},
        FaceCase{"style9Disabled", 9, -1, Disabled, {{{20, 0}, colour::shift(k9, -0.2f)}, {{20, 20}, k9}}},
        FaceCase{
            "style9Pressed", 9, -1, Down, {{{20, 0}, colour::shift(k9, -0.23f)}, {{20, 23}, colour::shift(k9, -0.4f)}}},
        FaceCase{"style10Normal",
                 10,
                 -1,
                 Normal,
                 {{{20, 0}, colour::shift(k8, -0.33f)},
                  {{1, 1}, colour::shift(k8, -0.36f)},
                  {{20, 5}, colour::shift(k8, -0.03f)}}},
        FaceCase{"style0DisabledIsEdgesOnly", 0, -1, Disabled, {{{20, 10}, kFace}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(StyleFaces, Style6OverwritesForeColorAtEveryRepaint) {
    ensureQtApp();
    zqbutton b;
    resizeNow(b, 60, 24);
    b.setButtonStyle(6);
    b.setForeColor(rgb(1, 2, 3));
    EXPECT_EQ(b.ForeColor(), colour::translate(colour::systemRef(18)));
    mouse(b, QEvent::MouseMove, Qt::NoButton);
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(b.ForeColor(), kWhite);
}

TEST(StyleFaces, ThemedStyleUsesTheWidgetStyle) {
    ensureQtApp();
    zqbutton b;
    resizeNow(b, 60, 24);
    EXPECT_EQ(b.ButtonStyle(), 13);
    b.RedrawButton();
    EXPECT_EQ(b.ButtonStyle(), 13);  // a widget style is always there to draw it
}

}  // namespace
