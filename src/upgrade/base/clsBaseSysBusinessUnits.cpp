// Business units: the source keeps one kind, the target customers (class 1,
// T_Organization) and suppliers (class 8, T_Supplier). The natures of the
// accounts a unit is used on decide its kind; the operator decides the
// rest. Also the repair of the staged items' paths, which the item phases
// order by.
#include "upgrade/base/clsBaseSys.h"

#include <QSet>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/PinyinInitials.h"
#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "upgrade/base/BaseDataAskers.h"
#include "upgrade/base/PhaseLog.h"
#include "upgrade/common/BusinessUnitTree.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/ItemDetail.h"
#include "upgrade/common/ValueConvert.h"

namespace {

const QString kProject = QStringLiteral("核算项目-往来单位");

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }
QString withoutDots(QString code) { return code.remove(QLatin1Char('.')); }

struct Kind {
    int itemClass;
    QString table, logLabel, name;
};
const Kind kKinds[2] = {
    {1, QStringLiteral("T_Organization"), QStringLiteral("T_Organization客户"), QStringLiteral("客户")},
    {8, QStringLiteral("T_Supplier"), QStringLiteral("T_Supplier供应商"), QStringLiteral("供应商")},
};

// Switches T_Item_FullName off for its lifetime and on again on every way
// out (a failure or an unwinding quit included).
class FullNameTriggerOff {
public:
    FullNameTriggerOff(clsDataInfo &dataInfo, const QString &connectString, bool &good)
        : m_data(dataInfo), m_connectString(connectString), m_good(good) {
        QString error;
        if (!m_data.ExecuteSQL(m_connectString, QStringLiteral("ALTER TABLE T_Item DISABLE TRIGGER [T_Item_FullName]"),
                               error))
            m_good = false;
    }
    ~FullNameTriggerOff() {
        QString error;
        if (!m_data.ExecuteSQL(m_connectString, QStringLiteral("ALTER TABLE T_Item ENABLE TRIGGER [T_Item_FullName]"),
                               error))
            m_good = false;
    }

private:
    clsDataInfo &m_data;
    QString m_connectString;
    bool &m_good;
};

// The staged items' codes without their dots, in a column of their own with
// an index: a unit's statements find its rows through it instead of working
// out REPLACE(FObjID,'.','') on every staged item for every unit. The
// staged tables go when the run ends, and the column with them.
const QString kCodeColumn = QStringLiteral("FObjCodeNoDots");

bool indexUnitCodes(clsDataInfo &dataInfo, const QString &connectString, QString &error) {
    if (!dataInfo.ExecuteSQL(connectString,
                             QStringLiteral("IF NOT EXISTS(SELECT 1 FROM sysobjects T1 INNER JOIN syscolumns T2 ON "
                                            "T1.ID = T2.ID WHERE T1.Name = 'AIS_GLObj' AND T2.Name = '") +
                                 kCodeColumn + QStringLiteral("')\r\n ALTER TABLE AIS_GLObj ADD ") + kCodeColumn +
                                 QStringLiteral(" NVARCHAR(255)"),
                             error))
        return false;
    if (!dataInfo.ExecuteSQL(
            connectString,
            QStringLiteral("UPDATE AIS_GLObj SET ") + kCodeColumn + QStringLiteral(" = REPLACE(FObjID,'.','')"), error))
        return false;
    QString ignored;  // already there from an earlier run of the phase
    dataInfo.ExecuteSQL(connectString,
                        QStringLiteral("CREATE INDEX ix_AIS_GLObj_CodeNoDots ON AIS_GLObj (") + kCodeColumn +
                            QStringLiteral(", FClsID)"),
                        ignored);
    return true;
}

// The rows of the staged unit with this code (dots or none), as the
// identity mapping's routines find them.
QString unitRows(const QString &code) {
    return SqlText(" WHERE {column} = {code} AND FClsID = 1 ")
        .raw("column", kCodeColumn)
        .arg("code", withoutDots(code))
        .str();
}

QString mappingColumn(int kindIndex) {
    return kindIndex == 1 ? QStringLiteral("FZ8InterID_2") : QStringLiteral("FZ8InterID");
}

// The unit's new identifier of a kind: 0 when it has none, -2 when it
// cannot be read.
int unitMapping(clsDataInfo &dataInfo, const QString &connectString, const QString &code, int kindIndex) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(connectString,
                                 QStringLiteral("SELECT ") + mappingColumn(kindIndex) +
                                     QStringLiteral(" FROM AIS_GLObj ") + unitRows(code),
                                 true, error);
        if (!rs) return -2;
        if (rs->Eof()) return 0;
        int value = 0;
        return ToLong(rs->Fields(0).Value, value) ? value : -2;
    } catch (const std::exception &) {
        return -2;
    }
}

bool setUnitMapping(clsDataInfo &dataInfo, const QString &connectString, const QString &code, int itemID,
                    int kindIndex) {
    QString error;
    return dataInfo.ExecuteSQL(connectString,
                               QStringLiteral("UPDATE AIS_GLObj SET ") + mappingColumn(kindIndex) +
                                   QStringLiteral(" = ") + QString::number(itemID) + unitRows(code),
                               error);
}

// Creates the units of one kind (0 customers, 1 suppliers); failures are
// appended to errorText. 0 done, 2 failed.
int InsertBusinessUnits(clsDataInfo &dataInfo, const QString &connectString, const PnwList &units, int kindIndex,
                        QString &errorText, clsDetailLogInfo *detail) {
    if (units.Count() == 0) return 0;
    const Kind &kind = kKinds[kindIndex];
    bool good = true;
    try {
        AddInterIDColumn(dataInfo, connectString, QStringLiteral("AIS_GLObj"),
                         kindIndex == 1 ? QStringLiteral("FZ8InterID_2") : QStringLiteral("FZ8InterID"));
        QString indexError;
        if (!indexUnitCodes(dataInfo, connectString, indexError))
            throw PnwError(-1, QStringLiteral("clsBaseSys.InsertBusinessUnits"), indexError);
        {
            FullNameTriggerOff triggerOff(dataInfo, connectString, good);
            for (int i = 1; i <= units.Count(); ++i) {
                const PnwDictionary node = units.DictionaryItem(i);
                const QString shortID = text(node.Item(QStringLiteral("FShortObjID")));
                if (unitMapping(dataInfo, connectString, shortID, kindIndex) > 0) continue;
                const QString number = text(node.Item(QStringLiteral("FNumber")));
                // A unit put at the top because its parent was missing is a
                // first-level item, whatever level the source gave it.
                const bool top = text(node.Item(QStringLiteral("FParentID"))) == QLatin1String("0");
                const QString sql =
                    SqlText("INSERT INTO T_Item (FShortNumber, FDeleted, FDetail, FLevel, FParentID, FName, FFullName, "
                            "FNumber, FFullNumber, FItemClassID)\r\n"
                            " SELECT {short}, FDeleted, FDetail, {level}, 0, {name}, {fullName}, {number}, {number}, "
                            "{cls}\r\n"
                            " FROM AIS_GLObj WHERE FClsID = 1 AND {column} = {short}")
                        .raw("column", kCodeColumn)
                        .arg("short", withoutDots(shortID))
                        .raw("level", top ? QStringLiteral("1") : QStringLiteral("FLevel"))
                        .arg("name", text(node.Item(QStringLiteral("FObjName"))))
                        .arg("fullName", text(node.Item(QStringLiteral("FFullObjName"))))
                        .arg("number", number)
                        .arg("cls", kind.itemClass)
                        .str();
                QString error;
                if (!dataInfo.ExecuteSQL(connectString, sql, error)) {
                    errorText += QStringLiteral("插入T_Item") + kind.name + QStringLiteral("SQL语句执行错误:") + kCrLf +
                                 sql + kCrLf + error + kCrLf;
                    good = false;
                    LetEventsRun();
                    continue;
                }
                auto rs = dataInfo.GetRs(connectString,
                                         SqlText("SELECT FItemID FROM T_Item WHERE FItemClassID = {cls} AND FNumber = "
                                                 "{number}")
                                             .arg("cls", kind.itemClass)
                                             .arg("number", number)
                                             .str(),
                                         true, error);
                int itemID = 0;
                if (!rs || rs->Eof() || !ToLong(rs->value(QStringLiteral("FItemID")), itemID))
                    throw PnwError(-1, QStringLiteral("clsBaseSys.InsertBusinessUnits"),
                                   QStringLiteral("找不到新增的") + kind.name + QStringLiteral("：") + number);
                if (!setUnitMapping(dataInfo, connectString, shortID, itemID, kindIndex)) {
                    errorText += QStringLiteral("写入") + kind.name + QStringLiteral("（") + shortID +
                                 QStringLiteral("）的升级对照时发生错误。") + kCrLf;
                    good = false;
                } else if (detail) {
                    AddDetailRow(*detail, {shortID, NodeDisplayID(text(node.Item(QStringLiteral("FObjID")))),
                                           text(node.Item(QStringLiteral("FObjName"))), kind.name});
                }
                LetEventsRun();
            }
        }

        if (good) {
            const QString sql =
                SqlText("UPDATE T1 SET T1.FParentID = T2.FItemID FROM T_Item T1 INNER JOIN T_Item T2 "
                        "ON T2.Fnumber = SUBSTRING(T1.Fnumber,0,LEN(T1.Fnumber)-CHARINDEX('.',REVERSE(T1.Fnumber))+1) "
                        "WHERE T1.FItemClassID = {cls} AND T2.FItemClassID = {cls} AND T1.FLevel > 1")
                    .arg("cls", kind.itemClass)
                    .str();
            QString error;
            if (!dataInfo.ExecuteSQL(connectString, sql, error)) {
                errorText += QStringLiteral("填写") + kind.name + QStringLiteral("FParentID的SQL语句执行错误:") +
                             kCrLf + sql + kCrLf + error + kCrLf;
                good = false;
            }
        }
        if (good) {
            // Joined on the code without dots, as T_Item's short number is.
            const QString sql =
                SqlText("INSERT INTO {table} (FShortNumber, FItemID, FNumber, FName, FAddress, FPostalCode, FFax, "
                        "FPhone, FContact, FTaxNum, Fbank, Faccount, FStatus, FValueAddRate)\r\n"
                        " SELECT T1.FShortNumber, T1.FItemID, T1.FNumber, T1.FName, T2.FAddress, T2.FZip, T2.FFax, "
                        "T2.FPhone, T2.FContact, T2.FTax, T2.FBank, T2.FBank, 1072, 17\r\n"
                        " FROM T_Item T1 INNER JOIN AIS_GLObj T3 ON T1.FShortNumber = REPLACE(T3.FObjID,'.','')\r\n"
                        " INNER JOIN AIS_GLCust T2 ON T2.FObjID = T3.FObjID\r\n"
                        " WHERE T1.FItemClassID = {cls} AND T1.FDetail = 1 AND T3.FClsID = 1\r\n"
                        " AND T1.FItemID NOT IN (SELECT FItemID FROM {table})")
                    .raw("table", kind.table)
                    .arg("cls", kind.itemClass)
                    .str();
            QString error;
            if (!dataInfo.ExecuteSQL(connectString, sql, error)) {
                errorText += QStringLiteral("用于插入") + kind.logLabel + QStringLiteral("数据的SQL语句执行错误:") +
                             kCrLf + sql + kCrLf + error + kCrLf;
                good = false;
            }
        }
        if (good) {
            QString error;
            auto rs = dataInfo.GetRs(
                connectString, SqlText("SELECT FItemID, FNumber, FName FROM {table}").raw("table", kind.table).str(),
                true, error);
            if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys.InsertBusinessUnits"), error);
            clsDetailLogInfo failed =
                DetailTable(kind.name, {QStringLiteral("代码"), QStringLiteral("名称"), QStringLiteral("助记码")});
            bool anyFailed = false;
            for (; !rs->Eof(); rs->MoveNext()) {
                const QString name = text(rs->value(QStringLiteral("FName")));
                const QString initials = GetPinyinInitials(name);
                const QString sql = SqlText("UPDATE {table} SET FHelpCode = {code} WHERE FItemID = {id}")
                                        .raw("table", kind.table)
                                        .arg("code", initials)
                                        .arg("id", rs->value(QStringLiteral("FItemID")))
                                        .str();
                if (!dataInfo.ExecuteSQL(connectString, sql, error)) {
                    AddDetailRow(failed, {text(rs->value(QStringLiteral("FNumber"))), name, initials});
                    anyFailed = true;
                }
                LetEventsRun();
            }
            if (anyFailed) {
                WriteUpgradeLog(kProject, QStringLiteral("更新助记码失败。"), QStringLiteral("请双击查看详细内容"), 2,
                                failed.PackDetailLog());
                good = false;
            }
        }
        return good ? 0 : 2;
    } catch (const std::exception &e) {
        errorText += QStringLiteral(" 发生错误：") + ErrorDescription(e) + kCrLf;
        return 2;
    }
}

// Appends every record of from whose node is not yet in to (identifiers
// compare without regard to case).
void appendMissing(PnwList &to, const PnwList &from) {
    const QString objID = QStringLiteral("FObjID");
    QSet<QString> there;
    for (int i = 1; i <= to.Count(); ++i) there.insert(text(to.DictionaryItem(i).Item(objID)).toCaseFolded());
    for (int i = 1; i <= from.Count(); ++i) {
        const PnwDictionary node = from.DictionaryItem(i);
        const QString id = text(node.Item(objID)).toCaseFolded();
        if (there.contains(id)) continue;
        there.insert(id);
        to.Add(node);
    }
}

}  // namespace

int clsBaseSys::RepairItemFullPath(clsDataInfo &dataInfo, const QString &connectString) {
    // Deeper items take their parent's path; repeated once per level so
    // every level ends with its parent's repaired path.
    const QString sql = QStringLiteral(
        "UPDATE AIS_GLObj SET FFullPath = CONVERT(NVARCHAR(28), FClsID) + '*' + FObjID "
        "WHERE FLevel = 1 AND FObjID <> '*'\r\n"
        "DECLARE @Pass INT\r\n"
        "DECLARE @Passes INT\r\n"
        "SET @Pass = 1\r\n"
        "SET @Passes = (SELECT ISNULL(MAX(FLevel), 0) FROM AIS_GLObj)\r\n"
        "WHILE @Pass < @Passes\r\n"
        "BEGIN\r\n"
        " UPDATE T1 SET T1.FFullPath = ISNULL(T2.FFullPath, CONVERT(NVARCHAR(28), T1.FClsID) + '*') + T1.FObjID\r\n"
        " FROM AIS_GLObj T1 LEFT JOIN AIS_GLObj T2 ON T1.FClsID = T2.FClsID AND T1.FParentID = T2.FObjID\r\n"
        " WHERE T1.FLevel > 1 AND T1.FObjID <> '*'\r\n"
        " SET @Pass = @Pass + 1\r\n"
        "END");
    // The step stops here on a failure, so the entry says why.
    const QString project = QStringLiteral("检查校正核算项目信息");
    try {
        QString error;
        if (dataInfo.ExecuteSQL(connectString, sql, error)) return 0;
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + error, QString(), 2);
        return 2;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}

int clsBaseSys::UpgradeBusinessUnits(clsDataInfo &dataInfo, const QString &connectString) {
    try {
        QString error;
        auto units = dataInfo.GetRs(connectString,
                                    QStringLiteral("SELECT FObjID, FObjName, ISNULL(FParentID, '*') AS FParentID, "
                                                   "FFullPath, FObjID AS FShortID FROM AIS_GLObj "
                                                   "WHERE FClsID = 1 AND FObjID <> '*' ORDER BY FFullPath"),
                                    true, error);
        if (!units || units->RecordCount() == 0) return 0;
        const int unitCount = units->RecordCount();

        // A unit on a customer account is a customer, on a supplier account
        // a supplier, on an account of both natures both.
        PnwDictionary customerKeys;
        PnwDictionary supplierKeys;
        if (auto used = GetUsedBusinessUnits(dataInfo, connectString)) {
            for (; !used->Eof(); used->MoveNext()) {
                const QString unit = text(used->value(QStringLiteral("FObjID")));
                const int nature = GetSubLedgerNature(text(used->value(QStringLiteral("FAcctID"))));
                if (nature != 1) customerKeys.setItem(unit, unit);
                if (nature != 0) supplierKeys.setItem(unit, unit);
                LetEventsRun();
            }
        }

        PnwList customerTree, supplierTree, undecided;
        QStringList detached;
        BuildBusinessUnitTreeData(&*units, customerTree, supplierTree, undecided, customerKeys, supplierKeys,
                                  &detached);

        PnwList customers, suppliers;
        QString warning;
        if (undecided.Count() == 0) {
            appendMissing(customers, customerTree);
            appendMissing(suppliers, supplierTree);
        } else {
            BusinessUnitChoice choice = BusinessUnitAskerHook()(undecided);
            customers = choice.customers;
            suppliers = choice.suppliers;
            warning = choice.warning;
            appendMissing(customers, customerTree);
            appendMissing(suppliers, supplierTree);
        }

        clsDetailLogInfo detail = DetailTable(QStringLiteral("往来单位列表"),
                                              {g_SourceEdition + QStringLiteral("代码"), QStringLiteral("代码"),
                                               QStringLiteral("名称"), QStringLiteral("性质")});
        QString errorText;
        const int customerResult = InsertBusinessUnits(dataInfo, connectString, customers, 0, errorText, &detail);
        const int supplierResult = InsertBusinessUnits(dataInfo, connectString, suppliers, 1, errorText, &detail);
        if (customerResult == 2 || supplierResult == 2) {
            WriteUpgradeLog(kProject, QStringLiteral("升级失败，原因：") + kCrLf + errorText, QString(), 2);
            return 2;
        }
        if (!detached.isEmpty())
            WriteUpgradeLog(kProject,
                            QStringLiteral("以下往来单位的上级单位不存在，已作为顶级单位升级：") +
                                detached.join(QStringLiteral("、")),
                            QString(), 1);
        QString description = QStringLiteral("升级往来单位数目：") + QString::number(unitCount);
        if (!warning.isEmpty()) description += kCrLf + QStringLiteral("\r") + warning;
        const int status = (warning.isEmpty() && detached.isEmpty()) ? 0 : 1;
        WriteUpgradeLog(kProject, description, QStringLiteral("详细日志"), warning.isEmpty() ? 0 : 1,
                        detail.PackDetailLog());
        return status;
    } catch (const std::exception &e) {
        WriteUpgradeLog(kProject, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
