#include "LedgerFixture.h"

#include "upgrade/common/StepKit.h"

int LedgerPhaseProbe::run(Phase phase, bool balanceOnly) {
    clsEboGL step;
    step.BalanceOnly = balanceOnly;
    StepKit kit(nullptr, nullptr, QString());
    return (step.*phase)(kit);
}

bool LedgerPhaseProbe::contra(QString &errorText) {
    clsEboGL step;
    StepKit kit(nullptr, nullptr, QString());
    return step.UpdateContraAccount(kit, errorText);
}

#include <QStringList>

#include "upgrade/ledger/LedgerLookups.h"

namespace {

int targetClass(int sourceClass) { return sourceClass <= 3 ? sourceClass : 3000 + sourceClass; }

// The combination of the mapped items of a row: found by its item rows, or
// made when missing.
int testItemDetail(StepKit &kit, const ledger::RowItems &row, QString &message) {
    QList<QPair<int, QString>> items;  // source class, code
    if (row.itemClass > 0 && !row.item.isEmpty() && row.item != QStringLiteral("*"))
        items.append({row.itemClass, row.item});
    const QList<QPair<int, QString>> extras = {{1, row.businessUnit}, {2, row.department}, {3, row.employee}};
    for (const auto &extra : extras)
        if (!extra.second.isEmpty() && extra.second != QStringLiteral("*")) items.append(extra);
    if (items.isEmpty()) return 0;
    QStringList where, columns, values;
    QList<QPair<int, int>> targets;
    for (const auto &item : items) {
        const int id =
            kit.scalar(QStringLiteral("SELECT FZ8InterID FROM AIS_GLObj WHERE FClsID = %1 AND FObjID = N'%2'")
                           .arg(item.first)
                           .arg(item.second))
                .toInt();
        if (id <= 0) {
            message = QStringLiteral("item not converted: ") + item.second;
            return -1;
        }
        const int cls = targetClass(item.first);
        targets.append({cls, id});
        where << QStringLiteral("(FItemClassID = %1 AND FItemID = %2)").arg(cls).arg(id);
        columns << QStringLiteral("F%1").arg(cls);
        values << QString::number(id);
    }
    const QString find = QStringLiteral("SELECT v.FDetailID FROM T_ItemDetailV v INNER JOIN T_ItemDetail d ON "
                                        "d.FDetailID = v.FDetailID WHERE d.FDetailCount = %1 AND (%2) GROUP BY "
                                        "v.FDetailID HAVING COUNT(*) = %1")
                             .arg(items.size())
                             .arg(where.join(QStringLiteral(" OR ")));
    QVariant found = kit.scalar(find);
    if (!found.isNull()) return found.toInt();
    QString error;
    QString sql = QStringLiteral("INSERT INTO T_ItemDetail (FDetailCount, %1) VALUES (%2, %3)\r\n")
                      .arg(columns.join(QStringLiteral(", ")))
                      .arg(items.size())
                      .arg(values.join(QStringLiteral(", ")));
    sql += QStringLiteral("DECLARE @id INT SELECT @id = MAX(FDetailID) FROM T_ItemDetail\r\n");
    for (const auto &t : targets)
        sql += QStringLiteral("INSERT INTO T_ItemDetailV (FDetailID, FItemClassID, FItemID) VALUES (@id, %1, %2)\r\n")
                   .arg(t.first)
                   .arg(t.second);
    if (!kit.execute(sql, error)) {
        message = error;
        return -1;
    }
    return kit.scalar(find).toInt();
}

}  // namespace

void LedgerFixture::TearDown() {
    ledger::itemDetailFinder() = nullptr;
    ledger::singleItemFinder() = nullptr;
    UpgradeStepFixture::TearDown();
}

void LedgerFixture::seedBaseData() {
    g_PeriodsPerYear = targetValue(QStringLiteral("SELECT FPeriodsPerYear FROM AIS_GLPref")).toInt();
    QString sql;
    // Currencies: RMB is 1, "*" 0, the others from 1000 on.
    int next = 1000;
    for (const QString &row : target(QStringLiteral("SELECT FCyID, ISNULL(FOper, '*') FROM AIS_GLCy ORDER BY FCyID"))) {
        const QString code = row.section(QLatin1Char('\t'), 0, 0);
        int id = next;
        if (code == QStringLiteral("*"))
            id = 0;
        else if (code == QStringLiteral("RMB"))
            id = 1;
        else {
            ++next;
            sql += QStringLiteral("INSERT INTO T_Currency (FCurrencyID, FNumber, FName, FOperator, FScale) VALUES "
                                  "(%1, N'%2', N'%2', N'%3', 2)\r\n")
                       .arg(id)
                       .arg(code, row.section(QLatin1Char('\t'), 1, 1));
        }
        sql += QStringLiteral("UPDATE AIS_GLCy SET FZ8InterID = %1 WHERE FCyID = N'%2'\r\n").arg(id).arg(code);
    }
    // Voucher groups: the standard group keeps 1.
    next = 2;
    for (const QString &group : target(QStringLiteral("SELECT FGroup FROM AIS_GLVchGroup ORDER BY FOrder"))) {
        int id = 1;
        if (group != QStringLiteral("记")) {
            id = next++;
            sql += QStringLiteral("INSERT INTO T_VoucherGroup (FGroupID, FName, FStandard) VALUES (%1, N'%2', 0)\r\n")
                       .arg(id)
                       .arg(group);
        }
        sql += QStringLiteral("UPDATE AIS_GLVchGroup SET FZ8InterID = %1 WHERE FGroup = N'%2'\r\n").arg(id).arg(group);
    }
    // Users and settlement methods.
    next = 16394;
    for (const QString &user : target(QStringLiteral("SELECT FUser FROM AIS_SysUsers ORDER BY FUser")))
        sql += QStringLiteral("UPDATE AIS_SysUsers SET FZ8InterID = %1 WHERE FUser = N'%2'\r\n").arg(next++).arg(user);
    next = 1;
    for (const QString &code : target(QStringLiteral("SELECT FSettCode FROM AIS_GLSettle ORDER BY FSettCode"))) {
        sql += QStringLiteral("INSERT INTO T_Settle (FItemID, FName, FNumber) VALUES (%1, N'%2', N'%2')\r\n")
                   .arg(next)
                   .arg(code);
        sql +=
            QStringLiteral("UPDATE AIS_GLSettle SET FZ8InterID = %1 WHERE FSettCode = N'%2'\r\n").arg(next++).arg(code);
    }
    // Custom item classes get their column in the combinations.
    for (const QString &cls : target(QStringLiteral("SELECT DISTINCT FClsID FROM AIS_GLObj WHERE FClsID > 3")))
        sql += QStringLiteral("ALTER TABLE T_ItemDetail ADD F%1 INT NOT NULL DEFAULT(0)\r\n")
                   .arg(targetClass(cls.toInt()));
    run(sql);
    sql.clear();
    for (const QString &row :
         target(QStringLiteral("SELECT FClsID, FObjID, ISNULL(FObjName, FObjID) FROM AIS_GLObj WHERE FObjID <> '*' "
                               "ORDER BY FClsID, FObjID"))) {
        const QStringList cells = row.split(QLatin1Char('\t'));
        sql += QStringLiteral("INSERT INTO T_Item (FItemClassID, FNumber, FName, FShortNumber) VALUES (%1, N'%2', "
                              "N'%3', N'%2')\r\n")
                   .arg(targetClass(cells.at(0).toInt()))
                   .arg(cells.at(1), cells.at(2));
        sql += QStringLiteral("UPDATE AIS_GLObj SET FZ8InterID = (SELECT MAX(FItemID) FROM T_Item) WHERE FClsID = %1 "
                              "AND FObjID = N'%2'\r\n")
                   .arg(cells.at(0), cells.at(1));
    }
    // Accounts in code order; the parent is the longest code that starts
    // the account's code.
    const QStringList accounts = target(QStringLiteral(
        "SELECT T1.FAcctID, T1.FAcctName, ISNULL(T2.FZ8InterID, CASE WHEN ISNULL(T1.FForCy, '') = '' THEN 1 ELSE -1 "
        "END), CASE WHEN T1.FQtyAux = 1 THEN 1 ELSE 0 END FROM AIS_GLAcct T1 LEFT JOIN AIS_GLCy T2 ON T2.FCyID = "
        "T1.FForCy ORDER BY T1.FAcctID"));
    run(sql);
    sql.clear();
    QStringList codes;
    next = 1000;
    for (const QString &row : accounts) {
        const QStringList cells = row.split(QLatin1Char('\t'));
        const QString code = cells.at(0);
        int parent = 0;
        for (int i = 0; i < codes.size(); ++i)
            if (code.startsWith(codes.at(i)) && code != codes.at(i)) parent = 1000 + i;
        sql += QStringLiteral("INSERT INTO T_Account (FAccountID, FNumber, FName, FLevel, FDetail, FParentID, "
                              "FCurrencyID, FMeasureUnitID, FQuantities) VALUES (%1, '%2', N'%3', 1, 1, %4, %5, %6, "
                              "%6)\r\n")
                   .arg(next)
                   .arg(code, cells.at(1))
                   .arg(parent)
                   .arg(cells.at(2), cells.at(3));
        sql += QStringLiteral("UPDATE T_Account SET FDetail = 0 WHERE FAccountID = %1\r\n").arg(parent);
        sql += QStringLiteral("UPDATE AIS_GLAcct SET FZ8InterID = %1 WHERE FAcctID = '%2'\r\n").arg(next).arg(code);
        codes << code;
        ++next;
    }
    // The general-ledger keys as the options phase writes them.
    sql += QStringLiteral(
        "UPDATE t_SystemProfile SET FValue = (SELECT CAST(FStartYear AS VARCHAR(20)) FROM AIS_GLPref) WHERE FCategory "
        "= 'GL' AND FKey = 'StartYear'\r\n"
        "UPDATE t_SystemProfile SET FValue = (SELECT CAST(FStartPeriod AS VARCHAR(20)) FROM AIS_GLPref) WHERE "
        "FCategory = 'GL' AND FKey = 'StartPeriod'\r\n"
        "UPDATE t_SystemProfile SET FValue = (SELECT CAST(FCurrYear AS VARCHAR(20)) FROM AIS_GLPref) WHERE FCategory "
        "= 'GL' AND FKey = 'CurrentYear'\r\n"
        "UPDATE t_SystemProfile SET FValue = (SELECT CAST(FCurrPeriod AS VARCHAR(20)) FROM AIS_GLPref) WHERE "
        "FCategory = 'GL' AND FKey = 'CurrentPeriod'\r\n"
        "UPDATE t_SystemProfile SET FValue = '1' WHERE FCategory = 'GL' AND FKey = 'InitClosed'\r\n");
    sql += QStringLiteral("IF NOT EXISTS(SELECT 1 FROM sysobjects WHERE name = 'TempGLAcctMapping') SELECT FAcctID, 0 "
                          "AS FSubledgerType INTO TempGLAcctMapping FROM AIS_GLAcct WHERE 1 > 1\r\n");
    run(sql);
    ledger::itemDetailFinder() = testItemDetail;
    ledger::singleItemFinder() = [](StepKit &kit, int itemClass, const QString &item, const QString &account,
                                    QString &message) {
        ledger::RowItems row;
        row.account = account;
        row.itemClass = itemClass;
        row.item = item;
        return testItemDetail(kit, row, message);
    };
}
