#include "platform/ado/InstanceLocator.h"

#include <QDir>
#include <QFileInfo>

namespace ado {

QString instanceFolder(const QString &dataSource) {
    QString base = qEnvironmentVariable(kInstanceDirVariable);
    if (base.isEmpty()) return {};
    QString ds = dataSource.trimmed();
    QString lower = ds.toLower();
    if (ds == QLatin1String(".") || lower == QLatin1String("(local)") || lower == QLatin1String("localhost") ||
        ds == QLatin1String("127.0.0.1"))
        return base;
    for (const QString &prefix : {QStringLiteral(".\\"), QStringLiteral("(local)\\"), QStringLiteral("localhost\\")}) {
        if (lower.startsWith(prefix)) {
            QString name = ds.mid(prefix.size());
            if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                name == QLatin1String("..") || name == QLatin1String("."))
                return {};
            QFileInfo b(QDir::cleanPath(base));
            return QDir(b.absolutePath()).filePath(name);
        }
    }
    return {};
}

}  // namespace ado
