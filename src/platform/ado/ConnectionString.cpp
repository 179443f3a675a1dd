#include "platform/ado/ConnectionString.h"

#include <QStringList>

namespace ado {

ConnectionString::ConnectionString(const QString &text) {
    // key=value pairs separated by ';'. A value may be quoted with "..." or
    // '...'; inside, the quote doubled stands for itself and ';' is data.
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        int eq = int(text.indexOf(QLatin1Char('='), i));
        int semi = int(text.indexOf(QLatin1Char(';'), i));
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            if (semi < 0) break;
            i = semi + 1;  // a part without '=' is ignored
            continue;
        }
        QString key = text.mid(i, eq - i).trimmed().toLower();
        int j = eq + 1;
        while (j < n && text[j].isSpace()) ++j;
        QString value;
        if (j < n && (text[j] == QLatin1Char('"') || text[j] == QLatin1Char('\''))) {
            const QChar quote = text[j];
            ++j;
            while (j < n) {
                if (text[j] == quote) {
                    if (j + 1 < n && text[j + 1] == quote) {
                        value += quote;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            // Anything up to the next ';' after the closing quote is ignored.
            int end = int(text.indexOf(QLatin1Char(';'), j));
            i = end < 0 ? n : end + 1;
        } else {
            int end = int(text.indexOf(QLatin1Char(';'), eq + 1));
            value = text.mid(eq + 1, (end < 0 ? n : end) - eq - 1).trimmed();
            i = end < 0 ? n : end + 1;
        }
        if (!key.isEmpty()) values_.insert(key, value);
    }
}

QString ConnectionString::value(const QString &key) const { return values_.value(key.toLower()); }

bool ConnectionString::has(const QString &key) const { return values_.contains(key.toLower()); }

QString ConnectionString::dataSource() const {
    return has(QStringLiteral("data source")) ? value(QStringLiteral("data source")) : value(QStringLiteral("server"));
}

QString ConnectionString::initialCatalog() const {
    return has(QStringLiteral("initial catalog")) ? value(QStringLiteral("initial catalog"))
                                                  : value(QStringLiteral("database"));
}

QString ConnectionString::userId() const {
    return has(QStringLiteral("user id")) ? value(QStringLiteral("user id")) : value(QStringLiteral("uid"));
}

QString ConnectionString::password() const {
    return has(QStringLiteral("password")) ? value(QStringLiteral("password")) : value(QStringLiteral("pwd"));
}

bool ConnectionString::integratedSecurity() const {
    QString v = value(QStringLiteral("integrated security")).toLower();
    return v == QLatin1String("sspi") || v == QLatin1String("true") || v == QLatin1String("yes");
}

}  // namespace ado
