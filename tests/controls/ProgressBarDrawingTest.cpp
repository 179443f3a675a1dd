#include <cmath>

#include <QFontMetrics>
#include <gtest/gtest.h>

#include "controls/ProgressBar.h"
#include "support/QtApp.h"

namespace {

using colour::rgb;

colour::Value at(const ProgressBar &bar, int x, int y) { return colour::fromQColor(QColor(bar.image().pixel(x, y))); }

// Interior of a gradient: within one step of the linear value.
void expectNear(colour::Value got, double r, double g, double b) {
    EXPECT_NEAR(colour::red(got), r, 1.0);
    EXPECT_NEAR(colour::green(got), g, 1.0);
    EXPECT_NEAR(colour::blue(got), b, 1.0);
}

double lerp(int a, int b, double t) { return a + (b - a) * t; }

struct Bar : ProgressBar {
    Bar(int w, int h) {
        setTextEffect(0);  // no text over the sampled pixels
        resize(w, h);
    }
};

TEST(ProgressBarDrawing, RoundedThemedBarAtZeroHalfAndFull) {
    ensureQtApp();
    for (int value : {0, 50, 100}) {
        SCOPED_TRACE(value);
        Bar bar(200, 21);
        bar.setTheme(8);
        bar.setBarType(1);
        bar.setValue(value);
        const int fill = 2 * value;
        // Middle line h = 10: the lower gradients start there at the inner colour.
        EXPECT_EQ(at(bar, 150, 10), value == 100 ? rgb(148, 182, 222) : rgb(237, 247, 253));
        if (value >= 50) {
            EXPECT_EQ(at(bar, fill - 1, 10), rgb(148, 182, 222));
        }
        if (value == 50) {
            EXPECT_EQ(at(bar, fill, 10), rgb(237, 247, 253));
        }
        // Row 5 lies halfway down the upper gradients (outer -> inner over 10 rows).
        const double t = 5 / 10.0;
        if (value >= 50) {
            expectNear(at(bar, 20, 5), lerp(49, 148, t), lerp(113, 182, t), lerp(206, 222, t));
        } else {
            expectNear(at(bar, 20, 5), lerp(148, 237, t), lerp(182, 247, t), lerp(222, 253, t));
        }
        // Outline in the border colour over columns 0..W-2 and rows 0..H-2.
        EXPECT_EQ(at(bar, 100, 0), rgb(23, 139, 211));
        EXPECT_EQ(at(bar, 100, 19), rgb(23, 139, 211));
        EXPECT_EQ(at(bar, 198, 10), rgb(23, 139, 211));
        // The widget is clipped to the rounded outline.
        EXPECT_FALSE(bar.mask().contains(QPoint(0, 0)));
        EXPECT_TRUE(bar.mask().contains(QPoint(100, 10)));
    }
}

TEST(ProgressBarDrawing, FlatHorizontalAndVerticalFills) {
    ensureQtApp();
    Bar h(100, 20);
    h.setTheme(1);
    h.setValue(30);
    EXPECT_EQ(at(h, 29, 0), rgb(203, 166, 57));   // fill top colour C6
    EXPECT_EQ(at(h, 30, 0), rgb(233, 227, 211));  // background C1
    expectNear(at(h, 10, 10), lerp(203, 237, 0.5), lerp(166, 224, 0.5), lerp(57, 187, 0.5));
    EXPECT_TRUE(h.mask().isEmpty());

    Bar v(20, 100);
    v.setTheme(1);
    v.setOrientations(2);
    v.setValue(25);
    EXPECT_EQ(at(v, 10, 24), rgb(239, 213, 133));  // C5 from the top
    EXPECT_EQ(at(v, 10, 25), rgb(233, 227, 211));
}

TEST(ProgressBarDrawing, ValueBelowOneDrawsBackgroundOnly) {
    ensureQtApp();
    Bar bar(100, 20);
    bar.setValue(0);
    EXPECT_EQ(at(bar, 0, 5), rgb(233, 227, 211));
    bar.setMin(50);
    bar.setValue(50);  // percent counts from zero: half filled
    EXPECT_EQ(at(bar, 49, 0), rgb(203, 166, 57));
    EXPECT_EQ(at(bar, 50, 0), rgb(233, 227, 211));
}

TEST(ProgressBarDrawing, DisabledBarIsGrey) {
    ensureQtApp();
    Bar bar(100, 20);
    bar.setTheme(7);
    bar.setValue(100);
    bar.setEnabled(false);
    EXPECT_EQ(at(bar, 50, 0), rgb(106, 106, 106));  // C6 (203, 57, 57) as grey
    EXPECT_EQ(bar.themeColours()[6], rgb(203, 57, 57));
}

TEST(ProgressBarDrawing, CustomThemeAndUnknownThemeKeepsColours) {
    ensureQtApp();
    Bar bar(100, 20);
    bar.setPBSCustomeColor1(rgb(0, 100, 200));
    bar.setTheme(10);
    EXPECT_EQ(bar.themeColours()[4], rgb(180, 255, 255));
    EXPECT_EQ(bar.themeColours()[5], rgb(50, 150, 250));
    EXPECT_EQ(bar.themeColours()[7], rgb(80, 180, 255));
    bar.setTheme(42);
    EXPECT_EQ(bar.themeColours()[5], rgb(50, 150, 250));
}

// Bounding box of the pixels that differ from the background colour.
QRect inkBox(const QImage &img, QRgb background) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(ProgressBarDrawing, TextsLandAtTheirPositions) {
    ensureQtApp();
    ProgressBar bar;
    bar.resize(300, 30);
    bar.setValue(0);
    bar.setTextEffect(1);
    bar.setTextStyle(3);
    bar.setTextAlignment(4);  // top centre
    bar.setText("MMMM");
    const QRgb bg = bar.image().pixel(0, 29);
    QRect box = inkBox(bar.image(), bg);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_LT(std::abs(box.center().x() - 149), 4);
    EXPECT_LT(box.top(), 10);
    bar.setTextStyle(0);
    bar.setText2("100%");  // always middle right
    box = inkBox(bar.image(), bg);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_GT(box.left(), 200);
    EXPECT_LE(box.right(), 297);
    bar.setTextEffect(6);  // no text at all
    EXPECT_TRUE(inkBox(bar.image(), bg).isEmpty());
}

TEST(ProgressBarDrawing, FourColourGradientRunsDownBothEdges) {
    QImage img(10, 5, QImage::Format_RGB32);
    img.fill(Qt::black);
    ProgressBar::DrawGradientFourColour(img, 0, 0, 10, 5, rgb(0, 0, 0), rgb(200, 0, 0), rgb(0, 100, 0),
                                        rgb(200, 100, 0));
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(img.pixel(0, 4)).green(), 80);  // 100 * 4 / 5 at the last row
    EXPECT_NEAR(QColor(img.pixel(5, 0)).red(), 100, 1);
}

TEST(ProgressBarDrawing, MainTextByStyle) {
    ensureQtApp();
    ProgressBar bar;
    bar.setText("title");
    bar.setMax(3);
    bar.setValue(1);
    const std::pair<int, QString> cases[] = {{1, "1"}, {2, "33.3333333333333%"}, {3, "title"}, {0, ""}, {4, ""}};
    for (const auto &[style, text] : cases) {
        bar.setTextStyle(style);
        EXPECT_EQ(bar.mainText(), text) << style;
    }
    bar.setMax(100);
    bar.setMin(50);
    bar.setValue(50);
    bar.setTextStyle(2);
    EXPECT_EQ(bar.mainText(), "50%");  // counted from zero, not from Min
}

TEST(ProgressBarDrawing, NineTextPositions) {
    ensureQtApp();
    ProgressBar bar;
    bar.resize(201, 31);
    const QFontMetrics fm(bar.TextFont(), &bar);
    const QString t = "Wg";
    const double tw = fm.horizontalAdvance(t), th = fm.height();
    auto rnd = [](double v) { return int(std::nearbyint(v)); };
    const int xs[] = {1, rnd(201 / 2.0 - tw / 2 - 1), rnd(201 - tw - 3)};
    const int ys[] = {0, rnd(31 / 2.0 - th / 2 - 1), rnd(31 - th - 1)};
    for (int a = 1; a <= 9; ++a) EXPECT_EQ(bar.textOrigin(t, a), QPoint(xs[(a - 1) / 3], ys[(a - 1) % 3])) << a;
    EXPECT_EQ(bar.textOrigin(t, 0), QPoint(0, 0));
    EXPECT_EQ(bar.textOrigin(t, 10), QPoint(0, 0));
}

}  // namespace
