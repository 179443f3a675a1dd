// An ordered list of values indexed from 1, as the component library's list
// object. A PnwList is a handle: copies share one list, so a list handed to
// a dialog or stored in another list is the same object everywhere.
// UI thread only.
#pragma once

#include <memory>

#include <QList>
#include <QMetaType>
#include <QVariant>

class PnwDictionary;

class PnwList {
public:
    PnwList();

    int Count() const;
    void Add(const QVariant &value);
    void Add(const PnwDictionary &dictionary);
    void Add(const PnwList &list);
    // REQUIRES 1 <= index <= Count(); otherwise raises PnwError 9
    // ("subscript out of range").
    QVariant Item(int index) const;
    void setItem(int index, const QVariant &value);
    // The item as a dictionary; raises PnwError 13 when it holds none.
    PnwDictionary DictionaryItem(int index) const;
    void Clear();

    // True when both handles share one list.
    bool isSameAs(const PnwList &other) const { return m_items == other.m_items; }

private:
    void checkIndex(int index) const;
    std::shared_ptr<QList<QVariant>> m_items;
};

Q_DECLARE_METATYPE(PnwList)
