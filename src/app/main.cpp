// Entry point. Until the wizard's window exists, this shows what is built:
// the drawn progress bar, driven like the upgrade runs drive it.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include "controls/ProgressBar.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("账套升级工具（开发中）"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral(
        "The upgrade wizard is not built yet; this window shows the parts that exist.")));
    auto *bar = new ProgressBar(&window);
    bar->setMinimumSize(360, 24);
    bar->setText(QStringLiteral("新建账套"));
    layout->addWidget(bar);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, bar, [bar] {
        const int next = bar->Value() >= bar->Max() ? 0 : bar->Value() + 1;
        bar->setValue(next);
        bar->setText2(QString::number(next * 100 / bar->Max()) + "%");
    });
    timer.start(50);
    window.show();
    return QApplication::exec();
}
