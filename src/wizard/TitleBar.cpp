#include "wizard/TitleBar.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWindow>

#include "wizard/WizardFonts.h"
#include "wizard/WizardPictures.h"

namespace {

constexpr int kPx = TitleButtons::TwipsPerPixel;
constexpr int kBoxWidth = TitleButtons::BoxWidthTwips / kPx;  // 81
constexpr int kDesignWidth = 12015 / kPx;                     // 801

QLabel *makeTitle(QWidget *parent, const QString &text, const QFont &font, int leftTwips, int topTwips) {
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(pal);
    // White on the banner even under a host's style sheet.
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->adjustSize();
    label->move(leftTwips / kPx, topTwips / kPx);
    return label;
}

}  // namespace

TitleBar::TitleBar(QWidget *parent) : QWidget(parent), m_systemMove([](QWindow *w) { return w->startSystemMove(); }) {
    m_picTop = new QLabel(this);
    m_picTop->setScaledContents(true);
    m_picTop->setPixmap(QPixmap::fromImage(WizardPictures::banner()));

    m_lblTitle[1] = makeTitle(this, QStringLiteral("岫禾VEQ"), WizardFonts::titleFont(), 720, 240);
    m_lblTitle[0] =
        makeTitle(this, QStringLiteral("标准版(迷你版)升级专业版工具"), WizardFonts::subtitleFont(), 3360, 960);

    // The box paints every pixel itself, from m_picFormBackColor.
    m_picForm = new QWidget(this);
    m_picForm->setAttribute(Qt::WA_OpaquePaintEvent);
    m_picForm->setMouseTracking(true);

    for (QObject *part : {static_cast<QObject *>(m_picTop), static_cast<QObject *>(m_lblTitle[0]),
                          static_cast<QObject *>(m_lblTitle[1]), static_cast<QObject *>(m_picForm)})
        part->installEventFilter(this);

    setFixedHeight(BarHeight);
    resize(kDesignWidth, BarHeight);
}

QLabel *TitleBar::lbl_Title(int index) const { return index == 0 || index == 1 ? m_lblTitle[index] : nullptr; }

void TitleBar::setSystemMove(SystemMove move) { m_systemMove = std::move(move); }

int TitleBar::buttonBits(Qt::MouseButtons buttons) {
    int bits = 0;
    if (buttons & Qt::LeftButton) bits |= 1;
    if (buttons & Qt::RightButton) bits |= 2;
    if (buttons & Qt::MiddleButton) bits |= 4;
    return bits;
}

int TitleBar::shiftBits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= 1;
    if (modifiers & Qt::ControlModifier) bits |= 2;
    if (modifiers & Qt::AltModifier) bits |= 4;
    return bits;
}

void TitleBar::resizeEvent(QResizeEvent *) {
    m_picTop->setGeometry(0, 0, width(), BarHeight);
    m_picForm->setGeometry(width() - kBoxWidth, 0, kBoxWidth, TitleButtons::BoxHeightTwips / kPx);
    m_picFormBackColor = TitleButtons::boxColor();
    picForm_Paint();
}

void TitleBar::picForm_Paint() { m_picForm->update(); }

void TitleBar::picForm_MouseMove(int button, int, double x, double y) {
    m_CloseHot = m_ClosePressed = m_MinHot = m_MinPressed = false;
    if (TitleButtons::inCloseArea(x, y)) {
        m_CloseHot = true;
        m_ClosePressed = button == 1;
    } else if (TitleButtons::inMinimizeArea(x, y)) {
        m_MinHot = true;
        m_MinPressed = button == 1;
    }
    picForm_Paint();
}

void TitleBar::picForm_MouseDown(int button, int shift, double x, double y) {
    // The press takes effect at once; there is no release handling.
    picForm_MouseMove(button, shift, x, y);
    if (m_CloseHot && m_ClosePressed) {
        emit closeRequested();
    } else if (m_MinHot && m_MinPressed) {
        window()->showMinimized();
    }
}

void TitleBar::paintButtons() {
    QPainter p(m_picForm);
    p.fillRect(m_picForm->rect(), m_picFormBackColor);
    TitleButtons::paint(p, closeState(), minState());
}

void TitleBar::pic_Top_MouseMove(int button, int, double, double) { dragMove(button); }

void TitleBar::lbl_Title_MouseMove(int index, int button, int shift, double x, double y) {
    if (index != 0 && index != 1) return;
    pic_Top_MouseMove(button, shift, x, y);
}

void TitleBar::dragMove(int button) {
    if (button != 1) return;
    if (!m_dragStarted) {
        m_dragStarted = true;
        QWidget *win = window();
        win->winId();  // makes sure the window has its handle
        QWindow *handle = win->windowHandle();
        if (handle && m_systemMove && m_systemMove(handle)) {
            m_manualDrag = false;
            return;
        }
        // The platform cannot move it for us: follow the pointer ourselves,
        // but only for a press we have seen.
        m_manualDrag = m_havePress;
    }
    if (m_manualDrag) window()->move(m_windowAtPress + (m_lastGlobal - m_pressGlobal));
}

bool TitleBar::isDragSource(QObject *watched) const {
    return watched == m_picTop || watched == m_lblTitle[0] || watched == m_lblTitle[1];
}

bool TitleBar::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_picForm) {
        switch (event->type()) {
        case QEvent::Paint: paintButtons(); return true;
        case QEvent::MouseMove: {
            auto *e = static_cast<QMouseEvent *>(event);
            picForm_MouseMove(buttonBits(e->buttons()), shiftBits(e->modifiers()), e->position().x() * kPx,
                              e->position().y() * kPx);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // A double click's second press counts as a press too.
            auto *e = static_cast<QMouseEvent *>(event);
            picForm_MouseDown(buttonBits(e->button()), shiftBits(e->modifiers()), e->position().x() * kPx,
                              e->position().y() * kPx);
            return true;
        }
        default: return QWidget::eventFilter(watched, event);
        }
    }
    if (isDragSource(watched)) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->button() == Qt::LeftButton) {
                m_havePress = true;
                m_dragStarted = false;
                m_manualDrag = false;
                m_pressGlobal = m_lastGlobal = e->globalPosition().toPoint();
                m_windowAtPress = window()->pos();
            }
            return true;
        }
        case QEvent::MouseMove: {
            auto *e = static_cast<QMouseEvent *>(event);
            m_lastGlobal = e->globalPosition().toPoint();
            const int button = buttonBits(e->buttons());
            const double x = e->position().x() * kPx, y = e->position().y() * kPx;
            if (watched == m_picTop)
                pic_Top_MouseMove(button, shiftBits(e->modifiers()), x, y);
            else
                lbl_Title_MouseMove(watched == m_lblTitle[0] ? 0 : 1, button, shiftBits(e->modifiers()), x, y);
            return true;
        }
        case QEvent::MouseButtonRelease:
            m_havePress = false;
            m_dragStarted = false;
            m_manualDrag = false;
            return true;
        default: return QWidget::eventFilter(watched, event);
        }
    }
    return QWidget::eventFilter(watched, event);
}
