#include "support/SampleVariant.h"

#include <QDir>
#include <QFile>

#include "jet/JetWriter.h"
#include "jet/TableText.h"
#include "jet/Workgroup.h"

QString BuildSampleVariant(const QString &folder, const QList<QPair<QString, QString>> &changes) {
    return BuildSampleVariant(folder, changes, jet::JetWriter::Options());
}

QString BuildSampleVariant(const QString &folder, const QList<QPair<QString, QString>> &changes,
                           const jet::JetWriter::Options &options) {
    QDir().mkpath(folder);
    std::vector<jet::TableText> tables = jet::readTableTextFolder(PNW_SOURCE_DIR "/samples/standard");
    for (jet::TableText &table : tables) {
        if (table.name != "GLPref" || table.rows.empty()) continue;
        for (const auto &change : changes)
            for (size_t i = 0; i < table.columns.size(); ++i)
                if (QString::fromStdString(table.columns[i].name) == change.first) {
                    table.rows[0][i] = change.second == QStringLiteral("\\N")
                                           ? jet::Cell()
                                           : jet::Cell(jet::unescapeCell(change.second.toStdString()));
                    // A text longer than its Text column needs a Memo one.
                    jet::ColumnSpec &column = table.columns[i];
                    if (column.type == jet::ColumnType::Text && table.rows[0][i] &&
                        QString::fromStdString(*table.rows[0][i]).size() > column.size)
                        column.type = jet::ColumnType::Memo;
                }
    }
    const QString ais = folder + QStringLiteral("/variant.ais");
    QFile::remove(ais);
    jet::JetWriter::writeFile(ais.toStdString(), tables, options);
    jet::Workgroup::writeFile((folder + QStringLiteral("/system.mda")).toStdString());
    return ais;
}
