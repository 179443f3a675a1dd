#include "platform/DialogPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

QWidget *ProgramMainWindow(QWidget *except) {
    QWidget *active = QApplication::activeWindow();
    if (active && active != except && active->isVisible() && active->windowType() != Qt::Popup) return active;
    QWidget *largest = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w == except || !w->isVisible() || w->isModal()) continue;
        const Qt::WindowType type = w->windowType();
        if (type == Qt::ToolTip || type == Qt::Popup || type == Qt::Desktop) continue;
        const QSize s = w->frameGeometry().size();
        if (!largest || s.width() * s.height() > largest->width() * largest->height()) largest = w;
    }
    return largest;
}

void CentreOnMainWindow(QWidget *dialog) {
    QWidget *main = ProgramMainWindow(dialog);
    if (!main) return;
    QRect target(QPoint(), dialog->frameGeometry().size());
    target.moveCenter(main->frameGeometry().center());
    if (QScreen *screen = main->screen()) {
        const QRect area = screen->availableGeometry();
        target.moveLeft(qBound(area.left(), target.left(), qMax(area.left(), area.right() - target.width() + 1)));
        target.moveTop(qBound(area.top(), target.top(), qMax(area.top(), area.bottom() - target.height() + 1)));
    }
    dialog->move(target.topLeft());
}
