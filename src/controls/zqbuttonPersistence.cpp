// Creation defaults and the property bag of the drawn button.
#include <algorithm>

#include <QApplication>
#include <QVariant>

#include "controls/PropertyBag.h"
#include "controls/zqbutton.h"

namespace {

const colour::Value kButtonFace = colour::systemRef(15);
const colour::Value kButtonText = colour::systemRef(18);
const colour::Value kInfoBack = colour::systemRef(24);
const colour::Value kDefaultMask = colour::rgb(224, 224, 224);

// Reads one key; a value that does not convert leaves *out alone.
struct Reader {
    const PropertyBag &bag;

    void integer(const char *key, int def, int *out) const {
        bool ok = false;
        const int v = bag.ReadProperty(QString::fromLatin1(key), def).toInt(&ok);
        if (ok) *out = v;
    }
    void boolean(const char *key, bool def, bool *out) const {
        const QVariant v = bag.ReadProperty(QString::fromLatin1(key), def);
        if (v.canConvert<bool>()) *out = v.toBool();
    }
    void colour(const char *key, colour::Value def, colour::Value *out) const {
        bool ok = false;
        const qlonglong v = bag.ReadProperty(QString::fromLatin1(key), qlonglong(def)).toLongLong(&ok);
        if (ok) *out = colour::Value(quint32(v));
    }
    void text(const char *key, const QString &def, QString *out) const {
        *out = bag.ReadProperty(QString::fromLatin1(key), def).toString();
    }
    void picture(const char *key, ButtonPicture *out) const {
        const QVariant v = bag.ReadProperty(QString::fromLatin1(key));
        if (v.canConvert<ButtonPicture>())
            *out = v.value<ButtonPicture>();
        else if (v.canConvert<QImage>())
            *out = ButtonPicture(v.value<QImage>());
        else
            *out = ButtonPicture();
    }
};

QVariant pictureValue(const ButtonPicture &p) { return p.isNull() ? QVariant() : QVariant::fromValue(p); }

}  // namespace

void zqbutton::InitProperties(const QString &displayName) {
    m_showFocusRect = true;
    m_enabled = true;
    QWidget::setEnabled(true);
    m_buttonStyle = 13;
    m_backColor = kButtonFace;
    m_caption = displayName;
    updateAccessKey();
    QFont f = QWidget::font();
    f.setFamily(QStringLiteral("Tahoma"));
    m_font = f;
    fontChanged();
    m_pictureOpacity = 255;
    m_pictureOpacityOnOver = 255;
    m_pictureAlign = 1;
    m_captionAlign = 1;
    m_useMaskColor = true;
    m_maskColor = kDefaultMask;
    takeDrawingSize();
    ResetColorScheme();
    SetDefaultColours();
    RedrawButton();
}

void zqbutton::ReadProperties(const PropertyBag &bag, const QFont &ambientFont) {
    const Reader r{bag};
    r.integer("ButtonStyle", 1, &m_buttonStyle);
    r.boolean("ShowFocusRect", false, &m_showFocusRect);
    const QVariant font = bag.ReadProperty(QStringLiteral("Font"), ambientFont);
    m_font = font.canConvert<QFont>() ? font.value<QFont>() : ambientFont;
    QWidget::setFont(m_font);
    r.colour("BackColor", colour::translate(kButtonFace), &m_backColor);
    r.boolean("Enabled", true, &m_enabled);
    r.text("Caption", QStringLiteral("zqbutton"), &m_caption);
    r.boolean("Value", false, &m_value);
    r.integer("MousePointer", 0, &m_mousePointer);
    r.boolean("HandPointer", false, &m_handPointer);
    const QVariant icon = bag.ReadProperty(QStringLiteral("MouseIcon"));
    m_mouseIcon = icon.canConvert<QPixmap>() ? icon.value<QPixmap>() : QPixmap();
    r.picture("PictureNormal", &m_pictureNormal);
    r.picture("PictureHot", &m_pictureHot);
    r.picture("PictureDown", &m_pictureDown);
    r.boolean("PictureShadow", false, &m_pictureShadow);
    r.integer("PictureOpacity", 255, &m_pictureOpacity);
    m_pictureOpacity = std::clamp(m_pictureOpacity, 0, 255);
    r.integer("PictureOpacityOnOver", 255, &m_pictureOpacityOnOver);
    m_pictureOpacityOnOver = std::clamp(m_pictureOpacityOnOver, 0, 255);
    r.integer("DisabledPictureMode", 0, &m_disabledPictureMode);
    r.boolean("PicturePushOnHover", false, &m_picturePushOnHover);
    r.integer("PictureEffectOnOver", 1, &m_pictureEffectOnOver);
    r.integer("PictureEffectOnDown", 2, &m_pictureEffectOnDown);
    r.colour("MaskColor", kDefaultMask, &m_maskColor);
    r.boolean("UseMaskColor", true, &m_useMaskColor);
    r.integer("CaptionEffects", 0, &m_captionEffects);
    r.integer("Mode", 0, &m_mode);
    r.integer("PictureAlign", 1, &m_pictureAlign);
    r.integer("CaptionAlign", 1, &m_captionAlign);
    r.colour("ForeColor", colour::translate(kButtonText), &m_foreColor);
    r.colour("ForeColorHover", colour::translate(kButtonText), &m_foreColorHover);
    r.boolean("DropDownSeparator", false, &m_dropDownSeparator);
    r.text("TooltipTitle", QString(), &m_tooltipTitle);
    r.text("ToolTip", QString(), &m_toolTip);
    r.integer("TooltipIcon", 0, &m_toolTipIcon);
    r.integer("TooltipType", 0, &m_toolTipType);
    r.colour("TooltipBackColor", colour::translate(kInfoBack), &m_tooltipBackColor);
    r.boolean("RightToLeft", false, &m_rightToLeft);
    r.integer("DropDownSymbol", 0, &m_dropDownSymbol);
    r.integer("ColorScheme", 0, &m_colorScheme);

    m_syncingEnabled = true;
    QWidget::setEnabled(m_enabled);
    m_syncingEnabled = false;
    updateAccessKey();
    takeDrawingSize();
    applyCursor();
    SetButtonRegion();
    RedrawButton();
}

void zqbutton::WriteProperties(PropertyBag &bag, const QFont &ambientFont) const {
    auto c = [](colour::Value v) { return qlonglong(v); };
    bag.WriteProperty("ButtonStyle", m_buttonStyle, 1);
    bag.WriteProperty("ShowFocusRect", m_showFocusRect, false);
    bag.WriteProperty("Enabled", m_enabled, true);
    bag.WriteProperty("Font", m_font, ambientFont);
    bag.WriteProperty("BackColor", c(m_backColor), c(colour::translate(kButtonFace)));
    bag.WriteProperty("Caption", m_caption, QStringLiteral("zqbutton1"));
    bag.WriteProperty("ForeColor", c(m_foreColor), c(colour::translate(kButtonText)));
    bag.WriteProperty("ForeColorHover", c(m_foreColorHover), c(colour::translate(kButtonText)));
    bag.WriteProperty("Mode", m_mode, 0);
    bag.WriteProperty("Value", m_value, false);
    bag.WriteProperty("MousePointer", m_mousePointer, 0);
    bag.WriteProperty("HandPointer", m_handPointer, false);
    bag.WriteProperty("MouseIcon", m_mouseIcon.isNull() ? QVariant() : QVariant(m_mouseIcon), QVariant());
    bag.WriteProperty("PictureNormal", pictureValue(m_pictureNormal), QVariant());
    bag.WriteProperty("PictureHot", pictureValue(m_pictureHot), QVariant());
    bag.WriteProperty("PictureDown", pictureValue(m_pictureDown), QVariant());
    bag.WriteProperty("PictureAlign", m_pictureAlign, 1);
    bag.WriteProperty("PictureEffectOnOver", m_pictureEffectOnOver, 1);
    bag.WriteProperty("PictureEffectOnDown", m_pictureEffectOnDown, 2);
    bag.WriteProperty("PicturePushOnHover", m_picturePushOnHover, false);
    bag.WriteProperty("PictureShadow", m_pictureShadow, false);
    bag.WriteProperty("PictureOpacity", m_pictureOpacity, 255);
    bag.WriteProperty("PictureOpacityOnOver", m_pictureOpacityOnOver, 255);
    bag.WriteProperty("DisabledPictureMode", m_disabledPictureMode, 0);
    // Written against an empty text, so it is present in every bag.
    bag.WriteProperty("CaptionEffects", m_captionEffects, QString());
    bag.WriteProperty("UseMaskColor", m_useMaskColor, true);
    bag.WriteProperty("MaskColor", c(m_maskColor), c(kDefaultMask));
    bag.WriteProperty("CaptionAlign", m_captionAlign, 1);
    bag.WriteProperty("ToolTip", m_toolTip, QString());
    bag.WriteProperty("TooltipType", m_toolTipType, 0);
    bag.WriteProperty("TooltipIcon", m_toolTipIcon, 0);
    bag.WriteProperty("TooltipTitle", m_tooltipTitle, QString());
    bag.WriteProperty("TooltipBackColor", c(m_tooltipBackColor), c(colour::translate(kInfoBack)));
    bag.WriteProperty("RightToLeft", m_rightToLeft, false);
    bag.WriteProperty("DropDownSymbol", m_dropDownSymbol, 0);
    bag.WriteProperty("DropDownSeparator", m_dropDownSeparator, false);
    bag.WriteProperty("ColorScheme", m_colorScheme, 0);
}
