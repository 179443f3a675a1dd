#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "controls/zqbutton.h"
#include "WidgetSize.h"
#include "support/QtApp.h"

namespace {

using colour::rgb;

colour::Value at(const zqbutton &b, int x, int y) { return colour::fromQColor(QColor(b.image().pixel(x, y))); }

// A channel of the gradient ramp: c1 + (c2 - c1) * i div n, truncating.
colour::Value rampAt(colour::Value c1, colour::Value c2, int i, int n) {
    auto ch = [&](int a, int b) { return a + (b - a) * i / n; };
    return rgb(ch(colour::red(c1), colour::red(c2)), ch(colour::green(c1), colour::green(c2)),
               ch(colour::blue(c1), colour::blue(c2)));
}

void hover(zqbutton &b) {
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&b, &move);
}

void press(zqbutton &b) {
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&b, &down);
}

struct Style8Case {
    const char *name;
    colour::Value back;
    int state;
    colour::Value top1, top2, bottom1, bottom2, frame;
};

void PrintTo(const Style8Case &c, std::ostream *os) { *os << c.name; }

class Style8Face : public ::testing::TestWithParam<Style8Case> {};

TEST_P(Style8Face, BandsAndFrameAtHeight23) {
    ensureQtApp();
    const Style8Case &c = GetParam();
    zqbutton b;
    b.setButtonStyle(8);
    b.setBackColor(c.back);
    b.setCaption("OK");
    resizeNow(b, 75, 23);
    if (c.state >= 1) hover(b);
    if (c.state == 2) press(b);
    ASSERT_EQ(b.ButtonState(), c.state);
    // Upper band rows 0..8 (S = 9), lower band rows 9..22 (L = 14); column 2
    // stays clear of the centred caption.
    for (int row = 1; row <= 8; ++row) EXPECT_EQ(at(b, 2, row), rampAt(c.top1, c.top2, row, 8)) << "row " << row;
    for (int row = 9; row <= 21; ++row)
        EXPECT_EQ(at(b, 2, row), rampAt(c.bottom1, c.bottom2, row - 9, 13)) << "row " << row;
    EXPECT_EQ(at(b, 2, 8), c.top2);
    EXPECT_EQ(at(b, 2, 9), c.bottom1);
    for (const QPoint p : {QPoint(0, 0), QPoint(40, 0), QPoint(74, 11), QPoint(74, 22), QPoint(0, 22)})
        EXPECT_EQ(at(b, p.x(), p.y()), c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Style8Face,
    ::testing::Values(Style8Case{"mainWindowNormal", rgb(76, 132, 203), 0, rgb(177, 205, 240), rgb(85, 141, 212),
                                 rgb(76, 132, 203), rgb(84, 140, 211), rgb(0, 45, 116)},
                      Style8Case{"mainWindowHot", rgb(76, 132, 203), 1, rgb(255, 255, 225), rgb(255, 234, 172),
                                 rgb(255, 215, 103), rgb(255, 228, 153), rgb(0, 45, 116)},
                      Style8Case{"mainWindowPressed", rgb(76, 132, 203), 2, rgb(255, 193, 88), rgb(255, 175, 81),
                                 rgb(255, 143, 70), rgb(255, 211, 95), rgb(0, 45, 116)},
                      Style8Case{"storedColourNormal", rgb(173, 209, 255), 0, rgb(226, 244, 255), rgb(182, 218, 255),
                                 rgb(173, 209, 255), rgb(181, 217, 255), rgb(86, 122, 168)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(zqbuttonDrawing, Style8BandSplit) {
    ensureQtApp();
    struct Case {
        int h, upperRows;
    };
    for (const Case c : {Case{23, 9}, Case{25, 9}, Case{27, 10}}) {
        SCOPED_TRACE(c.h);
        zqbutton b;
        b.setButtonStyle(8);
        b.setCaption("");
        resizeNow(b, 40, c.h);
        const colour::Value B = b.BackColor();
        EXPECT_EQ(at(b, 5, c.upperRows), B);      // first row of the lower band
        EXPECT_NE(at(b, 5, c.upperRows - 1), B);  // last row of the upper band
        EXPECT_EQ(at(b, 5, c.h - 2), rampAt(B, colour::shift(B, 0.03f), c.h - 2 - c.upperRows, c.h - c.upperRows - 1));
    }
}

TEST(zqbuttonDrawing, SetCheckButtonShowsSetColoursAndDownWhileOver) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(8);
    b.setCaption("");
    resizeNow(b, 60, 23);
    b.setMode(1);
    b.setValue(true);
    EXPECT_EQ(at(b, 3, 1), rampAt(rgb(255, 217, 169), rgb(255, 192, 111), 1, 8));
    hover(b);
    EXPECT_EQ(at(b, 3, 1), rampAt(rgb(255, 193, 88), rgb(255, 175, 81), 1, 8));
}

TEST(zqbuttonDrawing, UnknownStyleLeavesTheSurfaceCleared) {
    ensureQtApp();
    zqbutton b;
    resizeNow(b, 40, 20);
    b.setButtonStyle(42);
    const colour::Value face = colour::translate(colour::systemRef(15));
    EXPECT_EQ(at(b, 0, 0), face);
    EXPECT_EQ(at(b, 20, 10), face);
}

TEST(zqbuttonDrawing, Style4IsFlatUntilTheCursorComes) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(4);
    b.setBackColor(rgb(10, 200, 10));
    b.setCaption("");
    resizeNow(b, 50, 20);
    EXPECT_EQ(at(b, 5, 5), rgb(10, 200, 10));
    hover(b);
    EXPECT_EQ(at(b, 5, 5), rgb(201, 218, 246));
    EXPECT_EQ(at(b, 0, 0), rgb(49, 106, 197));
}

TEST(zqbuttonDrawing, RoundedStylesClipTheirCorners) {
    ensureQtApp();
    zqbutton b;
    resizeNow(b, 50, 20);
    b.setButtonStyle(9);
    EXPECT_FALSE(b.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(b.mask().contains(QPoint(1, 0)));
    b.setButtonStyle(8);
    EXPECT_TRUE(b.mask().isEmpty());
}

TEST(zqbuttonDrawing, CentredCaptionUsesWholeNumberHalves) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(8);
    b.setCaption("Next");
    resizeNow(b, 75, 23);
    const QFontMetrics fm(b.Font(), &b.image());
    const QRect text = fm.boundingRect(QRect(0, 0, 75 - 8, 23), Qt::TextWordWrap | Qt::TextShowMnemonic, "Next");
    EXPECT_EQ(b.CaptionRect(), QRect((75 - text.width()) / 2, (23 - text.height()) / 2, text.width(), text.height()));
}

TEST(zqbuttonDrawing, PictureBesideACentredCaption) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(8);
    b.setCaption("Next");
    resizeNow(b, 100, 23);
    const QRect plain = b.CaptionRect();
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::black);
    b.setPictureNormal(ButtonPicture(img));
    EXPECT_EQ(b.CaptionRect().left(), plain.left() + 8);
    EXPECT_EQ(b.PictureRect().left(), b.CaptionRect().left() - 20);
    EXPECT_EQ(b.PictureRect().top(), (23 - 16) / 2);
    b.setCaption("   ");
    b.setPictureAlign(6);  // a blank caption centres the picture
    EXPECT_EQ(b.PictureRect().topLeft(), QPoint((100 - 16) / 2, (23 - 16) / 2));
}

TEST(zqbuttonDrawing, PictureOpacityBlendsByWholeNumberDivision) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(4);  // flat face in the back colour
    b.setBackColor(rgb(255, 255, 255));
    b.setCaption("");
    resizeNow(b, 40, 30);
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::black);
    b.setPictureNormal(ButtonPicture(img));
    b.setPictureOpacity(128);
    const QPoint p = b.PictureRect().topLeft() + QPoint(2, 2);
    EXPECT_EQ(at(b, p.x(), p.y()), rgb(126, 126, 126));
    b.setEnabled(false);  // faded: alpha 52
    const int faded = (52 * 0 + 203 * 255) / 256;
    EXPECT_EQ(at(b, p.x(), p.y()), rgb(faded, faded, faded));
    b.setPictureOpacity(255);
    b.setDisabledPictureMode(1);  // grey at three quarters: alpha 191
    const int grey = (191 * 0 + 64 * 255) / 256;
    EXPECT_EQ(at(b, p.x(), p.y()), rgb(grey, grey, grey));
    b.setDisabledPictureMode(2);  // no picture at all
    EXPECT_EQ(at(b, p.x(), p.y()), rgb(255, 255, 255));
}

TEST(zqbuttonDrawing, MaskColourAndIconSquare) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(4);
    b.setBackColor(rgb(255, 255, 255));
    b.setCaption("");
    resizeNow(b, 40, 30);
    QImage img(6, 6, QImage::Format_RGB32);  // 18 bytes a row: padded rows must not skew
    img.fill(QColor(224, 224, 224));
    img.setPixel(5, 5, qRgb(0, 0, 0));
    b.setPictureNormal(ButtonPicture(img));
    const QPoint p = b.PictureRect().topLeft();
    EXPECT_EQ(at(b, p.x(), p.y()), rgb(255, 255, 255));  // mask colour is transparent
    EXPECT_EQ(at(b, p.x() + 5, p.y() + 5), rgb(0, 0, 0));
    QImage icon(6, 6, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    b.setUseMaskColor(false);
    b.setPictureNormal(ButtonPicture(icon, ButtonPicture::Icon));
    EXPECT_EQ(at(b, p.x() + 1, p.y() + 1), rgb(192, 192, 192));
}

TEST(zqbuttonDrawing, PushOnHoverLiftsThePicture) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(4);
    b.setBackColor(rgb(255, 255, 255));
    b.setColorScheme(3);
    b.setCaption("");
    resizeNow(b, 40, 30);
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::black);
    b.setPictureNormal(ButtonPicture(img));
    b.setPicturePushOnHover(true);
    b.setPictureEffectOnOver(0);
    hover(b);
    const QPoint p = b.PictureRect().topLeft();
    EXPECT_EQ(at(b, p.x() + 7, p.y() + 7), rgb(192, 192, 192));  // silhouette in place
    EXPECT_EQ(at(b, p.x() + 5, p.y() + 5), rgb(0, 0, 0));        // picture up and left
    EXPECT_EQ(at(b, p.x() - 2, p.y() - 2), rgb(0, 0, 0));
}

TEST(zqbuttonDrawing, DropDownSymbolRectangle) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(5);
    b.setDropDownSymbol(6);
    resizeNow(b, 80, 23);
    EXPECT_EQ(b.SymbolRect(), QRect(65, 4, 15, 16));
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&b, &down);
    EXPECT_EQ(b.SymbolRect(), QRect(66, 5, 15, 16));
    b.setButtonStyle(0);
    EXPECT_EQ(b.SymbolRect(), QRect(67, 6, 15, 16));
}

TEST(zqbuttonPrimitives, PaintGradientDirectionsAndDegenerateSizes) {
    ensureQtApp();
    zqbutton b;
    resizeNow(b, 40, 30);
    const colour::Value c1 = rgb(0, 100, 200), c2 = rgb(30, 40, 50);
    b.PaintGradient(0, 0, 10, 1, c1, c2, 1);  // one row: the halves of both ends
    EXPECT_EQ(at(b, 5, 0), rgb(15, 70, 125));
    b.PaintGradient(0, 2, 7, 4, c1, c2, 2);  // ramp of w + h - 2 = 9 steps
    EXPECT_EQ(at(b, 0, 2), c1);
    EXPECT_EQ(at(b, 6, 5), c2);
    EXPECT_EQ(at(b, 2, 3), rampAt(c1, c2, 3, 9));
    b.PaintGradient(10, 2, 7, 4, c1, c2, 3);  // from the bottom-left corner
    EXPECT_EQ(at(b, 10, 5), c1);
    EXPECT_EQ(at(b, 16, 2), c2);
    b.PaintGradient(20, 2, 5, 3, c1, c2, 0);
    EXPECT_EQ(at(b, 20, 3), c1);
    EXPECT_EQ(at(b, 24, 3), c2);
    const QImage before = b.image();
    b.PaintGradient(0, 0, 10, 0, c1, c2, 1);
    b.PaintGradient(0, 0, -3, 5, c1, c2, 0);
    b.PaintGradient(35, 25, 20, 20, c1, c2, 1);  // clipped at the edges
    EXPECT_EQ(b.image().copy(0, 0, 30, 20), before.copy(0, 0, 30, 20));
}

TEST(zqbuttonPrimitives, LinesLeaveOutTheirEndPointAndFramesStayInside) {
    ensureQtApp();
    zqbutton b;
    resizeNow(b, 20, 20);
    const colour::Value red = rgb(255, 0, 0), blue = rgb(0, 0, 255);
    b.FillButtonRect(rgb(0, 0, 0), QRect(0, 0, 20, 20));
    b.DrawButtonLine(2, 2, 8, 2, red);
    EXPECT_EQ(at(b, 7, 2), red);
    EXPECT_EQ(at(b, 8, 2), rgb(0, 0, 0));
    b.FrameButtonRect(10, 10, 5, 4, blue);
    EXPECT_EQ(at(b, 14, 13), blue);
    EXPECT_EQ(at(b, 15, 13), rgb(0, 0, 0));
    EXPECT_EQ(at(b, 12, 12), rgb(0, 0, 0));
    b.SetCornerPixels(red);
    EXPECT_EQ(at(b, 18, 18), red);
}

TEST(zqbuttonDrawing, CaptionAlignments) {
    ensureQtApp();
    struct Case {
        int align;
        bool dropDown;
        int left;  // expected left edge, given the text width tw
    };
    zqbutton b;
    b.setButtonStyle(8);
    b.setCaption(QString::fromUtf8("确定(&O)"));
    resizeNow(b, 120, 23);
    const int tw = b.CaptionRect().width();
    const Case cases[] = {
        {0, false, 2}, {1, false, (120 - tw) / 2},    {2, false, 120 - tw - 4},
        {0, true, 2},  {1, true, (120 - tw) / 2 - 8}, {2, true, 120 - tw - 4 - 16},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.align * 10 + c.dropDown);
        b.setDropDownSymbol(c.dropDown ? 6 : 0);
        b.setCaptionAlign(c.align);
        EXPECT_EQ(b.CaptionRect().left(), c.left);
        EXPECT_EQ(b.CaptionRect().width(), tw);
        EXPECT_EQ(b.CaptionRect().top(), (23 - b.CaptionRect().height()) / 2);
    }
}

TEST(zqbuttonDrawing, ChineseCaptionIsDrawnInsideItsRectangle) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(4);
    b.setBackColor(rgb(255, 255, 255));
    b.setForeColor(rgb(0, 0, 0));
    b.setCaption(QString::fromUtf8("选择账套"));
    resizeNow(b, 90, 23);
    const QRect r = b.CaptionRect();
    EXPECT_GT(r.width(), 20);
    int ink = 0, outside = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 90; ++x) {
            if (at(b, x, y) == rgb(255, 255, 255)) continue;
            (r.adjusted(-1, -1, 1, 1).contains(x, y) ? ink : outside)++;
        }
    EXPECT_GT(ink, 20);
    EXPECT_EQ(outside, 0);
}

}  // namespace
