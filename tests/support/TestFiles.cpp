#include "support/TestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

void WriteFileBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return;
    }
    f.write(bytes);
}

QByteArray ReadFileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
