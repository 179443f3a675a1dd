#include "upgrade/common/ItemDetail.h"

#include <QList>
#include <QPair>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/SqlText.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwError.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/UpgradeGlobals.h"
#include "upgrade/common/ValueConvert.h"

namespace {

// (target class, item id) in the order the combination names them.
using Entries = QList<QPair<int, int>>;

const QString kHookFailed = QStringLiteral("下挂科目核算项目错误。");

[[noreturn]] void fail(const QString &source, const QString &text) { throw PnwError(-1, source, text); }

QString customerMissing(const QString &account, const QString &code) {
    return QStringLiteral("会计科目（") + account + QStringLiteral("）下挂了客户核算项目，但客户不存在：") + code;
}
QString supplierMissing(const QString &account, const QString &code) {
    return QStringLiteral("会计科目（") + account + QStringLiteral("）下挂了供应商核算项目，但供应商不存在：") + code;
}
QString departmentMissing(const QString &code) {
    return QStringLiteral("使用了代码为") + code +
           QStringLiteral("的部门核算项目，但此部门未成功升级，请联系技术人员。");
}
QString employeeMissing(const QString &code) {
    return QStringLiteral("使用了代码为") + code +
           QStringLiteral("的职员核算项目，但此职员未成功升级，请联系技术人员。");
}
QString customItemMissing(const QString &code) {
    return QStringLiteral("使用了代码为") + code +
           QStringLiteral("的自定义核算项目，但此核算项目未成功升级，请联系技术人员。");
}

// An item id as looked up; 0 (no such item) and -2 (not converted or a
// failed query) never go into a combination.
int requireItem(int value, const QString &source, const QString &notFound) {
    if (value <= 0) fail(source, notFound);
    return value;
}

// The business-unit classes of an account with the unit's ids.
void addBusinessUnit(clsDataInfo &dataInfo, const QString &connectString, const QString &account, const QString &code,
                     const QString &source, Entries &entries) {
    const int nature = GetSubLedgerNature(account);
    const bool all = code == QLatin1String("*");
    if (nature != 1) {
        const int id = all ? -1 : GetObjZ8InterID(dataInfo, connectString, 1, code, 0, true);
        entries.append({1, all ? -1 : requireItem(id, source, customerMissing(account, code))});
    }
    if (nature != 0) {
        const int id = all ? -1 : GetObjZ8InterID(dataInfo, connectString, 1, code, 1, true);
        entries.append({8, all ? -1 : requireItem(id, source, supplierMissing(account, code))});
    }
}

// The custom class's target class, 0 when it was not converted.
int customClass(int sourceClass) {
    clsDataInfo own;
    int id = 0;
    if (!ToLong(GetZ8InterIDByID(own, g_TargetConnectString, QStringLiteral("AIS_GLCls"), QStringLiteral("FClsID"),
                                 sourceClass, false),
                id))
        return 0;
    return id;
}

QString conditionOf(const Entries &entries) {
    QString condition = QStringLiteral(" FDetailCount = ") + QString::number(entries.size());
    for (const auto &[c, v] : entries)
        condition += QStringLiteral(" AND F") + QString::number(c) + QStringLiteral(" = ") + QString::number(v);
    return condition;
}

// The FDetailID of the combination, or -1 when there is none (no recordset
// raises the hook failure).
int findCombination(clsDataInfo &dataInfo, const QString &connectString, const QString &condition,
                    const QString &source) {
    QString error;
    auto rs = dataInfo.GetRs(connectString, QStringLiteral(" SELECT FDetailID FROM T_ItemDetail WHERE ") + condition,
                             true, error);
    if (!rs) fail(source, kHookFailed);
    if (rs->Eof()) return -1;
    int id = 0;
    if (!ToLong(rs->value(QStringLiteral("FDetailID")), id)) fail(source, kHookFailed);
    return id;
}

// Finds the combination of entries or makes it, the T_ItemDetail row and
// its T_ItemDetailV rows in one batch.
int findOrInsert(clsDataInfo &dataInfo, const QString &connectString, const Entries &entries, const QString &source,
                 const QString &insertFailed) {
    const QString condition = conditionOf(entries);
    int id = findCombination(dataInfo, connectString, condition, source);
    if (id >= 0) return id;

    QString columns = QStringLiteral(" INSERT INTO T_ItemDetail(FDetailCount");
    QString values = QStringLiteral(" VALUES(") + QString::number(entries.size());
    QString perClass;
    for (const auto &[c, v] : entries) {
        columns += QStringLiteral(", F") + QString::number(c);
        values += QStringLiteral(", ") + QString::number(v);
        perClass += QStringLiteral(" INSERT INTO T_ItemDetailV(FDetailID, FItemClassID, FItemID) ") +
                    QStringLiteral(" SELECT FDetailID, ") + QString::number(c) + QStringLiteral(",") +
                    QString::number(v) + QStringLiteral(" FROM T_ItemDetail WHERE ") + condition + kCrLf;
    }
    const QString batch = columns + QStringLiteral(")") + kCrLf + values + QStringLiteral(")") + kCrLf + perClass;
    QString error;
    if (!dataInfo.ExecuteSQL(connectString, batch, error)) fail(source, insertFailed + kCrLf + error);
    id = findCombination(dataInfo, connectString, condition, source);
    if (id < 0) fail(source, kHookFailed);
    return id;
}

}  // namespace

int GetSubLedgerNature(const QString &account) {
    if (!g_SubLedgerNatures.Exists(account)) return 2;
    int nature = 2;
    if (!ToLong(g_SubLedgerNatures.Item(account), nature)) return 2;
    return nature;
}

int MapItemClassID(int sourceClass, const QString &item, const QString &account) {
    (void)item;
    if (sourceClass == 1) return GetSubLedgerNature(account) != 0 ? 8 : 1;
    if (sourceClass == 2 || sourceClass == 3) return sourceClass;
    return customClass(sourceClass);
}

int GetItemIDByShortNumber(clsDataInfo &dataInfo, const QString &connectString, int itemClass,
                           const QString &shortNumber) {
    try {
        QString code = shortNumber;
        code.remove(QLatin1Char('.'));
        const QString sql = SqlText(" SELECT FItemID FROM T_Item \r\n"
                                    " WHERE REPLACE(FShortNumber,'.','') = {code} AND FItemClassID = {cls}")
                                .arg("code", code)
                                .arg("cls", itemClass)
                                .str();
        QString error;
        auto rs = dataInfo.GetRs(connectString, sql, true, error);
        if (!rs) return -2;
        if (rs->Eof()) return 0;
        int id = 0;
        return ToLong(rs->value(QStringLiteral("FItemID")), id) ? id : -2;
    } catch (const std::exception &) {
        return -2;
    }
}

int HookSingleItemDetail(clsDataInfo &dataInfo, const QString &connectString, int itemClass, const QString &item,
                         const QString &account, QString &message) {
    const QString source = QStringLiteral("modBusiness.HookSingleItemDetail");
    try {
        if (itemClass == 0) fail(QString(), QStringLiteral("核算项目类别不存在。"));
        const bool all = item == QLatin1String("*");
        Entries entries;
        if (itemClass == 1) {
            addBusinessUnit(dataInfo, connectString, account, item, source, entries);
        } else if (itemClass == 2 || itemClass == 3) {
            const int id = all ? -1 : GetItemIDByShortNumber(dataInfo, connectString, itemClass, item);
            entries.append(
                {itemClass,
                 all ? -1 : requireItem(id, source, itemClass == 2 ? departmentMissing(item) : employeeMissing(item))});
        } else {
            const int target = MapItemClassID(itemClass, item, QString());
            if (target <= 0) fail(source, QStringLiteral("核算项目类别不存在。"));
            const int id = all ? -1 : GetObjZ8InterID(dataInfo, connectString, itemClass, item, 0, false);
            entries.append({target, all ? -1 : requireItem(id, source, customItemMissing(item))});
        }
        return findOrInsert(dataInfo, connectString, entries, source, QStringLiteral("Failed to insert item detail."));
    } catch (const std::exception &e) {
        message = ErrorDescription(e);
        return -1;
    }
}

int HookMultiItemDetail(clsDataInfo &dataInfo, const QString &connectString, const QString &account, int itemClass,
                        const QString &item, const QString &businessUnit, const QString &department,
                        const QString &employee, QString &message) {
    const QString source = QStringLiteral("modBusiness.HookMultiItemDetail");
    auto given = [](const QString &code) { return !code.isEmpty() && code != QLatin1String("*"); };
    try {
        QList<int> classes{itemClass};
        if (given(businessUnit) && itemClass != 1) classes.append(1);
        if (given(department) && itemClass != 2) classes.append(2);
        if (given(employee) && itemClass != 3) classes.append(3);

        Entries entries;
        for (int cls : classes) {
            if (cls == 0) continue;
            if (cls == 1) {
                addBusinessUnit(dataInfo, connectString, account, given(businessUnit) ? businessUnit : item, source,
                                entries);
            } else if (cls == 2 || cls == 3) {
                const QString &own = cls == 2 ? department : employee;
                const QString code = given(own) ? own : item;
                const int id = code == QLatin1String("*")
                                   ? -1
                                   : requireItem(GetObjZ8InterID(dataInfo, connectString, cls, code, 2, false), source,
                                                 cls == 2 ? departmentMissing(code) : employeeMissing(code));
                entries.append({cls, id});
            } else {
                const int target = customClass(cls);
                if (target <= 0) fail(source, customItemMissing(item));
                const int id = item == QLatin1String("*")
                                   ? -1
                                   : requireItem(GetObjZ8InterID(dataInfo, connectString, cls, item, 2, false), source,
                                                 customItemMissing(item));
                entries.append({target, id});
            }
        }
        return findOrInsert(dataInfo, connectString, entries, source, QStringLiteral("新增科目核算项目记录错误。"));
    } catch (const std::exception &e) {
        message = ErrorDescription(e);
        return -1;
    }
}
