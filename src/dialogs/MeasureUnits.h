// The target's measure units as the unit dialog reads and creates them.
// Every statement goes to g_TargetConnectString through a clsDataInfo of
// its own. UI thread only.
#pragma once

#include <QString>
#include <QStringList>

#include "upgrade/common/MeasureUnits.h"

namespace MeasureUnits {

// The names of every unit of every group, the reserved unit "*" left out,
// ordered by unit number. A failing query raises (as clsDataInfo::GetRs).
QStringList names();

// The unit of that name whose group exists; all empty when none. A failing
// query raises.
MeasureUnitInfo find(const QString &name);

// Creates a unit group of the name and its one unit, numbered after the
// largest numeric unit number (three digits at least, "008"), as items of
// class 7, group and unit rows and a row of the work table AIS_GLUnit, all
// in one transaction, then records the new item ids in that work row.
// On success ids.unitID is the new unit's id. On failure nothing is written
// and reason says why ("新增计量单位失败。原因：" and the cause).
bool create(const QString &name, MeasureUnitInfo &ids, QString &reason);

}  // namespace MeasureUnits
