#include "controls/DialogFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "controls/RoundRegion.h"
#include "controls/WizardControls.h"
#include "controls/zqbutton.h"

namespace {

const QColor kBackground(235, 242, 252);
const QColor kTitleBand(49, 113, 206);
const QColor kEdge(156, 182, 222);

}  // namespace

DialogFrame::DialogFrame(const QString &caption, QSize clientSize, int titleHeight, QWidget *parent)
    : QDialog(parent), m_titleHeight(titleHeight) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize(clientSize);
    setFont(WizardControls::font());

    // The title picture: the band across the top, drawn in its own colour.
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("imgTitle"));
    m_title->setAutoFillBackground(true);
    QPalette band = m_title->palette();
    band.setColor(QPalette::Window, kTitleBand);
    m_title->setPalette(band);
    m_title->setGeometry(0, 0, clientSize.width(), titleHeight);

    m_caption = new QLabel(caption, this);
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    QFont titleFont = font();
    titleFont.setBold(true);
    m_caption->setFont(titleFont);
    m_caption->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_caption->setGeometry(12, 0, clientSize.width() - 60, titleHeight);

    m_close = new QLabel(QStringLiteral("✕"), this);
    m_close->setObjectName(QStringLiteral("ImgClose"));
    m_close->setAlignment(Qt::AlignCenter);
    m_close->setStyleSheet(QStringLiteral("color: white; background: transparent; font-size: 14px;"));
    m_close->setGeometry(clientSize.width() - titleHeight - 4, 0, titleHeight, titleHeight);
    m_close->setCursor(Qt::PointingHandCursor);
    m_close->installEventFilter(this);

    addDragHandle(m_title);
    addDragHandle(m_caption);
    applyOutline();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && isAncestorOf(now)) showDefaultLook(now);
    });
}

void DialogFrame::setDefaultButton(zqbutton *button) {
    m_default = button;
    showDefaultLook(focusWidget());
}

void DialogFrame::showDefaultLook(QWidget *focused) {
    if (!m_default) return;
    auto *focusedButton = qobject_cast<zqbutton *>(focused);
    const zqbutton *shown = focusedButton ? focusedButton : m_default;
    for (zqbutton *b : findChildren<zqbutton *>())
        if (b->DisplayAsDefault() != (b == shown)) b->setDisplayAsDefault(b == shown);
}

void DialogFrame::addDragHandle(QWidget *handle) {
    if (!handle || m_handles.contains(handle)) return;
    m_handles.append(handle);
    handle->installEventFilter(this);
}

bool DialogFrame::isDragHandle(const QObject *object) const {
    for (const QWidget *h : m_handles)
        if (h == object) return true;
    return false;
}

void DialogFrame::ensureLoaded() {
    if (m_loaded) return;
    m_loaded = true;
    Load();
}

void DialogFrame::hideDialog() {
    // done() hides the window and also leaves a running exec().
    done(QDialog::Accepted);
}

void DialogFrame::applyOutline() {
    // The rounded rectangle over the whole client area.
    setMask(roundRectRegion(0, 0, width(), height(), 20, 20));
}

void DialogFrame::showEvent(QShowEvent *event) {
    ensureLoaded();
    QDialog::showEvent(event);
}

void DialogFrame::closeEvent(QCloseEvent *event) {
    // The window system's close goes the dialog's own way; the dialog hides
    // itself when that way ends it.
    event->ignore();
    closeRequested();
}

void DialogFrame::keyPressEvent(QKeyEvent *event) {
    // Escape ends the dialog only the way the close picture does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        if (m_escapeCloses) emit closeClicked();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_default && m_default->isVisible() && m_default->isEnabled()) {
        event->accept();
        m_default->AccessKeyPress(13);
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogFrame::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    p.setPen(kEdge);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DialogFrame::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    applyOutline();
}

void DialogFrame::beginDrag(const QPoint &globalPos) {
    // The window system moves the window as by its title bar where it can;
    // elsewhere the frame follows the pointer itself.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    m_dragging = true;
    m_dragOffset = globalPos - frameGeometry().topLeft();
}

bool DialogFrame::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_close) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && m_close->rect().contains(mouse->position().toPoint())) {
                emit closeClicked();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }
    if (isDragHandle(watched)) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) beginDrag(mouse->globalPosition().toPoint());
            break;
        }
        case QEvent::MouseMove: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_dragging && (mouse->buttons() & Qt::LeftButton))
                move(mouse->globalPosition().toPoint() - m_dragOffset);
            else
                m_dragging = false;
            break;
        }
        case QEvent::MouseButtonRelease: m_dragging = false; break;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
