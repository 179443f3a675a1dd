#include "support/SampleFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "jet/Workgroup.h"
#include "platform/dao/DBEngine.h"

QString CopySample(const QString &sample, const QString &folder, bool workgroup) {
    QDir().mkpath(folder);
    const QString from = QStringLiteral(PNW_BINARY_DIR "/samples/") + sample + QLatin1Char('/');
    const QString copy = folder + QLatin1Char('/') + sample + QStringLiteral(".ais");
    QFile::remove(copy);
    QFile::remove(folder + QStringLiteral("/system.mda"));
    if (workgroup) QFile::copy(from + QStringLiteral("system.mda"), folder + QStringLiteral("/system.mda"));
    return QFile::copy(from + sample + QStringLiteral(".ais"), copy) ? copy : QString();
}

QByteArray FileHash(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

std::unique_ptr<dao::Database> OpenSourceFile(const QString &ais) {
    dao::DBEngine engine;
    engine.SystemDB = QFileInfo(ais).absolutePath() + QStringLiteral("/system.mda");
    engine.DefaultUser = QString::fromLatin1(jet::Workgroup::kUser);
    engine.DefaultPassword = QString::fromLatin1(jet::Workgroup::kPassword);
    return engine.OpenDatabase(ais);
}
