#include "platform/PnwDictionary.h"

#include "platform/PnwError.h"

PnwDictionary::PnwDictionary() : m_data(std::make_shared<QList<Entry>>()) {}

int PnwDictionary::find(const QString &key) const {
    for (int i = 0; i < m_data->size(); ++i)
        if (m_data->at(i).key.compare(key, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int PnwDictionary::Count() const { return static_cast<int>(m_data->size()); }

bool PnwDictionary::Exists(const QString &key) const { return find(key) >= 0; }

QVariant PnwDictionary::Item(const QString &key) const {
    const int i = find(key);
    return i < 0 ? QVariant() : m_data->at(i).value;
}

void PnwDictionary::setItem(const QString &key, const QVariant &value) {
    const int i = find(key);
    if (i < 0)
        m_data->append(Entry{key, value});
    else
        (*m_data)[i].value = value;
}

QString PnwDictionary::Key(int index) const {
    if (index < 1 || index > Count())
        throw PnwError(9, QStringLiteral("PnwDictionary.Key"),
                       QStringLiteral("下标越界：%1（共 %2 项）").arg(index).arg(Count()));
    return m_data->at(index - 1).key;
}

void PnwDictionary::Remove(const QString &key) {
    const int i = find(key);
    if (i < 0) throw PnwError(5, QStringLiteral("PnwDictionary.Remove"), QStringLiteral("关键字不存在：%1").arg(key));
    m_data->removeAt(i);
}

void PnwDictionary::RemoveAll() { m_data->clear(); }

QStringList PnwDictionary::Keys() const {
    QStringList keys;
    for (const Entry &e : *m_data) keys << e.key;
    return keys;
}
