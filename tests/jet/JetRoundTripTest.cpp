// Every file the writer makes is read back by mdbtools' own programs (the
// independent reader) and by JetReader, with the same values.
#include <gtest/gtest.h>

#include <cmath>

#include "JetTestUtil.h"
#include "jet/CellValue.h"
#include "jet/JetDate.h"
#include "jet/JetError.h"
#include "jet/JetFormat.h"
#include "jet/JetReader.h"
#include "jet/JetWriter.h"

using namespace jet;
using namespace jettest;

namespace {

// What libmdb 1.0 cannot show: a zero-length text reads as NULL, dates
// before 1899-12-30 print as "1900-01-00", and characters beyond U+FFFF
// print as "?" each half. Those cells are checked through JetReader only.
struct EdgeRow {
    Row cells;
    bool libmdbShowsExactly = true;
};

const std::vector<ColumnSpec> kEdgeColumns = {
    {"K", ColumnType::Long, 0, true}, {"T", ColumnType::Text, 255}, {"M", ColumnType::Memo},
    {"C", ColumnType::Currency},      {"D", ColumnType::DateTime},  {"B", ColumnType::Boolean},
    {"Y", ColumnType::Byte},          {"I", ColumnType::Integer},   {"S", ColumnType::Single},
    {"X", ColumnType::Double},        {"O", ColumnType::OLE},       {"R", ColumnType::Text, 20, true},
};

std::string repeat(const std::string &s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

std::vector<EdgeRow> edgeRows() {
    const Cell N;
    return {
        {{"1", "中文", "中文备注", "1234.5678", "2024-01-31", "1", "0", "0", "0", "0", "00", "r"}},
        {{"2", "ABCDEFGH中文", "Memo ABCDEFGH 中文 mixed", "-0.0001", "1899-12-30", "0", "255", "-32768", "1.5",
          "-2.25", "0102FF", "r"}},
        {{"3", "现金及银行存款ABCDEFGHIJKL", "一", "922337203685477.5807", "1899-12-30 12:00:00", "1", "1", "32767",
          "-3.4e38", "1e300", N, "必填"}},
        {{"4", "abcdefgh一", "abcdefghij一二三", "-922337203685477.5807", "1899-12-29 06:00:00", "0", N, N, N, N, N,
          "r"},
         false},
        {{"5", N, N, N, N, "0", N, N, N, N, N, "全角ＡＢＣ"}},
        {{"6", "", "", "0", "1850-06-01 06:30:00", "1", "7", "-1", "0.1", "0.30000000000000004", "", "r"}, false},
        {{"7", "abcdefgh😀𠀀", "😀", "12.34", "9999-12-31 23:59:59", "1", "2", "3", "4", "5", "41", "r"}, false},
        {{"8", std::string(255, 'x'), std::string(1024, 'y'), "0.5", "2000-02-29", "0", "9", "9", "9", "9",
          std::string(600, 'A'), "r"}},
        {{"9", repeat("长", 255), std::string(3000, 'm'), "1", "1900-01-01", "1", "0", "0", "0", "0", N,
          "\t\"quoted\"\nline"}},
    };
}

TableText edgeTable(const std::vector<EdgeRow> &rows) {
    TableText t;
    t.name = "Edge";
    t.columns = kEdgeColumns;
    for (const auto &r : rows) t.rows.push_back(r.cells);
    return t;
}

std::vector<Value> expectedValues(const std::vector<ColumnSpec> &columns, const Row &cells) {
    std::vector<Value> out;
    for (size_t i = 0; i < columns.size(); ++i) {
        Value v = valueFromCell(columns[i], cells[i]);
        if (columns[i].type == ColumnType::Boolean && v.isNull()) v = Value::boolean(false);
        out.push_back(v);
    }
    return out;
}

std::vector<std::vector<Value>> readAll(const std::string &file, const std::string &table) {
    JetReader reader(file);
    auto cursor = reader.openTable(table);
    std::vector<std::vector<Value>> rows;
    std::vector<Value> row;
    while (cursor->next(row)) rows.push_back(row);
    return rows;
}

}  // namespace

TEST(JetRoundTrip, MdbtoolsListAndCountEveryTable) {
    ScratchDir dir;
    const std::string file = dir.file("edge.ais");
    const auto rows = edgeRows();
    TableText other = parseTableText("GLAcct", "FAcctID:Text(40)!\tFName:Text(80)\n1001\t现金\n");
    JetWriter::writeFile(file, {edgeTable(rows), other});

    EXPECT_EQ(run("mdb-ver " + quote(file)).out, "JET4\n");
    EXPECT_EQ(run("mdb-tables -1 " + quote(file)).out, "Edge\nGLAcct\n");
    const std::string all = run("mdb-tables -S -1 " + quote(file)).out;
    for (const char *t : {"MSysObjects\n", "MSysACEs\n", "MSysQueries\n", "MSysRelationships\n", "Edge\n"})
        EXPECT_NE(all.find(t), std::string::npos) << t;
    EXPECT_EQ(run("mdb-count " + quote(file) + " Edge").out, std::to_string(rows.size()) + "\n");
    EXPECT_EQ(run("mdb-count " + quote(file) + " GLAcct").out, "1\n");

    const CommandResult schema = run("mdb-schema " + quote(file) + " access");
    ASSERT_EQ(schema.status, 0);
    for (const char *line :
         {"[K]\t\t\tLong Integer NOT NULL", "[T]\t\t\tText (255)", "[M]\t\t\tMemo/Hyperlink", "[C]\t\t\tCurrency",
          "[D]\t\t\tDateTime", "[B]\t\t\tBoolean NOT NULL", "[Y]\t\t\tByte", "[I]\t\t\tInteger", "[S]\t\t\tSingle",
          "[X]\t\t\tDouble", "[O]\t\t\tOLE", "[R]\t\t\tText (20) NOT NULL", "[FAcctID]\t\t\tText (40) NOT NULL"})
        EXPECT_NE(schema.out.find(line), std::string::npos) << line << "\n" << schema.out;
}

TEST(JetRoundTrip, MdbExportShowsTheSameValues) {
    ScratchDir dir;
    const std::string file = dir.file("edge.ais");
    const auto rows = edgeRows();
    JetWriter::writeFile(file, {edgeTable(rows)});
    const auto exported = exportTable(file, "Edge");
    ASSERT_EQ(exported.size(), rows.size() + 1);
    for (size_t c = 0; c < kEdgeColumns.size(); ++c) EXPECT_EQ(exported[0][c], kEdgeColumns[c].name);
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto expected = expectedValues(kEdgeColumns, rows[r].cells);
        ASSERT_EQ(exported[r + 1].size(), expected.size());
        for (size_t c = 0; c < expected.size(); ++c) {
            SCOPED_TRACE("row " + std::to_string(r + 1) + " column " + kEdgeColumns[c].name);
            const bool libmdbLimit = !rows[r].libmdbShowsExactly;
            if (libmdbLimit) continue;
            EXPECT_TRUE(exportShows(expected[c], exported[r + 1][c]));
        }
    }
}

TEST(JetRoundTrip, MdbExportLimitsAreOnlyTheKnownOnes) {
    // The cells libmdb cannot show exactly, one by one, so that a newer
    // libmdb that shows them makes this test say so.
    ScratchDir dir;
    const std::string file = dir.file("limits.ais");
    TableText t = parseTableText("L", "T:Text(20)\tD:DateTime\n\t1899-12-29\nabcdefgh😀\t\\N\n");
    JetWriter::writeFile(file, {t});
    const auto exported = exportTable(file, "L");
    ASSERT_EQ(exported.size(), 3u);
    EXPECT_EQ(exported[1][0], CsvField());                       // "" reads as NULL
    EXPECT_EQ(exported[1][1], CsvField("1900-01-00 00:00:00"));  // no dates before the epoch
    EXPECT_EQ(exported[2][0], CsvField("abcdefgh??"));           // no characters beyond U+FFFF
    const auto read = readAll(file, "L");
    EXPECT_EQ(read[0][0], Value::text(""));
    EXPECT_EQ(jetDateToText(read[0][1].real), "1899-12-29");
    EXPECT_EQ(read[1][0], Value::text("abcdefgh😀"));
}

TEST(JetRoundTrip, JetReaderReturnsExactlyWhatWasWritten) {
    ScratchDir dir;
    const std::string file = dir.file("edge.ais");
    const auto rows = edgeRows();
    JetWriter::writeFile(file, {edgeTable(rows)});
    const auto read = readAll(file, "Edge");
    ASSERT_EQ(read.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(read[r], expectedValues(kEdgeColumns, rows[r].cells)) << r + 1;
}

TEST(JetRoundTrip, LargeMemosBothWays) {
    ScratchDir dir;
    const std::string file = dir.file("memo.ais");
    std::string chinese;
    for (int i = 0; i < 20000; ++i) chinese += i % 50 ? "账" : "x";
    const std::vector<std::string> memos = {chinese, std::string(100000, 'a'), std::string(4070, 'b'),
                                            std::string(4100, 'c'), std::string(1025, 'd')};
    TableText t = parseTableText("Memos", "K:Long\tM:Memo\tO:OLE\n");
    for (size_t i = 0; i < memos.size(); ++i) t.rows.push_back({std::to_string(i), memos[i], std::string(9000, 'E')});
    JetWriter::writeFile(file, {t});
    const auto exported = exportTable(file, "Memos");
    const auto read = readAll(file, "Memos");
    ASSERT_EQ(exported.size(), memos.size() + 1);
    ASSERT_EQ(read.size(), memos.size());
    for (size_t i = 0; i < memos.size(); ++i) {
        EXPECT_EQ(exported[i + 1][1], CsvField(memos[i])) << i;
        EXPECT_EQ(read[i][1], Value::text(memos[i])) << i;
        EXPECT_EQ(read[i][2].bytes, std::string(4500, '\xEE')) << i;
    }
}

TEST(JetRoundTrip, AutoNumberFillsMissingValues) {
    ScratchDir dir;
    const std::string file = dir.file("auto.ais");
    TableText t = parseTableText("A", "ID:AutoNumber\tN:Text(5)\n\\N\ta\n10\tb\n\\N\tc\n");
    JetWriter::writeFile(file, {t});
    JetReader reader(file);
    const JetTableInfo *info = reader.findTable("a");
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->fields[0].autoNumber);
    EXPECT_EQ(info->fields[0].typeName, "AutoNumber");
    const auto read = readAll(file, "A");
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0][0].integer, 1);
    EXPECT_EQ(read[1][0].integer, 10);
    EXPECT_EQ(read[2][0].integer, 11);
}

TEST(JetRoundTrip, ManyTablesAndWideDefinitions) {
    ScratchDir dir;
    const std::string file = dir.file("many.ais");
    std::vector<TableText> tables;
    for (int i = 0; i < 70; ++i) {
        TableText t = parseTableText("T" + std::to_string(i), "K:Long\tV:Text(10)\n");
        t.rows.push_back({std::to_string(i), "v" + std::to_string(i)});
        tables.push_back(t);
    }
    TableText wide;
    wide.name = "Wide";
    Row row;
    for (int c = 0; c < 200; ++c) {
        wide.columns.push_back({"AVeryLongColumnNameNumber_" + std::to_string(c), ColumnType::Long});
        row.push_back(std::to_string(c * 3));
    }
    wide.rows.push_back(row);
    tables.push_back(wide);
    JetWriter::writeFile(file, tables);
    EXPECT_EQ(run("mdb-tables -1 " + quote(file) + " | wc -l").out, "71\n");
    EXPECT_EQ(run("mdb-count " + quote(file) + " T69").out, "1\n");
    const auto exported = exportTable(file, "Wide");
    ASSERT_EQ(exported.size(), 2u);
    ASSERT_EQ(exported[1].size(), 200u);
    EXPECT_EQ(exported[0][199], CsvField("AVeryLongColumnNameNumber_199"));
    EXPECT_EQ(exported[1][199], CsvField("597"));
    JetReader reader(file);
    EXPECT_EQ(reader.findTable("Wide")->fields.size(), 200u);
    EXPECT_EQ(readAll(file, "T42")[0][1], Value::text("v42"));
}

TEST(JetRoundTrip, TableWithoutColumns) {
    ScratchDir dir;
    const std::string file = dir.file("empty.ais");
    std::vector<JetWriter::TableSource> tables;
    tables.push_back({"GLVchTemplate1", {}, {}});
    JetWriter::writeFile(file, std::move(tables));
    EXPECT_EQ(run("mdb-tables -1 " + quote(file)).out, "GLVchTemplate1\n");
    EXPECT_EQ(run("mdb-count " + quote(file) + " GLVchTemplate1").out, "0\n");
    JetReader reader(file);
    ASSERT_NE(reader.findTable("GLVchTemplate1"), nullptr);
    EXPECT_TRUE(reader.findTable("GLVchTemplate1")->fields.empty());
    EXPECT_TRUE(readAll(file, "GLVchTemplate1").empty());
}

namespace {

// A table of one column written as the given Jet type code, one row.
TableText rawColumn(int code, int size, const std::string &cell, ColumnType type = ColumnType::OLE) {
    TableText t;
    t.name = "Raw";
    t.columns = {{"R", type, size, false, code}};
    t.rows = {{cell}};
    return t;
}

}  // namespace

TEST(JetRoundTrip, WriterRefusesWhatTheFormatCannotHold) {
    ScratchDir dir;
    const std::string file = dir.file("bad.ais");
    struct Case {
        const char *what;
        std::vector<TableText> tables;
        int error;
    } cases[] = {
        {"bad cell", {parseTableText("T", "K:Long\n1\nx\n")}, kErrValue},
        {"twice", {parseTableText("T", "K:Long\n"), parseTableText("t", "K:Long\n")}, kErrValue},
        {"catalogue name", {parseTableText("MSysObjects", "K:Long\n")}, kErrValue},
        {"long name", {parseTableText(std::string(65, 'N'), "K:Long\n")}, kErrValue},
        {"raw column of a kind with its own type", {rawColumn(format::kText, 0, "00")}, kErrValue},
        {"raw column not given in hex", {rawColumn(format::kGuid, 16, "zz", ColumnType::Text)}, kErrValue},
        {"fixed raw value of another length", {rawColumn(format::kGuid, 16, "0011")}, kErrValue},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        int got = 0;
        try {
            JetWriter::writeFile(file, c.tables);
        } catch (const JetError &e) {
            got = e.number();
        }
        EXPECT_EQ(got, c.error);
    }
    // Nine full Text(255) columns of Chinese need more than a page.
    TableText wide =
        parseTableText("W", "A:Text(255)\tB:Text(255)\tC:Text(255)\tD:Text(255)\tE:Text(255)\tF:Text(255)\t"
                            "G:Text(255)\tH:Text(255)\tI:Text(255)\n");
    std::string chinese;
    for (int i = 0; i < 255; ++i) chinese += "账";
    wide.rows.push_back(Row(9, chinese));
    try {
        JetWriter::writeFile(file, {wide});
        FAIL() << "wrote a row larger than a page";
    } catch (const JetError &e) {
        EXPECT_EQ(e.number(), kErrTooLarge);
        EXPECT_NE(std::string(e.what()).find("table W row 1"), std::string::npos) << e.what();
    }
    EXPECT_THROW(JetWriter::writeFile(dir.file("no/such/folder/x.ais"), {parseTableText("T", "K:Long\n")}), JetError);
}
