#include "foundation/Messages.h"
#include "dialogs/MeasureUnits.h"

#include <exception>

#include "foundation/Globals.h"
#include "foundation/ErrorText.h"
#include "foundation/SqlText.h"
#include "foundation/clsDataInfo.h"
#include "upgrade/common/MeasureUnits.h"

namespace {

QString failure(const QString &description) {
    return QStringLiteral("新增计量单位失败。原因：") + kCrLf + description + kCrLf;
}

}  // namespace

namespace MeasureUnits {

QStringList names() {
    std::optional<ado::Recordset> rs = GetMeasureUnitList(QString());
    QStringList out;
    if (!rs) return out;
    for (; !rs->Eof(); rs->MoveNext()) out << rs->value(QStringLiteral("FName")).toString();
    return out;
}

MeasureUnitInfo find(const QString &name) {
    const QString sql = SqlText(QStringLiteral(" SELECT T1.FMeasureUnitID, T1.FUnitGroupID, T1.FNumber \r\n"
                                               " FROM T_MeasureUnit T1 \r\n"
                                               " INNER JOIN T_UnitGroup T2 ON T1.FUnitGroupID = T2.FUnitGroupID \r\n"
                                               " WHERE T1.FName = {name} "))
                            .arg(QStringLiteral("name"), name)
                            .str();
    clsDataInfo data;
    QString error;
    std::optional<ado::Recordset> rs = data.GetRs(g_TargetConnectString, sql, true, error);
    MeasureUnitInfo ids;
    if (!rs || rs->Eof() || rs->BOF()) return ids;
    ids.unitID = rs->value(QStringLiteral("FMeasureUnitID")).toInt();
    ids.unitGroupID = rs->value(QStringLiteral("FUnitGroupID")).toInt();
    ids.number = rs->value(QStringLiteral("FNumber")).toString();
    return ids;
}

bool create(const QString &name, MeasureUnitInfo &ids, QString &reason) {
    try {
        // The number first: a target whose numbers do not convert fails
        // here, before anything is written.
        clsDataInfo data;
        QString error;
        int n = 1;
        std::optional<ado::Recordset> rs =
            data.GetRs(g_TargetConnectString,
                       QStringLiteral(" SELECT ISNULL(MAX(CONVERT(INTEGER, FNumber)),0) AS FMaxNumber FROM "
                                      "T_MeasureUnit WHERE FNumber <> '*' "),
                       true, error);
        if (rs && !rs->Eof()) n = rs->value(QStringLiteral("FMaxNumber")).toInt() + 1;
        const QString number = MeasureUnitNumber(n);

        // The group item, the group, the unit item, the unit and the work
        // row in one transaction: all of them or none.
        const QString batch =
            SqlText(QStringLiteral(
                        "DECLARE @GroupItemID INT \r\n"
                        "DECLARE @UnitItemID INT \r\n"
                        " INSERT INTO T_Item(FItemClassID, FNumber, FParentID, FLevel, FDetail,  FName, FFullNumber, "
                        "FShortNumber, FFullName) \r\n"
                        " VALUES(7, {name}, 0, 1, 0, {name}, {name}, {name}, {name}) \r\n"
                        " SELECT @GroupItemID = MAX(FItemID) FROM T_Item WHERE FItemClassID = 7 AND FNumber = {name} "
                        "AND FLevel = 1 \r\n"
                        " INSERT INTO T_UnitGroup (FUnitGroupID, FName, FDefaultUnitID)  VALUES(@GroupItemID, "
                        "{name}, 0) \r\n"
                        " INSERT INTO T_Item(FItemClassID, FNumber, FParentID, FLevel, FDetail,  FName, FFullNumber, "
                        "FShortNumber, FFullName) \r\n"
                        " VALUES(7, {number}, @GroupItemID, 2, 1, {name}, {name}, {name}, {name}) \r\n"
                        " SELECT @UnitItemID = MAX(FItemID) FROM T_Item WHERE FItemClassID = 7 AND FNumber = {number} "
                        "AND FParentID = @GroupItemID \r\n"
                        " INSERT INTO T_MeasureUnit(FMeasureUnitID, FUnitGroupID, FNumber, FName, FItemID, FParentID, "
                        "FShortNumber) \r\n"
                        " VALUES(@UnitItemID, @GroupItemID, {number}, {name}, @UnitItemID, @GroupItemID, {number})\r\n"
                        " UPDATE T_UnitGroup SET FDefaultUnitID = @UnitItemID WHERE FUnitGroupID = @GroupItemID \r\n"
                        " INSERT INTO AIS_GLUnit(FUnit) VALUES({name})\r\n"))
                .arg(QStringLiteral("name"), name)
                .text(QStringLiteral("number"), number)
                .str();
        if (!clsDataInfo().ExecuteSQL(g_TargetConnectString, batch, error)) {
            reason = failure(QStringLiteral("SQL语句执行错误：") + kCrLf + batch + error);
            return false;
        }

        const QString read = SqlText(QStringLiteral(" SELECT FMeasureUnitID, FUnitGroupID FROM T_MeasureUnit "
                                                    "WHERE FName = {name} AND FNumber = {number} "))
                                 .arg(QStringLiteral("name"), name)
                                 .text(QStringLiteral("number"), number)
                                 .str();
        rs = clsDataInfo().GetRs(g_TargetConnectString, read, true, error);
        if (!rs || rs->Eof()) {
            reason = failure(QStringLiteral("插入核算项目表记录错误。"));
            return false;
        }
        const int unitItemID = rs->value(QStringLiteral("FMeasureUnitID")).toInt();
        const int groupItemID = rs->value(QStringLiteral("FUnitGroupID")).toInt();

        // The work row's mapping; its result does not decide the creation.
        for (const auto &[column, id] : {std::pair{QStringLiteral("FZ8InterID_2"), groupItemID},
                                         std::pair{QStringLiteral("FZ8InterID"), unitItemID}}) {
            QString ignored;
            clsDataInfo().ExecuteSQL(g_TargetConnectString,
                                     SqlText(QStringLiteral(" UPDATE AIS_GLUnit\r\n SET {column} = {id}\r\n"
                                                            " WHERE FUnit = {name}"))
                                         .raw(QStringLiteral("column"), column)
                                         .arg(QStringLiteral("id"), id)
                                         .text(QStringLiteral("name"), name)
                                         .str(),
                                     ignored);
        }
        ids.unitID = unitItemID;
        return true;
    } catch (const std::exception &e) {
        reason = failure(ErrorDescription(e));
        return false;
    }
}

}  // namespace MeasureUnits
