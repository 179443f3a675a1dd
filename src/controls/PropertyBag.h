// The keyed store in which a control keeps its design-time values. Keys
// compare without regard to case and keep the order of their first write.
// A value equal to its default is not stored, and a missing key reads as its
// default, so a bag holds only what differs. Plain value type; no threads.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class PropertyBag {
public:
    // The stored value of key, or def when the key is missing.
    QVariant ReadProperty(const QString &key, const QVariant &def = QVariant()) const;
    // Stores value under key, or removes the key when value equals def.
    void WriteProperty(const QString &key, const QVariant &value, const QVariant &def = QVariant());

    bool contains(const QString &key) const { return indexOf(key) >= 0; }
    QStringList keys() const;
    int size() const { return int(m_items.size()); }

    // Whether two property values count as equal: numbers by value, texts
    // exactly, a number never equals a text, fonts and pictures by content.
    static bool sameValue(const QVariant &a, const QVariant &b);

private:
    int indexOf(const QString &key) const;
    QList<QPair<QString, QVariant>> m_items;
};
