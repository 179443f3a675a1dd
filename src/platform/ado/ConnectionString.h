// A provider connection string taken apart: "key=value;" pairs, keys matched
// without regard to case, keys and values trimmed. Recognised keys:
// Provider, Data Source (Server), Initial Catalog (Database), User ID (UID),
// Password (PWD), Integrated Security; others are kept and ignored.
#pragma once

#include <QMap>
#include <QString>

namespace ado {

class ConnectionString {
public:
    explicit ConnectionString(const QString &text);

    QString value(const QString &key) const;  // "" when absent
    bool has(const QString &key) const;

    QString provider() const { return value(QStringLiteral("provider")); }
    QString dataSource() const;
    QString initialCatalog() const;
    QString userId() const;
    QString password() const;
    bool integratedSecurity() const;

private:
    QMap<QString, QString> values_;  // lower-case keys
};

}  // namespace ado
