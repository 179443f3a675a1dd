// The provider connection text of OpenDataSource: keys and values trimmed,
// line breaks inside, keys in any case, paths with "\" read as "/".
#include <gtest/gtest.h>

#include "server/DataSourceText.h"

namespace {

TEST(DataSourceTextTest, KeysAndValues) {
    server::DataSourceText t("Provider= Microsoft.Jet.OLEDB.4.0;Password=tqlarnvezmbhko ;User ID=morningstar;\r\n"
                             "Data Source=C:\\Acct\\a b.ais;Persist Security Info=True;\r\n"
                             "Jet OLEDB:System database=C:\\Acct\\system.mda\r\n;;noequals;=nokey;");
    struct Case {
        const char *key;
        const char *value;
    };
    const Case cases[] = {{"Provider", "Microsoft.Jet.OLEDB.4.0"},
                          {"password", "tqlarnvezmbhko"},
                          {"USER ID", "morningstar"},
                          {"Data Source", "C:\\Acct\\a b.ais"},
                          {"Persist Security Info", "True"},
                          {"jet oledb:system database", "C:\\Acct\\system.mda"},
                          {"Missing", ""}};
    for (const auto &c : cases) {
        EXPECT_EQ(t.value(c.key), c.value) << c.key;
        EXPECT_EQ(t.has(c.key), *c.value != '\0') << c.key;
    }
    EXPECT_EQ(t.path("Data Source"), "C:/Acct/a b.ais");
    EXPECT_FALSE(t.has("noequals"));
    EXPECT_FALSE(t.has(""));
}

// A value in quotes keeps ";", "=", blanks and the other quote; its own
// quote is doubled inside.
TEST(DataSourceTextTest, QuotedValuesHoldSeparators) {
    server::DataSourceText t("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/tmp/a;b 'c\"\"d =e/s.ais\";"
                             "Jet OLEDB:System database= '/tmp/x''y;z/system.mda' ;User ID=morningstar");
    EXPECT_EQ(t.value("Data Source"), "/tmp/a;b 'c\"d =e/s.ais");
    EXPECT_EQ(t.value("Jet OLEDB:System database"), "/tmp/x'y;z/system.mda");
    EXPECT_EQ(t.value("User ID"), "morningstar");
    EXPECT_EQ(t.value("Provider"), "Microsoft.Jet.OLEDB.4.0");
}

TEST(DataSourceTextTest, FirstOfARepeatedKeyHolds) {
    server::DataSourceText t("User ID=a;user id=b");
    EXPECT_EQ(t.value("User ID"), "a");
}

}  // namespace
