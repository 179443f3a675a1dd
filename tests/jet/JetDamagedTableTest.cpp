// Damage the format can detect is refused, by table: a row count that
// differs from the one the definition records, a page in a table's map
// that belongs to another table, and a date outside the years the format
// holds. The other tables of the file still read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <string>

#include "JetTestUtil.h"
#include "jet/JetDate.h"
#include "jet/JetError.h"
#include "jet/JetReader.h"
#include "jet/JetWriter.h"

using namespace jet;
using namespace jettest;

namespace {

constexpr size_t kPage = 4096;
constexpr uint32_t kCataloguePage = 2;

uint32_t get32(const std::string &b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

void put32(std::string &b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Whether a definition page names a column (Jet 4 keeps names as UCS-2).
bool definesColumn(const std::string &bytes, uint32_t tdef, const std::string &column) {
    std::string ucs2;
    for (char c : column) ucs2 += std::string{c, '\0'};
    return bytes.substr(tdef * kPage, kPage).find(ucs2) != std::string::npos;
}

// The first data page of the two user tables, keyed by definition page.
std::map<uint32_t, uint32_t> userDataPages(const std::string &bytes) {
    std::map<uint32_t, uint32_t> out;
    for (uint32_t pg = 1; pg < bytes.size() / kPage; ++pg) {
        const size_t at = pg * kPage;
        if (bytes[at] != 0x01) continue;
        const uint32_t tdef = get32(bytes, at + 4);
        if (tdef == kCataloguePage || out.count(tdef)) continue;
        if (definesColumn(bytes, tdef, "FAcctID") || definesColumn(bytes, tdef, "FClsID")) out[tdef] = pg;
    }
    return out;
}

// The two tables the damage cases aim at.
std::map<std::string, std::string> aimedTables(const std::string &path) {
    return jettest::readTables(path, [](const std::string &name) { return name == "GLAcct" || name == "GLCls"; });
}

class JetDamagedTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        JetWriter::writeFile(file,
                             {parseTableText("GLAcct", "FAcctID:Text(40)\tFName:Text(80)\n1001\t现金\n1002\t银行\n"
                                                       "1003\t应收\n"),
                              parseTableText("GLCls", "FClsID:Long\tFName:Text(20)\n1\t资产\n2\t负债\n")});
        bytes = readBytes(file);
        pages = userDataPages(bytes);
        ASSERT_EQ(pages.size(), 2u);
    }

    // Exactly one table refused, with a text holding `says`; the other reads.
    void expectOneRefused(const std::string &says) {
        writeBytes(file, bytes);
        const auto tables = aimedTables(file);
        ASSERT_EQ(tables.size(), 2u);
        int refused = 0;
        for (const auto &[name, outcome] : tables) {
            if (outcome == "read") continue;
            ++refused;
            EXPECT_NE(outcome.find(name), std::string::npos) << outcome;
            EXPECT_NE(outcome.find(says), std::string::npos) << outcome;
        }
        EXPECT_EQ(refused, 1);
    }

    ScratchDir dir;
    std::string file = dir.file("damaged.ais");
    std::string bytes;
    std::map<uint32_t, uint32_t> pages;  // definition page -> first data page
};

TEST_F(JetDamagedTableTest, ASoundFileReadsEveryTable) {
    for (const auto &[name, outcome] : aimedTables(file)) EXPECT_EQ(outcome, "read") << name;
}

TEST_F(JetDamagedTableTest, ARowCountOtherThanTheRecordedOneIsRefused) {
    const uint32_t tdef = pages.begin()->first;
    put32(bytes, tdef * kPage + 16, get32(bytes, tdef * kPage + 16) + 1);
    expectOneRefused("where its definition records");
}

TEST_F(JetDamagedTableTest, APageOfAnotherTableInTheMapIsRefused) {
    // The first table's data page now says it belongs to the second table:
    // the first table's map lists a page that is not its own.
    const auto first = pages.begin();
    const auto second = std::next(first);
    put32(bytes, first->second * kPage + 4, second->first);
    expectOneRefused("which is not one of its data pages");
}

TEST(JetDamagedValueTest, ADateOutsideTheFormatsYearsIsRefused) {
    // The first and last instants the format holds read; a stored double
    // beyond them (or NaN) is damage, refused by the table's name.
    ScratchDir dir;
    const std::string file = dir.file("dates.ais");
    JetWriter::writeFile(file, {parseTableText("Dates", "K:Long\tD:DateTime\n1\t0100-01-01 06:00:00\n"
                                                        "2\t9999-12-31 23:59:59\n")});
    {
        JetReader reader(file);
        auto cursor = reader.openTable("Dates");
        std::vector<Value> row;
        ASSERT_TRUE(cursor->next(row));
        EXPECT_EQ(jetDateToText(row[1].real), "0100-01-01 06:00:00");
        ASSERT_TRUE(cursor->next(row));
        EXPECT_EQ(jetDateToText(row[1].real), "9999-12-31 23:59:59");
    }
    const double last = jetDateFromText("9999-12-31 23:59:59");
    const std::string stored(reinterpret_cast<const char *>(&last), sizeof last);
    const std::string bytes = readBytes(file);
    const size_t at = bytes.find(stored);
    ASSERT_NE(at, std::string::npos);
    for (double bad : {1e300, last + 1, -657435.0, std::nan("")}) {
        std::string damaged = bytes;
        damaged.replace(at, sizeof bad, reinterpret_cast<const char *>(&bad), sizeof bad);
        writeBytes(file, damaged);
        JetReader reader(file);
        try {
            auto cursor = reader.openTable("Dates");
            std::vector<Value> row;
            while (cursor->next(row)) {}
            ADD_FAILURE() << bad << " was read";
        } catch (const JetError &e) {
            EXPECT_NE(std::string(e.what()).find("\"Dates\""), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("outside the years 100 to 9999"), std::string::npos) << e.what();
        }
    }
}

TEST(JetSourceFileTest, OnlyARegularFileIsOpened) {
    // A FIFO would block a reader waiting for a writer; a folder is no file.
    ScratchDir dir;
    const std::string fifo = dir.file("pipe.ais");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {fifo, dir.path()}) {
        try {
            JetReader reader(path);
            ADD_FAILURE() << path << " was opened";
        } catch (const JetError &e) {
            EXPECT_NE(std::string(e.what()).find("is not a regular file"), std::string::npos) << e.what();
        }
    }
}

}  // namespace
