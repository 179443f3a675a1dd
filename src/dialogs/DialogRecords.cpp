#include "dialogs/DialogRecords.h"

#include "platform/PnwDictionary.h"

bool DialogRecords::set(const QVariant &objData) {
    if (objData.metaType() == QMetaType::fromType<PnwList>()) {
        m_list = objData.value<PnwList>();
        return true;
    }
    if (objData.metaType() == QMetaType::fromType<PnwDictionary>()) {
        PnwList wrapped;
        wrapped.Add(objData.value<PnwDictionary>());
        m_list = wrapped;
        return true;
    }
    return false;
}

QVariant DialogRecords::field(int i, const QString &key) const {
    if (i < 1 || i > m_list.Count()) return {};
    const QVariant item = m_list.Item(i);
    if (item.metaType() != QMetaType::fromType<PnwDictionary>()) return {};
    return item.value<PnwDictionary>().Item(key);
}

void DialogRecords::setField(int i, const QString &key, const QVariant &value) {
    if (i < 1 || i > m_list.Count()) return;
    const QVariant item = m_list.Item(i);
    if (item.metaType() != QMetaType::fromType<PnwDictionary>()) return;
    PnwDictionary record = item.value<PnwDictionary>();
    record.setItem(key, value);
}
