#include "foundation/SqlInstance.h"

#include "platform/PnwReg.h"

// The registry store has no 32-bit view: this program never runs under the
// 64-bit registry redirection, so the key is read as it is written.
QString ReadHklmString(const QString &keyPath, const QString &valueName) {
    try {
        return PnwReg().GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\") + keyPath, valueName, QString()).trimmed();
    } catch (...) {
        return QString();
    }
}

QString GetLocalSqlInstanceName() {
    try {
        QString list = ReadHklmString(QStringLiteral("SOFTWARE\\Microsoft\\Microsoft SQL Server"),
                                      QStringLiteral("InstalledInstances"));
        list.replace(QChar(u'\0'), QLatin1Char(';')).replace(QStringLiteral("\r\n"), QStringLiteral(";"));
        if (list.isEmpty()) return QString();
        const QString first = list.section(QLatin1Char(';'), 0, 0);
        if (first.toUpper().contains(QLatin1String("MSSQLSERVER"))) return QString();
        return first;
    } catch (...) {
        return QString();
    }
}

QString ApplySqlInstance(const QString &connectionString) {
    try {
        const QString instance = GetLocalSqlInstanceName();
        if (instance.isEmpty()) return connectionString;
        const QString pattern = QStringLiteral("Data Source=.;");
        const QString replacement = QStringLiteral("Data Source=.\\") + instance + QLatin1Char(';');
        QString result = connectionString;
        for (qsizetype at = result.indexOf(pattern, 0, Qt::CaseInsensitive); at >= 0;
             at = result.indexOf(pattern, at + replacement.size(), Qt::CaseInsensitive))
            result.replace(at, pattern.size(), replacement);
        return result;
    } catch (...) {
        return QString();
    }
}
