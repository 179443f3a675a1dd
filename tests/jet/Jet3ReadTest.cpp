#include <gtest/gtest.h>

#include <cstring>

#include "Jet3Fixture.h"
#include "JetTestUtil.h"
#include "jet/CellValue.h"
#include "jet/JetReader.h"

using namespace jet;
using namespace jettest;

namespace {

std::string le(int64_t v, size_t bytes) {
    std::string s;
    for (size_t i = 0; i < bytes; ++i) s += static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

std::string dbl(double d) {
    std::string s(8, '\0');
    std::memcpy(&s[0], &d, 8);
    return s;
}

}  // namespace

TEST(Jet3Read, ReadsAnOlderFileThroughLibmdb) {
    ScratchDir dir;
    const std::string file = dir.file("old.mdb");
    using namespace jet::format;
    writeJet3File(file, "GLAcct",
                  {{"FNumber", kLong, 4},
                   {"FName", kText, 40},
                   {"FBal", kMoney, 8},
                   {"FDate", kDateTime, 8},
                   {"FFlag", kBool, 0}},
                  {{le(1001, 4), std::string("Caf\xE9"), le(123456, 8), dbl(45351.5), std::string()},
                   {le(-5, 4), std::nullopt, std::nullopt, std::nullopt, std::nullopt}});
    EXPECT_EQ(run("mdb-ver " + quote(file)).out, "JET3\n");
    EXPECT_EQ(run("mdb-tables -1 " + quote(file)).out, "GLAcct\n");

    JetReader reader(file);
    EXPECT_EQ(reader.jetVersion(), 3);
    const JetTableInfo *t = reader.findTable("GLAcct");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->fields.size(), 5u);
    EXPECT_EQ(t->fields[1].typeName, "Text");
    EXPECT_EQ(t->fields[1].size, 40);
    auto cursor = reader.openTable("GLAcct");
    std::vector<Value> row;
    ASSERT_TRUE(cursor->next(row));
    EXPECT_EQ(row[0], Value::integral(1001));
    EXPECT_EQ(row[1], Value::text("Café"));
    EXPECT_EQ(row[2], Value::currency(123456));
    EXPECT_EQ(cellFromValue(row[3]), Cell("2024-02-29 12:00:00"));
    EXPECT_EQ(row[4], Value::boolean(true));
    ASSERT_TRUE(cursor->next(row));
    EXPECT_EQ(row[0], Value::integral(-5));
    EXPECT_TRUE(row[1].isNull());
    EXPECT_TRUE(row[2].isNull());
    EXPECT_EQ(row[4], Value::boolean(false));
    EXPECT_FALSE(cursor->next(row));
}

TEST(Jet3Read, MovedAndDeletedRows) {
    ScratchDir dir;
    const std::string file = dir.file("worn.mdb");
    using namespace jet::format;
    std::vector<Jet3Row> rows;
    for (int i = 1; i <= 12; ++i) rows.push_back({le(i, 4), std::string("row ") + std::to_string(i)});
    writeJet3File(file, "GLVch", {{"FID", kLong, 4}, {"FText", kText, 40}}, rows, {{2, 5, 12}, {3, 9}});
    EXPECT_EQ(run("mdb-count " + quote(file) + " GLVch").out, "10\n");
    // libmdb reads the moved rows where they now are, after the others.
    const auto exported = run("mdb-export " + quote(file) + " GLVch").out;
    EXPECT_EQ(exported, "FID,FText\n1,\"row 1\"\n4,\"row 4\"\n6,\"row 6\"\n7,\"row 7\"\n8,\"row 8\"\n"
                        "10,\"row 10\"\n11,\"row 11\"\n2,\"row 2\"\n5,\"row 5\"\n12,\"row 12\"\n");

    JetReader reader(file);
    auto cursor = reader.openTable("GLVch");
    std::vector<Value> row;
    std::vector<int64_t> ids;
    while (cursor->next(row)) {
        ids.push_back(row[0].integer);
        EXPECT_EQ(row[1], Value::text("row " + std::to_string(row[0].integer)));
    }
    EXPECT_EQ(ids, (std::vector<int64_t>{1, 2, 4, 5, 6, 7, 8, 10, 11, 12}));
}
