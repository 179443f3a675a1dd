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
