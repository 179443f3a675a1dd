#include <gtest/gtest.h>

#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"
#include "platform/PnwList.h"

TEST(PnwList, CountsFromOneAndSharesItsItemsBetweenHandles) {
    PnwList list;
    list.Add(QStringLiteral("a"));
    list.Add(QVariant());
    list.Add(QString(""));
    PnwList same = list;
    same.Add(42);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(1).toString(), "a");
    EXPECT_FALSE(list.Item(2).isValid());
    EXPECT_TRUE(list.Item(3).isValid());
    EXPECT_EQ(list.Item(3).toString(), "");
    EXPECT_EQ(list.Item(4).toInt(), 42);
    list.Clear();
    EXPECT_EQ(same.Count(), 0);
}

TEST(PnwList, OutOfRangeRaisesNumberNine) {
    PnwList list;
    list.Add(1);
    for (int bad : {0, 2, -1}) {
        try {
            list.Item(bad);
            FAIL() << bad;
        } catch (const PnwError &e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
}

TEST(PnwList, HoldsADictionaryByReference) {
    PnwList settings;
    PnwDictionary record;
    record.setItem(QStringLiteral("Source"), QStringLiteral("/data/a.ais"));
    settings.Add(record);
    record.setItem(QStringLiteral("Option"), 1);
    const PnwDictionary back = settings.DictionaryItem(1);
    EXPECT_TRUE(back.isSameAs(record));
    EXPECT_EQ(back.Item(QStringLiteral("option")).toInt(), 1);
    settings.Add(7);
    EXPECT_THROW(settings.DictionaryItem(2), PnwError);
}

TEST(PnwDictionary, KeysAreCaseInsensitiveAndKeepInsertionOrder) {
    PnwDictionary d;
    d.setItem(QStringLiteral("AcctNum"), QStringLiteral("001"));
    d.setItem(QStringLiteral("Source"), QVariant());
    d.setItem(QStringLiteral("DBDir"), QString(""));
    d.setItem(QStringLiteral("ACCTNUM"), QStringLiteral("002"));
    ASSERT_EQ(d.Count(), 3);
    EXPECT_EQ(d.Key(1), "AcctNum");
    EXPECT_EQ(d.Key(2), "Source");
    EXPECT_EQ(d.Key(3), "DBDir");
    EXPECT_EQ(d.Item(QStringLiteral("acctnum")).toString(), "002");
    EXPECT_FALSE(d.Item(QStringLiteral("source")).isValid());
    EXPECT_TRUE(d.Item(QStringLiteral("dbdir")).isValid());
    EXPECT_FALSE(d.Item(QStringLiteral("missing")).isValid());
    EXPECT_FALSE(d.Exists(QStringLiteral("missing")));
    d.Remove(QStringLiteral("SOURCE"));
    EXPECT_EQ(d.Keys(), QStringList({"AcctNum", "DBDir"}));
    EXPECT_THROW(d.Remove(QStringLiteral("Source")), PnwError);
    EXPECT_THROW(d.Key(3), PnwError);
}
