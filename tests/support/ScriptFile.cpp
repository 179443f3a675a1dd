#include "support/ScriptFile.h"

#include <QFile>

#include "server/ScriptBatches.h"

QStringList ScriptFileBatches(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList batches;
    for (const std::string &batch : server::splitGoBatches(f.readAll().toStdString()))
        batches.append(QString::fromStdString(batch));
    return batches;
}
