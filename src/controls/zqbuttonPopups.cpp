// The button's drop-down menu and its own tooltip window.
#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainterPath>
#include <QPointer>
#include <QStyle>

#include "controls/zqbutton.h"

void zqbutton::showDropDownMenu() {
    if (!m_popupMenu) return;
    takeDrawingSize();
    const int w = m_w, h = m_h;
    m_popupShowing = true;
    int x = 0, y = 0, flags = m_popupFlags;
    switch (m_popupAlign) {
    case 0:
        x = 0;
        y = h;
        break;
    case 1: flags = 32; break;
    case 2: flags |= 8; break;
    case 3: x = w; break;
    case 4: flags = 40; break;
    case 5:
        y = h;
        flags |= 8;
        break;
    case 6:
        x = w;
        flags = 32;
        break;
    case 7:
        x = w;
        y = h;
        break;
    default: m_popupShowing = false; return;
    }
    m_popupFlags = flags;
    // Flag 8: the menu ends at x; flag 32: it ends at y.
    const QSize size = m_popupMenu->sizeHint();
    QPoint at = mapToGlobal(QPoint(x, y));
    if (flags & 8) at.rx() -= size.width();
    if (flags & 32) at.ry() -= size.height();
    QPointer<zqbutton> self(this);
    m_popupMenu->exec(at, m_popupDefault);
    if (!self) return;
    const QPoint cursor = mapFromGlobal(QCursor::pos());
    if (QApplication::widgetAt(QCursor::pos()) == this || rect().contains(cursor)) {
        m_popupOpen = true;
    } else {
        m_mouseIsDown = m_mouseIsOver = m_spaceIsDown = m_popupOpen = m_popupShowing = false;
        m_buttonState = 0;
        RedrawButton();
    }
}

void zqbutton::buildToolTip() {
    if (!m_enabled || m_popupOpen || m_buttonState == 2) return;
    destroyToolTip();
    auto *tip = new QFrame(this, Qt::ToolTip | Qt::FramelessWindowHint);
    tip->setObjectName(QStringLiteral("zqbuttonToolTip"));
    if (m_rightToLeft) tip->setLayoutDirection(Qt::RightToLeft);
    auto *layout = new QHBoxLayout(tip);
    layout->setContentsMargins(4, 4, 4, 4);
    static const QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
                                                   QStyle::SP_MessageBoxCritical};
    if (m_toolTipIcon >= 1 && m_toolTipIcon <= 3) {
        auto *icon = new QLabel(tip);
        icon->setObjectName(QStringLiteral("icon"));
        icon->setPixmap(style()->standardIcon(icons[m_toolTipIcon - 1]).pixmap(16, 16));
        layout->addWidget(icon, 0, Qt::AlignTop);
    }
    auto *text = new QLabel(tip);
    text->setObjectName(QStringLiteral("text"));
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setMaximumWidth(240);  // longer texts wrap
    QString html;
    if (!m_tooltipTitle.isEmpty()) html += QStringLiteral("<b>%1</b><br>").arg(m_tooltipTitle.toHtmlEscaped());
    html += m_toolTip.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    text->setText(html);
    layout->addWidget(text);
    QPalette pal = tip->palette();
    const QPalette app = QApplication::palette();
    pal.setColor(QPalette::Window, m_tooltipBackColor != 0 ? colour::toQColor(TranslateColour(m_tooltipBackColor))
                                                           : app.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, app.color(QPalette::ToolTipText));
    tip->setPalette(pal);
    tip->setAutoFillBackground(true);
    if (m_toolTipType == 1) {
        // A balloon: rounded, with a stem at its top left pointing at the button.
        constexpr int kStem = 10, kRadius = 8;
        layout->setContentsMargins(8, 8 + kStem, 8, 8);
        tip->adjustSize();
        QPainterPath shape;
        shape.addRoundedRect(QRectF(0, kStem, tip->width(), tip->height() - kStem), kRadius, kRadius);
        QPainterPath stem;
        stem.addPolygon(QPolygonF({QPointF(14, kStem + 1), QPointF(16, 0), QPointF(30, kStem + 1)}));
        tip->setMask(QRegion(shape.united(stem).toFillPolygon().toPolygon()));
        tip->setProperty("balloon", true);
    } else {
        tip->setFrameShape(QFrame::Box);
    }
    m_toolTipWindow = tip;
}

void zqbutton::destroyToolTip() {
    if (m_toolTipWindow) delete m_toolTipWindow.data();
    m_toolTipWindow = nullptr;
}
