#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "support/QtApp.h"
#include "wizard/Navigation.h"

namespace {

// Shown, so that resizes reach the item at once as they do in a window.
void show(Navigation &item) {
    item.show();
    QApplication::sendPostedEvents();
}

void sendFocus(Navigation &item, QEvent::Type type) {
    QFocusEvent ev(type, Qt::TabFocusReason);
    QApplication::sendEvent(&item, &ev);
}

TEST(Navigation, StartsWithTheDefaultsAndStoresNothing) {
    ensureQtApp();
    Navigation item;
    EXPECT_EQ(item.Caption(), "Navigation");
    EXPECT_EQ(item.Step(), "0");
    EXPECT_TRUE(item.Enabled());
    EXPECT_EQ(item.EnabledText(), "True");
    EXPECT_FALSE(item.Actived());
    EXPECT_EQ(item.NextVisible(), QVariant(false));
    EXPECT_TRUE(item.writeProperties().isEmpty());
}

struct EnabledCase {
    const char *name;
    bool written;
    const char *text;
    bool stored;  // whether the bag carries "Enabled" (only when not the default)
};
void PrintTo(const EnabledCase &c, std::ostream *os) { *os << c.name; }
class NavigationEnabled : public ::testing::TestWithParam<EnabledCase> {};

TEST_P(NavigationEnabled, IsHeldAsText) {
    ensureQtApp();
    const EnabledCase &c = GetParam();
    Navigation item;
    item.setEnabledProperty(!c.written);
    item.setEnabledProperty(c.written);
    EXPECT_EQ(item.Enabled(), c.written);
    EXPECT_EQ(item.EnabledText(), c.text);
    const QVariantMap bag = item.writeProperties();
    EXPECT_EQ(bag.contains("Enabled"), c.stored);
    if (c.stored) {
        EXPECT_EQ(bag.value("Enabled").typeId(), QMetaType::QString);
        EXPECT_EQ(bag.value("Enabled").toString(), c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, NavigationEnabled,
                         ::testing::Values(EnabledCase{"setFalse", false, "False", true},
                                           EnabledCase{"setTrue", true, "True", false}));

struct LoadCase {
    const char *name;
    QVariantMap bag;
    bool enabled;
};
void PrintTo(const LoadCase &c, std::ostream *os) { *os << c.name; }
class NavigationLoadEnabled : public ::testing::TestWithParam<LoadCase> {};

TEST_P(NavigationLoadEnabled, ReadsTheStoredText) {
    ensureQtApp();
    const LoadCase &c = GetParam();
    Navigation item;
    item.setEnabledProperty(!c.enabled);
    item.readProperties(c.bag);
    EXPECT_EQ(item.Enabled(), c.enabled);
    EXPECT_EQ(item.EnabledText(), c.enabled ? "True" : "False");
}

INSTANTIATE_TEST_SUITE_P(Cases, NavigationLoadEnabled,
                         ::testing::Values(LoadCase{"notStored", {}, true},
                                           LoadCase{"False", {{"Enabled", "False"}}, false},
                                           LoadCase{"True", {{"Enabled", "True"}}, true},
                                           LoadCase{"lowerCase", {{"Enabled", "false"}}, false},
                                           LoadCase{"zero", {{"Enabled", "0"}}, false},
                                           LoadCase{"minusOne", {{"Enabled", "-1"}}, true},
                                           LoadCase{"unreadableTakesDefault", {{"Enabled", "maybe"}}, true}));

TEST(Navigation, StoredValuesRoundTrip) {
    ensureQtApp();
    const QVariantMap bag{
        {"Caption", "数据检测"}, {"Step", "3"}, {"Enabled", "False"}, {"Actived", true}, {"NextVisible", true}};
    Navigation item;
    item.readProperties(bag);
    EXPECT_EQ(item.Caption(), "数据检测");
    EXPECT_EQ(item.Step(), "3");
    EXPECT_FALSE(item.Enabled());
    EXPECT_TRUE(item.Actived());
    EXPECT_EQ(item.NextVisible(), QVariant(true));
    EXPECT_EQ(item.writeProperties(), bag);
}

TEST(Navigation, LoadingLaysOutAndLeavesTheHighlightHidden) {
    ensureQtApp();
    Navigation item;
    item.readProperties({{"Caption", "升级处理"}, {"Actived", true}});
    EXPECT_EQ(item.captionLabel()->text(), "升级处理");
    EXPECT_TRUE(item.Actived());
    EXPECT_FALSE(item.highlightVisible());
}

TEST(Navigation, LayoutFillsCentresAndHides) {
    ensureQtApp();
    Navigation item;
    show(item);
    item.setStep("4");
    item.setCaption("升级报告");
    item.resize(150, 40);

    EXPECT_EQ(item.backgroundBox()->geometry(), QRect(0, 0, 150, 40));
    EXPECT_EQ(item.highlightPicture()->geometry(), QRect(0, 0, 150, 40));
    const QRect cap = item.captionLabel()->geometry();
    EXPECT_NEAR(cap.center().x(), 75, 1);
    EXPECT_NEAR(cap.center().y(), 20, 1);
    EXPECT_EQ(item.captionLabel()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(item.stepLabel()->text(), "4");
    EXPECT_TRUE(item.stepLabel()->isHidden());

    const QImage shot = item.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(1, 1)), QColor(76, 132, 203));
    EXPECT_EQ(QColor(shot.pixel(148, 38)), QColor(76, 132, 203));
}

TEST(Navigation, ActivedShowsAndHidesTheHighlight) {
    ensureQtApp();
    Navigation item;
    show(item);
    QSignalSpy changed(&item, &Navigation::propertyChanged);
    item.setActived(true);
    EXPECT_TRUE(item.highlightVisible());
    EXPECT_NE(QColor(item.grab().toImage().pixel(10, 10)), QColor(76, 132, 203));
    item.setActived(false);
    EXPECT_FALSE(item.highlightVisible());
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toString(), "Actived");
}

TEST(Navigation, KeepsItsLookUnderAHostStyleSheet) {
    ensureQtApp();
    QWidget host;
    host.setStyleSheet("QWidget { background: white; color: black; }");
    Navigation item(&host);
    item.setCaption("准备工作");
    item.resize(150, 40);
    host.resize(150, 40);
    host.show();
    QApplication::sendPostedEvents();
    const QImage shot = host.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(2, 2)), QColor(76, 132, 203));
    const QRect cap = item.captionLabel()->geometry();
    int white = 0, blue = 0;
    for (int y = cap.top(); y <= cap.bottom(); ++y) {
        for (int x = cap.left(); x <= cap.right(); ++x) {
            const QColor c(shot.pixel(x, y));
            white += c == QColor(Qt::white);
            blue += c == QColor(76, 132, 203);
        }
    }
    EXPECT_GT(white, 0);     // white text ...
    EXPECT_GT(blue, white);  // ... on the blue box
}

struct RelayoutCase {
    const char *name;
    void (*act)(Navigation &);
};
void PrintTo(const RelayoutCase &c, std::ostream *os) { *os << c.name; }
class NavigationRelayout : public ::testing::TestWithParam<RelayoutCase> {};

TEST_P(NavigationRelayout, HidesTheHighlightUntilActivedIsSetAgain) {
    ensureQtApp();
    Navigation item;
    show(item);
    item.setActived(true);
    GetParam().act(item);
    EXPECT_TRUE(item.Actived());
    EXPECT_FALSE(item.highlightVisible());
    item.setActived(true);
    EXPECT_TRUE(item.highlightVisible());
}

INSTANTIATE_TEST_SUITE_P(Cases, NavigationRelayout,
                         ::testing::Values(RelayoutCase{"caption", [](Navigation &n) { n.setCaption("升级设置"); }},
                                           RelayoutCase{"step", [](Navigation &n) { n.setStep("2"); }},
                                           RelayoutCase{"resize", [](Navigation &n) { n.resize(200, 50); }}));

struct ClickCase {
    const char *name;
    bool enabled;
    Qt::MouseButton button;
    QPoint at;  // (-1, -1) for the centre, over the caption
    int clicks;
};
void PrintTo(const ClickCase &c, std::ostream *os) { *os << c.name; }
class NavigationClick : public ::testing::TestWithParam<ClickCase> {};

TEST_P(NavigationClick, RaisesClickOnlyWhenEnabled) {
    ensureQtApp();
    const ClickCase &c = GetParam();
    Navigation item;
    item.resize(120, 32);
    item.setEnabledProperty(c.enabled);
    item.setActived(true);
    QSignalSpy clicks(&item, &Navigation::Click);
    const QPoint at = c.at.x() < 0 ? item.rect().center() : c.at;
    QTest::mouseClick(&item, c.button, Qt::NoModifier, at);
    EXPECT_EQ(clicks.count(), c.clicks);
    EXPECT_TRUE(item.highlightVisible());
}

INSTANTIATE_TEST_SUITE_P(Cases, NavigationClick,
                         ::testing::Values(ClickCase{"enabledCaption", true, Qt::LeftButton, {-1, -1}, 1},
                                           ClickCase{"enabledBackground", true, Qt::LeftButton, {2, 2}, 1},
                                           ClickCase{"enabledRightButton", true, Qt::RightButton, {-1, -1}, 0},
                                           ClickCase{"disabledCaption", false, Qt::LeftButton, {-1, -1}, 0},
                                           ClickCase{"disabledBackground", false, Qt::LeftButton, {2, 2}, 0}));

TEST(Navigation, FocusOnAnEnabledItemHighlightsAndClicks) {
    ensureQtApp();
    Navigation item;
    QSignalSpy clicks(&item, &Navigation::Click);
    sendFocus(item, QEvent::FocusIn);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(item.highlightVisible());
    sendFocus(item, QEvent::FocusOut);
    EXPECT_FALSE(item.highlightVisible());  // not Actived

    item.setActived(true);
    item.setCaption("准备工作");  // hides it
    sendFocus(item, QEvent::FocusOut);
    EXPECT_TRUE(item.highlightVisible());
}

struct DisabledFocusCase {
    const char *name;
    bool actived;
    bool relaidOut;
};
void PrintTo(const DisabledFocusCase &c, std::ostream *os) { *os << c.name; }
class NavigationDisabledFocus : public ::testing::TestWithParam<DisabledFocusCase> {};

TEST_P(NavigationDisabledFocus, ChangesNothing) {
    ensureQtApp();
    const DisabledFocusCase &c = GetParam();
    Navigation item;
    item.setEnabledProperty(false);
    item.setActived(c.actived);
    if (c.relaidOut) item.setCaption("数据检测");
    const bool before = item.highlightVisible();
    QSignalSpy clicks(&item, &Navigation::Click);
    sendFocus(item, QEvent::FocusIn);
    EXPECT_EQ(item.highlightVisible(), before);
    sendFocus(item, QEvent::FocusOut);
    EXPECT_EQ(item.highlightVisible(), before);
    EXPECT_EQ(clicks.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, NavigationDisabledFocus,
                         ::testing::Values(DisabledFocusCase{"inactive", false, false},
                                           DisabledFocusCase{"active", true, false},
                                           DisabledFocusCase{"activeRelaidOut", true, true}));

}  // namespace
