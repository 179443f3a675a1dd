#include "controls/zqbutton.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QUrl>

zqbutton::zqbutton(QWidget *parent) : QWidget(parent) {
    // Brightness tables of the picture effects.
    for (int v = 0; v < 256; ++v) {
        m_lightenTable[v] = static_cast<unsigned char>(std::min(255, v * 293 / 255));
        m_darkenTable[v] = static_cast<unsigned char>(v * 217 / 255);
    }
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The smallest size the button lets itself be given.
    setMinimumSize(15, 15);
    InitProperties(QStringLiteral("zqbutton1"));
}

zqbutton::~zqbutton() {
    destroyToolTip();
    UnsetPopupMenu();
}

void zqbutton::notify(const char *name) { emit propertyChanged(QString::fromLatin1(name)); }

void zqbutton::setBackColor(colour::Value c) {
    m_backColor = c;
    if (m_buttonStyle != 4) m_colorScheme = 3;
    RedrawButton();
    notify("BackColor");
}

void zqbutton::setButtonStyle(int style) {
    m_buttonStyle = style;
    ResetColorScheme();
    SetDefaultColours();
    SetButtonRegion();
    RedrawButton();
    notify("ButtonStyle");
}

void zqbutton::setCaption(const QString &caption) {
    m_caption = caption;
    updateAccessKey();
    RedrawButton();
    notify("Caption");
}

#define ZQ_PLAIN_SETTER(Name, member, Type)                                                                            \
    void zqbutton::set##Name(Type v) {                                                                                 \
        member = v;                                                                                                    \
        RedrawButton();                                                                                                \
        notify(#Name);                                                                                                 \
    }
ZQ_PLAIN_SETTER(CaptionAlign, m_captionAlign, int)
ZQ_PLAIN_SETTER(DropDownSymbol, m_dropDownSymbol, int)
ZQ_PLAIN_SETTER(DropDownSeparator, m_dropDownSeparator, bool)
ZQ_PLAIN_SETTER(DisabledPictureMode, m_disabledPictureMode, int)
ZQ_PLAIN_SETTER(ForeColor, m_foreColor, colour::Value)
ZQ_PLAIN_SETTER(ForeColorHover, m_foreColorHover, colour::Value)
ZQ_PLAIN_SETTER(MaskColor, m_maskColor, colour::Value)
ZQ_PLAIN_SETTER(PictureShadow, m_pictureShadow, bool)
ZQ_PLAIN_SETTER(PictureEffectOnOver, m_pictureEffectOnOver, int)
ZQ_PLAIN_SETTER(PictureEffectOnDown, m_pictureEffectOnDown, int)
ZQ_PLAIN_SETTER(PicturePushOnHover, m_picturePushOnHover, bool)
ZQ_PLAIN_SETTER(RightToLeft, m_rightToLeft, bool)
ZQ_PLAIN_SETTER(CaptionEffects, m_captionEffects, int)
ZQ_PLAIN_SETTER(TooltipTitle, m_tooltipTitle, const QString &)
ZQ_PLAIN_SETTER(ToolTip, m_toolTip, const QString &)
#undef ZQ_PLAIN_SETTER

void zqbutton::setPictureOpacity(int v) {
    m_pictureOpacity = std::clamp(v, 0, 255);  // a byte: out-of-range values stop at its ends
    RedrawButton();
    notify("PictureOpacity");
}

void zqbutton::setPictureOpacityOnOver(int v) {
    m_pictureOpacityOnOver = std::clamp(v, 0, 255);
    RedrawButton();
    notify("PictureOpacityOnOver");
}

void zqbutton::setTooltipBackColor(colour::Value c) {
    m_tooltipBackColor = c;
    RedrawButton();
    notify("TooltipBackcolor");
}

void zqbutton::setToolTipIcon(int v) {
    m_toolTipIcon = v;
    RedrawButton();
    notify("TooltipIcon");
}

void zqbutton::setToolTipType(int v) {
    m_toolTipType = v;
    RedrawButton();
    notify("ToolTipType");
}

void zqbutton::setEnabled(bool v) {
    m_enabled = v;
    m_syncingEnabled = true;
    QWidget::setEnabled(v);
    m_syncingEnabled = false;
    if (m_shortcutId) setShortcutEnabled(m_shortcutId, v);
    RedrawButton();
    notify("Enabled");
}

void zqbutton::setFont(const QFont &f) {
    m_font = f;
    update();
    RedrawButton();
    notify("Font");
    fontChanged();
}

void zqbutton::fontChanged() {
    QWidget::setFont(m_font);
    update();
    RedrawButton();
    notify("Font");
}

void zqbutton::setHandPointer(bool v) {
    m_handPointer = v;
    if (v) m_mousePointer = 0;
    applyCursor();
    RedrawButton();
    notify("HandPointer");
}

void zqbutton::setMode(int v) {
    m_mode = v;
    if (v == 0) m_buttonState = 0;
    RedrawButton();
    notify("Value");
    notify("Mode");
}

void zqbutton::setMouseIcon(const QPixmap &icon) {
    m_mouseIcon = icon;
    if (icon.isNull()) {
        m_mousePointer = 0;
    } else {
        m_handPointer = false;
        notify("HandPointer");
        m_mousePointer = 99;
    }
    applyCursor();
    notify("MouseIcon");
}

void zqbutton::setMousePointer(int v) {
    m_mousePointer = v;
    applyCursor();
    notify("MousePointer");
}

void zqbutton::applyCursor() {
    static const QHash<int, Qt::CursorShape> shapes = {
        {1, Qt::ArrowCursor},      {2, Qt::CrossCursor},   {3, Qt::IBeamCursor},      {5, Qt::SizeAllCursor},
        {6, Qt::SizeBDiagCursor},  {7, Qt::SizeVerCursor}, {8, Qt::SizeFDiagCursor},  {9, Qt::SizeHorCursor},
        {10, Qt::UpArrowCursor},   {11, Qt::WaitCursor},   {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor},
        {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor}};
    if (m_handPointer)
        setCursor(Qt::PointingHandCursor);
    else if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else if (shapes.contains(m_mousePointer))
        setCursor(shapes.value(m_mousePointer));
    else
        unsetCursor();
}

void zqbutton::setPictureNormal(const ButtonPicture &p) {
    m_pictureNormal = p;
    if (p.isNull()) {
        m_pictureNormal = ButtonPicture();
        m_pictureHot = ButtonPicture();
        m_pictureDown = ButtonPicture();
        SetButtonRegion();
        RedrawButton();
        notify("PictureHot");
        notify("PictureDown");
    } else {
        RedrawButton();
        notify("PictureNormal");
    }
}

void zqbutton::setPictureHot(const ButtonPicture &p) {
    if (m_pictureNormal.isNull()) {
        m_pictureNormal = p;
        notify("PictureNormal");
        return;
    }
    m_pictureHot = p;
    notify("PictureHot");
    RedrawButton();
}

void zqbutton::setPictureDown(const ButtonPicture &p) {
    if (m_pictureNormal.isNull()) {
        m_pictureNormal = p;
        notify("PictureNormal");
        return;
    }
    m_pictureDown = p;
    notify("PictureDown");
    RedrawButton();
}

void zqbutton::setPictureAlign(int v) {
    m_pictureAlign = v;
    if (!m_pictureNormal.isNull()) RedrawButton();
    notify("PictureAlign");
}

void zqbutton::setUseMaskColor(bool v) {
    m_useMaskColor = v;
    if (!m_pictureNormal.isNull()) RedrawButton();
    notify("UseMaskColor");
}

void zqbutton::setShowFocusRect(bool v) {
    m_showFocusRect = v;
    notify("ShowFocusRect");
}

void zqbutton::setValue(bool v) {
    if (m_mode != 0) {
        m_value = v;
        if (!v) m_buttonState = 0;
        RedrawButton();
        notify("Value");
    } else {
        m_buttonState = 0;
        RedrawButton();
    }
}

void zqbutton::setColorScheme(int v) {
    m_colorScheme = v;
    SetDefaultColours();
    RedrawButton();
    notify("ColorScheme");
}

void zqbutton::setDisplayAsDefault(bool v) {
    m_displayAsDefault = v;
    RedrawButton();
}

void zqbutton::updateAccessKey() {
    if (m_shortcutId) releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    m_accessKey = QChar();
    const QString &c = m_caption;
    int i = c.indexOf(QLatin1Char('&'));
    if (c.size() >= 2 && i >= 0 && i < c.size() - 1) {
        if (c[i + 1] != QLatin1Char('&')) {
            m_accessKey = c[i + 1].toLower();
        } else {
            // A doubled ampersand is a literal one: look further.
            i = c.indexOf(QLatin1Char('&'), i + 2);
            if (i >= 0 && i + 1 < c.size() && c[i + 1] != QLatin1Char('&')) m_accessKey = c[i + 1].toLower();
        }
    }
    if (!m_accessKey.isNull()) {
        m_shortcutId = grabShortcut(QKeySequence::mnemonic(QStringLiteral("&") + m_accessKey));
        setShortcutEnabled(m_shortcutId, m_enabled);
    }
}

void zqbutton::SetPopupMenu(QMenu *Menu, int Align, int Flags, QAction *DefaultMenu) {
    if (!Menu) return;
    m_popupMenu = Menu;
    m_popupAlign = Align;
    m_popupFlags = Flags;
    m_popupDefault = DefaultMenu;
    m_popupSet = true;
}

void zqbutton::UnsetPopupMenu() {
    m_popupMenu = nullptr;
    m_popupDefault = nullptr;
    m_popupSet = false;
    m_popupOpen = false;
}

void zqbutton::OpenWebsite(const QString &sAddress) { QDesktopServices::openUrl(QUrl(sAddress)); }

void zqbutton::About() {
    QMessageBox::information(this, QStringLiteral("About"),
                             QStringLiteral("zqbutton 1.0\nA drawn push button for the upgrade wizard."));
}
