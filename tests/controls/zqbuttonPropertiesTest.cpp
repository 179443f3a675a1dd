#include <functional>

#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "controls/zqbutton.h"
#include "support/QtApp.h"

namespace {

using colour::rgb;

QStringList notices(const QSignalSpy &spy) {
    QStringList out;
    for (const auto &args : spy) out << args.at(0).toString();
    return out;
}

ButtonPicture picture(int size = 16, QRgb fill = qRgb(0, 0, 0)) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(fill);
    return ButtonPicture(img);
}

struct SetterCase {
    const char *name;
    std::function<void(zqbutton &)> write;
    QStringList expectedNotices;
    bool redraws;
};

void PrintTo(const SetterCase &c, std::ostream *os) { *os << c.name; }

class zqbuttonSetters : public ::testing::TestWithParam<SetterCase> {};

TEST_P(zqbuttonSetters, NotifyUnderTheirNamesAndRedrawWhereTheLookChanges) {
    ensureQtApp();
    const SetterCase &c = GetParam();
    zqbutton b;
    b.setPictureNormal(picture());
    QSignalSpy spy(&b, &zqbutton::propertyChanged);
    const int before = b.redrawCount();
    c.write(b);
    EXPECT_EQ(notices(spy), c.expectedNotices);
    EXPECT_EQ(b.redrawCount() > before, c.redraws);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, zqbuttonSetters,
    ::testing::Values(
        SetterCase{"backColor", [](zqbutton &b) { b.setBackColor(1); }, {"BackColor"}, true},
        SetterCase{"caption", [](zqbutton &b) { b.setCaption("x"); }, {"Caption"}, true},
        SetterCase{"mode", [](zqbutton &b) { b.setMode(1); }, {"Value", "Mode"}, true},
        SetterCase{"font", [](zqbutton &b) { b.setFont(QFont()); }, {"Font", "Font"}, true},
        SetterCase{"tooltipBack", [](zqbutton &b) { b.setTooltipBackColor(5); }, {"TooltipBackcolor"}, true},
        SetterCase{"tooltipIcon", [](zqbutton &b) { b.setToolTipIcon(2); }, {"TooltipIcon"}, true},
        SetterCase{"showFocusRect", [](zqbutton &b) { b.setShowFocusRect(true); }, {"ShowFocusRect"}, false},
        SetterCase{"mousePointer", [](zqbutton &b) { b.setMousePointer(2); }, {"MousePointer"}, false},
        SetterCase{
            "mouseIcon", [](zqbutton &b) { b.setMouseIcon(QPixmap(8, 8)); }, {"HandPointer", "MouseIcon"}, false},
        SetterCase{"pushValueOnly", [](zqbutton &b) { b.setValue(true); }, {}, true},
        SetterCase{"pictureNormalNothing",
                   [](zqbutton &b) { b.setPictureNormal(ButtonPicture()); },
                   {"PictureHot", "PictureDown"},
                   true},
        SetterCase{"pictureHot", [](zqbutton &b) { b.setPictureHot(picture(8)); }, {"PictureHot"}, true},
        SetterCase{"colorScheme", [](zqbutton &b) { b.setColorScheme(2); }, {"ColorScheme"}, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(zqbuttonProperties, NewControlIsThemedWithoutFocusRectangle) {
    ensureQtApp();
    zqbutton b;
    EXPECT_EQ(b.ButtonStyle(), 13);
    EXPECT_FALSE(b.ShowFocusRect());
    EXPECT_EQ(b.Caption(), "zqbutton1");
    EXPECT_EQ(b.ColorScheme(), 0);
    EXPECT_EQ(b.PictureOpacity(), 255);
    EXPECT_EQ(b.CaptionAlign(), 1);
    EXPECT_EQ(b.MaskColor(), rgb(224, 224, 224));
    EXPECT_EQ(b.ForeColor(), colour::translate(colour::systemRef(18)));
}

TEST(zqbuttonProperties, BackColorSelectsTheCustomSchemeExceptInStyle4) {
    ensureQtApp();
    zqbutton b;
    b.setButtonStyle(8);
    EXPECT_EQ(b.ColorScheme(), 0);
    EXPECT_EQ(b.BackColor(), rgb(173, 209, 255));
    b.setBackColor(rgb(76, 132, 203));
    EXPECT_EQ(b.ColorScheme(), 3);
    b.setButtonStyle(4);
    EXPECT_EQ(b.ColorScheme(), 0);
    b.setBackColor(rgb(1, 2, 3));
    EXPECT_EQ(b.ColorScheme(), 0);
    EXPECT_TRUE(b.PicturePushOnHover());
}

struct StyleDefaults {
    int style;
    int scheme;
    colour::Value back;
    bool focusRect;
};

TEST(zqbuttonProperties, StyleSetsSchemeColoursAndFocusRectangle) {
    ensureQtApp();
    const colour::Value face = colour::translate(colour::systemRef(15));
    const StyleDefaults cases[] = {
        {0, 0, face, true},
        {1, 0, face, true},
        {2, 0, rgb(236, 235, 231), false},
        {3, 2, colour::shift(rgb(212, 212, 212), 0.06f), false},
        {8, 0, rgb(173, 209, 255), false},
        {9, 2, rgb(213, 214, 225), true},
        {10, 0, rgb(173, 209, 255), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.style);
        zqbutton b;
        b.setForeColor(rgb(9, 9, 9));
        b.setButtonStyle(c.style);
        EXPECT_EQ(b.ColorScheme(), c.scheme);
        EXPECT_EQ(b.BackColor(), c.back);
        EXPECT_EQ(b.ShowFocusRect(), c.focusRect);
        EXPECT_EQ(b.ForeColor(), colour::translate(colour::systemRef(18)));
    }
    zqbutton five;
    five.setColorScheme(1);
    five.setButtonStyle(5);  // keeps its scheme
    EXPECT_EQ(five.ColorScheme(), 1);
    EXPECT_EQ(five.BackColor(), rgb(212, 214, 186));
}

TEST(zqbuttonProperties, ModeAndValue) {
    ensureQtApp();
    zqbutton b;
    b.setValue(true);  // a push button stores nothing
    EXPECT_FALSE(b.Value());
    b.setMode(1);
    b.setValue(true);
    EXPECT_TRUE(b.Value());
    EXPECT_EQ(b.ButtonState(), 2);  // a set check button is drawn pressed
    b.setButtonStyle(0);
    b.setValue(false);
    b.setValue(true);
    EXPECT_EQ(b.ButtonState(), 0);  // except in styles 0 and 6
    b.setMode(0);
    EXPECT_EQ(b.ButtonState(), 0);
    EXPECT_TRUE(b.Value());  // Value keeps what it held
}

TEST(zqbuttonProperties, PicturesFallBackToTheNormalOne) {
    ensureQtApp();
    zqbutton b;
    b.setPictureDown(picture(8));
    EXPECT_FALSE(b.PictureNormal().isNull());
    EXPECT_TRUE(b.PictureDown().isNull());
    b.setPictureHot(picture(10));
    b.setPictureDown(picture(12));
    EXPECT_EQ(b.PictureHot().width(), 10);
    b.setPictureNormal(ButtonPicture());
    EXPECT_TRUE(b.PictureHot().isNull());
    EXPECT_TRUE(b.PictureDown().isNull());
}

TEST(zqbuttonProperties, OpacitiesStayWithinAByte) {
    ensureQtApp();
    zqbutton b;
    b.setPictureOpacity(300);
    EXPECT_EQ(b.PictureOpacity(), 255);
    b.setPictureOpacityOnOver(-4);
    EXPECT_EQ(b.PictureOpacityOnOver(), 0);
}

TEST(zqbuttonProperties, MouseIconTakesOverThePointer) {
    ensureQtApp();
    zqbutton b;
    b.setHandPointer(true);
    b.setMouseIcon(QPixmap(8, 8));
    EXPECT_FALSE(b.HandPointer());
    EXPECT_EQ(b.MousePointer(), 99);
    b.setMouseIcon(QPixmap());
    EXPECT_EQ(b.MousePointer(), 0);
}

struct AccessKeyCase {
    const char *caption;
    QChar key;
};

TEST(zqbuttonProperties, AccessKeyFromTheCaption) {
    ensureQtApp();
    const AccessKeyCase cases[] = {
        {"&OK", QChar('o')}, {"a&&b", QChar()},    {"a&&b&Cd", QChar('c')},    {"ab&", QChar()},
        {"&", QChar()},      {"&&&x", QChar('x')}, {"下一步(&N)", QChar('n')}, {"Save && E&xit", QChar('x')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        zqbutton b;
        b.setCaption(QString::fromUtf8(c.caption));
        EXPECT_EQ(b.accessKey(), c.key);
    }
}

TEST(zqbuttonProperties, HostSwitchingTheWidgetReachesEnabled) {
    ensureQtApp();
    zqbutton b;
    QSignalSpy spy(&b, &zqbutton::propertyChanged);
    static_cast<QWidget &>(b).setEnabled(false);
    EXPECT_FALSE(b.Enabled());
    EXPECT_EQ(notices(spy), QStringList({"Enabled"}));
    b.setEnabled(true);
    EXPECT_TRUE(b.isEnabled());
}

}  // namespace
