// What an engine leaves in a file in use (moved rows, deleted rows, dropped
// tables, many indexes, every column kind), written by our writer and read
// by JetReader and by mdbtools' programs; and damage confined to the table
// it is in.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "JetTestUtil.h"
#include "WornFileFixture.h"
#include "jet/CellValue.h"
#include "jet/JetError.h"
#include "jet/JetReader.h"

using namespace jet;
using namespace jettest;

namespace {

std::vector<std::vector<Value>> readAll(const JetReader &reader, const std::string &table) {
    auto cursor = reader.openTable(table);
    std::vector<std::vector<Value>> rows;
    std::vector<Value> row;
    while (cursor->next(row)) rows.push_back(row);
    return rows;
}

std::string ucs2(const std::string &ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// The table definition page holding a column name.
size_t definitionPageWith(const std::string &bytes, const std::string &columnName) {
    for (size_t pg = 0; pg * format::kPageSize < bytes.size(); ++pg) {
        const std::string page = bytes.substr(pg * format::kPageSize, format::kPageSize);
        if (page[0] == format::kPageTableDef && page.find(ucs2(columnName)) != std::string::npos) return pg;
    }
    ADD_FAILURE() << "no definition names " << columnName;
    return 0;
}

}  // namespace

TEST(JetWornFile, ReadsTheLiveRowsOfEveryTable) {
    ScratchDir dir;
    const std::string file = dir.file("worn.ais");
    writeWornFile(file);
    JetReader reader(file);
    std::vector<std::string> names;
    for (const auto &t : reader.tables()) names.push_back(t.name);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Dropped"), 0) << "a dropped table is listed";
    for (const auto &t : wornTables()) {
        SCOPED_TRACE(t.text.name);
        const JetTableInfo *info = reader.findTable(t.text.name);
        ASSERT_NE(info, nullptr);
        EXPECT_TRUE(info->damage.empty()) << info->damage;
        EXPECT_EQ(info->system, t.system);
        const auto live = t.liveRows();
        const auto read = readAll(reader, t.text.name);
        ASSERT_EQ(read.size(), live.size());
        EXPECT_EQ(info->rowCount, static_cast<int64_t>(live.size()));
        EXPECT_EQ(run("mdb-count " + quote(file) + " " + t.text.name).out, std::to_string(live.size()) + "\n");
        for (size_t r = 0; r < live.size(); ++r)
            for (size_t c = 0; c < live[r].size(); ++c) {
                Value want = valueFromCell(t.text.columns[c], live[r][c]);
                if (t.text.columns[c].type == ColumnType::Boolean && want.isNull()) want = Value::boolean(false);
                EXPECT_EQ(read[r][c], want) << "row " << r + 1 << " column " << t.text.columns[c].name;
            }
    }
    const JetTableInfo *kinds = reader.findTable("AllKinds");
    std::map<std::string, std::string> typeNames;
    for (const auto &f : kinds->fields) typeNames[f.name] = f.typeName;
    EXPECT_EQ(typeNames["FBinary"], "Binary");
    EXPECT_EQ(typeNames["F0D"], "Unknown0D");
    EXPECT_EQ(typeNames["F0E"], "Unknown0E");
    EXPECT_EQ(typeNames["FGuid"], "GUID");
    EXPECT_EQ(typeNames["FDecimal"], "Decimal");
    EXPECT_EQ(typeNames["F11"], "Unknown11");
    EXPECT_EQ(typeNames["FComplex"], "Complex");
}

TEST(JetWornFile, MdbExportShowsTheSameRows) {
    ScratchDir dir;
    const std::string file = dir.file("worn.ais");
    writeWornFile(file);
    JetReader reader(file);
    for (const char *table : {"GLVch", "AllKinds"}) {
        SCOPED_TRACE(table);
        auto exported = exportTable(file, table);
        ASSERT_FALSE(exported.empty());
        exported.erase(exported.begin());
        // libmdb reads the new place of a moved row that was later deleted.
        const auto deletedAfterMoving =
            std::find_if(exported.begin(), exported.end(), [](const auto &row) { return row[0] == CsvField("8"); });
        if (std::string(table) == "GLVch") {
            ASSERT_NE(deletedAfterMoving, exported.end());
            exported.erase(deletedAfterMoving);
        }
        // Moved rows come last from libmdb, in their place from JetReader.
        std::sort(exported.begin(), exported.end(),
                  [](const auto &a, const auto &b) { return std::stoi(*a[0]) < std::stoi(*b[0]); });
        const auto read = readAll(reader, table);
        const JetTableInfo *info = reader.findTable(table);
        ASSERT_EQ(exported.size(), read.size());
        for (size_t r = 0; r < read.size(); ++r)
            for (size_t c = 0; c < read[r].size(); ++c) {
                SCOPED_TRACE("row " + std::to_string(r + 1) + " column " + info->fields[c].name);
                const Value &v = read[r][c];
                const CsvField &f = exported[r][c];
                switch (info->fields[c].jetType) {
                case format::kUnknown0D:
                case format::kUnknown0E:
                case format::kUnknown11: EXPECT_EQ(f, CsvField()); break;  // libmdb shows none of these
                case format::kGuid:
                case format::kNumeric:
                    if (v.isNull()) {
                        EXPECT_EQ(f, CsvField());
                    }
                    break;  // libmdb formats these its own way
                case format::kComplex:
                    if (v.isNull())
                        EXPECT_EQ(f, CsvField());
                    else
                        EXPECT_EQ(f, CsvField(std::to_string(static_cast<int32_t>(
                                         format::get32(reinterpret_cast<const unsigned char *>(v.bytes.data()))))));
                    break;
                default: EXPECT_TRUE(exportShows(v, f));
                }
            }
    }
    // libmdb reads rows flagged with the deleted flag alone as live rows.
    EXPECT_EQ(exportTable(file, "Softly").size(), 1u + 5u);
    EXPECT_EQ(readAll(reader, "Softly").size(), 3u);
}

TEST(JetWornFile, DamageStaysWithItsTable) {
    ScratchDir dir;
    const std::string good = dir.file("worn.ais");
    writeWornFile(good);
    const std::string bytes = readBytes(good);
    const size_t vchPage = definitionPageWith(bytes, "FAmount");
    auto patched = [&](size_t at, const std::string &with) {
        std::string b = bytes;
        b.replace(at, with.size(), with);
        return b;
    };
    // A moved row's pointer in GLVch.
    size_t pointer = 0, pointerPage = 0;
    unsigned pointerRow = 0;
    for (size_t pg = 0; pg * format::kPageSize < bytes.size() && !pointer; ++pg) {
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.data() + pg * format::kPageSize);
        if (p[0] != format::kPageData || format::get32(p + 4) != vchPage) continue;
        for (unsigned r = 0; r < format::get16(p + 12); ++r) {
            const uint16_t raw = format::get16(p + 14 + 2 * r);
            if ((raw & format::kRowOverflow) && !(raw & format::kRowDeleted)) {
                pointer = pg * format::kPageSize + (raw & format::kRowOffsetMask);
                pointerPage = pg;
                pointerRow = r;
            }
        }
    }
    ASSERT_NE(pointer, 0u);
    struct Case {
        const char *what;
        std::string content;
        std::string damaged;
    } cases[] = {
        {"unknown column type", withUnknownColumnType(bytes, "FComplex"), "AllKinds"},
        {"moved row beyond the file", patched(pointer, std::string("\x00\xFF\xFF\x7F", 4)), "GLVch"},
        {"moved row on a page of another table", patched(pointer + 1, std::string("\x02\x00\x00", 3)), "GLVch"},
        {"moved row leading back to its own slot",
         patched(pointer, std::string{static_cast<char>(pointerRow), static_cast<char>(pointerPage & 0xFF),
                                      static_cast<char>(pointerPage >> 8), '\0'}),
         "GLVch"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("bad.ais");
        writeBytes(path, c.content);
        JetReader reader(path);  // opens: the catalogue is sound
        for (const auto &t : wornTables()) {
            if (t.text.name != c.damaged) {
                EXPECT_EQ(readAll(reader, t.text.name).size(), t.liveRows().size()) << t.text.name;
                continue;
            }
            try {
                readAll(reader, t.text.name);
                ADD_FAILURE() << "read a damaged table";
            } catch (const JetError &e) {
                EXPECT_EQ(e.number(), kErrFormat);
                EXPECT_NE(std::string(e.what()).find(c.damaged), std::string::npos) << e.what();
            }
        }
    }
}

// Columns dropped from a table that has rows: the rows keep their data and
// the definition keeps counting them in its column maximum and its variable
// count (here six variable columns counted, two listed). Only the listed
// columns are read, each with its own value, as mdbtools reads them.
TEST(JetWornFile, ATableWithDroppedColumnsReadsItsListedColumns) {
    ScratchDir dir;
    const std::string file = dir.file("dropped.ais");
    TableText table =
        parseTableText("Table1", "FID:Long!\tA:Text(10)\tB:Text(10)\tC:Double\tD:Text(10)\tE:Memo\tF:Text(10)\t"
                                 "G:Text(20)\tH:Integer\n");
    for (int i = 1; i <= 30; ++i)
        table.rows.push_back({std::to_string(i), "a" + std::to_string(i), "bb" + std::to_string(i),
                              std::to_string(i) + ".5", i % 4 ? Cell("d") : Cell(), "备注" + std::to_string(i),
                              "f" + std::to_string(i), i % 3 ? Cell("甲乙" + std::to_string(i)) : Cell(),
                              std::to_string(-i)});
    auto source = JetWriter::sourceOf(table);
    source.droppedColumns = {"B", "C", "D", "E", "F"};
    std::vector<JetWriter::TableSource> sources;
    sources.push_back(std::move(source));
    JetWriter::writeFile(file, std::move(sources));

    JetReader reader(file);
    const JetTableInfo *info = reader.findTable("Table1");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->damage.empty()) << info->damage;
    std::vector<std::string> names;
    for (const auto &f : info->fields) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"FID", "A", "G", "H"}));
    const size_t kept[] = {0, 1, 7, 8};  // the listed columns' places in the text
    const auto read = readAll(reader, "Table1");
    ASSERT_EQ(read.size(), table.rows.size());
    for (size_t r = 0; r < read.size(); ++r)
        for (size_t c = 0; c < 4; ++c)
            EXPECT_EQ(read[r][c], valueFromCell(table.columns[kept[c]], table.rows[r][kept[c]]))
                << "row " << r + 1 << " column " << names[c];
    auto exported = exportTable(file, "Table1");
    ASSERT_EQ(exported.size(), read.size() + 1);
    for (size_t r = 0; r < read.size(); ++r)
        for (size_t c = 0; c < 4; ++c) EXPECT_TRUE(exportShows(read[r][c], exported[r + 1][c])) << r << ' ' << c;
}
