// Small pieces the general-ledger phases share: guarded drops of work
// tables, number texts for statements, and reading values of a recordset
// with the value a NULL is read as.
#pragma once

#include <QString>
#include <QVariant>

class StepKit;

namespace ado {
class Recordset;
}

namespace ledger {

// " IF EXISTS(<user table named name>) DROP TABLE name ".
QString dropIfExists(const QString &table);
// Reloads g_StdVoucherGroupID and g_StdVoucherGroupName from the target's
// standard voucher group, when it has one.
void loadStandardVoucherGroup(StepKit &kit);

// A number in its plain text form for a statement ("0" for Null).
QString num(const QVariant &value);
QString num(double value);
// The field's value, or fallback when it is Null.
QVariant field(const ado::Recordset &rs, const char *name, const QVariant &fallback = QVariant());
QString text(const ado::Recordset &rs, const char *name);  // Null read as ""
int integer(const ado::Recordset &rs, const char *name, int fallback = 0);
double real(const ado::Recordset &rs, const char *name, double fallback = 0);

}  // namespace ledger
