// One field of a recordset's current row: name, value (Null is an invalid
// QVariant), ADO type, DefinedSize, precision and scale.
#pragma once

#include <QString>
#include <QVariant>

namespace ado {

struct Field {
    QString Name;
    QVariant Value;
    int Type = 0;
    int DefinedSize = 0;
    int Precision = 0;
    int NumericScale = 0;
};

}  // namespace ado
