#include "support/TableEdits.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// The rows of a change, each cell placed by its column's name.
std::vector<jet::Row> rowsOf(const jet::TableText &table, const QString &text) {
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::vector<jet::Row> rows;
    if (lines.isEmpty()) return rows;
    std::vector<int> index;
    for (const QString &name : lines.takeFirst().trimmed().split(QLatin1Char('\t'))) {
        int at = -1;
        for (size_t i = 0; i < table.columns.size(); ++i)
            if (QString::fromStdString(table.columns[i].name).compare(name, Qt::CaseInsensitive) == 0)
                at = static_cast<int>(i);
        EXPECT_GE(at, 0) << table.name << " has no column " << name.toStdString();
        index.push_back(at);
    }
    for (const QString &line : lines) {
        jet::Row row(table.columns.size());
        const QStringList cells = line.split(QLatin1Char('\t'));
        EXPECT_EQ(cells.size(), static_cast<qsizetype>(index.size())) << table.name << ": " << line.toStdString();
        for (qsizetype i = 0; i < cells.size() && i < static_cast<qsizetype>(index.size()); ++i)
            if (index[i] >= 0 && cells[i] != QStringLiteral("\\N"))
                row[index[i]] = jet::unescapeCell(cells[i].toStdString());
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

SampleEdit TableEdits(const QList<TableEdit> &edits) {
    return [edits](SampleTables &tables) {
        for (const TableEdit &edit : edits) {
            jet::TableText &table = SampleTable(tables, edit.table);
            switch (edit.kind) {
            case TableEdit::Kind::Add: {
                const std::vector<jet::Row> rows = rowsOf(table, edit.text);
                table.rows.insert(table.rows.end(), rows.begin(), rows.end());
                break;
            }
            case TableEdit::Kind::Replace:
                table.rows = rowsOf(table, edit.text);
                break;
            case TableEdit::Kind::Set: {
                const QStringList lines = edit.text.split(QLatin1Char('\n'));
                const QStringList names = lines.value(0).trimmed().split(QLatin1Char('\t'));
                const QStringList cells = lines.value(1).split(QLatin1Char('\t'));
                for (qsizetype n = 0; n < names.size(); ++n) SetSampleCells(table, names[n], cells.value(n));
                break;
            }
            }
        }
    };
}
