#include <gtest/gtest.h>

#include "jet/TableText.h"

using namespace jet;

TEST(TableText, RoundTripKeepsNullEmptyAndEscapes) {
    TableText t;
    t.name = "GLAcct";
    t.columns = {{"FAcctID", ColumnType::Text, 40, true},
                 {"FName", ColumnType::Text, 80, false},
                 {"FAmt", ColumnType::Currency, 0, false}};
    t.rows = {{"1001", "现金\t\"库存\"\n", std::nullopt}, {"1002", "", "12.3400"}, {"1003", "\\N", "0"}};
    const TableText back = parseTableText("GLAcct", formatTableText(t));
    ASSERT_EQ(back.columns.size(), 3u);
    EXPECT_TRUE(back.columns[0].required);
    EXPECT_EQ(back.columns[1].size, 80);
    EXPECT_EQ(back.rows, t.rows);
}

TEST(TableText, RejectsMalformedText) {
    const char *bad[] = {
        "",                              // no column line
        "FName\n",                       // no type
        "FName:Txt(5)\n",                // unknown type
        "FName:Text\n",                  // Text without size
        "FName:Text(300)\n",             // too wide
        "FID:Long(4)\n",                 // size on a non-text column
        "FID:Long\tFName:Text(5)\n1\n",  // wrong cell count
        "FID:Long!\n\\N\n",              // NULL in a required column
    };
    for (const char *text : bad) EXPECT_THROW(parseTableText("T", text), TableTextError) << text;
}
