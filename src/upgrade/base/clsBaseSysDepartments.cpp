// Departments (items of class 2 with their hierarchy and dotted numbers,
// then t_Department) and employees (items of class 3, then t_Emp with their
// attributes). Both map each staged item to its new FItemID.
#include "upgrade/base/clsBaseSys.h"

#include <QHash>

#include "foundation/ErrorText.h"
#include "foundation/PinyinInitials.h"
#include "foundation/SqlText.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "upgrade/base/PhaseLog.h"
#include "upgrade/common/ValueConvert.h"

namespace {

const QString kDeptProject = QStringLiteral("基础资料-部门");
const QString kEmpProject = QStringLiteral("基础资料-职员");

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }

// Runs one batch; a failure adds the server's text and the statement to
// errors.
bool run(clsDataInfo &dataInfo, const QString &connectString, const QString &sql, QString &errors) {
    QString error;
    if (dataInfo.ExecuteSQL(connectString, sql, error)) return true;
    errors += error + kCrLf + FailedStatement(sql) + kCrLf;
    return false;
}

// Help codes of every row of table, one statement each.
bool writeHelpCodes(clsDataInfo &dataInfo, const QString &connectString, const QString &table, QString &errors) {
    QString error;
    auto rs = dataInfo.GetRs(connectString, SqlText(" SELECT FItemID, FName FROM {table} ").raw("table", table).str(),
                             true, error);
    if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys"), error);
    bool good = true;
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString sql = SqlText(" UPDATE {table} SET FHelpCode = {code}\r\n WHERE FItemID = {id}")
                                .raw("table", table)
                                .arg("code", GetPinyinInitials(text(rs->value(QStringLiteral("FName")))))
                                .arg("id", rs->value(QStringLiteral("FItemID")))
                                .str();
        if (!run(dataInfo, connectString, sql, errors)) good = false;
    }
    return good;
}

int countItems(clsDataInfo &dataInfo, const QString &connectString, int itemClass) {
    QString error;
    auto rs = dataInfo.GetRs(
        connectString,
        SqlText(" SELECT COUNT(*) AS FRowCount FROM t_Item WHERE FItemClassID = {cls} ").arg("cls", itemClass).str(),
        true, error);
    int count = 0;
    if (!rs || rs->Eof() || !ToLong(rs->value(QStringLiteral("FRowCount")), count))
        throw PnwError(-1, QStringLiteral("clsBaseSys"), error);
    return count;
}

// The detail table of the source items of a class; "详细日志" into
// detailText when it could be read.
clsDetailLogInfo itemTable(clsDataInfo &dataInfo, const QString &connectString, int itemClass, const QString &title,
                           const QStringList &captions, QString &detailText) {
    clsDetailLogInfo table = DetailTable(title, captions);
    QString error;
    auto rs = dataInfo.GetRs(
        connectString,
        SqlText(" SELECT FObjID, FObjName FROM AIS_GLObj WHERE FClsID = {cls} AND FObjID <> '*' ORDER BY FFullPath ")
            .arg("cls", itemClass)
            .str(),
        true, error);
    if (!rs) return table;
    for (; !rs->Eof(); rs->MoveNext())
        AddDetailRow(table, {PnwConvert::ToText(rs->value(QStringLiteral("FObjID")), QString()),
                             PnwConvert::ToText(rs->value(QStringLiteral("FObjName")), QString())});
    detailText = QStringLiteral("详细日志");
    return table;
}

// Every department's number and full number: the short numbers of its
// ancestors (at most 15, nearest last) and its own, joined by ".".
QString departmentNumbersBatch(clsDataInfo &dataInfo, const QString &connectString) {
    struct Item {
        int parent;
        QString shortNumber, number;
    };
    QString error;
    auto rs = dataInfo.GetRs(connectString,
                             QStringLiteral("SELECT FItemID, FParentID, FShortNumber, FNumber FROM t_Item "
                                            "WHERE FItemClassID = 2"),
                             true, error);
    if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys"), error);
    QHash<int, Item> items;
    QList<int> order;
    for (; !rs->Eof(); rs->MoveNext()) {
        int id = 0, parent = 0;
        ToLong(rs->value(QStringLiteral("FItemID")), id);
        ToLong(rs->value(QStringLiteral("FParentID")), parent);
        const QVariant shortNumber = rs->value(QStringLiteral("FShortNumber"));
        const QString number = text(rs->value(QStringLiteral("FNumber")));
        items.insert(id, {parent, shortNumber.isNull() ? number : text(shortNumber), number});
        order.append(id);
    }
    QString batch;
    for (int id : order) {
        const Item &item = items[id];
        QString number = item.shortNumber;
        int parent = item.parent;
        for (int steps = 0; parent != 0 && parent != id && steps < 15 && items.contains(parent); ++steps) {
            number = items[parent].shortNumber + QLatin1Char('.') + number;
            parent = items[parent].parent;
        }
        if (number == item.number) continue;
        batch += SqlText("UPDATE t_Item SET FNumber = {n}, FFullNumber = {n} WHERE FItemID = {id}\r\n")
                     .arg("n", number)
                     .arg("id", id)
                     .str();
    }
    return batch;
}

}  // namespace

int clsBaseSys::UpgradeDepartment(clsDataInfo &dataInfo, const QString &connectString) {
    try {
        QString errors;
        bool good = run(dataInfo, connectString,
                        QStringLiteral(" IF NOT EXISTS(SELECT 1 FROM syscolumns WHERE [ID]= OBJECT_ID('t_Item') AND "
                                       "[Name]='FParentIDTmp')\r\n ALTER TABLE t_Item ADD FParentIDTmp NVARCHAR(255)"),
                        errors);
        // Items already made (a code counts by its short number, which a
        // department's dotted number no longer equals) are left out.
        if (good)
            good = run(dataInfo, connectString,
                       QStringLiteral(
                           "INSERT INTO t_Item (FItemClassID, FDetail, FLevel, FNumber, FName, FParentID, "
                           "FParentIDTmp, FFullNumber, FShortNumber)\r\n"
                           " SELECT 2, FDetail, FLevel, REPLACE(FObjID,'.',''), FObjName, 0, "
                           "REPLACE(FParentID,'.',''), REPLACE(FObjID,'.',''), REPLACE(FObjID,'.','')\r\n"
                           " FROM AIS_GLObj\r\n"
                           " WHERE CHARINDEX('2*',FFullPath) = 1 AND CHARINDEX('2*',RIGHT(FFullPath,LEN(FFullPath)-2)) "
                           "= 0\r\n"
                           " AND RTRIM(LTRIM(FObjID)) <> '*' AND REPLACE(FObjID,'.','') NOT IN (SELECT FShortNumber "
                           "FROM t_Item WHERE FItemClassID = 2)\r\n"
                           "UPDATE T1 SET T1.FParentID = T2.FItemID FROM t_Item T1 INNER JOIN t_Item T2 "
                           "ON T1.FParentIDTmp = T2.FNumber WHERE T2.FItemClassID = 2 AND T1.FItemClassID = 2\r\n"
                           "ALTER TABLE t_Item DROP COLUMN FParentIDTmp"),
                       errors);
        if (good) {
            const QString numbers = departmentNumbersBatch(dataInfo, connectString);
            if (!numbers.isEmpty()) good = run(dataInfo, connectString, numbers, errors);
        }
        if (good)
            good = run(dataInfo, connectString,
                       QStringLiteral(" UPDATE AIS_GLObj SET FZ8InterID = T_Item.FItemID FROM AIS_GLObj "
                                      " INNER JOIN T_Item ON REPLACE(AIS_GLObj.FObjID,'.','') = T_Item.FShortNumber "
                                      " WHERE AIS_GLObj.FClsID = 2 AND T_Item.FItemClassID = 2"),
                       errors);
        if (good)
            good = run(dataInfo, connectString,
                       QStringLiteral("INSERT INTO t_Department (FItemID, FName, FparentID, FNumber, FShortNumber, "
                                      "FDeleted)\r\n"
                                      " SELECT FItemID, FName, 0, FNumber, FShortNumber, FDeleted FROM t_Item "
                                      "WHERE FItemClassID = 2 AND FItemID NOT IN (SELECT FItemID FROM t_Department)"),
                       errors);
        if (!good) {
            WriteUpgradeLog(kDeptProject, QStringLiteral("错误：") + errors, QString(), 2);
            return 2;
        }
        const int count = countItems(dataInfo, connectString, 2);
        if (!writeHelpCodes(dataInfo, connectString, QStringLiteral("t_Department"), errors)) {
            WriteUpgradeLog(kDeptProject, QStringLiteral("错误：") + errors, QString(), 2);
            return 2;
        }
        QString detailText;
        clsDetailLogInfo table = itemTable(dataInfo, connectString, 2, QStringLiteral("部门"),
                                           {QStringLiteral("部门代码"), QStringLiteral("部门名称")}, detailText);
        WriteUpgradeLog(kDeptProject, QStringLiteral("基础资料-部门数目：") + QString::number(count), detailText, 0,
                        table.PackDetailLog());
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(kDeptProject, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}

int clsBaseSys::UpgradeEmployee(clsDataInfo &dataInfo, const QString &connectString) {
    try {
        QString errors;
        bool good =
            run(dataInfo, connectString,
                QStringLiteral(
                    "INSERT INTO t_Item (FItemClassID, FDetail, FLevel, FNumber, FName, FParentID, FFullNumber, "
                    "FShortNumber, FDeleted)\r\n"
                    " SELECT 3, FDetail, FLevel, REPLACE(FObjID,'.',''), FObjName, 0, REPLACE(FObjID,'.',''), "
                    "REPLACE(FObjID,'.',''), FDeleted\r\n"
                    " FROM AIS_GLObj\r\n"
                    " WHERE CHARINDEX('3*',FFullPath) = 1 AND CHARINDEX('3*',RIGHT(FFullPath,LEN(FFullPath)-2)) = 0\r\n"
                    " AND RTRIM(LTRIM((FObjID)))<>'*' and REPLACE(FObjID,'.','') NOT IN(SELECT FShortNumber FROM "
                    "t_Item WHERE FItemClassID=3)\r\n"
                    "INSERT INTO t_Emp (FItemID, FName, FParentID, FNumber, FShortNumber, FDeleted)\r\n"
                    " SELECT FItemID, FName, 0, FNumber, FShortNumber, FDeleted FROM t_Item "
                    "WHERE FItemClassID = 3 AND FItemID NOT IN (SELECT FItemID FROM t_Emp)\r\n"
                    " UPDATE AIS_GLObj SET FZ8InterID = T_Item.FItemID FROM AIS_GLObj "
                    " INNER JOIN T_Item ON REPLACE(AIS_GLObj.FObjID,'.','') = T_Item.FShortNumber "
                    " WHERE AIS_GLObj.FClsID = 3 AND T_Item.FItemClassID = 3"),
                errors);
        const int count = countItems(dataInfo, connectString, 3);
        // Degree, duty and category through the mapping their list phases
        // wrote; the department through its item, or for a department that
        // is not a detail item the first detail department below it.
        if (good)
            good = run(
                dataInfo, connectString,
                QStringLiteral(
                    "UPDATE a SET a.FAddress = b.FAddress, a.FBankAccount = b.FBankAccount, a.FBirthday = b.FBirthday, "
                    "a.FPhone = b.FPhone, a.FId = b.FId, a.FHireDate = b.FHireDate, a.FLeaveDate = b.FLeaveDate,\r\n"
                    " a.FGender = ISNULL((SELECT MIN(s.FInterID) FROM t_SubMessage s WHERE s.FTypeID = 102 AND "
                    "s.FName = CASE b.FSex WHEN 1 THEN N'男' WHEN 0 THEN N'女' END), 0),\r\n"
                    " a.FDegree = (SELECT MIN(g.FZ8InterID) FROM AIS_GLDegree g WHERE g.FDegree = b.FDegree),\r\n"
                    " a.FDuty = (SELECT MIN(d.FZ8InterID) FROM AIS_GLDuty d WHERE d.FDuty = b.FDuty),\r\n"
                    " a.FEmpGroup = (SELECT MIN(e.FZ8InterID) FROM AIS_GLEmpGroup e WHERE e.FEmpGroupID = "
                    "b.FEmpGroup),\r\n"
                    " a.FDepartmentID = (SELECT MIN(CASE WHEN p.FDetail = 1 THEN p.FItemID ELSE "
                    "(SELECT MIN(c.FItemID) FROM t_Item c WHERE c.FItemClassID = 2 AND c.FDetail = 1 AND "
                    "c.FNumber LIKE p.FNumber + '.%') END) FROM t_Item p WHERE p.FItemClassID = 2 AND "
                    "LTRIM(RTRIM(p.FShortNumber)) = LTRIM(RTRIM(REPLACE(b.FDeptObjID,'.',''))))\r\n"
                    " FROM t_Emp a LEFT JOIN AIS_GLEmp b ON LTRIM(RTRIM(a.FNumber)) = "
                    "LTRIM(RTRIM(REPLACE(b.FObjID,'.','')))"),
                errors);
        if (good) good = writeHelpCodes(dataInfo, connectString, QStringLiteral("t_Emp"), errors);
        if (!good) {
            WriteUpgradeLog(kEmpProject, QStringLiteral("错误：") + errors, QString(), 2);
            return 2;
        }
        QString detailText;
        clsDetailLogInfo table = itemTable(dataInfo, connectString, 3, QStringLiteral("职员"),
                                           {QStringLiteral("职员代码"), QStringLiteral("职员名称")}, detailText);
        QString error;
        auto note = dataInfo.GetRs(connectString,
                                   QStringLiteral("SELECT COUNT(*) AS FCount FROM AIS_GLObj WHERE FClsID = 2 AND "
                                                  "FDetail = 0 AND FObjID IN (SELECT FDeptObjID FROM AIS_GLEmp)"),
                                   true, error);
        int notDetail = 0;
        if (note && !note->Eof()) ToLong(note->value(QStringLiteral("FCount")), notDetail);
        const QString noteText =
            notDetail > 0 ? QStringLiteral("职员中的部门不是明细级别内容，升级时默认选择该部门下第一个明细级别内容回填")
                          : QString();
        WriteUpgradeLog(kEmpProject, QStringLiteral("基础资料-职员数目：") + QString::number(count),
                        noteText + kCrLf + detailText, 0, table.PackDetailLog());
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(kEmpProject, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
