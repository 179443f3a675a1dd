#include "foundation/Messages.h"
#include "upgrade/common/MeasureUnits.h"

#include <exception>

#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "foundation/clsDataInfo.h"
#include "upgrade/common/ValueConvert.h"

namespace {}

MeasureUnitInfo GetMeasureUnitInfo(clsDataInfo &dataInfo, const QString &connectString, int unitID) {
    MeasureUnitInfo info;
    const QString sql = QStringLiteral(" SELECT FMeasureUnitID,FUnitGroupID, FNumber ") + kCrLf +
                        QStringLiteral(" FROM T_MeasureUnit ") + kCrLf + QStringLiteral(" WHERE FMeasureUnitID = ") +
                        QString::number(unitID);
    QString error;
    auto rs = dataInfo.GetRs(connectString, sql, true, error);
    if (!rs || rs->Eof() || rs->BOF()) return info;
    info.unitID = rs->value(QStringLiteral("FMeasureUnitID")).toInt();
    info.unitGroupID = rs->value(QStringLiteral("FUnitGroupID")).toInt();
    info.number = rs->value(QStringLiteral("FNumber")).toString();
    return info;
}

QString MeasureUnitNumber(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }

std::optional<ado::Recordset> GetMeasureUnitList(const QString &unitGroupName) {
    QString sql = QStringLiteral(" SELECT T1.FMeasureUnitID, T1.FNumber, T1.FName, CASE WHEN T1.FMeasureUnitID = "
                                 "T2.FDefaultUnitID THEN 1 ELSE 0 END AS FIsDefault ") +
                  kCrLf + QStringLiteral(" FROM T_MeasureUnit T1 ") + kCrLf +
                  QStringLiteral(" INNER JOIN T_UnitGroup T2 ON T1.FUnitGroupID = T2.FUnitGroupID ") + kCrLf +
                  QStringLiteral(" WHERE T1.FNumber <> '*' ");
    if (!unitGroupName.isEmpty()) sql += QStringLiteral(" AND T2.FName = ") + SqlNString(unitGroupName) + kCrLf;
    sql += QStringLiteral(" ORDER BY T1.FNumber ");
    clsDataInfo dataInfo;
    QString error;
    return dataInfo.GetRs(g_TargetConnectString, sql, true, error);
}

bool InsertItem(int itemClass, const QString &number, int parentID, int level, int detail, const QString &name,
                const QString &fullNumber, const QString &shortNumber, const QString &fullName, int &itemID,
                QString &errorText) {
    try {
        clsDataInfo dataInfo;
        const QString insert =
            QStringLiteral(" INSERT INTO T_Item(FItemClassID, FNumber, FParentID, FLevel, FDetail, ") +
            QStringLiteral(" FName, FFullNumber, FShortNumber, FFullName) ") + kCrLf + QStringLiteral(" VALUES(") +
            QString::number(itemClass) + QStringLiteral(", ") + SqlNString(number) + QStringLiteral(", ") +
            QString::number(parentID) + QStringLiteral(", ") + QString::number(level) + QStringLiteral(", ") +
            QString::number(detail) + QStringLiteral(", ") + SqlNString(name) + QStringLiteral(", ") +
            SqlNString(fullNumber) + QStringLiteral(", ") + SqlNString(shortNumber) + QStringLiteral(", ") +
            SqlNString(fullName) + QStringLiteral(")");
        if (!dataInfo.ExecuteSQL(g_TargetConnectString, insert, errorText)) return false;
        QString readError;
        auto rs =
            dataInfo.GetRs(g_TargetConnectString,
                           QStringLiteral(" SELECT FItemID FROM T_Item WHERE FItemClassID = ") +
                               QString::number(itemClass) + QStringLiteral(" AND FNumber = ") + SqlNString(number),
                           true, readError);
        if (!rs || rs->Eof()) return false;
        int id = 0;
        if (!ToLong(rs->value(QStringLiteral("FItemID")), id)) return false;
        itemID = id;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
