#include "platform/PnwConvert.h"

#include <QDateTime>

#include "platform/AnsiCodec.h"
#include "platform/RegionalFormat.h"

namespace {

QString doubleText(double d) {
    // 'g' keeps a two-digit exponent ("1e-05"); value-to-text writes it upper case.
    return QString::number(d, 'g', 15).toUpper();
}

}  // namespace

QString PnwConvert::ToText(const QVariant &value) {
    if (!value.isValid() || value.isNull()) return QString();
    switch (value.metaType().id()) {
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float: return doubleText(value.toDouble());
    case QMetaType::QDate: return RegionalFormat::shortDate(value.toDate());
    case QMetaType::QTime: return RegionalFormat::longTime(value.toTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0)) return RegionalFormat::shortDate(dt.date());
        return RegionalFormat::dateTime(dt);
    }
    case QMetaType::QByteArray: return AnsiCodec::decode(value.toByteArray());
    default: return value.toString();
    }
}

QString PnwConvert::ToText(const QVariant &value, const QString &defaultText) {
    return (!value.isValid() || value.isNull()) ? defaultText : ToText(value);
}

int PnwConvert::ByteLength(const QString &text) { return AnsiCodec::byteLength(text); }
