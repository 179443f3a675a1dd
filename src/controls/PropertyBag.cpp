#include "controls/PropertyBag.h"

#include <QFont>
#include <QImage>

namespace {

bool isNumber(const QVariant &v) {
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong: return true;
    default: return false;
    }
}

}  // namespace

bool PropertyBag::sameValue(const QVariant &a, const QVariant &b) {
    if (!a.isValid() || !b.isValid()) return a.isValid() == b.isValid();
    if (isNumber(a) && isNumber(b)) return a.toDouble() == b.toDouble();
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) return a.toString() == b.toString();
    if (a.typeId() != b.typeId()) return false;
    if (a.typeId() == QMetaType::QFont) return a.value<QFont>() == b.value<QFont>();
    if (a.typeId() == QMetaType::QImage) return a.value<QImage>() == b.value<QImage>();
    return a == b;
}

int PropertyBag::indexOf(const QString &key) const {
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i].first.compare(key, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant PropertyBag::ReadProperty(const QString &key, const QVariant &def) const {
    const int i = indexOf(key);
    return i < 0 ? def : m_items[i].second;
}

void PropertyBag::WriteProperty(const QString &key, const QVariant &value, const QVariant &def) {
    const int i = indexOf(key);
    if (sameValue(value, def)) {
        if (i >= 0) m_items.removeAt(i);
        return;
    }
    if (i >= 0)
        m_items[i].second = value;
    else
        m_items.append({key, value});
}

QStringList PropertyBag::keys() const {
    QStringList out;
    for (const auto &item : m_items) out << item.first;
    return out;
}
