// What the button makes of the mouse, the keyboard, focus and the window's
// activation: its visual state and its signals.
#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

#include "controls/zqbutton.h"

namespace {

short shiftMask(Qt::KeyboardModifiers m) {
    short s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

short mouseButton(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

// The key codes the button's key signals carry (those of the classic
// virtual-key set): letters and digits as their upper-case characters.
short keyCode(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return short(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return short(112 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

}  // namespace

void zqbutton::setState(int state) {
    if (m_buttonState == state) return;
    m_buttonState = state;
    RedrawButton();
}

void zqbutton::clearOptionGroup() {
    QWidget *container = parentWidget();
    if (!container) return;
    const auto siblings = container->findChildren<zqbutton *>(Qt::FindDirectChildrenOnly);
    for (zqbutton *b : siblings)
        if (b != this && b->Mode() == 2) b->setValue(false);
}

// ---- mouse

void zqbutton::handlePress(int button, int shift, float x, float y) {
    m_lastButton = button;
    m_lastShift = shift;
    m_lastX = x;
    m_lastY = y;
    if (button != 1 && !m_popupOpen) return;
    m_hasFocus = true;
    m_mouseIsDown = true;
    if (!m_spaceIsDown && m_buttonState != 2) {
        m_buttonState = 2;
        RedrawButton();
    }
    if (!m_popupSet)
        emit MouseDown(short(button), short(shift), x, y);
    else if (!m_popupOpen)
        showDropDownMenu();
}

void zqbutton::mousePressEvent(QMouseEvent *e) {
    handlePress(mouseButton(e->button()), shiftMask(e->modifiers()), float(e->position().x()),
                float(e->position().y()));
}

void zqbutton::handleMove(const QPointF &pos) {
    const QPoint p = pos.toPoint();
    const bool over = rect().contains(p) && (mask().isEmpty() || mask().contains(p));
    if (over) {
        m_mouseIsOver = true;
        emit MouseEnter();
    } else {
        m_mouseIsOver = false;
    }
    if (m_spaceIsDown) return;
    if (m_mouseIsOver && !m_mouseIsDown && m_buttonState != 1) {
        m_buttonState = 1;
        RedrawButton();
        if (m_buttonState != 2) buildToolTip();
    } else if (m_mouseIsOver && m_mouseIsDown && m_buttonState != 2) {
        m_buttonState = 2;
        RedrawButton();
    } else if (!m_mouseIsOver && m_buttonState != 0) {
        m_buttonState = 0;
        RedrawButton();
    }
}

void zqbutton::mouseMoveEvent(QMouseEvent *e) { handleMove(e->position()); }

void zqbutton::enterEvent(QEnterEvent *e) {
    // Entering is a move over the button.
    handleMove(e->position());
    QWidget::enterEvent(e);
}

void zqbutton::handleLeave() {
    m_mouseIsOver = false;
    if (m_popupSet) {
        if (m_popupShowing) {
            m_popupShowing = false;
            m_popupOpen = true;
            return;
        }
        m_popupOpen = false;
    }
    if (!m_spaceIsDown) {
        setState(0);
        emit MouseLeave();
    }
}

void zqbutton::leaveEvent(QEvent *e) {
    if (m_toolTipWindow) m_toolTipWindow->hide();
    handleLeave();
    QWidget::leaveEvent(e);
}

void zqbutton::mouseReleaseEvent(QMouseEvent *e) {
    const short button = mouseButton(e->button()), shift = shiftMask(e->modifiers());
    const float x = float(e->position().x()), y = float(e->position().y());
    if (m_popupSet) {
        m_mouseIsDown = false;
        m_popupOpen = false;
        m_buttonState = 0;
        RedrawButton();
        return;
    }
    if (button == 1) {
        m_mouseIsDown = false;
        if (x > 0 && x < width() && y > 0 && y < height()) {
            if (m_mode == 1) {
                m_value = !m_value;
                RedrawButton();
            } else if (m_mode == 2) {
                clearOptionGroup();
                m_value = true;
            }
            m_buttonState = 0;
            RedrawButton();
            emit Click();
        }
    }
    emit MouseUp(button, shift, x, y);
}

void zqbutton::mouseDoubleClickEvent(QMouseEvent *e) {
    // The platform sends this in place of the second press.
    if (m_lastButton != 1) return;
    m_buttonState = 2;
    RedrawButton();
    handlePress(m_lastButton, m_lastShift, m_lastX, m_lastY);
    Q_UNUSED(e);
    if (!m_popupSet)
        emit DblClick();
    else if (!m_popupOpen)
        showDropDownMenu();
}

// ---- keyboard

void zqbutton::keyPressEvent(QKeyEvent *e) {
    const short code = keyCode(e->key()), shift = shiftMask(e->modifiers());
    if (code == 13) {
        emit Click();
    } else if (code == 32) {
        if (shift == 4) return;  // Alt+Space belongs to the window menu
        if (!m_mouseIsDown) {
            m_spaceIsDown = true;
            if (m_mode == 1) m_value = !m_value;
            if (m_mode == 2) {
                clearOptionGroup();
                m_value = true;
            }
            setState(2);
        } else {
            setState(m_mouseIsOver ? 2 : 0);
        }
    } else if (code == 37 || code == 38) {
        focusNextPrevChild(false);
    } else if (code == 39 || code == 40) {
        focusNextPrevChild(true);
    } else if (m_spaceIsDown) {
        // Any other key cancels a pending Space press.
        m_spaceIsDown = false;
        m_buttonState = 0;
        RedrawButton();
    }
    emit KeyDown(code, shift);
    if (!e->text().isEmpty() && e->text().at(0).unicode() != 0) emit KeyPress(short(e->text().at(0).unicode()));
    e->accept();
}

void zqbutton::keyReleaseEvent(QKeyEvent *e) {
    if (e->isAutoRepeat() || keyCode(e->key()) != 32) {
        e->ignore();
        return;
    }
    const short shift = shiftMask(e->modifiers());
    if (m_mouseIsOver && m_mouseIsDown) {
        setState(2);
    } else if (m_mouseIsOver) {
        setState(1);
        if (m_spaceIsDown) emit Click();
    } else {
        setState(0);
        if (!m_mouseIsDown && m_spaceIsDown) emit Click();
    }
    emit KeyUp(32, shift);
    m_spaceIsDown = false;
    m_mouseIsDown = false;
}

void zqbutton::AccessKeyPress(int KeyAscii) {
    if (!m_enabled) return;
    if (m_spaceIsDown) {
        m_spaceIsDown = false;
        m_mouseIsDown = false;
    }
    const bool escOrEnter = KeyAscii == 27 || KeyAscii == 13;
    if (m_mode == 1) {
        if (escOrEnter) return;
        m_value = !m_value;
        if (!m_value) m_buttonState = 0;
        RedrawButton();
    } else if (m_mode == 2) {
        if (escOrEnter) return;
        clearOptionGroup();
        m_value = true;
        RedrawButton();
    }
    QCoreApplication::processEvents();
    emit Click();
}

// ---- focus, activation, platform changes

void zqbutton::focusInEvent(QFocusEvent *e) {
    m_hasFocus = true;
    // The focus look shows at once, not at the next repaint for another cause.
    RedrawButton();
    QWidget::focusInEvent(e);
}

void zqbutton::focusOutEvent(QFocusEvent *e) {
    m_hasFocus = false;
    m_mouseIsDown = false;
    m_spaceIsDown = false;
    m_buttonState = (m_parentActive && m_mouseIsOver) ? 1 : 0;
    RedrawButton();
    QWidget::focusOutEvent(e);
}

void zqbutton::showEvent(QShowEvent *e) {
    m_parentActive = isActiveWindow();
    RedrawButton();
    QWidget::showEvent(e);
}

void zqbutton::hideEvent(QHideEvent *e) {
    if (m_toolTipWindow) m_toolTipWindow->hide();
    QWidget::hideEvent(e);
}

void zqbutton::changeEvent(QEvent *e) {
    switch (e->type()) {
    case QEvent::ActivationChange:  // the button is a window of its own
        parentActivated(isActiveWindow());
        break;
    case QEvent::EnabledChange:
        // A host that switches the widget directly reaches the property.
        if (!m_syncingEnabled && isEnabled() != m_enabled) {
            m_enabled = isEnabled();
            if (m_shortcutId) setShortcutEnabled(m_shortcutId, m_enabled);
            RedrawButton();
            notify("Enabled");
        }
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange: RedrawButton(); break;
    default: break;
    }
    QWidget::changeEvent(e);
}

void zqbutton::parentActivated(bool active) {
    if (active) {
        m_parentActive = true;
    } else {
        m_mouseIsDown = m_spaceIsDown = m_hasFocus = m_parentActive = false;
    }
    m_buttonState = 0;
    RedrawButton();
}

bool zqbutton::event(QEvent *e) {
    // The window the button stands in was activated or deactivated.
    if (e->type() == QEvent::WindowActivate) parentActivated(true);
    if (e->type() == QEvent::WindowDeactivate) parentActivated(false);
    if (e->type() == QEvent::Shortcut) {
        auto *se = static_cast<QShortcutEvent *>(e);
        if (se->shortcutId() == m_shortcutId && !m_accessKey.isNull()) {
            AccessKeyPress(m_accessKey.toUpper().unicode());
            return true;
        }
    }
    if (e->type() == QEvent::ToolTip) {
        if (m_toolTipWindow && !m_toolTip.isEmpty()) {
            m_toolTipWindow->adjustSize();
            m_toolTipWindow->move(mapToGlobal(QPoint(0, height() + 2)));
            m_toolTipWindow->show();
        }
        return true;
    }
    return QWidget::event(e);
}

void zqbutton::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}

void zqbutton::resizeEvent(QResizeEvent *) {
    takeDrawingSize();
    SetButtonRegion();
    RedrawButton();
}
