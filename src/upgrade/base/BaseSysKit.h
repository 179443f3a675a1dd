// Small helpers the base-data step's checks and phases share: recordsets
// opened read-only, values read strictly (a Null where a value is needed
// raises, as reading it into a typed variable would), detail-table rows.
#pragma once

#include <initializer_list>
#include <optional>

#include <QString>

#include "foundation/Messages.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwList.h"

namespace basesys {

// A read-only recordset; none (no error) when the server answers 7303.
std::optional<ado::Recordset> open(clsDataInfo &dataInfo, const QString &connectString, const QString &sql);
// A recordset, or a raised PnwError with noRecordsetText when there is none.
ado::Recordset openOrRaise(clsDataInfo &dataInfo, const QString &connectString, const QString &sql,
                           const QString &noRecordsetText);

// The field as text; raises PnwError 94 for Null.
QString text(const ado::Recordset &rs, const QString &field);
// The field as a 32-bit whole number; raises PnwError 94 for Null and 13
// for a value that is no number.
int number(const ado::Recordset &rs, const QString &field);

// A detail-table row of value cells.
PnwList row(std::initializer_list<QString> cells);

}  // namespace basesys
