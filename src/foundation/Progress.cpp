#include "foundation/Progress.h"

#include <cmath>
#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

#include "controls/ProgressBar.h"
#include "platform/PnwError.h"

namespace {

void requireObject(const void *object, const char *where) {
    if (!object) throw PnwError(91, QString::fromLatin1(where), QStringLiteral("对象变量未设置"));
}

void letEventsRun() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace

void SetStatusCaption(QLabel *label, const QString &text) {
    requireObject(label, "SetStatusCaption");
    label->setText(text);
}

void InitProgress(ProgressBar *bar, int max, bool reset) {
    requireObject(bar, "InitProgress");
    bar->setMin(0);
    bar->setMax(max);
    if (reset) {
        bar->setValue(0);
        bar->setText2(QStringLiteral("0%"));
    }
    letEventsRun();
}

void SetProgress(ProgressBar *bar, int value) {
    requireObject(bar, "SetProgress");
    const int max = bar->Max();
    if (value >= max) {
        bar->setText2(QStringLiteral("100%"));
        bar->setValue(value);
    } else {
        bar->setValue(value);
        // nearbyint rounds an exact half to the even neighbour.
        const double percent = std::nearbyint(static_cast<double>(value) / max * 100.0);
        bar->setText2(QString::number(static_cast<long long>(percent)) + QLatin1Char('%'));
    }
    letEventsRun();
}

void DelayWithEvents(int milliseconds) {
    if (milliseconds <= 0) return;
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    // A local loop ended by a timer: events run as they come, and the
    // thread sleeps in between instead of spinning.
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < milliseconds) {
        QEventLoop loop;
        bool timedOut = false;
        QTimer::singleShot(static_cast<int>(milliseconds - elapsed.elapsed()), &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        loop.exec();
        if (!timedOut) return;  // the application is quitting: stop waiting
    }
}

void LetEventsRun() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}
