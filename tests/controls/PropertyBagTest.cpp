#include <QFont>
#include <gtest/gtest.h>

#include "controls/PropertyBag.h"

namespace {

TEST(PropertyBag, DefaultsAreLeftOutAndReadBack) {
    PropertyBag bag;
    bag.WriteProperty("Max", 100, 100);
    bag.WriteProperty("Min", 5, 0);
    EXPECT_FALSE(bag.contains("Max"));
    EXPECT_EQ(bag.ReadProperty("Max", 100).toInt(), 100);
    EXPECT_EQ(bag.ReadProperty("min", 0).toInt(), 5);  // keys ignore case
    bag.WriteProperty("MIN", 0, 0);                    // back to the default: removed
    EXPECT_EQ(bag.size(), 0);
}

TEST(PropertyBag, ANumberNeverEqualsAText) {
    PropertyBag bag;
    bag.WriteProperty("CaptionEffects", 0, QString());
    EXPECT_TRUE(bag.contains("CaptionEffects"));
    EXPECT_TRUE(PropertyBag::sameValue(true, 1));
    EXPECT_FALSE(PropertyBag::sameValue(QString("1"), 1));
    EXPECT_TRUE(PropertyBag::sameValue(QVariant(), QVariant()));
}

TEST(PropertyBag, KeepsTheOrderOfFirstWrite) {
    PropertyBag bag;
    bag.WriteProperty("B", 1);
    bag.WriteProperty("A", 2);
    bag.WriteProperty("b", 3);
    EXPECT_EQ(bag.keys(), QStringList({"B", "A"}));
    EXPECT_EQ(bag.ReadProperty("B").toInt(), 3);
}

}  // namespace
