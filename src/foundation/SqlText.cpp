#include "foundation/SqlText.h"

#include <QDate>
#include <QDateTime>

#include "platform/PnwError.h"

QString SqlLiteral(QString text) { return text.replace(QLatin1Char('\''), QStringLiteral("''")); }

QString SqlString(const QString &text) { return QLatin1Char('\'') + SqlLiteral(text) + QLatin1Char('\''); }

QString SqlNString(const QString &text) { return QStringLiteral("N'") + SqlLiteral(text) + QLatin1Char('\''); }

QString SqlName(QString name) {
    return QLatin1Char('[') + name.replace(QLatin1Char(']'), QStringLiteral("]]")) + QLatin1Char(']');
}

namespace {

QString numberText(double d) {
    // Fifteen significant digits, as the server keeps money and decimals;
    // fixed notation, since an exponent would not fit a money column's text.
    QString text = QString::number(d, 'g', 15);
    if (!text.contains(QLatin1Char('e'))) return text;
    text = QString::number(d, 'f', 15);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    return text;
}

bool isPlaceholderChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

}  // namespace

QString SqlValue(const QVariant &value) {
    // A null QString is Null too: records and callers use both for "no value".
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull()))
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong: return QString::number(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: return QString::number(value.toULongLong());
    case QMetaType::Float:
    case QMetaType::Double: return numberText(value.toDouble());
    case QMetaType::QDate: return SqlString(value.toDate().toString(QStringLiteral("yyyy-MM-dd")));
    case QMetaType::QDateTime: return SqlString(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    default: return SqlNString(value.toString());
    }
}

SqlText::SqlText(QString sql) : m_sql(std::move(sql)) {}

SqlText &SqlText::arg(const QString &name, const QVariant &value) {
    m_values.insert(name, SqlValue(value));
    return *this;
}

SqlText &SqlText::text(const QString &name, const QString &value) {
    m_values.insert(name, value.isNull() ? QStringLiteral("NULL") : SqlString(value));
    return *this;
}

SqlText &SqlText::raw(const QString &name, const QString &sql) {
    m_values.insert(name, sql);
    return *this;
}

QString SqlText::str() const {
    QString out;
    out.reserve(m_sql.size() + 64);
    const qsizetype n = m_sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = m_sql.at(i);
        if (c == QLatin1Char('{')) {
            qsizetype j = i + 1;
            while (j < n && isPlaceholderChar(m_sql.at(j))) ++j;
            if (j > i + 1 && j < n && m_sql.at(j) == QLatin1Char('}')) {
                const QString name = m_sql.mid(i + 1, j - i - 1);
                const auto it = m_values.constFind(name);
                if (it == m_values.constEnd())
                    throw PnwError(5, QStringLiteral("SqlText"), QStringLiteral("SQL 语句缺少参数 {%1}").arg(name));
                out += *it;
                i = j + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}
