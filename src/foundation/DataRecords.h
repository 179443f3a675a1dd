// Records out of recordsets and values into SQL literals. UI thread only.
#pragma once

#include <QString>
#include <QVariant>

namespace ado {
class Recordset;
}

// A recordset of 0 or 1 records gives one PnwDictionary of the current
// record's fields (name -> value; the cursor stays); 2 or more give a
// PnwList of such dictionaries in record order, the cursor ending past the
// last record. Failures of the recordset reach the caller (ado::AdoError;
// an empty recordset has no current record). The QVariant holds the
// PnwDictionary or the PnwList.
QVariant RecordsetToRecords(ado::Recordset &rs);

// The value as text for a quoted SQL literal: Null gives "", every "'" is
// doubled.
QString SqlText(const QVariant &value);
