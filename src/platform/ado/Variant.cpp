#include "platform/ado/Variant.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "platform/ado/AdoTypes.h"

namespace ado {

QVariant toVariant(const server::Value &v, const server::SqlType &type) {
    using server::Base;
    if (v.isNull()) return QVariant();
    switch (type.base) {
    case Base::Bit: return QVariant(v.kind == server::Value::Kind::Int ? v.i != 0 : v.d != 0);
    case Base::TinyInt:
    case Base::SmallInt:
    case Base::Int: return QVariant(int(v.kind == server::Value::Kind::Int ? v.i : qint64(v.d)));
    case Base::BigInt: return QVariant(qlonglong(v.kind == server::Value::Kind::Int ? v.i : qint64(v.d)));
    // binary(8), most significant byte first, as the server hands it.
    case Base::Timestamp: return QVariant(QByteArray(v.s.data(), qsizetype(v.s.size())));
    case Base::Money:
    case Base::Decimal:
    case Base::Float:
    case Base::Real: return QVariant(v.kind == server::Value::Kind::Int ? double(v.i) : v.d);
    case Base::DateTime: {
        QDateTime dt = QDateTime::fromString(QString::fromStdString(v.s), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        return dt.isValid() ? QVariant(dt) : QVariant(QString::fromStdString(v.s));
    }
    case Base::Image: return QVariant(QByteArray(v.s.data(), qsizetype(v.s.size())));
    default: break;
    }
    switch (v.kind) {
    case server::Value::Kind::Int: return QVariant(qlonglong(v.i));
    case server::Value::Kind::Real: return QVariant(v.d);
    case server::Value::Kind::Blob: return QVariant(QByteArray(v.s.data(), qsizetype(v.s.size())));
    default: return QVariant(QString::fromUtf8(v.s.data(), qsizetype(v.s.size())));
    }
}

int adoType(const server::SqlType &type) {
    using server::Base;
    switch (type.base) {
    case Base::Bit: return adBoolean;
    case Base::TinyInt: return adUnsignedTinyInt;
    case Base::SmallInt: return adSmallInt;
    case Base::Int: return adInteger;
    case Base::BigInt: return adBigInt;
    case Base::Money: return adCurrency;
    case Base::Decimal: return adNumeric;
    case Base::Real: return adSingle;
    case Base::Float: return adDouble;
    case Base::DateTime: return adDBTimeStamp;
    case Base::VarChar: return adVarChar;
    case Base::NVarChar: return adVarWChar;
    case Base::Text: return adLongVarChar;
    case Base::NText: return adLongVarWChar;
    case Base::Image: return adLongVarBinary;
    case Base::Timestamp: return adBinary;
    case Base::UniqueIdentifier: return adGUID;
    case Base::Null: return adVariant;
    }
    return adVariant;
}

server::Value toServerValue(const QVariant &v) {
    if (!v.isValid() || v.isNull()) return server::Value::null();
    switch (v.typeId()) {
    case QMetaType::Bool: return server::Value::fromInt(v.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar: return server::Value::fromInt(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return server::Value::fromReal(v.toDouble());
    case QMetaType::QByteArray: {
        QByteArray b = v.toByteArray();
        return server::Value::fromBlob(std::string(b.constData(), size_t(b.size())));
    }
    case QMetaType::QDateTime:
        return server::Value::fromText(
            v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString());
    default: return server::Value::fromText(v.toString().toStdString());
    }
}

std::vector<server::Value> toServerValues(const std::vector<QVariant> &values) {
    std::vector<server::Value> out;
    out.reserve(values.size());
    for (const auto &v : values) out.push_back(toServerValue(v));
    return out;
}

}  // namespace ado
