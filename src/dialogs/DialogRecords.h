// The record list the nature and unit dialogs work on: a PnwList of
// PnwDictionary records, counted from 1. Setting it from a list shares the
// caller's list (the caller sees every change); a single record is wrapped
// into a new list of that one record; anything else is ignored. A list
// never set is an empty list. UI thread only.
#pragma once

#include <QString>
#include <QVariant>

#include "platform/PnwList.h"

class DialogRecords {
public:
    // False when the value was neither a list nor a record (nothing changed).
    bool set(const QVariant &objData);
    PnwList list() const { return m_list; }
    int size() const { return m_list.Count(); }
    // The value under key of record i; Null when i is outside the list or
    // the item is no record.
    QVariant field(int i, const QString &key) const;
    // Writes the value; does nothing when i is outside the list.
    void setField(int i, const QString &key, const QVariant &value);
    // Drops the list (the caller's own reference keeps it alive).
    void release() { m_list = PnwList(); }

private:
    PnwList m_list;
};
