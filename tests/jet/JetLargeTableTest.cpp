// A voucher-like table of 300,000 rows (about 30 MB): its usage map is the
// reference form, and every reader must see every row.
#include <gtest/gtest.h>

#include <filesystem>

#include "JetTestUtil.h"
#include "VoucherFixture.h"
#include "jet/CellValue.h"
#include "jet/JetReader.h"

using namespace jet;
using namespace jettest;

TEST(JetLargeTable, ThreeHundredThousandRowsReadBackEverywhere) {
    constexpr size_t kRows = 300000;
    ScratchDir dir;
    const std::string file = dir.file("big.ais");
    JetWriter::writeFile(file, {voucherSource("GLVchDetail", kRows), voucherSource("Small", 3)});
    EXPECT_GT(std::filesystem::file_size(file), 20u << 20);

    EXPECT_EQ(run("mdb-count " + quote(file) + " GLVchDetail").out, std::to_string(kRows) + "\n");
    EXPECT_EQ(run("mdb-count " + quote(file) + " Small").out, "3\n");
    // mdb-export sees every row, the last one included.
    const CommandResult tail = run("mdb-export -H " + quote(file) + " GLVchDetail | tail -n 1");
    EXPECT_EQ(tail.out.substr(0, tail.out.find(',')), std::to_string(kRows));
    EXPECT_EQ(run("mdb-export -H " + quote(file) + " GLVchDetail | wc -l").out, std::to_string(kRows) + "\n");

    JetReader reader(file);
    EXPECT_EQ(reader.findTable("GLVchDetail")->rowCount, static_cast<int64_t>(kRows));
    auto cursor = reader.openTable("GLVchDetail");
    const auto columns = voucherColumns();
    std::vector<Value> row;
    size_t n = 0, mismatches = 0;
    while (cursor->next(row)) {
        const Row cells = voucherRow(n++);
        for (size_t c = 0; c < columns.size(); ++c) {
            Value expected = valueFromCell(columns[c], cells[c]);
            if (row[c] != expected && mismatches++ < 5) ADD_FAILURE() << "row " << n << " column " << columns[c].name;
        }
    }
    EXPECT_EQ(n, kRows);
    EXPECT_EQ(mismatches, 0u);
}
