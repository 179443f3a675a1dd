#include "controls/WizardControls.h"

#include <QApplication>

#include "controls/ProgressBar.h"
#include "controls/PropertyBag.h"
#include "controls/zqbutton.h"

namespace WizardControls {

namespace {

qlonglong rgb(int r, int g, int b) { return qlonglong(colour::rgb(r, g, b)); }

}  // namespace

QFont font() {
    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei")});
    f.setPointSize(9);
    return f;
}

PropertyBag buttonDesign(ButtonKind kind, const QString &caption) {
    PropertyBag bag;
    bag.WriteProperty("ButtonStyle", 8);
    // The keyboard's button is seen: every window of the wizard can be
    // worked with the keys alone.
    bag.WriteProperty("ShowFocusRect", true);
    bag.WriteProperty("BackColor", rgb(173, 209, 255));
    bag.WriteProperty("Caption", caption);
    bag.WriteProperty("Font", font());
    if (kind == ButtonKind::SettingsPage) {
        bag.WriteProperty("PictureEffectOnDown", 0);
        bag.WriteProperty("TooltipBackColor", 0);
    } else {
        bag.WriteProperty("PicturePushOnHover", true);
        bag.WriteProperty("DisabledPictureMode", 1);
        bag.WriteProperty("MaskColor", rgb(0, 0, 255));
        bag.WriteProperty("TooltipBackColor", rgb(255, 255, 255));
    }
    bag.WriteProperty("PictureEffectOnOver", 0);
    bag.WriteProperty("CaptionEffects", 0);
    if (kind == ButtonKind::MainWindow) bag.WriteProperty("ForeColor", rgb(255, 255, 255));
    return bag;
}

zqbutton *makeButton(ButtonKind kind, const QString &caption, QWidget *parent) {
    auto *button = new zqbutton(parent);
    button->ReadProperties(buttonDesign(kind, caption), parent ? parent->font() : QApplication::font());
    if (kind == ButtonKind::MainWindow) button->setBackColor(kMainWindowBackColor);
    return button;
}

PropertyBag progressBarDesign() {
    PropertyBag bag;
    bag.WriteProperty("Value", 0);
    bag.WriteProperty("Theme", 8);
    bag.WriteProperty("TextStyle", 3);
    bag.WriteProperty("TextAlignment", 2);
    bag.WriteProperty("TextEffect", 5);
    bag.WriteProperty("TextEffectColor", rgb(255, 255, 255));
    bag.WriteProperty("TextForeColor", 0);
    bag.WriteProperty("TextFont", font());
    bag.WriteProperty("BarType", 1);
    bag.WriteProperty("RoundedValue", 5);
    return bag;
}

ProgressBar *makeProgressBar(QWidget *parent) {
    auto *bar = new ProgressBar(parent);
    bar->ReadProperties(progressBarDesign(), parent ? parent->font() : QApplication::font());
    return bar;
}

}  // namespace WizardControls
