#include <QApplication>
#include <QSignalSpy>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "WidgetSize.h"
#include "controls/WizardControls.h"
#include "controls/zqbutton.h"
#include "support/QtApp.h"

namespace {

// A shown window with one wizard button in it, focused.
struct Fixture {
    Fixture() {
        window.resize(200, 100);
        button = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, "&OK", &window);
        button->setGeometry(10, 10, 75, 23);
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        button->setFocus();
        QApplication::processEvents();
    }
    QApplication *app = ensureQtApp();  // before any widget
    bool active = false;
    QWidget window;
    zqbutton *button = nullptr;
};

// Events in the order they were raised, by name.
struct Recorder {
    explicit Recorder(zqbutton *b) {
        QObject::connect(b, &zqbutton::Click, [this] { log << "Click"; });
        QObject::connect(b, &zqbutton::DblClick, [this] { log << "DblClick"; });
        QObject::connect(b, &zqbutton::MouseDown, [this](short, short, float, float) { log << "MouseDown"; });
        QObject::connect(b, &zqbutton::MouseUp, [this](short, short, float, float) { log << "MouseUp"; });
        QObject::connect(b, &zqbutton::KeyDown, [this](short k, short) { log << QString("KeyDown%1").arg(k); });
        QObject::connect(b, &zqbutton::KeyUp, [this](short k, short) { log << QString("KeyUp%1").arg(k); });
    }
    int count(const char *name) const { return int(log.count(QString::fromLatin1(name))); }
    QStringList log;
};

struct InputCase {
    const char *name;
    void (*act)(zqbutton *);
    int clicks;
};

void PrintTo(const InputCase &c, std::ostream *os) { *os << c.name; }

class zqbuttonClick : public ::testing::TestWithParam<InputCase> {};

TEST_P(zqbuttonClick, RaisesClickExactlyAsOften) {
    Fixture f;
    Recorder r(f.button);
    GetParam().act(f.button);
    EXPECT_EQ(r.count("Click"), GetParam().clicks) << r.log.join(",").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, zqbuttonClick,
    ::testing::Values(InputCase{"mouseClick", [](zqbutton *b) { QTest::mouseClick(b, Qt::LeftButton); }, 1},
                      InputCase{"enter", [](zqbutton *b) { QTest::keyClick(b, Qt::Key_Return); }, 1},
                      InputCase{"space", [](zqbutton *b) { QTest::keyClick(b, Qt::Key_Space); }, 1},
                      InputCase{"rightClick", [](zqbutton *b) { QTest::mouseClick(b, Qt::RightButton); }, 0},
                      InputCase{"releaseOnEdge",
                                [](zqbutton *b) {
                                    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
                                    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(0, 5));
                                },
                                0},
                      InputCase{"releaseOutside",
                                [](zqbutton *b) {
                                    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
                                    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(75, 5));
                                },
                                0},
                      InputCase{"spaceCancelledByOtherKey",
                                [](zqbutton *b) {
                                    QTest::keyPress(b, Qt::Key_Space);
                                    QTest::keyClick(b, Qt::Key_A);
                                    QTest::keyRelease(b, Qt::Key_Space);
                                },
                                0},
                      InputCase{"altSpace", [](zqbutton *b) { QTest::keyClick(b, Qt::Key_Space, Qt::AltModifier); }, 0},
                      InputCase{"accessKey", [](zqbutton *b) { b->AccessKeyPress('O'); }, 1},
                      InputCase{"disabledClick",
                                [](zqbutton *b) {
                                    b->setEnabled(false);
                                    QTest::mouseClick(b, Qt::LeftButton);
                                    QTest::keyClick(b, Qt::Key_Return);
                                    QTest::keyClick(b, Qt::Key_Space);
                                    b->AccessKeyPress('O');
                                },
                                0},
                      InputCase{"disabledThroughTheWidget",
                                [](zqbutton *b) {
                                    static_cast<QWidget *>(b)->setEnabled(false);
                                    QTest::mouseClick(b, Qt::LeftButton);
                                    QTest::keyClick(b, Qt::Key_Return);
                                },
                                0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(zqbuttonInput, DoubleClickSequence) {
    Fixture f;
    Recorder r(f.button);
    // The platform sends press, release, double click (in place of the
    // second press), release.
    QTest::mouseClick(f.button, Qt::LeftButton);
    QTest::mouseDClick(f.button, Qt::LeftButton);
    QTest::mouseRelease(f.button, Qt::LeftButton);
    EXPECT_EQ(r.log, QStringList({"MouseDown", "Click", "MouseUp", "MouseDown", "DblClick", "Click", "MouseUp"}));
}

TEST(zqbuttonInput, StatesFollowTheMouse) {
    Fixture f;
    zqbutton *b = f.button;
    QSignalSpy leave(b, &zqbutton::MouseLeave);
    QTest::mouseMove(b, QPoint(10, 10));
    EXPECT_EQ(b->ButtonState(), 1);
    EXPECT_TRUE(b->MouseIsOver());
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(b->ButtonState(), 2);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(b->ButtonState(), 0);
    QEvent ev(QEvent::Leave);
    QApplication::sendEvent(b, &ev);
    EXPECT_EQ(b->ButtonState(), 0);
    EXPECT_FALSE(b->MouseIsOver());
    EXPECT_EQ(leave.count(), 1);
}

TEST(zqbuttonInput, HoverBuildsTheTooltip) {
    Fixture f;
    f.button->setToolTip("Opens the folder chooser");
    f.button->setTooltipTitle("Folder");
    QTest::mouseMove(f.button, QPoint(10, 10));
    ASSERT_NE(f.button->toolTipWindow(), nullptr);
    EXPECT_EQ(f.button->toolTipWindow()->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST(zqbuttonInput, TheBalloonTypeGivesARoundedTipWithAStem) {
    for (int type : {0, 1}) {
        Fixture f;
        f.button->setToolTip("Opens the folder chooser");
        f.button->setToolTipType(type);
        // Away and back: the new window may have come up under the pointer.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.button, &leave);
        QTest::mouseMove(f.button, QPoint(12 + type, 12));
        QWidget *tip = f.button->toolTipWindow();
        ASSERT_NE(tip, nullptr);
        const QRegion mask = tip->mask();
        if (type == 0) {
            EXPECT_TRUE(mask.isEmpty());
        } else {
            ASSERT_FALSE(mask.isEmpty());
            EXPECT_FALSE(mask.contains(QPoint(0, 0)));                 // outside the balloon
            EXPECT_TRUE(mask.contains(QPoint(16, 3)));                 // the stem
            EXPECT_TRUE(mask.contains(QPoint(tip->width() / 2, 20)));  // the body
        }
    }
}

TEST(zqbuttonInput, CheckButtonTogglesOnSpaceDownAndClicksOnSpaceUp) {
    Fixture f;
    Recorder r(f.button);
    f.button->setMode(1);
    QTest::keyPress(f.button, Qt::Key_Space);
    EXPECT_TRUE(f.button->Value());
    EXPECT_EQ(r.count("Click"), 0);
    QTest::keyRelease(f.button, Qt::Key_Space);
    EXPECT_EQ(r.count("Click"), 1);
    EXPECT_EQ(r.count("KeyUp32"), 1);
    QTest::mouseClick(f.button, Qt::LeftButton);
    EXPECT_FALSE(f.button->Value());
    f.button->AccessKeyPress(13);  // Enter routed as an access key neither toggles nor clicks
    EXPECT_FALSE(f.button->Value());
    EXPECT_EQ(r.count("Click"), 2);
}

TEST(zqbuttonInput, OptionButtonsClearTheirGroup) {
    Fixture f;
    auto *other = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, "B", &f.window);
    auto *third = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, "C", &f.window);
    for (zqbutton *b : {f.button, other, third}) b->setMode(2);
    third->setMode(1);
    third->setValue(true);
    other->setValue(true);
    QTest::mouseClick(f.button, Qt::LeftButton);
    EXPECT_TRUE(f.button->Value());
    EXPECT_FALSE(other->Value());
    EXPECT_TRUE(third->Value());  // a check button is no member of the group
}

TEST(zqbuttonInput, ArrowKeysMoveTheFocusAndStillRaiseKeyDown) {
    Fixture f;
    auto *next = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, "Next", &f.window);
    next->show();
    f.button->setFocus();
    QApplication::processEvents();
    Recorder r(f.button);
    QTest::keyClick(f.button, Qt::Key_Right);
    EXPECT_EQ(r.count("KeyDown39"), 1);
    EXPECT_EQ(r.count("KeyUp39"), 0);
    EXPECT_FALSE(f.button->HasFocus());
}

TEST(zqbuttonInput, AccessKeyFromTheCaptionClicks) {
    Fixture f;
    QSignalSpy click(f.button, &zqbutton::Click);
    QTest::keyClick(&f.window, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(click.count(), 1);
}

TEST(zqbuttonInput, DeactivationResetsTheState) {
    Fixture f;
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(f.button->ButtonState(), 2);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(f.button->ParentActive());
    EXPECT_EQ(f.button->ButtonState(), 0);
    EXPECT_FALSE(f.button->MouseIsDown());
}

TEST(zqbuttonInput, PressOpensTheDropDownMenuBelowTheButton) {
    Fixture f;
    QMenu menu;
    menu.addAction("one");
    menu.addAction("two");
    f.button->SetPopupMenu(&menu, 0);
    QSignalSpy down(f.button, &zqbutton::MouseDown);
    QPoint shownAt;
    QTimer::singleShot(0, &menu, [&] {
        shownAt = menu.pos();
        menu.close();
    });
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(shownAt, f.button->mapToGlobal(QPoint(0, f.button->height())));
    EXPECT_EQ(down.count(), 0);  // with a menu attached the press opens it instead
    QSignalSpy click(f.button, &zqbutton::Click);
    QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(click.count(), 0);
    EXPECT_EQ(f.button->ButtonState(), 0);
    f.button->UnsetPopupMenu();
    QTest::mouseClick(f.button, Qt::LeftButton);
    EXPECT_EQ(click.count(), 1);
}

TEST(zqbuttonInput, UnknownMenuAlignmentShowsNoMenu) {
    Fixture f;
    QMenu menu;
    menu.addAction("one");
    f.button->SetPopupMenu(&menu, 8);
    bool shown = false;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] { shown = true; });
    QTest::mouseClick(f.button, Qt::LeftButton);
    EXPECT_FALSE(shown);
    EXPECT_EQ(f.button->ButtonState(), 0);
}

TEST(zqbuttonInput, FocusRimOnlyInAnActiveWindow) {
    Fixture f;
    ASSERT_TRUE(f.active);
    zqbutton *b = f.button;
    b->setButtonStyle(2);
    b->setColorScheme(1);
    b->setCaption("");
    b->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(b->ParentActive());
    ASSERT_TRUE(b->HasFocus());
    QEvent leave(QEvent::Leave);  // wherever earlier cases left the cursor
    QApplication::sendEvent(b, &leave);
    ASSERT_EQ(b->ButtonState(), 0);
    auto px = [b](int x, int y) { return colour::fromQColor(QColor(b->image().pixel(x, y))); };
    EXPECT_EQ(px(20, 2), colour::rgb(194, 209, 143));  // the green default rim
    EXPECT_EQ(px(20, 0), colour::rgb(55, 98, 6));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(b->ParentActive());
    EXPECT_NE(px(20, 2), colour::rgb(194, 209, 143));
}

// The wizard's buttons show which of them has the keyboard: a dotted
// rectangle inside the frame of the focused one, in an active window, drawn
// as soon as the focus arrives and gone when it leaves.
TEST(zqbuttonInput, AWizardButtonShowsItsFocus) {
    Fixture f;
    ASSERT_TRUE(f.active);
    auto *other = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, "&OK", &f.window);
    other->setGeometry(100, 10, 75, 23);
    other->show();
    QApplication::processEvents();
    for (zqbutton *b : {f.button, other}) {
        QEvent leave(QEvent::Leave);  // wherever earlier cases left the cursor
        QApplication::sendEvent(b, &leave);
    }
    ASSERT_TRUE(f.button->HasFocus());
    const QImage focused = f.button->image(), plain = other->image();
    ASSERT_EQ(focused.size(), plain.size());
    int changed = 0;
    for (int x = 0; x < focused.width(); ++x)
        for (int y = 0; y < focused.height(); ++y)
            if (focused.pixel(x, y) != plain.pixel(x, y)) {
                ++changed;
                // Only on the rectangle two pixels inside the edge.
                const bool onRect = ((x == 2 || x == focused.width() - 3) && y >= 2 && y <= focused.height() - 3) ||
                                    ((y == 2 || y == focused.height() - 3) && x >= 2 && x <= focused.width() - 3);
                EXPECT_TRUE(onRect) << x << "," << y;
            }
    EXPECT_GT(changed, 40);

    QTest::keyClick(f.button, Qt::Key_Tab);
    ASSERT_TRUE(other->HasFocus());
    EXPECT_EQ(f.button->image(), plain);
    EXPECT_EQ(other->image(), focused);

    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    EXPECT_EQ(other->image(), plain);  // no focus look in an inactive window
}

}  // namespace
