// The target's measure units and its item table: one unit by identifier,
// the list of units for the unit dialog, and the insert of one item with
// its new identifier (unit groups and units are also items of class 7).
// UI thread only.
#pragma once

#include <optional>

#include <QString>

#include "platform/ado/Recordset.h"

class clsDataInfo;

// A measure unit; unitID 0, unitGroupID 0 and number "" when none was found.
struct MeasureUnitInfo {
    int unitID = 0;
    int unitGroupID = 0;
    QString number;
};

// The number of the n-th unit, as units are numbered here: at least three
// digits ("008").
QString MeasureUnitNumber(int n);

// The unit with that identifier. A failing query raises (ado::AdoError).
MeasureUnitInfo GetMeasureUnitInfo(clsDataInfo &dataInfo, const QString &connectString, int unitID);

// FMeasureUnitID, FNumber, FName, FIsDefault of the units of one group (of
// every group for ""), the unit "*" left out, ordered by FNumber; on
// g_TargetConnectString. A failing query raises.
std::optional<ado::Recordset> GetMeasureUnitList(const QString &unitGroupName);

// Inserts one T_Item row on g_TargetConnectString and reads its FItemID
// into itemID. False when the insert failed (errorText holds the server's
// text) or the identifier could not be read; itemID is then unchanged.
bool InsertItem(int itemClass, const QString &number, int parentID, int level, int detail, const QString &name,
                const QString &fullNumber, const QString &shortNumber, const QString &fullName, int &itemID,
                QString &errorText);
