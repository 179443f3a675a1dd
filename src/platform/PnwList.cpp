#include "platform/PnwList.h"

#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"

PnwList::PnwList() : m_items(std::make_shared<QList<QVariant>>()) {}

int PnwList::Count() const { return static_cast<int>(m_items->size()); }

void PnwList::Add(const QVariant &value) { m_items->append(value); }

void PnwList::Add(const PnwDictionary &dictionary) { m_items->append(QVariant::fromValue(dictionary)); }

void PnwList::Add(const PnwList &list) { m_items->append(QVariant::fromValue(list)); }

void PnwList::checkIndex(int index) const {
    if (index < 1 || index > Count())
        throw PnwError(9, QStringLiteral("PnwList.Item"),
                       QStringLiteral("下标越界：%1（共 %2 项）").arg(index).arg(Count()));
}

QVariant PnwList::Item(int index) const {
    checkIndex(index);
    return m_items->at(index - 1);
}

void PnwList::setItem(int index, const QVariant &value) {
    checkIndex(index);
    (*m_items)[index - 1] = value;
}

PnwDictionary PnwList::DictionaryItem(int index) const {
    const QVariant v = Item(index);
    if (v.metaType() != QMetaType::fromType<PnwDictionary>())
        throw PnwError(13, QStringLiteral("PnwList.Item"), QStringLiteral("类型不匹配：第 %1 项不是字典").arg(index));
    return v.value<PnwDictionary>();
}

void PnwList::Clear() { m_items->clear(); }
