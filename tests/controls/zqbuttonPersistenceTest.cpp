#include <QApplication>
#include <gtest/gtest.h>

#include "controls/PropertyBag.h"
#include "controls/WizardControls.h"
#include "controls/zqbutton.h"
#include "support/QtApp.h"

namespace {

using colour::rgb;

TEST(zqbuttonPersistence, EmptyBagGivesTheReadDefaults) {
    ensureQtApp();
    zqbutton b;
    b.ReadProperties(PropertyBag(), QApplication::font());
    EXPECT_EQ(b.ButtonStyle(), 1);
    EXPECT_EQ(b.Caption(), "zqbutton");
    EXPECT_FALSE(b.ShowFocusRect());
    EXPECT_EQ(b.BackColor(), colour::translate(colour::systemRef(15)));
    EXPECT_EQ(b.PictureEffectOnOver(), 1);
    EXPECT_EQ(b.PictureEffectOnDown(), 2);
    EXPECT_EQ(b.TooltipBackColor(), colour::translate(colour::systemRef(24)));
    EXPECT_EQ(b.ColorScheme(), 0);
}

TEST(zqbuttonPersistence, SavedBagLeavesOutDefaultsButAlwaysHoldsCaptionEffects) {
    ensureQtApp();
    zqbutton b;
    b.ReadProperties(PropertyBag(), QApplication::font());
    b.setCaption("zqbutton1");
    PropertyBag bag;
    b.WriteProperties(bag, QApplication::font());
    EXPECT_EQ(bag.keys(), QStringList({"CaptionEffects"}));

    zqbutton back;
    back.ReadProperties(bag, QApplication::font());
    EXPECT_EQ(back.Caption(), "zqbutton");  // the read default differs from the written one
    b.setPictureOpacity(200);
    b.WriteProperties(bag, QApplication::font());
    EXPECT_EQ(bag.ReadProperty("PictureOpacity").toInt(), 200);
}

TEST(zqbuttonPersistence, RoundTripGoesStraightIntoTheMembers) {
    ensureQtApp();
    zqbutton a;
    a.setButtonStyle(8);
    a.setBackColor(rgb(10, 20, 30));
    a.setCaption("&Go");
    a.setMode(2);
    a.setValue(true);
    a.setCaptionAlign(2);
    a.setPictureAlign(5);
    a.setDropDownSymbol(6);
    a.setToolTip("tip");
    a.setTooltipTitle("title");
    a.setToolTipType(1);
    a.setForeColor(rgb(1, 1, 1));
    a.setForeColorHover(rgb(2, 2, 2));
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    a.setPictureNormal(ButtonPicture(img));
    PropertyBag bag;
    a.WriteProperties(bag, QApplication::font());

    zqbutton b;
    b.ReadProperties(bag, QApplication::font());
    EXPECT_EQ(b.ButtonStyle(), 8);
    EXPECT_EQ(b.BackColor(), rgb(10, 20, 30));
    EXPECT_EQ(b.ColorScheme(), 3);  // read as stored, not reset by the style
    EXPECT_EQ(b.Caption(), "&Go");
    EXPECT_EQ(b.accessKey(), QChar('g'));
    EXPECT_EQ(b.Mode(), 2);
    EXPECT_TRUE(b.Value());
    EXPECT_EQ(b.CaptionAlign(), 2);
    EXPECT_EQ(b.PictureAlign(), 5);
    EXPECT_EQ(b.DropDownSymbol(), 6);
    EXPECT_EQ(b.ToolTip(), "tip");
    EXPECT_EQ(b.TooltipTitle(), "title");
    EXPECT_EQ(b.ToolTipType(), 1);
    EXPECT_EQ(b.ForeColor(), rgb(1, 1, 1));
    EXPECT_EQ(b.ForeColorHover(), rgb(2, 2, 2));
    EXPECT_EQ(b.PictureNormal().image, img);
}

TEST(zqbuttonPersistence, WizardPresets) {
    ensureQtApp();
    using WizardControls::ButtonKind;
    struct Case {
        ButtonKind kind;
        colour::Value back, fore, tooltipBack;
        bool pushOnHover;
        int disabledMode, effectOnDown;
    };
    const colour::Value text = colour::translate(colour::systemRef(18));
    const Case cases[] = {
        {ButtonKind::Dialog, rgb(173, 209, 255), text, rgb(255, 255, 255), true, 1, 2},
        {ButtonKind::SettingsPage, rgb(173, 209, 255), text, 0, false, 0, 0},
        {ButtonKind::MainWindow, rgb(76, 132, 203), rgb(255, 255, 255), rgb(255, 255, 255), true, 1, 2},
    };
    for (const auto &c : cases) {
        std::unique_ptr<zqbutton> b(WizardControls::makeButton(c.kind, "确定", nullptr));
        EXPECT_EQ(b->ButtonStyle(), 8);
        EXPECT_EQ(b->Caption(), "确定");
        EXPECT_EQ(b->BackColor(), c.back);
        EXPECT_EQ(b->ForeColor(), c.fore);
        EXPECT_EQ(b->TooltipBackColor(), c.tooltipBack);
        EXPECT_EQ(b->PicturePushOnHover(), c.pushOnHover);
        EXPECT_EQ(b->DisabledPictureMode(), c.disabledMode);
        EXPECT_EQ(b->PictureEffectOnOver(), 0);
        EXPECT_EQ(b->PictureEffectOnDown(), c.effectOnDown);
        EXPECT_EQ(b->Mode(), 0);
        EXPECT_TRUE(b->ShowFocusRect());  // the focused button is seen
    }
}

}  // namespace
