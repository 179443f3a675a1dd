// Stand-ins for what the base-data upgrade leaves before the fixed-asset
// step: account, voucher-group, currency and item mappings in the staging
// copies and the departments as t_Item rows (dot-free short numbers). The
// tests seed them with a few statements until that step lands.
#pragma once

#include <QString>

inline QString FaBaseSeed() {
    return QStringLiteral(
        "UPDATE AIS_GLAcct SET FZ8InterID = CAST(FAcctID AS int);"
        "UPDATE AIS_GLVchGroup SET FZ8InterID = 1 WHERE FGroup = '记';"
        "UPDATE AIS_GLCy SET FZ8InterID = CASE WHEN FCyID = 'RMB' THEN 1 WHEN FCyID = 'USD' THEN 2 WHEN FCyID = 'HKD' "
        "THEN 3 ELSE 0 END;"
        "INSERT INTO t_Item (FItemClassID, FNumber, FName, FShortNumber) SELECT 2, REPLACE(FObjID, '.', ''), FObjName, "
        "REPLACE(FObjID, '.', '') FROM AIS_GLObj WHERE FClsID = 2 AND FObjID <> '*';"
        "UPDATE AIS_GLObj SET FZ8InterID = (SELECT i.FItemID FROM t_Item i WHERE i.FItemClassID = 2 AND "
        "i.FShortNumber = REPLACE(AIS_GLObj.FObjID, '.', '')) WHERE FClsID = 2");
}

// What the general-ledger upgrade leaves for the departments: one
// single-department combination each, and one combination of department 01
// with an employee, which names the department too. Combinations of other
// items come first, so no combination shares its number with an item.
inline QString FaDepartmentCombinations() {
    return QStringLiteral(
        "INSERT INTO t_ItemDetail (FDetailCount, F1) SELECT 1, 1 FROM AIS_GLAcct;"
        "INSERT INTO t_ItemDetail (FDetailCount, F2) SELECT 1, FItemID FROM t_Item WHERE FItemClassID = 2;"
        "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID) SELECT FDetailID, 2, F2 FROM t_ItemDetail WHERE "
        "FDetailCount = 1 AND F2 <> 0;"
        "INSERT INTO t_Item (FItemClassID, FNumber, FName, FShortNumber) VALUES (3, 'E001', '李明', 'E001');"
        "INSERT INTO t_ItemDetail (FDetailCount, F2, F3) SELECT 2, d.FItemID, e.FItemID FROM t_Item d INNER JOIN "
        "t_Item e ON e.FItemClassID = 3 AND e.FShortNumber = 'E001' WHERE d.FItemClassID = 2 AND d.FShortNumber = "
        "'01';"
        "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID) SELECT FDetailID, 2, F2 FROM t_ItemDetail WHERE "
        "FDetailCount = 2;"
        "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID) SELECT FDetailID, 3, F3 FROM t_ItemDetail WHERE "
        "FDetailCount = 2;");
}

// One more staged alteration row: card, period, type, original value.
inline QString FaAlteration(const QString &card, int period, int type, const QString &value) {
    return QStringLiteral(
               "INSERT INTO AIS_FAVch (FSerial, FDate, FPeriod, FType, FTypeNum, FAssetID, FGroup, FNum, FGroupID, "
               "FAlterID, FStatus, FOrgVal, FAccumDepr, FSalvage, FDeprMethod, FLife, FAdjType, FAccumDevalue, "
               "FPreparer, FChecker, FAdjAccumDepr, FEnterDeprAlter, FPosted, FPoster, FTaxAmount) VALUES ((SELECT "
               "MAX(FSerial) + 1 FROM AIS_FAVch), '2025-%2-20', %3, %4, 9, '%1', '记', 9, 1, 4, 1, %5, 0, 0, 1, "
               "60, 0, 0, '王芳', '陈静', 0, 0, 1, 'x', 0);")
        .arg(card, QStringLiteral("%1").arg(period, 2, 10, QLatin1Char('0')), QString::number(period),
             QString::number(type), value);
}
