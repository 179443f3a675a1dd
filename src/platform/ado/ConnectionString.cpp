#include "platform/ado/ConnectionString.h"

#include <QStringList>

namespace ado {

ConnectionString::ConnectionString(const QString& text)
{
    for (const QString& part : text.split(QLatin1Char(';'))) {
        int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        QString key = part.left(eq).trimmed().toLower();
        if (key.isEmpty())
            continue;
        values_.insert(key, part.mid(eq + 1).trimmed());
    }
}

QString ConnectionString::value(const QString& key) const { return values_.value(key.toLower()); }

bool ConnectionString::has(const QString& key) const { return values_.contains(key.toLower()); }

QString ConnectionString::dataSource() const
{
    return has(QStringLiteral("data source")) ? value(QStringLiteral("data source")) : value(QStringLiteral("server"));
}

QString ConnectionString::initialCatalog() const
{
    return has(QStringLiteral("initial catalog")) ? value(QStringLiteral("initial catalog"))
                                                  : value(QStringLiteral("database"));
}

QString ConnectionString::userId() const
{
    return has(QStringLiteral("user id")) ? value(QStringLiteral("user id")) : value(QStringLiteral("uid"));
}

QString ConnectionString::password() const
{
    return has(QStringLiteral("password")) ? value(QStringLiteral("password")) : value(QStringLiteral("pwd"));
}

bool ConnectionString::integratedSecurity() const
{
    QString v = value(QStringLiteral("integrated security")).toLower();
    return v == QLatin1String("sspi") || v == QLatin1String("true") || v == QLatin1String("yes");
}

}  // namespace ado
