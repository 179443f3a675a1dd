// The chart of accounts: every staged account becomes one T_Account row
// with its dotted number, parent and root, currency, flags, measure unit
// and the combination of the item classes it carries; its new FAccountID
// is mapped back into AIS_GLAcct.
#include "upgrade/base/clsBaseSys.h"

#include <cmath>

#include <QList>
#include <QStringList>

#include "foundation/ErrorText.h"
#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "upgrade/base/BaseDataAskers.h"
#include "upgrade/base/PhaseLog.h"
#include "upgrade/common/AccountLookups.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/ItemDetail.h"
#include "upgrade/common/MeasureUnits.h"
#include "upgrade/common/UpgradeGlobals.h"
#include "upgrade/common/ValueConvert.h"

namespace {

const QString kProject = QStringLiteral("会计科目");
const QString kHookFailed = QStringLiteral("下挂科目核算项目错误。");

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }
bool flag(const QVariant &value) { return !value.isNull() && value.toBool(); }
int whole(const QVariant &value) {
    int n = 0;
    ToLong(value, n);
    return n;
}

// The target classes an account carries, in the order of its source
// classes: its main class, then customer, department and employee when
// it carries several. Business units by the account's nature: customer,
// supplier, or both.
QList<int> targetClasses(clsDataInfo &dataInfo, const QString &connectString, const QString &account, int mainClass,
                         bool several, bool customer, bool department, bool employee) {
    QList<int> sourceClasses{mainClass};
    if (several) {
        if (customer && mainClass != 1) sourceClasses.append(1);
        if (department && mainClass != 2) sourceClasses.append(2);
        if (employee && mainClass != 3) sourceClasses.append(3);
    }
    QList<int> classes;
    for (int c : sourceClasses) {
        if (c == 0) continue;
        if (c == 1) {
            const int nature = GetSubLedgerNature(account);
            if (nature != 1) classes.append(1);
            if (nature != 0) classes.append(8);
        } else if (c == 2 || c == 3) {
            classes.append(c);
        } else {
            QString error;
            auto rs = dataInfo.GetRs(
                connectString, QStringLiteral(" SELECT FZ8InterID FROM AIS_GLCls WHERE FClsID = ") + QString::number(c),
                true, error);
            int target = 0;
            if (!rs || rs->Eof() || !ToLong(rs->value(QStringLiteral("FZ8InterID")), target) || target <= 0)
                throw PnwError(-1, QStringLiteral("clsBaseSys.BuildItemDetail"), kHookFailed);
            classes.append(target);
        }
    }
    return classes;
}

int firstDetailID(clsDataInfo &dataInfo, const QString &connectString, const QString &condition) {
    QString error;
    auto rs = dataInfo.GetRs(connectString, QStringLiteral(" SELECT FDetailID FROM T_ItemDetail WHERE ") + condition,
                             true, error);
    if (!rs) throw PnwError(-1, QStringLiteral("clsBaseSys.BuildItemDetail"), kHookFailed);
    if (rs->Eof()) return -1;
    int id = 0;
    if (!ToLong(rs->value(QStringLiteral("FDetailID")), id))
        throw PnwError(-1, QStringLiteral("clsBaseSys.BuildItemDetail"), kHookFailed);
    return id;
}

// The combination of whole classes (every value -1) that an account
// carries, found or made with its per-class rows in one batch. -1 with
// message set on failure.
int BuildItemDetail(clsDataInfo &dataInfo, const QString &connectString, const QString &account, int mainClass,
                    bool several, const QVariant &customer, const QVariant &department, const QVariant &employee,
                    QString &message) {
    try {
        const QList<int> classes = targetClasses(dataInfo, connectString, account, mainClass, several, flag(customer),
                                                 flag(department), flag(employee));
        QString condition = QStringLiteral(" FDetailCount = ") + QString::number(classes.size());
        for (int c : classes) condition += QStringLiteral(" AND F%1 <> 0 ").arg(c);
        int id = firstDetailID(dataInfo, connectString, condition);
        if (id >= 0) return id;

        QString columns = QStringLiteral(" INSERT INTO T_ItemDetail(FDetailCount");
        QString values = QStringLiteral(" VALUES(") + QString::number(classes.size());
        QString perClass;
        for (int c : classes) {
            columns += QStringLiteral(", F%1").arg(c);
            values += QStringLiteral(", -1");
            perClass += QStringLiteral(" INSERT INTO T_ItemDetailV(FDetailID, FItemClassID, FItemID) ") +
                        QStringLiteral(" SELECT FDetailID, %1, -1 FROM T_ItemDetail WHERE ").arg(c) + condition + kCrLf;
        }
        QString error;
        if (!dataInfo.ExecuteSQL(
                connectString, columns + QStringLiteral(")") + kCrLf + values + QStringLiteral(")") + kCrLf + perClass,
                error))
            throw PnwError(-1, QStringLiteral("clsBaseSys.BuildItemDetail"),
                           QStringLiteral("新增科目核算项目记录错误。") + kCrLf + error);
        id = firstDetailID(dataInfo, connectString, condition);
        if (id < 0) throw PnwError(-1, QStringLiteral("clsBaseSys.BuildItemDetail"), kHookFailed);
        return id;
    } catch (const std::exception &e) {
        message = ErrorDescription(e);
        return -1;
    }
}

// Asks the operator for the unit of every quantity account that has none;
// unitMap gets account code -> FMeasureUnitID. False when the accounts
// cannot be read or the operator did not confirm.
bool GetQuantityAccountUnits(clsDataInfo &dataInfo, const QString &connectString, PnwDictionary &unitMap) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(connectString,
                                 QStringLiteral(" SELECT FAcctID, FAcctName, '' AS FUnit, '' AS FUnitName\r\n"
                                                " FROM AIS_GLAcct \r\n"
                                                " WHERE FQtyAux <> 0 AND (FUnit = '' OR FUnit = '*')"),
                                 true, error);
        if (!rs) return false;
        if (rs->Eof()) return true;
        PnwList records;
        for (; !rs->Eof(); rs->MoveNext()) {
            PnwDictionary record;
            for (const char *field : {"FAcctID", "FAcctName", "FUnit", "FUnitName"})
                record.setItem(QString::fromLatin1(field), rs->value(QString::fromLatin1(field)));
            records.Add(record);
        }
        if (!QuantityUnitAskerHook()(records)) return false;
        for (int i = 1; i <= records.Count(); ++i) {
            const PnwDictionary record = records.DictionaryItem(i);
            unitMap.setItem(text(record.Item(QStringLiteral("FAcctID"))), record.Item(QStringLiteral("FUnit")));
            LetEventsRun();
        }
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

}  // namespace

int clsBaseSys::UpgradeAccounts(clsDataInfo &dataInfo, const QString &connectString, ProgressBar *bar, QLabel *label) {
    try {
        QString error;
        auto rs = dataInfo.GetRs(
            connectString,
            QStringLiteral(
                "SELECT DISTINCT T1.FAcctID, T1.FAcctName, ISNULL(T1.FHelperCode, '') AS FHelperCode, "
                "CASE WHEN T1.FGroup = 600 THEN 601 ELSE T1.FGroup END AS FGroup, T1.FDC, "
                "ISNULL(T1.FForCy, '') AS FForCy, ISNULL(T3.FZ8InterID, -1) AS FCurrencyID, T1.FRateAdj, T1.FJrnl, "
                "T1.FDetail, T1.FIsCash, T1.FIsBankAc, T1.FBank, T1.FTrans, T1.FQtyAux, T1.FUnit, "
                "ISNULL(T2.FZ8InterID, -1) AS FUnitID, ISNULL(T2.FZ8InterID_2, -1) AS FUnitGroupID, "
                "ISNULL(T1.FClsID, 0) AS FClsID, T1.FLevel, T1.FMutiCls, T1.FCustomer, T1.FDepartment, T1.FEmployee\r\n"
                " FROM AIS_GLAcct T1\r\n"
                " LEFT JOIN AIS_GLUnit T2 ON T1.FUnit = T2.FUnit \r\n"
                " LEFT JOIN AIS_GLCy T3 ON T1.FForCy = T3.FCyID \r\n"
                " ORDER BY FAcctID "),
            true, error);
        if (!rs) {
            WriteUpgradeLog(kProject, QStringLiteral("获取源账套会计科目资料时发生错误。"), QString(), 2);
            return 2;
        }
        clsDetailLogInfo detail = DetailTable(kProject, {QStringLiteral("代码"), QStringLiteral("名称")});

        PnwDictionary unitMap;
        if (!GetQuantityAccountUnits(dataInfo, connectString, unitMap))
            throw PnwError(-1, QStringLiteral("SpecifyUnit"),
                           QStringLiteral("某些会计科目勾选了数量金额核算，但是未正确指定计量单位。"));

        // The counter holds the last id used: the next account takes one
        // more, and each account's batch moves the counter to its id.
        auto maxNum = dataInfo.GetRs(connectString,
                                     QStringLiteral("SELECT FMaxNum FROM ICMaxNum WHERE FTableName = N'T_Account' "),
                                     true, error);
        int lastID = 0;
        if (!maxNum || maxNum->Eof() ||
            (!maxNum->value(QStringLiteral("FMaxNum")).isNull() &&
             !ToLong(maxNum->value(QStringLiteral("FMaxNum")), lastID)))
            throw PnwError(-1, QStringLiteral("clsBaseSys.UpgradeAccounts"),
                           QStringLiteral("ICMaxNum 中没有 T_Account 的记录。"));

        AddInterIDColumn(dataInfo, connectString, QStringLiteral("AIS_GLAcct"), QStringLiteral("FZ8InterID"));
        // Every account looks up the names of its levels and writes its
        // mapping by code: keyed by an index rather than a scan each time
        // (an index left by an earlier run stays, so a failure here is
        // passed over).
        dataInfo.ExecuteSQL(connectString, QStringLiteral("CREATE INDEX ix_AIS_GLAcct_FAcctID ON AIS_GLAcct (FAcctID)"),
                            error);

        const int total = rs->RecordCount();
        int k = 0;
        int shown = -1;  // the bar is redrawn only when its value changes
        QStringList unmapped;
        QString failure;
        for (; !rs->Eof(); rs->MoveNext()) {
            ++k;
            const QString code = text(rs->value(QStringLiteral("FAcctID")));
            if (label)
                SetStatusCaption(label, QStringLiteral("升级科目(%1 / %2) - 当前科目代码：").arg(k).arg(total) + code);
            const int value = static_cast<int>(std::nearbyint(double(k) / total * 40.0 + 60.0));
            if (bar && value != shown) {
                SetProgress(bar, value);
                shown = value;
            }

            const QVariant nameValue = rs->value(QStringLiteral("FAcctName"));
            if (nameValue.isNull())
                throw PnwError(-1, QStringLiteral("clsBaseSys.UpgradeAccounts"),
                               QStringLiteral("会计科目（") + code + QStringLiteral("）没有名称。"));
            const QString name = text(nameValue).remove(QLatin1Char('\''));
            const AccountNumberInfo info =
                ParseAccountNumber(g_AcctLevelCount, g_AcctLevelLengths, code, dataInfo, connectString);
            if (info.number.isEmpty()) {
                failure =
                    QStringLiteral("会计科目（") + code + QStringLiteral("）的代码不符合科目结构，无法分级。") + kCrLf;
                break;
            }
            const int accountID = lastID + 1;

            int currency = 1;
            if (!text(rs->value(QStringLiteral("FForCy"))).isEmpty()) {
                currency = whole(rs->value(QStringLiteral("FCurrencyID")));
                if (currency == -1) unmapped << code + QStringLiteral("（币别）");
            }
            const bool cash =
                info.number.left(4) == QLatin1String("1001") || flag(rs->value(QStringLiteral("FIsCash")));
            const QVariant unitValue = rs->value(QStringLiteral("FUnit"));
            const QString unit = text(unitValue);
            const bool quantities =
                whole(rs->value(QStringLiteral("FQtyAux"))) != 0 || flag(rs->value(QStringLiteral("FQtyAux")));
            int unitID = 0, unitGroupID = 0;
            if (!unitValue.isNull() && !unit.isEmpty() && unit != QLatin1String("*")) {
                unitID = whole(rs->value(QStringLiteral("FUnitID")));
                unitGroupID = whole(rs->value(QStringLiteral("FUnitGroupID")));
                if (unitID == -1 || unitGroupID == -1) unmapped << code + QStringLiteral("（计量单位）");
            } else if (quantities) {
                const MeasureUnitInfo chosen = GetMeasureUnitInfo(dataInfo, connectString, whole(unitMap.Item(code)));
                unitID = chosen.unitID;
                unitGroupID = chosen.unitGroupID;
                if (unitID == 0) unmapped << code + QStringLiteral("（计量单位）");
            }
            const int mainClass = whole(rs->value(QStringLiteral("FClsID")));
            const bool carries = mainClass != 0 || flag(rs->value(QStringLiteral("FCustomer"))) ||
                                 flag(rs->value(QStringLiteral("FDepartment"))) ||
                                 flag(rs->value(QStringLiteral("FEmployee")));
            const QString helper = text(rs->value(QStringLiteral("FHelperCode")));

            QString batch =
                SqlText(" INSERT INTO T_Account(FAccountID, FNumber, FName, FLevel, FDetail, FParentID, FRootID, "
                        "FGroupID, FDC, FHelperCode, FCurrencyID, FAdjustRate, FQuantities, FUnitGroupID, "
                        "FMeasureUnitID, FIsCash, FIsBank, FJournal, FDetailID, FFullName, FContact)\r\n"
                        " VALUES({id}, {number}, {name}, {level}, {detail}, {parent}, {root}, {group}, {dc}, {helper}, "
                        "{currency}, {adjust}, {quantities}, {unitGroup}, {unit}, {cash}, {bank}, {journal}, 0, "
                        "{fullName}, {contact} )\r\n")
                    .arg("id", accountID)
                    .text("number", info.number)
                    .arg("name", name)
                    .arg("level", whole(rs->value(QStringLiteral("FLevel"))))
                    .arg("detail", flag(rs->value(QStringLiteral("FDetail"))) ? 1 : 0)
                    .arg("parent", info.parentID)
                    .arg("root", info.rootID == 0 ? accountID : info.rootID)
                    .arg("group", whole(rs->value(QStringLiteral("FGroup"))))
                    .arg("dc", text(rs->value(QStringLiteral("FDC"))) == QLatin1String("D") ? 1 : -1)
                    .arg("helper", helper.isEmpty() ? QVariant() : QVariant(helper))
                    .arg("currency", currency)
                    .arg("adjust", flag(rs->value(QStringLiteral("FRateAdj"))) ? 1 : 0)
                    .arg("quantities", quantities ? 1 : 0)
                    .arg("unitGroup", unitGroupID)
                    .arg("unit", unitID)
                    .arg("cash", cash ? 1 : 0)
                    .arg("bank",
                         flag(rs->value(QStringLiteral("FIsBankAc"))) && flag(rs->value(QStringLiteral("FBank"))) ? 1
                                                                                                                  : 0)
                    .arg("journal", flag(rs->value(QStringLiteral("FJrnl"))) ? 1 : 0)
                    .arg("fullName", QString(info.fullName).remove(QLatin1Char('\'')))
                    .arg("contact", flag(rs->value(QStringLiteral("FTrans"))) && carries ? 1 : 0)
                    .str();
            if (carries) {
                QString message;
                const int detailID = BuildItemDetail(
                    dataInfo, connectString, code, mainClass, flag(rs->value(QStringLiteral("FMutiCls"))),
                    rs->value(QStringLiteral("FCustomer")), rs->value(QStringLiteral("FDepartment")),
                    rs->value(QStringLiteral("FEmployee")), message);
                if (detailID < 0) {
                    failure = QStringLiteral("会计科目（") + code + QStringLiteral("）：") + message + kCrLf;
                    break;
                }
                batch += kCrLf + QStringLiteral(" UPDATE T_Account SET FDetailID = %1 WHERE FAccountID = '%2'")
                                     .arg(detailID)
                                     .arg(accountID);
            }
            batch += kCrLf +
                     QStringLiteral(" UPDATE ICMaxNum SET FMaxNum = %1 WHERE FTableName = N'T_Account'").arg(accountID);
            if (!dataInfo.ExecuteSQL(connectString, batch, error)) {
                failure = error + kCrLf + FailedStatement(batch) + kCrLf;
                break;
            }
            SetZ8InterIDByName(dataInfo, connectString, QStringLiteral("AIS_GLAcct"), QStringLiteral("FAcctID"), code,
                               accountID, false);
            AddDetailRow(detail, {code, text(nameValue)});
            LetEventsRun();
            lastID = accountID;
        }
        if (!failure.isEmpty()) {
            WriteUpgradeLog(kProject, QStringLiteral("错误：") + failure, QString(), 2);
            return 2;
        }
        if (!unmapped.isEmpty())
            WriteUpgradeLog(kProject,
                            QStringLiteral("以下会计科目的币别或计量单位没有对应的专业版资料：") +
                                unmapped.join(QStringLiteral("、")),
                            QString(), 1);
        WriteUpgradeLog(kProject, QStringLiteral("升级会计科目数目：") + QString::number(k), QStringLiteral("详细日志"),
                        0, detail.PackDetailLog());
        return unmapped.isEmpty() ? 0 : 1;
    } catch (const std::exception &e) {
        WriteUpgradeLog(kProject, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
