#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWindow>
#include <gtest/gtest.h>

#include "support/QtApp.h"
#include "wizard/TitleBar.h"
#include "wizard/WizardFonts.h"
#include "wizard/WizardPictures.h"

namespace {

using State = TitleButtons::State;

// A shown title bar as its own window, with the system move recorded.
struct Bar {
    TitleBar bar;
    QList<QWindow *> moves;
    bool systemMoves = true;

    Bar() {
        bar.setSystemMove([this](QWindow *w) {
            moves.append(w);
            return systemMoves;
        });
        bar.resize(801, TitleBar::BarHeight);
        bar.show();
        QApplication::sendPostedEvents();
    }
};

void send(QWidget *to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent ev(type, QPointF(at), QPointF(to->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(to, &ev);
}

void moveOver(QWidget *to, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    send(to, QEvent::MouseMove, at, Qt::NoButton, held);
}

void press(QWidget *to, QPoint at, Qt::MouseButton button) { send(to, QEvent::MouseButtonPress, at, button, button); }

void release(QWidget *to, QPoint at, Qt::MouseButton button) {
    send(to, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

QColor pixelOf(TitleBar &bar, int x, int y) { return QColor(bar.picForm()->grab().toImage().pixel(x, y)); }

TEST(TitleBar, PlacesItsPartsAsDesigned) {
    ensureQtApp();
    Bar b;
    EXPECT_EQ(b.bar.pic_Top()->geometry(), QRect(0, 0, 801, 113));
    EXPECT_EQ(b.bar.picForm()->geometry(), QRect(720, 0, 81, 113));
    EXPECT_EQ(b.bar.lbl_Title(1)->pos(), QPoint(48, 16));
    EXPECT_EQ(b.bar.lbl_Title(0)->pos(), QPoint(224, 64));
    EXPECT_EQ(b.bar.lbl_Title(1)->text(), "岫禾VEQ");
    EXPECT_EQ(b.bar.lbl_Title(0)->text(), "标准版(迷你版)升级专业版工具");
    EXPECT_EQ(b.bar.lbl_Title(2), nullptr);
    for (int i : {0, 1}) {
        QLabel *label = b.bar.lbl_Title(i);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_EQ(label->size(), label->sizeHint());  // sized to the text
    }
    EXPECT_TRUE(b.bar.lbl_Title(1)->font().bold());
    EXPECT_EQ(b.bar.lbl_Title(1)->font().pointSizeF(), 36.0);
    EXPECT_EQ(b.bar.lbl_Title(0)->font().pointSizeF(), 21.75);
    EXPECT_EQ(b.bar.lbl_Title(1)->font().family(), WizardFonts::heiFamily());
    EXPECT_EQ(b.bar.lbl_Title(0)->font().family(), WizardFonts::songFamily());
}

TEST(TitleBar, ResizeKeepsTheBannerFullWidthAndTheBoxAtTheRight) {
    ensureQtApp();
    Bar b;
    b.bar.resize(1000, TitleBar::BarHeight);
    EXPECT_EQ(b.bar.pic_Top()->geometry(), QRect(0, 0, 1000, 113));
    EXPECT_EQ(b.bar.picForm()->geometry(), QRect(919, 0, 81, 113));
    EXPECT_EQ(b.bar.picFormBackColor(), QColor(49, 113, 206));
    const QImage shot = b.bar.grab().toImage();
    // The banner's right part runs on into the box.
    EXPECT_EQ(QColor(shot.pixel(900, 50)), QColor(49, 113, 200));
    EXPECT_EQ(QColor(shot.pixel(960, 60)), QColor(49, 113, 206));
}

TEST(TitleBar, TitleFontsResolveToInstalledFaces) {
    ensureQtApp();
    EXPECT_EQ(QFontInfo(WizardFonts::titleFont()).family(), WizardFonts::heiFamily());
    EXPECT_EQ(QFontInfo(WizardFonts::subtitleFont()).family(), WizardFonts::songFamily());
}

TEST(TitleBar, KeepsItsLookUnderAHostStyleSheet) {
    ensureQtApp();
    QWidget host;
    host.setStyleSheet("QWidget { background: white; color: black; }");
    host.resize(801, 200);
    TitleBar bar(&host);
    bar.resize(801, TitleBar::BarHeight);
    host.show();
    QApplication::sendPostedEvents();
    const QImage shot = host.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(760, 60)), QColor(49, 113, 206));
    EXPECT_EQ(QColor(shot.pixel(720 + 45, 8)), QColor(228, 159, 146));
    EXPECT_EQ(QColor(shot.pixel(700, 100)), QColor(49, 113, 200));
    // Somewhere in the subtitle there is white text, and no white box.
    const QRect sub = bar.lbl_Title(0)->geometry();
    int white = 0;
    for (int y = sub.top(); y <= sub.bottom(); ++y)
        for (int x = sub.left(); x <= sub.right(); ++x) white += QColor(shot.pixel(x, y)) == QColor(Qt::white);
    EXPECT_GT(white, 0);
    EXPECT_LT(white, sub.width() * sub.height() / 2);
}

TEST(TitleBar, BannerIsTheDesignedSizeAndColour) {
    ensureQtApp();
    const QImage banner = WizardPictures::banner();
    EXPECT_EQ(banner.size(), QSize(890, 98));
    for (int x : {WizardPictures::BannerPlainFrom, 700, 889})
        for (int y : {0, 50, 97}) EXPECT_EQ(QColor(banner.pixel(x, y)), QColor(49, 113, 200)) << x << "," << y;
}

TEST(TitleBar, FlagsStartFalse) {
    ensureQtApp();
    TitleBar bar;
    EXPECT_FALSE(bar.closeHot() || bar.closePressed() || bar.minHot() || bar.minPressed());
    EXPECT_EQ(QColor(bar.picForm()->grab().toImage().pixel(45, 8)), QColor(228, 159, 146));
}

// Pointer moves in pixels over picForm; 15 twips per pixel.
struct MoveCase {
    const char *name;
    QPoint at;
    Qt::MouseButtons held;
    State close, minimize;
};
void PrintTo(const MoveCase &c, std::ostream *os) { *os << c.name; }
class TitleBarMove : public ::testing::TestWithParam<MoveCase> {};

TEST_P(TitleBarMove, SetsTheFlagsAndTheLook) {
    ensureQtApp();
    const MoveCase &c = GetParam();
    Bar b;
    QSignalSpy closes(&b.bar, &TitleBar::closeRequested);
    moveOver(b.bar.picForm(), c.at, c.held);
    EXPECT_EQ(b.bar.closeState(), c.close);
    EXPECT_EQ(b.bar.minState(), c.minimize);
    const QColor closeUpper[] = {{228, 159, 146}, {252, 185, 173}, {191, 143, 118}};
    const QColor minUpper[] = {{193, 211, 231}, {150, 203, 239}, {110, 136, 156}};
    EXPECT_EQ(pixelOf(b.bar, 45, 8), closeUpper[int(c.close)]);
    EXPECT_EQ(pixelOf(b.bar, 15, 8), minUpper[int(c.minimize)]);
    // A move never acts, whatever button is held.
    EXPECT_EQ(closes.count(), 0);
    EXPECT_FALSE(b.bar.isMinimized());
    EXPECT_TRUE(b.moves.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TitleBarMove,
    ::testing::Values(
        MoveCase{"closeHot", {55, 12}, Qt::NoButton, State::Hot, State::Normal},
        MoveCase{"closeHeldLeft", {55, 12}, Qt::LeftButton, State::Pressed, State::Normal},
        MoveCase{"closeHeldRight", {55, 12}, Qt::RightButton, State::Hot, State::Normal},
        MoveCase{"closeHeldLeftAndRight", {55, 12}, Qt::LeftButton | Qt::RightButton, State::Hot, State::Normal},
        MoveCase{"closeLeftBoundX630", {42, 12}, Qt::NoButton, State::Normal, State::Normal},
        MoveCase{"closeFirstColumnX645", {43, 12}, Qt::NoButton, State::Hot, State::Normal},
        MoveCase{"closeLastColumnX1035", {69, 12}, Qt::NoButton, State::Hot, State::Normal},
        MoveCase{"closeRightFrameX1050", {70, 12}, Qt::NoButton, State::Normal, State::Normal},
        MoveCase{"closeTopBoundY75", {55, 5}, Qt::NoButton, State::Normal, State::Normal},
        MoveCase{"closeBottomBoundY315", {55, 21}, Qt::NoButton, State::Normal, State::Normal},
        MoveCase{"minHot", {25, 12}, Qt::NoButton, State::Normal, State::Hot},
        MoveCase{"minHeldLeft", {25, 12}, Qt::LeftButton, State::Normal, State::Pressed},
        MoveCase{"minHeldMiddle", {25, 12}, Qt::MiddleButton, State::Normal, State::Hot},
        MoveCase{"minLeftOfButtonX60", {4, 12}, Qt::NoButton, State::Normal, State::Hot},
        MoveCase{"minOutsideLeftX45", {3, 12}, Qt::NoButton, State::Normal, State::Normal},
        MoveCase{"minRightBoundX570", {38, 12}, Qt::NoButton, State::Normal, State::Normal},
        MoveCase{"gapX600", {40, 12}, Qt::NoButton, State::Normal, State::Normal},
        MoveCase{"belowButtons", {55, 60}, Qt::LeftButton, State::Normal, State::Normal}));

TEST(TitleBar, TwipHandlersUseTheStrictBounds) {
    ensureQtApp();
    TitleBar bar;
    struct Case {
        double x, y;
        bool closeHot, minHot;
    } cases[] = {{630, 200, false, false}, {1040, 200, false, false}, {800, 75, false, false},
                 {800, 315, false, false}, {50, 200, false, false},   {570, 200, false, false},
                 {100, 200, false, true},  {600, 200, false, false},  {800, 200, true, false}};
    for (const Case &c : cases) {
        bar.picForm_MouseMove(0, 0, c.x, c.y);
        EXPECT_EQ(bar.closeHot(), c.closeHot) << c.x << "," << c.y;
        EXPECT_EQ(bar.minHot(), c.minHot) << c.x << "," << c.y;
        EXPECT_FALSE(bar.closePressed() || bar.minPressed());
    }
}

struct PressCase {
    const char *name;
    QPoint at;
    Qt::MouseButton button;
    int closes;
    bool minimized;
    State close, minimize;
};
void PrintTo(const PressCase &c, std::ostream *os) { *os << c.name; }
class TitleBarPress : public ::testing::TestWithParam<PressCase> {};

TEST_P(TitleBarPress, ActsOnlyOnALeftPressOverAButton) {
    ensureQtApp();
    const PressCase &c = GetParam();
    Bar b;
    QSignalSpy closes(&b.bar, &TitleBar::closeRequested);
    press(b.bar.picForm(), c.at, c.button);
    EXPECT_EQ(closes.count(), c.closes);
    EXPECT_EQ(b.bar.isMinimized(), c.minimized);
    EXPECT_EQ(b.bar.closeState(), c.close);
    EXPECT_EQ(b.bar.minState(), c.minimize);
    EXPECT_TRUE(b.moves.isEmpty());  // a press on the box never drags
    // No release handling: the look stays as the press left it.
    release(b.bar.picForm(), c.at, c.button);
    EXPECT_EQ(b.bar.closeState(), c.close);
    EXPECT_EQ(closes.count(), c.closes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TitleBarPress,
    ::testing::Values(PressCase{"leftOnClose", {55, 12}, Qt::LeftButton, 1, false, State::Pressed, State::Normal},
                      PressCase{"rightOnClose", {55, 12}, Qt::RightButton, 0, false, State::Hot, State::Normal},
                      PressCase{"middleOnClose", {55, 12}, Qt::MiddleButton, 0, false, State::Hot, State::Normal},
                      PressCase{"leftOnMin", {25, 12}, Qt::LeftButton, 0, true, State::Normal, State::Pressed},
                      PressCase{"rightOnMin", {25, 12}, Qt::RightButton, 0, false, State::Normal, State::Hot},
                      PressCase{"leftInGap", {40, 12}, Qt::LeftButton, 0, false, State::Normal, State::Normal},
                      PressCase{"leftBelow", {55, 60}, Qt::LeftButton, 0, false, State::Normal, State::Normal}));

TEST(TitleBar, ButtonsKeepTheirLookUntilThePointerMovesOverTheBox) {
    ensureQtApp();
    Bar b;
    // The host keeps the window open after the close request.
    press(b.bar.picForm(), {55, 12}, Qt::LeftButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b.bar.picForm(), &leave);
    moveOver(b.bar.pic_Top(), {100, 50});
    EXPECT_EQ(b.bar.closeState(), State::Pressed);
    EXPECT_EQ(pixelOf(b.bar, 45, 8), QColor(191, 143, 118));

    // Minimised and restored: the minimise button still looks pressed.
    press(b.bar.picForm(), {25, 12}, Qt::LeftButton);
    ASSERT_TRUE(b.bar.isMinimized());
    b.bar.showNormal();
    EXPECT_EQ(b.bar.minState(), State::Pressed);
    EXPECT_EQ(pixelOf(b.bar, 15, 8), QColor(110, 136, 156));

    moveOver(b.bar.picForm(), {60, 80});
    EXPECT_EQ(b.bar.closeState(), State::Normal);
    EXPECT_EQ(b.bar.minState(), State::Normal);
}

TEST(TitleBar, TheCloseRequestCanCloseTheHost) {
    ensureQtApp();
    Bar b;
    QObject::connect(&b.bar, &TitleBar::closeRequested, &b.bar, &QWidget::close);
    press(b.bar.picForm(), {55, 12}, Qt::LeftButton);
    EXPECT_FALSE(b.bar.isVisible());
}

struct DragCase {
    const char *name;
    int source;  // -1 banner, 0 or 1 title label
    Qt::MouseButton button;
    int moves;
};
void PrintTo(const DragCase &c, std::ostream *os) { *os << c.name; }
class TitleBarDrag : public ::testing::TestWithParam<DragCase> {};

TEST_P(TitleBarDrag, HandsALeftDragToTheSystemOncePerPress) {
    ensureQtApp();
    const DragCase &c = GetParam();
    Bar b;
    QWidget *source = c.source < 0 ? static_cast<QWidget *>(b.bar.pic_Top()) : b.bar.lbl_Title(c.source);
    const QPoint at(5, 5);
    press(source, at, c.button);
    moveOver(source, at + QPoint(3, 2), c.button);
    moveOver(source, at + QPoint(9, 4), c.button);
    release(source, at + QPoint(9, 4), c.button);
    ASSERT_EQ(b.moves.size(), c.moves);
    for (QWindow *w : b.moves) EXPECT_EQ(w, b.bar.windowHandle());
    // A new press starts a new drag.
    press(source, at, c.button);
    moveOver(source, at + QPoint(1, 1), c.button);
    EXPECT_EQ(b.moves.size(), 2 * c.moves);
}

INSTANTIATE_TEST_SUITE_P(Cases, TitleBarDrag,
                         ::testing::Values(DragCase{"bannerLeft", -1, Qt::LeftButton, 1},
                                           DragCase{"title0Left", 0, Qt::LeftButton, 1},
                                           DragCase{"title1Left", 1, Qt::LeftButton, 1},
                                           DragCase{"bannerRight", -1, Qt::RightButton, 0},
                                           DragCase{"title1Middle", 1, Qt::MiddleButton, 0}));

TEST(TitleBar, HandlerDragWorksWithoutAPress) {
    ensureQtApp();
    Bar b;
    b.bar.pic_Top_MouseMove(1, 0, 0, 0);
    b.bar.lbl_Title_MouseMove(0, 2, 0, 0, 0);
    EXPECT_EQ(b.moves.size(), 1);
}

TEST(TitleBar, MovesTheWindowItselfWhereTheSystemCannot) {
    ensureQtApp();
    Bar b;
    b.systemMoves = false;
    b.bar.move(100, 100);
    QApplication::sendPostedEvents();
    const QPoint start = b.bar.pos();
    QWidget *banner = b.bar.pic_Top();
    const QPoint at(20, 20);
    press(banner, at, Qt::LeftButton);
    // Events carry the global position of the press, as the pointer moves
    // away from it while the window follows.
    const QPoint global = banner->mapToGlobal(at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(30, 12)), QPointF(global + QPoint(30, 12)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(banner, &move);
    EXPECT_EQ(b.moves.size(), 1);
    EXPECT_EQ(b.bar.pos(), start + QPoint(30, 12));
}

TEST(TitleBar, TheDefaultSystemMoveIsAttempted) {
    ensureQtApp();
    TitleBar bar;
    bar.show();
    QApplication::sendPostedEvents();
    // Offscreen has no system move; the call must simply come back.
    bar.pic_Top_MouseMove(1, 0, 0, 0);
    SUCCEED();
}

TEST(TitleBar, RendersForALook) {
    ensureQtApp();
    const QString dir = QStringLiteral(PNW_BINARY_DIR) + "/wizard-shots";
    QDir().mkpath(dir);
    Bar b;
    EXPECT_TRUE(b.bar.grab().save(dir + "/titlebar-normal.png"));
    moveOver(b.bar.picForm(), {55, 12});
    EXPECT_TRUE(b.bar.grab().save(dir + "/titlebar-close-hot.png"));
    moveOver(b.bar.picForm(), {25, 12}, Qt::LeftButton);
    EXPECT_TRUE(b.bar.picForm()->grab().scaled(81 * 6, 113 * 6).save(dir + "/picform-min-pressed-x6.png"));
}

}  // namespace
