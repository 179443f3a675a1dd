// Creation defaults and the property bag of the progress bar.
#include <QVariant>

#include "controls/ProgressBar.h"
#include "controls/PropertyBag.h"

namespace {

const colour::Value kBagEffectColour = colour::rgb(200, 200, 200);

bool readInt(const PropertyBag &bag, const char *key, int def, int *out) {
    bool ok = false;
    const int v = bag.ReadProperty(QString::fromLatin1(key), def).toInt(&ok);
    if (ok) *out = v;
    return ok;
}

bool readColour(const PropertyBag &bag, const char *key, colour::Value def, colour::Value *out) {
    bool ok = false;
    const qlonglong v = bag.ReadProperty(QString::fromLatin1(key), qlonglong(def)).toLongLong(&ok);
    if (ok) *out = colour::Value(quint32(v));
    return ok;
}

}  // namespace

void ProgressBar::InitProperties(const QFont &ambientFont) {
    setMax(100);
    setMin(0);
    setValue(50);
    setRoundedValue(5);
    setEnabled(true);
    setTheme(1);
    setTextForeColor(0);
    setText(QStringLiteral("ProgressBar"));
    setTextAlignment(5);
    setTextEffect(5);
    setTextEffectColor(colour::rgb(255, 255, 255));
    setTextStyle(3);
    setOrientations(1);
    setTextFont(ambientFont);
}

void ProgressBar::ReadProperties(const PropertyBag &bag, const QFont &ambientFont) {
    int i = 0;
    colour::Value c = 0;
    // The range before the value, so a stored value clamps to the stored range.
    if (readInt(bag, "Max", 100, &i)) setMax(i);
    if (readInt(bag, "Min", 0, &i)) setMin(i);
    if (readInt(bag, "Value", 50, &i)) setValue(i);
    if (readInt(bag, "RoundedValue", 5, &i)) setRoundedValue(i);
    const QVariant enabled = bag.ReadProperty(QStringLiteral("Enabled"), true);
    if (enabled.canConvert<bool>()) setEnabled(enabled.toBool());
    if (readInt(bag, "Theme", 1, &i)) setTheme(i);
    if (readInt(bag, "TextStyle", 1, &i)) setTextStyle(i);
    if (readInt(bag, "Orientations", 1, &i)) setOrientations(i);
    // The texts are saved but never loaded: the hosts fill them at run time.
    setText(QString());
    setText2(QString());
    if (readColour(bag, "TextEffectColor", kBagEffectColour, &c)) setTextEffectColor(c);
    if (readInt(bag, "TextEffect", 1, &i)) setTextEffect(i);
    if (readInt(bag, "TextAlignment", 5, &i)) setTextAlignment(i);
    const QVariant font = bag.ReadProperty(QStringLiteral("TextFont"), ambientFont);
    if (font.canConvert<QFont>()) setTextFont(font.value<QFont>());
    if (readColour(bag, "TextForeColor", 0, &c)) setTextForeColor(c);
    if (readColour(bag, "PBSCustomeColor2", 0, &c)) setPBSCustomeColor2(c);
    if (readColour(bag, "PBSCustomeColor1", 0, &c)) setPBSCustomeColor1(c);
    if (readInt(bag, "BarType", 0, &i)) setBarType(i);
}

void ProgressBar::WriteProperties(PropertyBag &bag, const QFont &ambientFont) const {
    bag.WriteProperty(QStringLiteral("Orientations"), m_orientations, 1);
    bag.WriteProperty(QStringLiteral("Max"), m_max, 100);
    bag.WriteProperty(QStringLiteral("Min"), m_min, 0);
    bag.WriteProperty(QStringLiteral("Value"), m_value, 50);
    bag.WriteProperty(QStringLiteral("RoundedValue"), m_roundedValue, 5);
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, true);
    bag.WriteProperty(QStringLiteral("Theme"), m_theme, 1);
    bag.WriteProperty(QStringLiteral("TextStyle"), m_textStyle, 1);
    bag.WriteProperty(QStringLiteral("TextFont"), m_textFont, ambientFont);
    bag.WriteProperty(QStringLiteral("TextForeColor"), qlonglong(m_textForeColor), 0);
    bag.WriteProperty(QStringLiteral("TextAlignment"), m_textAlignment, 5);
    bag.WriteProperty(QStringLiteral("Text"), m_text, QString());
    bag.WriteProperty(QStringLiteral("Text2"), m_text2, QString());
    bag.WriteProperty(QStringLiteral("TextEffectColor"), qlonglong(m_textEffectColor), qlonglong(kBagEffectColour));
    bag.WriteProperty(QStringLiteral("TextEffect"), m_textEffect, 1);
    bag.WriteProperty(QStringLiteral("PBSCustomeColor2"), qlonglong(m_custom2), 0);
    bag.WriteProperty(QStringLiteral("PBSCustomeColor1"), qlonglong(m_custom1), 0);
    bag.WriteProperty(QStringLiteral("BarType"), m_barType, 0);
}
