// Custom item classes: each source class above 3 becomes a new item class
// of the target (3001, 3002, ...) with its own t_ItemDetail column, its
// property table "t_Item_" + ID described in t_ItemPropDesc, its rights
// rows, its items with their hierarchy and numbers, and the property
// values; all of one class in one transaction.
#include "upgrade/base/clsBaseSys.h"

#include <QList>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "upgrade/base/PhaseLog.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/ValueConvert.h"

namespace {

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }

// A value read from the target that must be a whole number.
int numberOf(clsDataInfo &dataInfo, const QString &connectString, const QString &sql, int whenNull) {
    QString error;
    auto rs = dataInfo.GetRs(connectString, sql, true, error);
    if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys.UpgradeCustomItemClass"), error);
    if (rs->Eof() || rs->Fields(0).Value.isNull()) return whenNull;
    int value = 0;
    if (!ToLong(rs->Fields(0).Value, value))
        throw PnwError(-1, QStringLiteral("clsBaseSys.UpgradeCustomItemClass"), QStringLiteral("无效的数值：") + sql);
    return value;
}

struct Property {
    QString column;  // the source column
    QString definition;
    int typeCode;
    int size;
};

struct Properties {
    QList<Property> kept;
    QStringList dropped;  // source columns no kind can hold
};

// The property kind nearest to a staged column's type: text, whole number,
// number or date; false when none can hold it (pictures and other binary
// data). Jet Byte, Integer, Long and Yes/No come staged as tinyint,
// smallint, int and bit; Single, Double, Currency and Decimal as real,
// float, money and decimal; Text as nvarchar and Memo as ntext.
bool nearestKind(int xtype, int length, Property &p) {
    switch (xtype) {
    case 231:  // nvarchar: length counts bytes
        p.definition = QStringLiteral("VARCHAR(%1) NULL").arg(length / 2), p.typeCode = 200, p.size = length / 2;
        return true;
    case 167:  // varchar
        p.definition = QStringLiteral("VARCHAR(%1) NULL").arg(length), p.typeCode = 200, p.size = length;
        return true;
    case 99:  // ntext and text (a Memo): the longest varchar there is
    case 35: p.definition = QStringLiteral("VARCHAR(8000) NULL"), p.typeCode = 200, p.size = 8000; return true;
    case 56:
    case 52:
    case 48:
    case 104:
    case 127: p.definition = QStringLiteral("INT"), p.typeCode = 3, p.size = 0; return true;
    case 62:
    case 59:
    case 60:
    case 106:
    case 108: p.definition = QStringLiteral("FLOAT"), p.typeCode = 5, p.size = 0; return true;
    case 61:
    case 58: p.definition = QStringLiteral("DATETIME"), p.typeCode = 135, p.size = 0; return true;
    default: return false;
    }
}

// The property columns of the source table in the server's order, each
// given the kind nearest to its type.
Properties propertiesOf(clsDataInfo &dataInfo, const QString &connectString, const QString &sourceTable) {
    QString error;
    auto rs = dataInfo.GetRs(connectString,
                             SqlText("SELECT T2.name AS FName, T2.xtype AS FType, T2.length AS FLength "
                                     "FROM sysobjects T1 INNER JOIN syscolumns T2 ON T1.id = T2.id "
                                     "WHERE T1.name = {table} AND T2.name NOT IN ('FClsID', 'FObjID', 'FZ8InterID') "
                                     "ORDER BY T2.colid")
                                 .arg("table", sourceTable)
                                 .str(),
                             true, error);
    if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys.UpgradeCustomItemClass"), error);
    Properties properties;
    for (; !rs->Eof(); rs->MoveNext()) {
        int type = 0, length = 0;
        ToLong(rs->value(QStringLiteral("FType")), type);
        ToLong(rs->value(QStringLiteral("FLength")), length);
        Property p{text(rs->value(QStringLiteral("FName"))), QString(), 0, 0};
        if (nearestKind(type, length, p))
            properties.kept.append(p);
        else
            properties.dropped.append(p.column);
    }
    return properties;
}

// The rights of a class: findex, mask, use, and the names and descriptions.
struct AccessType {
    int index, mask, use;
    const char *name, *description, *nameCht, *nameEn, *descriptionCht, *descriptionEn;
};
const AccessType kAccessTypes[] = {
    {0, 262144, 0, "查看权限", "用户可读取该对象安全信息", "查看許可權", "View Authority", "用戶可讀取該物件安全資訊",
     "User can read security info. of user"},
    {1, 524288, 262144, "修改权限", "用户可修改该对象安全信息", "修改許可權", "Edit Auth", "用戶可修改該物件安全資訊",
     "User can edit security info."},
    {2, 1048576, 0, "查看", "可查看信息", "查看", "View", "可查看資訊", ""},
    {3, 2097152, 1048576, "详细信息", "可查看详细信息", "詳細資訊", "Details", "可查看詳細資訊", "<Not Matched>"},
    {4, 131072, 3145728, "新增", "可新增", "新增", "New", "可新增", ""},
    {5, 4194304, 3145728, "修改", "可修改设置", "修改", "Edit", "可修改設置", ""},
    {6, 65536, 3145728, "删除", "可删除", "刪除", "Delete", "可刪除", ""},
    {7, 16777216, 7471104, "引入", "用户引入信息", "引入", "Import", "用戶引入資訊", ""},
    {8, 8388608, 3145728, "引出", "用户引出信息", "引出", "Export", "用戶引出資訊", ""},
    {9, 33554432, 3145728, "打印", "用户打印信息", "列印", "Print", "用戶列印資訊", ""},
    {10, 67108864, 3145728, "审核", "用户审核信息", "審核", "Check", "用戶審核資訊", ""},
    {11, 134217728, 3145728, "反审核", "用户反审核信息", "反審核", "Uncheck", "用戶反審核資訊", ""},
};

int upgradeCustomItemClass(clsDataInfo &dataInfo, const QString &connectString, int sourceClass,
                           const QString &className, const QString &tableName) {
    const QString project = QStringLiteral("核算项目-") + className;
    try {
        QString error;
        auto same = dataInfo.GetRs(
            connectString,
            SqlText("SELECT FItemClassID FROM t_ItemClass WHERE FName = {name}").arg("name", className).str(), true,
            error);
        const QString written = (same && !same->Eof()) ? className + QLatin1Char('_') + g_SourceEdition : className;
        dataInfo.ExecuteSQL(
            connectString,
            QStringLiteral("IF NOT EXISTS(SELECT 1 FROM SYSOBJECTS t1 INNER JOIN SYSCOLUMNS t2 ON t1.id "
                           "= t2.id WHERE (t1.name = 'AIS_GLObj') AND (t2.name = 'FInterID'))\r\n"
                           "ALTER TABLE AIS_GLObj ADD FInterID INT IDENTITY (1, 1)"),
            error);
        AddInterIDColumn(dataInfo, connectString, QStringLiteral("AIS_GLCls"), QStringLiteral("FZ8InterID"));

        const int classID = numberOf(dataInfo, connectString,
                                     QStringLiteral("SELECT ISNULL(MAX(FItemClassID),3000)+1 FROM t_ItemClass WHERE "
                                                    "FItemClassID >= 3001"),
                                     3001);
        // New item ids lie above every id in use and above the counter.
        const int counter = numberOf(dataInfo, connectString,
                                     QStringLiteral("SELECT FMaxNum FROM ICMaxNum WHERE FTableName = 'T_Item'"), 0);
        const int highest = numberOf(dataInfo, connectString, QStringLiteral("SELECT MAX(FItemID) FROM T_Item"), 0);
        const int base = qMax(counter, highest);
        const int levels = numberOf(
            dataInfo, connectString,
            SqlText("SELECT MAX(FLevel) FROM AIS_GLObj WHERE FClsID = {cls}").arg("cls", sourceClass).str(), 0);
        const QString sourceTable = QStringLiteral("AIS_") + tableName;
        const Properties properties = propertiesOf(dataInfo, connectString, sourceTable);
        const bool hasColumn =
            numberOf(dataInfo, connectString,
                     SqlText("SELECT COUNT(*) FROM syscolumns WHERE id = OBJECT_ID('t_ItemDetail') AND name = {col}")
                         .arg("col", QStringLiteral("F%1").arg(classID))
                         .str(),
                     0) > 0;

        const QString id = QString::number(classID);
        const QString propTable = QStringLiteral("t_Item_") + id;
        QStringList batch;
        batch << SqlText("INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_cht, FName_en, FSQLTableName) "
                         "VALUES ({id}, {number}, {name}, {name}, {name}, {table})")
                     .arg("id", classID)
                     .arg("number", id)
                     .arg("name", written)
                     .arg("table", propTable)
                     .str();
        if (!hasColumn)
            batch << QStringLiteral("ALTER TABLE t_ItemDetail ADD F%1 INT NOT NULL DEFAULT(0)").arg(id)
                  << QStringLiteral("CREATE INDEX ix_ItemDetail_%1 ON t_ItemDetail (F%1)").arg(id);
        QString create = QStringLiteral("CREATE TABLE %1 (FItemID INT NOT NULL, FHelpCode varchar(20)").arg(propTable);
        QString targetFields, sourceFields;
        QStringList descriptions;
        int propID = 101;
        for (const Property &p : properties.kept) {
            create += QStringLiteral(", F_%1 %2").arg(propID).arg(p.definition);
            descriptions << SqlText("INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FSQLColumnName, "
                                    "FDataType, FActualType, FPrecision, FActualSize, FScale, FBrNo, FSearch, "
                                    "FViewMask, FPageName, FName_CHT, FName_EN, FPageName_CHT, FPageName_EN) "
                                    "VALUES ({cls}, {prop}, {name}, {column}, {type}, {type}, {size}, {size}, 0, "
                                    "'0         ', 0, 0, N'1.基本资料', {name}, {name}, N'1.基本資料', "
                                    "N'1. Basic Data')")
                                .arg("cls", classID)
                                .arg("prop", propID)
                                .arg("name", p.column)
                                .arg("column", QStringLiteral("F_%1").arg(propID))
                                .arg("type", p.typeCode)
                                .arg("size", p.size)
                                .str();
            targetFields += QStringLiteral(",F_%1").arg(propID);
            sourceFields += QStringLiteral(",T2.") + SqlName(p.column);
            ++propID;
        }
        create += QStringLiteral(", FModifyTime TIMESTAMP NULL, CONSTRAINT PK_%1 PRIMARY KEY CLUSTERED (FItemID))")
                      .arg(propTable);
        batch << create << descriptions;
        batch << SqlText("UPDATE AIS_GLCls SET FZ8InterID = {id} WHERE FObjTableName = {table}")
                     .arg("id", classID)
                     .arg("table", tableName)
                     .str();
        batch << SqlText("INSERT INTO t_ObjectType (FObjectType, FObjectID, FName, FName_cht, FName_en, FDescription, "
                         "FDescription_cht, FDescription_en) VALUES (3, {id}, {name}, {name}, {name}, NULL, '', '')")
                     .arg("id", classID)
                     .arg("name", written)
                     .str();
        for (int index : {2, 3})
            batch << QStringLiteral("INSERT INTO t_objectaccess (FGroupID, FObjectType, FObjectID, FIndex) VALUES (1, "
                                    "3, %1, %2)")
                         .arg(id)
                         .arg(index);
        for (int index = 0; index <= 11; ++index)
            batch << QStringLiteral("INSERT INTO t_objectaccess (FGroupID, FObjectType, FObjectID, FIndex) VALUES (2, "
                                    "3, %1, %2)")
                         .arg(id)
                         .arg(index);
        for (const AccessType &a : kAccessTypes)
            batch << SqlText("INSERT INTO t_ObjectAccessType (FObjectType, FObjectID, FIndex, FAccessMask, FAccessUse, "
                             "FName, FDescription, FName_cht, FName_en, FDescription_cht, FDescription_en) "
                             "VALUES (3, {id}, {index}, {mask}, {use}, {n}, {d}, {nc}, {ne}, {dc}, {de})")
                         .arg("id", classID)
                         .arg("index", a.index)
                         .arg("mask", a.mask)
                         .arg("use", a.use)
                         .arg("n", QString::fromUtf8(a.name))
                         .arg("d", QString::fromUtf8(a.description))
                         .arg("nc", QString::fromUtf8(a.nameCht))
                         .arg("ne", QString::fromUtf8(a.nameEn))
                         .arg("dc", QString::fromUtf8(a.descriptionCht))
                         .arg("de", QString::fromUtf8(a.descriptionEn))
                         .str();
        const QString cls = QString::number(sourceClass);
        const QString b = QString::number(base);
        batch << QStringLiteral("SET IDENTITY_INSERT T_Item ON")
              << QStringLiteral("INSERT INTO T_Item (FDeleted, FDetail, FLevel, FParentID, FName, FNumber, "
                                "FItemClassID, FItemID) SELECT FDeleted, FDetail, FLevel, 0, ISNULL(FObjName, '0'), "
                                "REPLACE(FObjID,'.',''), %1, FInterID + %2 FROM AIS_GLObj WHERE FClsID = %3 AND "
                                "FObjID <> '*'")
                     .arg(id, b, cls)
              << QStringLiteral("SET IDENTITY_INSERT T_Item OFF")
              << QStringLiteral("UPDATE AIS_GLObj SET FZ8InterID = FInterID + %1 WHERE FClsID = %2 AND FObjID <> '*'")
                     .arg(b, cls)
              << QStringLiteral("UPDATE ICMaxNum SET FMaxNum = (SELECT MAX(FItemID) FROM T_Item) WHERE FTableName = "
                                "'T_Item' AND ISNULL(FMaxNum, 0) < (SELECT MAX(FItemID) FROM T_Item)")
              << QStringLiteral("INSERT INTO %1 (FItemID%2) SELECT T1.FItemID%3 FROM T_Item T1 INNER JOIN %4 T2 ON "
                                "REPLACE(T2.FObjID,'.','') = T1.FNumber WHERE T1.FItemClassID = %5 AND T1.FDetail = 1 "
                                "AND T1.FItemID NOT IN (SELECT FItemID FROM %1)")
                     .arg(propTable, targetFields, sourceFields, SqlName(sourceTable), id)
              << QStringLiteral("UPDATE T1 SET T1.FParentID = ISNULL((SELECT MIN(T3.FItemID) FROM T_Item T3 WHERE "
                                "T3.FItemClassID = %1 AND T3.FNumber = REPLACE(T2.FParentID,'.','')), 0) FROM T_Item "
                                "T1 INNER JOIN AIS_GLObj T2 ON REPLACE(T2.FObjID,'.','') = T1.FNumber AND T2.FClsID = "
                                "%2 WHERE T1.FItemClassID = %1 AND T2.FDeleted <> 1 AND T2.FParentID <> '*'")
                     .arg(id, cls);
        for (int level = 1; level <= levels + 1; ++level)
            batch << QStringLiteral("UPDATE T1 SET T1.FNumber = T2.FNumber + '.' + T1.FNumber FROM T_Item T1 INNER "
                                    "JOIN T_Item T2 ON T1.FParentID = T2.FItemID WHERE T1.FItemClassID = %1 AND "
                                    "T1.FDetail = 0 AND T1.FLevel = %2 AND T1.FParentID <> 0")
                         .arg(id)
                         .arg(level + 1);
        batch << QStringLiteral("UPDATE T1 SET T1.FNumber = T2.FNumber + '.' + T1.FNumber FROM T_Item T1 INNER JOIN "
                                "T_Item T2 ON T1.FParentID = T2.FItemID WHERE T1.FItemClassID = %1 AND T1.FDetail = 1 "
                                "AND T1.FParentID <> 0")
                     .arg(id);
        const QString sql = batch.join(kCrLf);
        if (!dataInfo.ExecuteSQL(connectString, sql, error)) {
            WriteUpgradeLog(project, QStringLiteral("错误：") + error + kCrLf + FailedStatement(sql), QString(), 2);
            return 2;
        }

        const int count =
            numberOf(dataInfo, connectString,
                     SqlText("SELECT COUNT(*) AS FRowCount FROM AIS_GLObj WHERE FClsID = {cls} AND FObjID <> '*'")
                         .arg("cls", sourceClass)
                         .str(),
                     0);
        clsDetailLogInfo table = DetailTable(className, {QStringLiteral("代码"), QStringLiteral("名称")});
        auto rs = dataInfo.GetRs(connectString,
                                 SqlText(" SELECT FObjID, FObjName FROM AIS_GLObj \r\n WHERE FClsID = {cls} AND FObjID "
                                         "<> '*' \r\n ORDER BY FFullPath ")
                                     .arg("cls", sourceClass)
                                     .str(),
                                 true, error);
        if (rs)
            for (; !rs->Eof(); rs->MoveNext())
                AddDetailRow(table,
                             {text(rs->value(QStringLiteral("FObjID"))), text(rs->value(QStringLiteral("FObjName")))});
        // A property of a type no kind can hold is left behind, and said so.
        if (!properties.dropped.isEmpty())
            WriteUpgradeLog(project,
                            QStringLiteral("以下属性的数据类型无法转换，其数据未升级：") +
                                properties.dropped.join(QStringLiteral("、")),
                            QString(), 1);
        WriteUpgradeLog(project, project + QStringLiteral("数目：") + QString::number(count),
                        QStringLiteral("详细日志"), 0, table.PackDetailLog());
        return properties.dropped.isEmpty() ? 0 : 1;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}

}  // namespace

int clsBaseSys::UpgradeCustomItems(clsDataInfo &dataInfo, const QString &connectString) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(
            connectString, QStringLiteral(" SELECT FClsID, FClsName, FObjTableName FROM AIS_GLCls WHERE FClsID > 3 "),
            true, error);
        if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys.UpgradeCustomItems"), error);
        int result = 0;
        for (; !rs->Eof(); rs->MoveNext()) {
            int sourceClass = 0;
            const QVariant name = rs->value(QStringLiteral("FClsName"));
            const QVariant table = rs->value(QStringLiteral("FObjTableName"));
            if (!ToLong(rs->value(QStringLiteral("FClsID")), sourceClass) || name.isNull() || table.isNull()) return 2;
            // 1: converted, with properties left behind.
            const int classResult =
                upgradeCustomItemClass(dataInfo, connectString, sourceClass, name.toString(), table.toString());
            if (classResult == 2) return 2;
            result = qMax(result, classResult);
        }
        return result;
    } catch (const std::exception &e) {
        WriteUpgradeLog(QStringLiteral("自定义核算项目"), QStringLiteral("发生错误：") + ErrorDescription(e), QString(),
                        2);
        return 2;
    }
}
