// Strict conversions of values read from a recordset: Null, text that is no
// whole number and numbers out of range fail (false) instead of giving 0.
#pragma once

#include <QVariant>

// A whole number within 32 bits (a number held as text counts).
bool ToLong(const QVariant &value, int &out);
