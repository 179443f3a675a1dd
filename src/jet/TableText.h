// The readable text form of one Jet table, used by the sample account sets in
// samples/ and by the test fixtures: the Jet writer builds files from it and
// tests compare what the reader returns against it. Plain C++, no state.
//
// One file per table, UTF-8, named "<Table>.tsv":
//   line 1    column specs separated by tabs: Name:Type, Name:Text(n),
//             a trailing "!" marks a Required (NOT NULL) column.
//             Types: Boolean Byte Integer Long Currency Single Double
//                    DateTime Text(n) Memo OLE AutoNumber
//   lines 2.. one row each, cells separated by tabs, in column order.
// Cells: \N is NULL (an empty cell is the empty text); escapes \t \n \r \\ ;
// Boolean 1/0 (true/false accepted); Currency and numbers in plain decimal
// ("1234.5678"); DateTime "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss"; OLE in hex.
// Lines starting with "#" are comments; a blank line is a row of one empty
// cell only when the table has one column, otherwise it is skipped.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace jet {

enum class ColumnType { Boolean, Byte, Integer, Long, Currency, Single, Double, DateTime, Text, Memo, OLE, AutoNumber };

struct ColumnSpec {
    std::string name;
    ColumnType type = ColumnType::Text;
    int size = 0;           // characters, Text only
    bool required = false;  // NOT NULL
    // Writer only, no text form: a column of this Jet type code written as
    // given, its cells hex bytes (type OLE), fixed length `size` bytes when
    // size > 0, else variable.
    int jetCode = 0;
    // Writer only: the precision and scale of a Decimal column (jetCode 16).
    int precision = 0;
    int scale = 0;
};

using Cell = std::optional<std::string>;  // nullopt is NULL
using Row = std::vector<Cell>;

struct TableText {
    std::string name;
    std::vector<ColumnSpec> columns;
    std::vector<Row> rows;
};

// Thrown for malformed text; the message names the table and line.
class TableTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

const char *columnTypeName(ColumnType type);
std::optional<ColumnType> columnTypeFromName(const std::string &name);

// Parses the text of one table. REQUIRES: text is UTF-8.
TableText parseTableText(const std::string &tableName, const std::string &text);
// Reads "<dir>/<Table>.tsv"; the table is named after the file.
TableText readTableTextFile(const std::string &path);
// Every "*.tsv" of a folder, sorted by table name.
std::vector<TableText> readTableTextFolder(const std::string &dir);

std::string formatTableText(const TableText &table);

std::string escapeCell(const std::string &value);
std::string unescapeCell(const std::string &cell);

}  // namespace jet
