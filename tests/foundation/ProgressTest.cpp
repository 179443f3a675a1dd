#include <gtest/gtest.h>

#include <memory>

#include <ctime>

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "controls/ProgressBar.h"
#include "foundation/Progress.h"
#include "platform/PnwError.h"
#include "support/QtApp.h"

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override { ensureQtApp(); }
};

TEST_F(ProgressTest, SetProgressWritesValueAndPercentage) {
    const struct {
        int max;
        int value;
        int shownValue;
        const char *text;
    } cases[] = {
        {200, 50, 50, "25%"}, {8, 1, 1, "12%"},        {8, 3, 3, "38%"},        {8, 7, 7, "88%"},
        {8, 4, 4, "50%"},     {100, 100, 100, "100%"}, {100, 250, 100, "100%"}, {3, 0, 0, "0%"},
    };
    for (const auto &c : cases) {
        ProgressBar bar;
        InitProgress(&bar, c.max, true);
        SetProgress(&bar, c.value);
        EXPECT_EQ(bar.Value(), c.shownValue) << c.max << "/" << c.value;
        EXPECT_EQ(bar.Text2(), QString::fromLatin1(c.text)) << c.max << "/" << c.value;
    }
}

TEST_F(ProgressTest, InitProgressSetsTheRange) {
    ProgressBar bar;
    bar.setMax(50);
    bar.setValue(40);
    bar.setText2(QStringLiteral("80%"));
    InitProgress(&bar, 0, false);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 1);
    EXPECT_EQ(bar.Value(), 1);
    EXPECT_EQ(bar.Text2(), QStringLiteral("80%"));
    InitProgress(&bar, 100, true);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(bar.Text2(), QStringLiteral("0%"));
}

TEST_F(ProgressTest, ProgressCallsLetPendingEventsRun) {
    ProgressBar bar;
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    InitProgress(&bar, 10, true);
    EXPECT_EQ(ran, 1);
    QTimer::singleShot(0, [&] { ++ran; });
    SetProgress(&bar, 5);
    EXPECT_EQ(ran, 2);
}

TEST_F(ProgressTest, StatusCaptionSetsTheLabelOnly) {
    QLabel label;
    // The timer belongs to the label: it dies with it and never outlives
    // what it counts.
    auto ran = std::make_shared<int>(0);
    QTimer::singleShot(0, &label, [ran] { ++*ran; });
    SetStatusCaption(&label, QStringLiteral("正在升级凭证"));
    EXPECT_EQ(label.text(), QStringLiteral("正在升级凭证"));
    EXPECT_EQ(*ran, 0);
}

TEST_F(ProgressTest, MissingObjectsRaiseNumber91) {
    auto number = [](auto call) {
        try {
            call();
        } catch (const PnwError &e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { SetProgress(nullptr, 1); }), 91);
    EXPECT_EQ(number([] { InitProgress(nullptr, 1, true); }), 91);
    EXPECT_EQ(number([] { SetStatusCaption(nullptr, QString()); }), 91);
}

TEST_F(ProgressTest, DelayWaitsWithEventsRunningAndWithoutSpinning) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpuStart = std::clock();
    DelayWithEvents(300);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    EXPECT_GE(wall.elapsed(), 300);
    EXPECT_GE(ticks, 3);
    EXPECT_LT(cpuMs, 150.0) << "the wait must sleep, not poll";
}

TEST_F(ProgressTest, DelayOfZeroReturnsAtOnce) {
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    DelayWithEvents(0);
    DelayWithEvents(-5);
    EXPECT_EQ(ran, 0);
}
