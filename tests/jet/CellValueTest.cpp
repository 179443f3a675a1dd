#include <gtest/gtest.h>

#include "jet/CellValue.h"
#include "jet/JetError.h"

using namespace jet;

TEST(CellValue, MoneyIsExactToFourDecimals) {
    struct Case {
        const char *text;
        int64_t scaled;
        const char *canonical;
    } cases[] = {
        {"0", 0, "0"},
        {"1234.5678", 12345678, "1234.5678"},
        {"-0.0001", -1, "-0.0001"},
        {"12.3400", 123400, "12.34"},
        {"+5", 50000, "5"},
        {"922337203685477.5807", INT64_MAX, "922337203685477.5807"},
        {"-922337203685477.5807", -INT64_MAX, "-922337203685477.5807"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseCurrency(c.text), c.scaled);
        EXPECT_EQ(formatCurrency(c.scaled), c.canonical);
    }
    for (const char *bad : {"", "-", "1.23456", "1,5", "abc", "1e3", "922337203685477.5808", "99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(parseCurrency(bad), JetError);
    }
}

TEST(CellValue, ChecksEachCellAgainstItsColumn) {
    struct Case {
        ColumnSpec column;
        Cell cell;
    } bad[] = {
        {{"B", ColumnType::Boolean}, "yes"},
        {{"Y", ColumnType::Byte}, "256"},
        {{"Y", ColumnType::Byte}, "-1"},
        {{"I", ColumnType::Integer}, "32768"},
        {{"L", ColumnType::Long}, "2147483648"},
        {{"L", ColumnType::Long}, "1.5"},
        {{"S", ColumnType::Single}, "1e39"},
        {{"X", ColumnType::Double}, "x"},
        {{"D", ColumnType::DateTime}, "2024-02-30"},
        {{"T", ColumnType::Text, 2}, "中文字"},
        {{"T", ColumnType::Text, 5, true}, std::nullopt},
        {{"O", ColumnType::OLE}, "ABC"},
        {{"O", ColumnType::OLE}, "ZZ"},
    };
    for (const auto &c : bad) {
        SCOPED_TRACE(c.column.name);
        EXPECT_THROW(valueFromCell(c.column, c.cell), JetError);
    }
    EXPECT_EQ(valueFromCell({"T", ColumnType::Text, 2}, "中文"), Value::text("中文"));
    EXPECT_EQ(valueFromCell({"B", ColumnType::Boolean}, "true"), Value::boolean(true));
    EXPECT_EQ(valueFromCell({"A", ColumnType::AutoNumber, 0, true}, std::nullopt), Value::null());
}

TEST(CellValue, CellsReadBackAsTheSameValue) {
    const ColumnSpec columns[] = {
        {"C", ColumnType::Currency}, {"S", ColumnType::Single}, {"X", ColumnType::Double},
        {"D", ColumnType::DateTime}, {"O", ColumnType::OLE},    {"T", ColumnType::Text, 10},
    };
    const char *cells[] = {"-12.5", "0.1", "0.30000000000000004", "1899-12-29 06:00:00", "00FF10", "中文"};
    for (size_t i = 0; i < std::size(columns); ++i) {
        const Value v = valueFromCell(columns[i], cells[i]);
        EXPECT_EQ(valueFromCell(columns[i], cellFromValue(v)), v) << cells[i];
    }
}
