#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include "controls/DialogFrame.h"
#include "support/QtApp.h"

namespace {

// A frame that counts its loadings.
class CountingFrame : public DialogFrame {
public:
    CountingFrame() : DialogFrame(QStringLiteral("标题"), QSize(300, 200)) {}
    int loads = 0;

protected:
    void Load() override { ++loads; }
};

struct Fixture {
    QApplication *app = ensureQtApp();
    CountingFrame frame;
};

TEST(DialogFrame, IsBorderlessOfFixedSizeWithRoundedCorners) {
    Fixture f;
    EXPECT_TRUE(f.frame.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(f.frame.size(), QSize(300, 200));
    EXPECT_EQ(f.frame.minimumSize(), f.frame.maximumSize());
    const QRegion mask = f.frame.mask();
    for (const QPoint corner : {QPoint(0, 0), QPoint(299, 0), QPoint(0, 199), QPoint(299, 199)})
        EXPECT_FALSE(mask.contains(corner)) << corner.x() << "," << corner.y();
    for (const QPoint inside : {QPoint(150, 100), QPoint(10, 0), QPoint(0, 10), QPoint(289, 199)})
        EXPECT_TRUE(mask.contains(inside)) << inside.x() << "," << inside.y();
    EXPECT_EQ(f.frame.lblCaption()->text(), QStringLiteral("标题"));
}

TEST(DialogFrame, ModalShowLoadsOnceAndHidingEndsTheRun) {
    Fixture f;
    int loadsSeenInside = -1;
    QTimer::singleShot(0, &f.frame, [&] {
        loadsSeenInside = f.frame.loads;
        f.frame.hideDialog();
    });
    f.frame.exec();
    EXPECT_EQ(loadsSeenInside, 1);
    EXPECT_FALSE(f.frame.isVisible());
    // A second show does not load again.
    QTimer::singleShot(0, &f.frame, [&] { f.frame.hideDialog(); });
    f.frame.exec();
    EXPECT_EQ(f.frame.loads, 1);
}

TEST(DialogFrame, TheClosePictureAsksAndEscapeOrAWindowCloseDoNotHide) {
    Fixture f;
    QSignalSpy closes(&f.frame, &DialogFrame::closeClicked);
    f.frame.show();
    QTest::mouseClick(f.frame.ImgClose(), Qt::RightButton);
    EXPECT_EQ(closes.count(), 0);
    QTest::mouseClick(f.frame.ImgClose(), Qt::LeftButton);
    EXPECT_EQ(closes.count(), 1);
    EXPECT_TRUE(f.frame.isVisible());  // the dialog decides; the frame only tells
    QTest::keyClick(&f.frame, Qt::Key_Escape);
    EXPECT_TRUE(f.frame.isVisible());
    EXPECT_EQ(closes.count(), 1);
    f.frame.close();  // a close request of the window system goes the close picture's way
    EXPECT_TRUE(f.frame.isVisible());
    EXPECT_EQ(closes.count(), 2);
    f.frame.setEscapeCloses(true);
    QTest::keyClick(&f.frame, Qt::Key_Escape);
    EXPECT_EQ(closes.count(), 3);
}

// Presses a button on the widget at its middle, moves the pointer by delta
// with the button held and releases it.
void dragBy(QWidget *handle, Qt::MouseButton button, QPoint delta) {
    const QPoint at = handle->rect().center();
    const QPoint global = handle->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(handle, &press);
    QMouseEvent move(QEvent::MouseMove, at + delta, global + delta, Qt::NoButton, button, Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at + delta, global + delta, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &release);
}

TEST(DialogFrame, TheTitleDragsTheWindowWithTheLeftButtonOnly) {
    Fixture f;
    f.frame.move(100, 100);
    f.frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.frame));
    if (f.frame.windowHandle()->startSystemMove()) GTEST_SKIP() << "the window system moves windows itself here";
    const QPoint start = f.frame.pos();
    dragBy(f.frame.lblCaption(), Qt::RightButton, QPoint(30, 20));
    EXPECT_EQ(f.frame.pos(), start);
    dragBy(f.frame.lblCaption(), Qt::LeftButton, QPoint(30, 20));
    EXPECT_EQ(f.frame.pos(), start + QPoint(30, 20));
    dragBy(f.frame.imgTitle(), Qt::LeftButton, QPoint(-10, 5));
    EXPECT_EQ(f.frame.pos(), start + QPoint(20, 25));
    // A widget the dialog names as a handle drags too; others do not.
    auto *label = new QLabel(QStringLiteral("x"), &f.frame);
    label->setGeometry(10, 100, 40, 20);
    dragBy(label, Qt::LeftButton, QPoint(5, 5));
    EXPECT_EQ(f.frame.pos(), start + QPoint(20, 25));
    f.frame.addDragHandle(label);
    dragBy(label, Qt::LeftButton, QPoint(5, 5));
    EXPECT_EQ(f.frame.pos(), start + QPoint(25, 30));
}

}  // namespace
