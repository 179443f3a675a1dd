#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "controls/ProgressBar.h"
#include "controls/PropertyBag.h"
#include "controls/WizardControls.h"
#include "support/QtApp.h"

namespace {

TEST(ProgressBarPersistence, CreationDefaults) {
    ensureQtApp();
    ProgressBar bar;
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Value(), 50);
    EXPECT_EQ(bar.RoundedValue(), 5);
    EXPECT_TRUE(bar.Enabled());
    EXPECT_EQ(bar.Theme(), 1);
    EXPECT_EQ(bar.TextAlignment(), 5);
    EXPECT_EQ(bar.TextEffect(), 5);
    EXPECT_EQ(bar.TextEffectColor(), colour::rgb(255, 255, 255));
    EXPECT_EQ(bar.TextStyle(), 3);
    EXPECT_EQ(bar.Orientations(), 1);
    EXPECT_EQ(bar.BarType(), 0);
    EXPECT_EQ(bar.TextFont(), QApplication::font());
}

TEST(ProgressBarPersistence, NewBarStoresTheThreeDefaultsThatDiffer) {
    ensureQtApp();
    ProgressBar bar;
    bar.setText(QString());
    PropertyBag bag;
    bar.WriteProperties(bag, QApplication::font());
    EXPECT_EQ(bag.keys(), QStringList({"TextStyle", "TextEffectColor", "TextEffect"}));
}

TEST(ProgressBarPersistence, RoundTripKeepsAllButTheTexts) {
    ensureQtApp();
    ProgressBar a;
    a.setMax(200);
    a.setMin(10);
    a.setValue(150);
    a.setRoundedValue(9);
    a.setEnabled(false);
    a.setTheme(10);
    a.setTextStyle(2);
    a.setOrientations(2);
    a.setTextAlignment(4);
    a.setTextEffectColor(colour::rgb(1, 2, 3));
    a.setTextEffect(3);
    QFont f = QApplication::font();
    f.setBold(true);
    a.setTextFont(f);
    a.setTextForeColor(colour::rgb(9, 8, 7));
    a.setPBSCustomeColor1(colour::rgb(0, 100, 200));
    a.setPBSCustomeColor2(colour::rgb(10, 20, 30));
    a.setBarType(1);
    a.setText("abc");
    a.setText2("50%");
    PropertyBag bag;
    a.WriteProperties(bag, QApplication::font());
    EXPECT_EQ(bag.ReadProperty("Text").toString(), "abc");

    ProgressBar b;
    b.ReadProperties(bag, QApplication::font());
    EXPECT_EQ(b.Max(), 200);
    EXPECT_EQ(b.Min(), 10);
    EXPECT_EQ(b.Value(), 150);
    EXPECT_EQ(b.RoundedValue(), 9);
    EXPECT_FALSE(b.Enabled());
    EXPECT_EQ(b.Theme(), 10);
    EXPECT_EQ(b.TextStyle(), 2);
    EXPECT_EQ(b.Orientations(), 2);
    EXPECT_EQ(b.TextAlignment(), 4);
    EXPECT_EQ(b.TextEffectColor(), colour::rgb(1, 2, 3));
    EXPECT_EQ(b.TextEffect(), 3);
    EXPECT_EQ(b.TextFont(), f);
    EXPECT_EQ(b.TextForeColor(), colour::rgb(9, 8, 7));
    EXPECT_EQ(b.PBSCustomeColor1(), colour::rgb(0, 100, 200));
    EXPECT_EQ(b.PBSCustomeColor2(), colour::rgb(10, 20, 30));
    EXPECT_EQ(b.BarType(), 1);
    EXPECT_EQ(b.Text(), "");  // texts are saved, never loaded
    EXPECT_EQ(b.Text2(), "");
}

TEST(ProgressBarPersistence, LoadingClampsTheValueToTheStoredRangeAndSkipsBadEntries) {
    ensureQtApp();
    PropertyBag bag;
    bag.WriteProperty("Max", 40, 100);
    bag.WriteProperty("Value", 90, 50);
    bag.WriteProperty("Theme", "not a number", 1);
    ProgressBar bar;
    bar.setTheme(4);
    QSignalSpy spy(&bar, &ProgressBar::propertyChanged);
    bar.ReadProperties(bag, QApplication::font());
    EXPECT_EQ(bar.Max(), 40);
    EXPECT_EQ(bar.Value(), 40);
    EXPECT_EQ(bar.Theme(), 4);      // unreadable: keeps its value
    EXPECT_EQ(bar.TextStyle(), 1);  // missing: the bag's default
    EXPECT_EQ(bar.TextEffect(), 1);
    EXPECT_EQ(bar.TextEffectColor(), colour::rgb(200, 200, 200));
    EXPECT_GE(spy.count(), 17);
}

TEST(ProgressBarPersistence, EveryWriteNotifiesUnderItsNameAndRedraws) {
    ensureQtApp();
    ProgressBar bar;
    QSignalSpy spy(&bar, &ProgressBar::propertyChanged);
    const int before = bar.redrawCount();
    bar.setTheme(3);
    bar.setTextFont(QFont());
    bar.setPBSCustomeColor2(5);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toString(), "Theme");
    EXPECT_EQ(spy.at(1).at(0).toString(), "TextFont");
    EXPECT_EQ(spy.at(2).at(0).toString(), "PBSCustomeColor2");
    EXPECT_EQ(bar.redrawCount() - before, 3);
}

TEST(ProgressBarPersistence, WizardBarLook) {
    ensureQtApp();
    std::unique_ptr<ProgressBar> bar(WizardControls::makeProgressBar(nullptr));
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_EQ(bar->Theme(), 8);
    EXPECT_EQ(bar->BarType(), 1);
    EXPECT_EQ(bar->TextStyle(), 3);
    EXPECT_EQ(bar->TextAlignment(), 2);
    EXPECT_EQ(bar->TextEffect(), 5);
    EXPECT_EQ(bar->Text(), "");
    EXPECT_EQ(bar->Text2(), "");
    EXPECT_EQ(bar->TextFont(), WizardControls::font());
}

TEST(ProgressBarPersistence, HostsReachThePropertiesByName) {
    ensureQtApp();
    ProgressBar bar;
    QSignalSpy spy(&bar, &ProgressBar::propertyChanged);
    EXPECT_TRUE(bar.setProperty("Max", 40));
    EXPECT_TRUE(bar.setProperty("Value", 90));
    EXPECT_TRUE(bar.setProperty("Text2", "100%"));
    EXPECT_TRUE(bar.setProperty("Theme", 3));
    EXPECT_EQ(bar.property("Value").toInt(), 40);
    EXPECT_EQ(bar.Text2(), "100%");
    EXPECT_EQ(bar.Theme(), 3);
    EXPECT_EQ(spy.count(), 5);  // Value (lowered by Max), Max, Value, Text2, Theme
}

}  // namespace
