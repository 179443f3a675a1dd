#include "platform/PnwDictionary.h"

#include "platform/PnwError.h"

PnwDictionary::PnwDictionary() : m_data(std::make_shared<Record>()) {}

int PnwDictionary::find(const QString &key) const {
    Record &r = *m_data;
    if (!r.positionsValid) {
        r.positions.clear();
        for (int i = 0; i < r.entries.size(); ++i) r.positions.insert(r.entries.at(i).key.toCaseFolded(), i);
        r.positionsValid = true;
    }
    return r.positions.value(key.toCaseFolded(), -1);
}

int PnwDictionary::Count() const { return static_cast<int>(m_data->entries.size()); }

bool PnwDictionary::Exists(const QString &key) const { return find(key) >= 0; }

QVariant PnwDictionary::Item(const QString &key) const {
    const int i = find(key);
    return i < 0 ? QVariant() : m_data->entries.at(i).value;
}

void PnwDictionary::setItem(const QString &key, const QVariant &value) {
    const int i = find(key);
    if (i >= 0) {
        m_data->entries[i].value = value;
        return;
    }
    m_data->positions.insert(key.toCaseFolded(), int(m_data->entries.size()));
    m_data->entries.append(Entry{key, value});
}

QString PnwDictionary::Key(int index) const {
    if (index < 1 || index > Count())
        throw PnwError(9, QStringLiteral("PnwDictionary.Key"),
                       QStringLiteral("下标越界：%1（共 %2 项）").arg(index).arg(Count()));
    return m_data->entries.at(index - 1).key;
}

void PnwDictionary::Remove(const QString &key) {
    const int i = find(key);
    if (i < 0) throw PnwError(5, QStringLiteral("PnwDictionary.Remove"), QStringLiteral("关键字不存在：%1").arg(key));
    m_data->entries.removeAt(i);
    if (i == m_data->entries.size())
        m_data->positions.remove(key.toCaseFolded());  // the last: no position moves
    else
        m_data->positionsValid = false;
}

void PnwDictionary::RemoveAll() {
    m_data->entries.clear();
    m_data->positions.clear();
    m_data->positionsValid = true;
}

QStringList PnwDictionary::Keys() const {
    QStringList keys;
    for (const Entry &e : m_data->entries) keys << e.key;
    return keys;
}
