#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "support/QtApp.h"
#include "wizard/TitleButtons.h"

namespace {

using State = TitleButtons::State;

// The box as the title bar paints it, 81 x 113 pixels.
QImage paintBox(State close, State minimize) {
    QImage img(81, 113, QImage::Format_RGB32);
    img.fill(QColor(49, 113, 206));
    QPainter p(&img);
    TitleButtons::paint(p, close, minimize);
    return img;
}

struct AreaCase {
    const char *name;
    double x, y;
    bool close, minimize;
};
void PrintTo(const AreaCase &c, std::ostream *os) { *os << c.name; }
class TitleButtonsArea : public ::testing::TestWithParam<AreaCase> {};

TEST_P(TitleButtonsArea, HasStrictBounds) {
    const AreaCase &c = GetParam();
    EXPECT_EQ(TitleButtons::inCloseArea(c.x, c.y), c.close);
    EXPECT_EQ(TitleButtons::inMinimizeArea(c.x, c.y), c.minimize);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TitleButtonsArea,
    ::testing::Values(
        AreaCase{"closeLeftBound", 630, 200, false, false}, AreaCase{"closeJustInsideLeft", 631, 200, true, false},
        AreaCase{"closeRightBound", 1040, 200, false, false}, AreaCase{"closeJustInsideRight", 1039, 200, true, false},
        AreaCase{"closeTopBound", 800, 75, false, false}, AreaCase{"closeBottomBound", 800, 315, false, false},
        AreaCase{"closeInside", 800, 200, true, false}, AreaCase{"closeRightFrameOutside", 1050, 200, false, false},
        AreaCase{"minLeftBound", 50, 200, false, false}, AreaCase{"minRightBound", 570, 200, false, false},
        AreaCase{"minJustInsideRight", 569.9, 200, false, true},
        AreaCase{"minLeftOfDrawnButton", 100, 200, false, true}, AreaCase{"minTopBound", 300, 75, false, false},
        AreaCase{"minBottomBound", 300, 315, false, false}, AreaCase{"gapBetweenButtons", 600, 200, false, false},
        AreaCase{"belowButtons", 800, 600, false, false}));

TEST(TitleButtons, StateFollowsTheTwoFlags) {
    EXPECT_EQ(TitleButtons::stateOf(false, false), State::Normal);
    EXPECT_EQ(TitleButtons::stateOf(false, true), State::Normal);
    EXPECT_EQ(TitleButtons::stateOf(true, false), State::Hot);
    EXPECT_EQ(TitleButtons::stateOf(true, true), State::Pressed);
}

// Pixels that look the same in every state: frames with cut corners, the
// inner edges, the glyphs and the gap around the buttons.
struct FixedPixel {
    const char *name;
    int x, y;
    QColor color;
};
void PrintTo(const FixedPixel &c, std::ostream *os) { *os << c.name; }
class TitleButtonsFixed : public ::testing::TestWithParam<FixedPixel> {};

TEST_P(TitleButtonsFixed, IsTheSameInEveryState) {
    ensureQtApp();
    const FixedPixel &c = GetParam();
    for (State close : {State::Normal, State::Hot, State::Pressed}) {
        for (State minimize : {State::Normal, State::Hot, State::Pressed}) {
            const QImage img = paintBox(close, minimize);
            EXPECT_EQ(QColor(img.pixel(c.x, c.y)), c.color) << int(close) << "/" << int(minimize);
        }
    }
}

const QColor kBox(49, 113, 206), kFrame(67, 20, 34), kInner(244, 211, 204), kOutline(83, 86, 102),
    kWhite(255, 255, 255);

INSTANTIATE_TEST_SUITE_P(
    Cases, TitleButtonsFixed,
    ::testing::Values(
        // Close button: columns 42 to 70, rows 5 to 21.
        FixedPixel{"closeCornerTopLeft", 42, 5, kBox}, FixedPixel{"closeCornerTopRight", 70, 5, kBox},
        FixedPixel{"closeCornerBottomLeft", 42, 21, kBox}, FixedPixel{"closeCornerBottomRight", 70, 21, kBox},
        FixedPixel{"closeFrameTop", 43, 5, kFrame}, FixedPixel{"closeFrameTopEnd", 69, 5, kFrame},
        FixedPixel{"closeFrameBottom", 55, 21, kFrame}, FixedPixel{"closeFrameLeft", 42, 6, kFrame},
        FixedPixel{"closeFrameLeftEnd", 42, 20, kFrame}, FixedPixel{"closeFrameRight", 70, 12, kFrame},
        FixedPixel{"closeInnerTop", 44, 6, kInner}, FixedPixel{"closeInnerTopEnd", 68, 6, kInner},
        FixedPixel{"closeInnerLeft", 43, 12, kInner}, FixedPixel{"closeInnerRight", 69, 6, kInner},
        FixedPixel{"closeInnerBottom", 43, 20, kInner}, FixedPixel{"closeInnerBottomEnd", 69, 20, kInner},
        FixedPixel{"crossOutlineTop", 58, 9, kOutline}, FixedPixel{"crossOutlineTip", 61, 10, kOutline},
        FixedPixel{"crossOutlineBottom", 52, 17, kOutline}, FixedPixel{"crossFillWhite", 59, 10, kWhite},
        FixedPixel{"crossFillWhiteCentre", 56, 12, kWhite}, FixedPixel{"crossFill233", 56, 13, QColor(233, 233, 233)},
        FixedPixel{"crossFill226", 56, 14, QColor(226, 226, 226)},
        FixedPixel{"crossFill220", 58, 15, QColor(220, 220, 220)},
        FixedPixel{"crossFill215", 59, 16, QColor(215, 215, 215)},
        // Minimise button: columns 10 to 39, rows 5 to 21.
        FixedPixel{"minCornerTopLeft", 10, 5, kBox}, FixedPixel{"minCornerTopRight", 39, 5, kBox},
        FixedPixel{"minCornerBottomRight", 39, 21, kBox}, FixedPixel{"minFrameTop", 11, 5, kFrame},
        FixedPixel{"minFrameLeft", 10, 12, kFrame}, FixedPixel{"minFrameRight", 39, 12, kFrame},
        FixedPixel{"minFrameBottom", 38, 21, kFrame}, FixedPixel{"minInnerTop", 12, 6, kInner},
        FixedPixel{"minInnerLeft", 11, 12, kInner}, FixedPixel{"minInnerRight", 38, 12, kInner},
        FixedPixel{"minInnerBottom", 11, 20, kInner}, FixedPixel{"barOutlineTop", 25, 13, kOutline},
        FixedPixel{"barOutlineBottom", 20, 17, kOutline}, FixedPixel{"barOutlineRight", 30, 15, kOutline},
        FixedPixel{"barOutlineLeft", 19, 15, kOutline}, FixedPixel{"barFillWhite", 25, 14, kWhite},
        FixedPixel{"barFill220", 20, 15, QColor(220, 220, 220)},
        FixedPixel{"barFill215", 29, 16, QColor(215, 215, 215)},
        // Around the buttons.
        FixedPixel{"gap", 40, 12, kBox}, FixedPixel{"gapRight", 41, 12, kBox}, FixedPixel{"leftOfMin", 9, 12, kBox},
        FixedPixel{"below", 50, 22, kBox}, FixedPixel{"farBelow", 60, 100, kBox}));

// The face: upper colour on rows 7 to 12, the seven-colour gradient on rows
// 13 to 19, at a column clear of the glyph.
struct FaceCase {
    const char *name;
    bool close;
    State state;
    QColor upper;
    QColor first, fourth, last;  // gradient rows 13, 16, 19
};
void PrintTo(const FaceCase &c, std::ostream *os) { *os << c.name; }
class TitleButtonsFace : public ::testing::TestWithParam<FaceCase> {};

TEST_P(TitleButtonsFace, TakesTheStateColours) {
    ensureQtApp();
    const FaceCase &c = GetParam();
    const QImage img = c.close ? paintBox(c.state, State::Normal) : paintBox(State::Normal, c.state);
    const int x = c.close ? 45 : 15;
    for (int y = 7; y <= 12; ++y) EXPECT_EQ(QColor(img.pixel(x, y)), c.upper) << y;
    EXPECT_EQ(QColor(img.pixel(x, 13)), c.first);
    EXPECT_EQ(QColor(img.pixel(x, 16)), c.fourth);
    EXPECT_EQ(QColor(img.pixel(x, 19)), c.last);
    // The face runs to its last column inside the inner edge.
    const int lastColumn = c.close ? 68 : 37;
    EXPECT_EQ(QColor(img.pixel(lastColumn, 8)), c.upper);
    EXPECT_EQ(QColor(img.pixel(c.close ? 44 : 12, 19)), c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TitleButtonsFace,
    ::testing::Values(
        FaceCase{"closeNormal", true, State::Normal, {228, 159, 146}, {184, 67, 44}, {197, 98, 79}, {213, 133, 118}},
        FaceCase{"closeHot", true, State::Hot, {252, 185, 173}, {210, 35, 2}, {218, 81, 33}, {232, 160, 86}},
        FaceCase{"closePressed", true, State::Pressed, {191, 143, 118}, {131, 24, 0}, {145, 67, 18}, {193, 147, 74}},
        FaceCase{"minNormal", false, State::Normal, {193, 211, 231}, {152, 177, 204}, {172, 197, 223}, {183, 208, 233}},
        FaceCase{"minHot", false, State::Hot, {150, 203, 239}, {45, 115, 163}, {44, 154, 208}, {36, 198, 235}},
        FaceCase{"minPressed", false, State::Pressed, {110, 136, 156}, {32, 59, 82}, {39, 135, 145}, {39, 201, 200}}));

TEST(TitleButtons, GradientRowsAreTheSevenColoursInOrder) {
    ensureQtApp();
    const QImage img = paintBox(State::Hot, State::Pressed);
    const QColor close[7] = {{210, 35, 2},  {210, 35, 2},   {213, 51, 13}, {218, 81, 33},
                             {218, 81, 33}, {224, 116, 57}, {232, 160, 86}};
    const QColor minimize[7] = {{32, 59, 82},   {31, 68, 91},   {35, 98, 115}, {39, 135, 145},
                                {39, 135, 145}, {43, 168, 172}, {39, 201, 200}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(QColor(img.pixel(66, 13 + i)), close[i]) << i;
        EXPECT_EQ(QColor(img.pixel(14, 13 + i)), minimize[i]) << i;
    }
}

}  // namespace
