// A Jet file as an engine leaves it after use, written by our writer: rows
// moved to another page by updates that grew them (in a user table and in
// the catalogue), rows flagged deleted (as the engine marks them, and with
// the deleted flag alone), a dropped table's catalogue row, a table with more
// indexes than a table shows (hidden ones for relationships), and every
// column kind of the format, MSysAccessObjects' included.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "jet/JetFormat.h"
#include "jet/JetWriter.h"
#include "jet/TableText.h"

namespace jettest {

struct WornTable {
    jet::TableText text;
    std::set<size_t> deleted;  // rows (from 1) flagged deleted
    bool system = false;

    // The rows a reader must return, in order.
    std::vector<jet::Row> liveRows() const {
        std::vector<jet::Row> out;
        for (size_t i = 0; i < text.rows.size(); ++i)
            if (!deleted.count(i + 1)) out.push_back(text.rows[i]);
        return out;
    }
};

inline std::string hexOf(const std::string &bytes) {
    static const char *digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

inline std::vector<WornTable> wornTables() {
    using jet::ColumnType;
    std::vector<WornTable> out;

    WornTable vch;
    vch.text = jet::parseTableText("GLVch", "FID:Long!\tFText:Text(120)\tFMemo:Memo\tFAmount:Currency\n");
    for (int i = 1; i <= 40; ++i) {
        // The moved rows are the long ones, as growing them moved them.
        const bool grown = i == 2 || i == 7 || i == 8 || i == 40;
        std::string text = "摘要 " + std::to_string(i);
        if (grown) text += std::string(100, 'g');
        vch.text.rows.push_back({std::to_string(i), text, i % 3 ? jet::Cell("备注" + std::to_string(i)) : jet::Cell(),
                                 std::to_string(i) + ".25"});
    }
    vch.deleted = {3, 8, 19};
    out.push_back(vch);

    WornTable kinds;
    kinds.text.name = "AllKinds";
    kinds.text.columns = {{"FID", ColumnType::Long, 0, true},
                          {"FFlag", ColumnType::Boolean},
                          {"FByte", ColumnType::Byte},
                          {"FInt", ColumnType::Integer},
                          {"FSingle", ColumnType::Single},
                          {"FDouble", ColumnType::Double},
                          {"FDate", ColumnType::DateTime},
                          {"FOle", ColumnType::OLE},
                          {"FBinary", ColumnType::OLE, 0, false, jet::format::kBinary},
                          {"F0D", ColumnType::OLE, 0, false, jet::format::kUnknown0D},
                          {"F0E", ColumnType::OLE, 0, false, jet::format::kUnknown0E},
                          {"FGuid", ColumnType::OLE, 16, false, jet::format::kGuid},
                          {"FDecimal", ColumnType::OLE, 17, false, jet::format::kNumeric},
                          {"F11", ColumnType::OLE, 24, false, jet::format::kUnknown11},
                          {"FComplex", ColumnType::OLE, 4, false, jet::format::kComplex}};
    const std::string guid = "00112233445566778899AABBCCDDEEFF";
    const std::string decimal = "00" + std::string("00000000") + "39300000" + "00000000" + "00000000";
    kinds.text.rows = {
        {"1", "1", "7", "-2", "1.5", "2.25", "2024-02-29 12:00:00", "0A0B", "DEADBEEF", "0102", "0304", guid, decimal,
         std::string(48, 'E'), "2A000000"},
        {"2", "0", jet::Cell(), jet::Cell(), jet::Cell(), jet::Cell(), jet::Cell(), jet::Cell(), jet::Cell(),
         jet::Cell(), jet::Cell(), jet::Cell(), jet::Cell(), jet::Cell(), jet::Cell()},
        {"3", "1", "255", "32767", "-0.5", "1e300", "1899-12-30", std::string(700, 'C'), std::string(510, 'F'), "FF",
         "", std::string(32, '0'), decimal, std::string(48, '1'), "FFFFFFFF"},
    };
    kinds.deleted = {};
    out.push_back(kinds);

    WornTable access;
    access.system = true;
    access.text.name = "MSysAccessObjects";
    access.text.columns = {{"ID", ColumnType::Long, 0, true},
                           {"Data", ColumnType::OLE, 3992, false, jet::format::kUnknown11}};
    access.text.rows = {{"0", std::string(3992 * 2, 'A')}, {"1", std::string(3992 * 2, '5')}};
    out.push_back(access);

    WornTable softly;
    softly.text = jet::parseTableText("Softly", "FID:Long\tV:Text(10)\n1\ta\n2\tb\n3\tc\n4\td\n5\te\n");
    softly.deleted = {2, 4};
    out.push_back(softly);
    return out;
}

// Writes the tables, and Dropped, a table whose catalogue row is deleted.
inline void writeWornFile(const std::string &path) {
    std::vector<jet::JetWriter::TableSource> sources;
    const auto tables = wornTables();
    for (const auto &t : tables) {
        auto source = jet::JetWriter::sourceOf(t.text);
        source.deletedRows = t.deleted;
        if (t.text.name == "GLVch") {
            source.movedRows = {2, 7, 8, 40};
            source.indexes = 4;
            source.hiddenIndexes = 300;
        }
        if (t.text.name == "Softly") source.deletedFlags = jet::format::kRowDeleted;
        sources.push_back(std::move(source));
    }
    static const jet::TableText dropped = jet::parseTableText("Dropped", "FID:Long\n1\n");
    sources.push_back(jet::JetWriter::sourceOf(dropped));
    jet::JetWriter::Options options;
    options.movedCatalogRows = {"GLVch", "AllKinds"};
    options.droppedTables = {"Dropped"};
    jet::JetWriter::writeFile(path, std::move(sources), options);
}

// The bytes of a Jet 4 file with the first column of the table that has
// a column named columnName (a table without indexes) given an unknown type.
inline std::string withUnknownColumnType(std::string bytes, const std::string &columnName) {
    std::string name;
    for (char c : columnName) name += std::string{c, '\0'};
    for (size_t pg = 0; pg * jet::format::kPageSize < bytes.size(); ++pg) {
        const size_t at = pg * jet::format::kPageSize;
        if (bytes[at] == jet::format::kPageTableDef &&
            bytes.substr(at, jet::format::kPageSize).find(name) != std::string::npos) {
            bytes[at + 63] = '\x33';
            return bytes;
        }
    }
    return {};
}

}  // namespace jettest
