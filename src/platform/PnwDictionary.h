// A keyed record of values, as the component library's dictionary object:
// keys compare case-insensitively, keep the spelling they were added with
// and stay in insertion order. A PnwDictionary is a handle: copies share
// one record. Values are QVariant, Null (QVariant()) kept apart from "".
// UI thread only.
#pragma once

#include <memory>

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

class PnwDictionary {
public:
    PnwDictionary();

    int Count() const;
    bool Exists(const QString &key) const;
    // The value under key; Null when the key is absent.
    QVariant Item(const QString &key) const;
    // Stores value under key, adding the key at the end when absent.
    void setItem(const QString &key, const QVariant &value);
    // The key at a position from 1; raises PnwError 9 when out of range.
    QString Key(int index) const;
    // Removes key; raises PnwError 5 when absent.
    void Remove(const QString &key);
    void RemoveAll();
    QStringList Keys() const;

    bool isSameAs(const PnwDictionary &other) const { return m_data == other.m_data; }

private:
    struct Entry {
        QString key;
        QVariant value;
    };
    // The entries and their positions by case-folded key; the positions are
    // made again after a removal, when next needed.
    struct Record {
        QList<Entry> entries;
        QHash<QString, int> positions;
        bool positionsValid = true;
    };
    int find(const QString &key) const;
    std::shared_ptr<Record> m_data;
};

Q_DECLARE_METATYPE(PnwDictionary)
