#include "support/SampleEdit.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include "jet/JetWriter.h"
#include "jet/TableText.h"
#include "jet/Workgroup.h"

namespace {

// The table's rows as the change gives them, cells placed by column name.
std::vector<jet::Row> rowsOf(const jet::TableText &table, const QString &text) {
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::vector<jet::Row> rows;
    if (lines.isEmpty()) return rows;
    std::vector<int> index;
    for (const QString &name : lines.takeFirst().trimmed().split(QLatin1Char('\t'))) {
        int at = -1;
        for (size_t i = 0; i < table.columns.size(); ++i)
            if (QString::fromStdString(table.columns[i].name).compare(name, Qt::CaseInsensitive) == 0) at = int(i);
        EXPECT_GE(at, 0) << table.name << " has no column " << name.toStdString();
        index.push_back(at);
    }
    for (const QString &line : lines) {
        jet::Row row(table.columns.size());
        const QStringList cells = line.split(QLatin1Char('\t'));
        EXPECT_EQ(cells.size(), qsizetype(index.size())) << table.name << ": " << line.toStdString();
        for (qsizetype i = 0; i < cells.size() && i < qsizetype(index.size()); ++i) {
            if (index[i] < 0 || cells[i] == QStringLiteral("\\N")) continue;
            row[index[i]] = jet::unescapeCell(cells[i].toStdString());
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

QString BuildSampleEdit(const QString &folder, const QString &sample, const QList<TableEdit> &edits) {
    QDir().mkpath(folder);
    std::vector<jet::TableText> tables =
        jet::readTableTextFolder((QStringLiteral(PNW_SOURCE_DIR "/samples/") + sample).toStdString());
    for (const TableEdit &edit : edits) {
        jet::TableText *table = nullptr;
        for (jet::TableText &t : tables)
            if (QString::fromStdString(t.name) == edit.table) table = &t;
        EXPECT_NE(table, nullptr) << "no table " << edit.table.toStdString();
        if (!table) continue;
        std::vector<jet::Row> rows = rowsOf(*table, edit.text);
        switch (edit.kind) {
        case TableEdit::Kind::Add:
            table->rows.insert(table->rows.end(), rows.begin(), rows.end());
            break;
        case TableEdit::Kind::Replace:
            table->rows = rows;
            break;
        case TableEdit::Kind::Set: {
            // Only the cells the change names; NULL ones are named with "\N".
            const QStringList names = edit.text.split(QLatin1Char('\n')).value(0).trimmed().split(QLatin1Char('\t'));
            const QStringList cells = edit.text.split(QLatin1Char('\n')).value(1).split(QLatin1Char('\t'));
            for (jet::Row &row : table->rows)
                for (qsizetype n = 0; n < names.size(); ++n)
                    for (size_t i = 0; i < table->columns.size(); ++i)
                        if (QString::fromStdString(table->columns[i].name).compare(names[n], Qt::CaseInsensitive) ==
                            0)
                            row[i] = cells.value(n) == QStringLiteral("\\N")
                                         ? jet::Cell()
                                         : jet::Cell(jet::unescapeCell(cells.value(n).toStdString()));
            break;
        }
        }
    }
    const QString ais = folder + QStringLiteral("/edited.ais");
    QFile::remove(ais);
    jet::JetWriter::writeFile(ais.toStdString(), tables);
    jet::Workgroup::writeFile((folder + QStringLiteral("/system.mda")).toStdString());
    return ais;
}
