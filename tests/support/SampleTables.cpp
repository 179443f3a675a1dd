#include "support/SampleTables.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include "jet/JetWriter.h"
#include "jet/Workgroup.h"

namespace {

int columnIndex(const jet::TableText &table, const QString &name) {
    for (size_t i = 0; i < table.columns.size(); ++i)
        if (QString::fromStdString(table.columns[i].name) == name) return static_cast<int>(i);
    ADD_FAILURE() << "no column " << name.toStdString() << " in " << table.name;
    return -1;
}

jet::Cell cellOf(const QString &text) {
    if (text == QStringLiteral("\\N")) return jet::Cell();
    return jet::Cell(jet::unescapeCell(text.toStdString()));
}

}  // namespace

jet::TableText &SampleTable(SampleTables &tables, const QString &name) {
    for (jet::TableText &table : tables)
        if (QString::fromStdString(table.name) == name) return table;
    ADD_FAILURE() << "no table " << name.toStdString() << " in the sample";
    static jet::TableText none;
    none = jet::TableText();
    return none;
}

void AppendSampleRows(jet::TableText &table, const QString &rows) {
    jet::TableText header = table;
    header.rows.clear();
    const jet::TableText added =
        jet::parseTableText(table.name, jet::formatTableText(header) + rows.toStdString() + std::string("\n"));
    table.rows.insert(table.rows.end(), added.rows.begin(), added.rows.end());
}

void SetSampleCells(jet::TableText &table, const QString &column, const QString &value, const QString &where,
                    const QStringList &keys) {
    const int target = columnIndex(table, column);
    const int key = where.isEmpty() ? -1 : columnIndex(table, where);
    if (target < 0 || (!where.isEmpty() && key < 0)) return;
    for (jet::Row &row : table.rows) {
        if (key >= 0 && !(row[key] && keys.contains(QString::fromStdString(*row[key])))) continue;
        row[target] = cellOf(value);
    }
}

void DropSampleTables(SampleTables &tables, const QStringList &names) {
    std::erase_if(tables, [&names](const jet::TableText &t) { return names.contains(QString::fromStdString(t.name)); });
}

QString BuildEditedSample(const QString &folder, const QString &sample, const SampleEdit &edit) {
    QDir().mkpath(folder);
    SampleTables tables = jet::readTableTextFolder((QStringLiteral(PNW_SOURCE_DIR "/samples/") + sample).toStdString());
    if (edit) edit(tables);
    const QString ais = folder + QStringLiteral("/edited.ais");
    QFile::remove(ais);
    jet::JetWriter::writeFile(ais.toStdString(), tables);
    jet::Workgroup::writeFile((folder + QStringLiteral("/system.mda")).toStdString());
    return ais;
}
