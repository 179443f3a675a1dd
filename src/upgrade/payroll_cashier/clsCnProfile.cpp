// First cashier phase: the cashier options, the cash and bank flags of the
// chart of accounts, the cashier accounts and the empty year-opening rows.
#include "foundation/Progress.h"
#include "foundation/Globals.h"
#include "platform/ado/Connection.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/payroll_cashier/CashierSql.h"
#include "upgrade/payroll_cashier/clsCn.h"

namespace {

QString accountFlag(const QString &flag, const QString &codeColumn) {
    return QStringLiteral("UPDATE t1 SET t1.") + flag + QStringLiteral(" = 1 FROM t_Account t1, AIS_GLPref t2 ") +
           QStringLiteral("Where t2.") + codeColumn + QStringLiteral(" = Left(t1.FNumber, t2.FAcLen1) \r\n");
}

// Lets a cancel click in; true when the run was cancelled.
bool cancelled() {
    LetEventsRun();
    return g_CancelRequested;
}

const QString kInsertAccounts = QStringLiteral(
    "INSERT INTO cn_Account (FKmID, FKmdm, FKmmc, FBbID, FBb, FYhmc, FYhzh, FYhdzdYe, FJfje, FDfje, FYe, FJfjeB, "
    "FDfjeB, FYeB, FYhrjzTzhYe, FYhdzdTzhYe, FYeIsBalance, FQy, FIsCash, FForbid, FIsCombineKm)\r\n"
    "SELECT a.FAccountID, a.FNumber, a.FName, c.FCurrencyID, c.FName, a.FName, a.FName, 0, 0, 0, 0, 0, 0, 0, 0, 0, "
    "1, 1, ISNULL(a.FIsCash, 0), 0, 0\r\n"
    "FROM t_Account a, t_Currency c\r\n"
    "WHERE a.FDetail = 1 AND (a.FIsCash = 1 OR a.FIsBank = 1)\r\n"
    "AND ((a.FCurrencyID <> 0 AND a.FCurrencyID = c.FCurrencyID) OR (a.FCurrencyID = 0 AND c.FCurrencyID <> 0))\r\n"
    "AND NOT EXISTS (SELECT 1 FROM cn_Account x WHERE x.FKmID = a.FAccountID AND x.FBbID = c.FCurrencyID)\r\n"
    "ORDER BY a.FNumber, c.FCurrencyID\r\n");

// Year-opening rows of the cashier accounts whose balances stand in the
// balance table's last period.
QString openingRows(const QString &table, const QString &type) {
    return QStringLiteral("INSERT INTO Cn_Lcye (FType, FKmID, FYear, FYe, FYeB, FDebit, FDebitB, FCredit, FCreditB)\r\n"
                          "SELECT ") +
           type +
           QStringLiteral(", c.FID, @Year, 0, 0, 0, 0, 0, 0\r\n"
                          "FROM cn_Account c\r\n"
                          "INNER JOIN t_Currency cy ON cy.FName = c.FBb\r\n"
                          "INNER JOIN AIS_GLAcct d ON d.FZ8InterID = c.FKmID\r\n"
                          "INNER JOIN (SELECT FPeriod, FAcctID, FCyID FROM ") +
           table +
           QStringLiteral(" GROUP BY FPeriod, FAcctID, FCyID) b ON b.FAcctID = d.FAcctID AND b.FCyID = cy.FNumber\r\n"
                          "INNER JOIN t_Currency e ON e.FNumber = b.FCyID\r\n"
                          "WHERE b.FPeriod = (SELECT ISNULL(MAX(FPeriod), 0) FROM ") +
           table + QStringLiteral(")\r\n");
}

}  // namespace

int clsCn::UpgradeCnProfile(StepKit &kit, QString &strErr) {
    try {
        struct KeyStep {
            QString sql;
            const char *message;
        };
        const KeyStep keys[] = {
            {CnProfileKey(QStringLiteral("CN_INIT_DONE"), QStringLiteral("'1'"), QStringLiteral("'1'")),
             "错误代码1: 升级【出纳管理系统结束初始化】的时候出错："},
            {CnProfileKey(QStringLiteral("CN_CURRENT_PERIOD"), QStringLiteral("t2.FCurrPeriod"),
                          QStringLiteral("t2.FCurrPeriod")),
             "错误代码2: 升级【出纳管理系统出纳参数当前会计期间】的时候出错："},
            {CnProfileKey(QStringLiteral("CN_CURRENT_YEAR"), QStringLiteral("t2.FCurrYear"),
                          QStringLiteral("t2.FCurrYear")),
             "错误代码3: 升级【出纳管理系统出纳参数当前会计年度】的时候出错："},
            {CnProfileKey(QStringLiteral("CN_START_PERIOD"),
                          QStringLiteral("case WHEN FCurrYear=FStartYear THEN FStartPeriod ELSE 1 END"),
                          QStringLiteral("t2.FStartPeriod")),
             "错误代码4: 升级【出纳管理系统出纳参数启用会计期间】的时候出错："},
            {CnProfileKey(QStringLiteral("CN_START_YEAR"), QStringLiteral("t2.FCurrYear"),
                          QStringLiteral("t2.FStartYear")),
             "错误代码5: 升级【出纳管理系统出纳参数启用会计年度】的时候出错："},
        };
        for (const KeyStep &key : keys) {
            if (!Run(kit, key.sql, QString::fromUtf8(key.message), strErr)) return 2;
            if (cancelled()) return 2;
        }
        const QString clearing = QStringLiteral("错误代码%1: 升级【出纳管理- - - 】的时候出错：");
        const QList<QPair<QString, QString>> steps = {
            {accountFlag(QStringLiteral("FIsCash"), QStringLiteral("FCashAc")),
             QStringLiteral("错误代码6: 升级【出纳管理现金科目】的时候出错：")},
            {accountFlag(QStringLiteral("FIsBank"), QStringLiteral("FBankAc")),
             QStringLiteral("错误代码7: 升级【出纳管理银行科目】的时候出错：")},
            {QStringLiteral("DELETE FROM Cn_Lcye"), clearing.arg(8)},
            {QStringLiteral("DELETE FROM CN_XJRJZ"), clearing.arg(9)},
            {QStringLiteral("DELETE FROM CN_YHRJZ"), clearing.arg(10)},
            {QStringLiteral("DELETE FROM CN_YHDZD"), clearing.arg(11)},
            {QStringLiteral("DELETE FROM cn_Account"),
             QStringLiteral("错误代码12: 升级【出纳管理引入现金银行科目】的时候出错：")},
            {kInsertAccounts, QStringLiteral("错误代码13: 升级【出纳管理更新出纳科目】的时候出错：")},
            {QStringLiteral("UPDATE t1 SET t1.FQy = t2.FBankCheck FROM cn_Account t1, AIS_GLPref t2"),
             QStringLiteral("错误代码14: 升级【出纳管理根据VEQ中是否启用出纳业务来设置科目是否启用】的时候出错：")},
        };
        for (const auto &[sql, message] : steps)
            if (!Run(kit, sql, message, strErr)) return 2;

        ado::Connection own;
        own.CursorLocation = ado::adUseClient;
        own.Open(kit.connectString());
        own.Execute(QStringLiteral("DELETE FROM Cn_Lcye"));
        own.Close();

        const QString opening = QStringLiteral("DECLARE @Year int\r\n"
                                               "SELECT @Year = FCurrYear FROM AIS_GLPref\r\n") +
                                openingRows(QStringLiteral("AIS_TRBankJnlBal"),
                                            QStringLiteral("CASE WHEN c.FIsCash = 1 THEN 1 ELSE 2 END")) +
                                openingRows(QStringLiteral("AIS_TRBankChkBal"), QStringLiteral("3"));
        if (!Run(kit, opening, QStringLiteral("错误代码16: 升级【出纳管理银行对账单】的时候出错："), strErr)) return 2;
        if (cancelled()) return 2;
        return 0;
    } catch (const std::exception &e) {
        NoteRaised(e);
        return 2;
    }
}
