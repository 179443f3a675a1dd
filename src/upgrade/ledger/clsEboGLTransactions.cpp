// Transactions: the open items of the transaction history become opening
// transaction balances, and the due voucher entries and history rows become
// check records; the option "启用业务核销" is switched on when any arrived.
//
// Rates: under the operator "*" a local amount is the currency amount times
// the rate, under any other the currency amount divided by it; a rate of 0
// or NULL gives no amount (NULL), and such rows are reported.
#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QVariant>

#include "foundation/ErrorText.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwError.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/common/UpgradeGlobals.h"
#include "upgrade/ledger/LedgerLookups.h"
#include "upgrade/ledger/LedgerSql.h"
#include "upgrade/ledger/clsEboGL.h"

namespace {

const QString kProject = QStringLiteral("往来业务");

// Rows of accounts the balances left out (Tmp_Mult_Item) are not converted;
// NOT EXISTS, since an unmapped account is NULL there.
const char *const kNotMultiItem = "NOT EXISTS (SELECT 1 FROM Tmp_Mult_Item M WHERE M.FAccountID = T2.FZ8InterID)";

ledger::RowItems itemsOf(const ado::Recordset &rs) {
    ledger::RowItems row;
    row.account = ledger::text(rs, "FAcctID");
    row.itemClass = ledger::integer(rs, "FClsID");
    row.item = ledger::text(rs, "FObjID");
    row.businessUnit = ledger::text(rs, "FCustID");
    row.department = ledger::text(rs, "FDeptID");
    row.employee = ledger::text(rs, "FEmplID");
    return row;
}

// The combination of a row; accounts whose history carries business units
// they no longer have are booked without items.
int detailOf(ledger::Lookups &lookups, const ledger::RowItems &row, QString &message) {
    if (g_TransClearAccounts.Exists(row.account)) return 0;
    return lookups.multiItemDetail(row, message);
}

}  // namespace

bool clsEboGL::UpgradeTransInitBalance(StepKit &kit, int &count, QString &errorText) {
    try {
        auto rs = kit.query(
            QStringLiteral(
                "SELECT T1.FAcctID, T2.FZ8InterID AS FAccountID, T3.FZ8InterID AS FCurrencyID, ISNULL(T1.FClsID, 0) AS "
                "FClsID, ISNULL(T1.FObjID, '') AS FObjID, ISNULL(T1.FTransID, '') AS FTransID,\r\n"
                " ISNULL(T1.FCustID, '') AS FCustID, ISNULL(T1.FDeptID, '') AS FDeptID, ISNULL(T1.FEmplID, '') AS "
                "FEmplID, MAX(T1.FDate) AS FTransDate, SUM(T1.FBal) AS FBeginBalanceFor,\r\n"
                " CASE WHEN MIN(T3.FOper) = '*' THEN SUM(T1.FBal * T3.FBegRate) ELSE SUM(T1.FBal / NULLIF(T3.FBegRate, "
                "0)) END AS FBeginBalance,\r\n"
                " SUM(ISNULL(T1.FQty, 0)) AS FBeginQty, SUM(T1.FDebit) AS FYtdDebitFor, SUM(T1.FCredit) AS "
                "FYtdCreditFor\r\n"
                " FROM AIS_GLTrans T1\r\n"
                " INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID\r\n"
                " INNER JOIN AIS_GLCy T3 ON T1.FCyID = T3.FCyID\r\n"
                " WHERE T2.FZ8InterID IS NOT NULL AND T3.FZ8InterID IS NOT NULL AND ") +
            QString::fromUtf8(kNotMultiItem) +
            QStringLiteral("\r\n GROUP BY T1.FAcctID, T2.FZ8InterID, T1.FClsID, T1.FObjID, T1.FCustID, "
                           "T1.FDeptID, T1.FEmplID, T3.FZ8InterID, T1.FTransID"));
        if (!rs) {
            errorText = QStringLiteral("获取源账套往来业务数据错误。原因：");
            return false;
        }
        ledger::Lookups lookups(kit);
        count = 0;
        for (; !rs->Eof(); rs->MoveNext()) {
            QString message;
            const int detailID = detailOf(lookups, itemsOf(*rs), message);
            if (detailID == -1) {
                errorText = QStringLiteral("更新往来业务余额错误。原因：\r\n") + message + QStringLiteral("\r\n");
                return false;
            }
            const QString sql =
                SqlText(
                    "IF EXISTS(SELECT 1 FROM T_TransInitBalance WHERE FAccountID = {acct} AND FDetailID = {detail} "
                    "AND FCurrencyID = {cy} AND FTransNo = {no})\r\n"
                    " UPDATE T_TransInitBalance SET FBeginBalanceFor = FBeginBalanceFor + {balFor}, FBeginBalance "
                    "= FBeginBalance + {bal}, FBeginQty = FBeginQty + {qty}, FYtdDebitFor = FYtdDebitFor + {debit}, "
                    "FYtdCreditFor = FYtdCreditFor + {credit}\r\n"
                    " WHERE FAccountID = {acct} AND FDetailID = {detail} AND FCurrencyID = {cy} AND FTransNo = "
                    "{no}\r\n"
                    "ELSE\r\n"
                    " INSERT INTO T_TransInitBalance (FAccountID, FDetailID, FCurrencyID, FTransNo, FTransDate, "
                    "FBeginBalanceFor, FBeginBalance, FBeginQty, FYtdDebitFor, FYtdCreditFor)\r\n"
                    " VALUES({acct}, {detail}, {cy}, {no}, {date}, {balFor}, {bal}, {qty}, {debit}, {credit})")
                    .arg("acct", ledger::integer(*rs, "FAccountID"))
                    .arg("detail", detailID)
                    .arg("cy", ledger::integer(*rs, "FCurrencyID"))
                    .arg("no", ledger::text(*rs, "FTransID"))
                    .arg("date", rs->value(QStringLiteral("FTransDate")))
                    .arg("balFor", rs->value(QStringLiteral("FBeginBalanceFor")))
                    .arg("bal", rs->value(QStringLiteral("FBeginBalance")))
                    .arg("qty", rs->value(QStringLiteral("FBeginQty")))
                    .arg("debit", rs->value(QStringLiteral("FYtdDebitFor")))
                    .arg("credit", rs->value(QStringLiteral("FYtdCreditFor")))
                    .str();
            QString error;
            if (!kit.execute(sql, error)) {
                errorText = QStringLiteral("更新往来业务余额错误。原因：\r\n") + error + QStringLiteral("\r\n");
                return false;
            }
            ++count;
        }
        return true;
    } catch (const std::exception &e) {
        errorText = ErrorDescription(e);
        return false;
    }
}

bool clsEboGL::UpgradeTransCheckInfo(StepKit &kit, int &count, QString &errorText) {
    try {
        const int year = ledger::sourceCurrentYear(kit);
        const int period = ledger::sourceCurrentPeriod(kit);
        auto ends = kit.query(SqlText("SELECT FEndDate FROM T_PeriodDate WHERE FYear = {year} AND FPeriod = {period}")
                                  .arg("year", year)
                                  .arg("period", period - 1)
                                  .str());
        if (!ends) {
            errorText = QStringLiteral("查询上一会计期间的期末日期时发生错误，原因：");
            return false;
        }
        QVariant checkDate =
            ends->Eof() ? QVariant(QDateTime(QDate::currentDate(), QTime())) : ends->value(QStringLiteral("FEndDate"));

        // Voucher rows name the target entry they became; every row is kept,
        // equal ones included; a voucher row's -1 quantity is "none". A voucher row's amounts are local, with the
        // entry's rate; a history row's, like its balance, are in its
        // currency, turned local with the opening rate.
        const QString notMulti = QString::fromUtf8(kNotMultiItem);
        // Read as a stream: the loop holds one record at a time.
        auto rs = kit.stream(
            QStringLiteral(
                "SELECT ISNULL(T1.FTransID, '') AS FTransNo, T1.FDate, T1.FZ8InterID AS FVoucherID, T1.FZ8InterID_2 AS "
                "FVoucherEntryID, T1.FAcctID, T2.FZ8InterID AS FAccountID, T3.FZ8InterID AS FCurrencyID,\r\n"
                " ISNULL(T1.FClsID, 0) AS FClsID, ISNULL(T1.FObjID, '') AS FObjID, ISNULL(T1.FCustID, '') AS FCustID, "
                "ISNULL(T1.FDeptID, '') AS FDeptID, ISNULL(T1.FEmplID, '') AS FEmplID,\r\n"
                " CASE WHEN T1.FDebit = 0 THEN T1.FCredit ELSE T1.FDebit END AS FCheckAmount,\r\n"
                " CASE WHEN T3.FOper = '*' THEN (T1.FDebit + T1.FCredit) / NULLIF(T1.FExchRate, 0) ELSE (T1.FDebit + "
                "T1.FCredit) * T1.FExchRate END AS FCheckAmountFor,\r\n"
                " CASE WHEN T1.FQty IS NULL OR T1.FQty = -1 THEN 0 ELSE T1.FQty END AS FCheckQty, 0 AS FInitBalance, 0 "
                "AS FRateDiffAmount\r\n"
                " FROM AIS_GLVch T1 INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID INNER JOIN AIS_GLCy T3 ON "
                "T1.FCyID = T3.FCyID\r\n"
                " WHERE T1.FDue = 1 AND T2.FZ8InterID IS NOT NULL AND T3.FZ8InterID IS NOT NULL AND ") +
            notMulti +
            QStringLiteral(
                "\r\n UNION ALL\r\n"
                "SELECT ISNULL(T1.FTransID, '') AS FTransNo, T1.FDate, 0 AS FVoucherID, 0 AS FVoucherEntryID, "
                "T1.FAcctID, T2.FZ8InterID AS FAccountID, T3.FZ8InterID AS FCurrencyID,\r\n"
                " ISNULL(T1.FClsID, 0) AS FClsID, ISNULL(T1.FObjID, '') AS FObjID, ISNULL(T1.FCustID, '') AS FCustID, "
                "ISNULL(T1.FDeptID, '') AS FDeptID, ISNULL(T1.FEmplID, '') AS FEmplID,\r\n"
                " CASE WHEN T3.FOper = '*' THEN (T1.FDebit - T1.FCredit) * T3.FBegRate ELSE (T1.FDebit - "
                "T1.FCredit) / NULLIF(T3.FBegRate, 0) END AS FCheckAmount,\r\n"
                " T1.FDebit - T1.FCredit AS FCheckAmountFor,\r\n"
                " ISNULL(T1.FQty, 0) AS FCheckQty, 1 AS FInitBalance, 0 AS FRateDiffAmount\r\n"
                " FROM AIS_GLTrans T1 INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID INNER JOIN AIS_GLCy T3 ON "
                "T1.FCyID = T3.FCyID\r\n"
                " WHERE T1.FDue = 1 AND T2.FZ8InterID IS NOT NULL AND T3.FZ8InterID IS NOT NULL AND ") +
            notMulti +
            QStringLiteral("\r\n ORDER BY FTransNo, FDate DESC, FVoucherID, FVoucherEntryID, FAccountID, FCurrencyID, "
                           "FClsID, FObjID"));
        if (!rs) {
            errorText = QStringLiteral("查询核销记录时发生错误，原因：");
            return false;
        }
        ledger::Lookups lookups(kit);
        count = 0;
        QString previousNo;
        for (int row = 1; !rs->Eof(); rs->MoveNext(), ++row) {
            QString message;
            const int detailID = detailOf(lookups, itemsOf(*rs), message);
            if (detailID == -1) {
                errorText = QStringLiteral("升级往来核销记录错误。原因：\r\n") + message + QStringLiteral("\r\n");
                return false;
            }
            const QString transNo = ledger::text(*rs, "FTransNo");
            // Every record of a transaction number carries its latest date.
            if (row == 1 || transNo != previousNo) checkDate = rs->value(QStringLiteral("FDate"));
            previousNo = transNo;
            const QString sql =
                SqlText(
                    "INSERT INTO T_TransCheckInfo (FCheckNo, FTransNo, FVoucherID, FEntryID, FAccountID, "
                    "FCurrencyID, FDetailID, FCheckDate, FCheckerID, FCheckAmount, FCheckAmountFor, FCheckQty, "
                    "FInitBalance, FRateDiffAmount)\r\n"
                    " VALUES(1, {no}, {vch}, {entry}, {acct}, {cy}, {detail}, {date}, 16394, {amount}, {amountFor}, "
                    "{qty}, {init}, {diff})")
                    .arg("no", transNo)
                    .arg("vch", ledger::integer(*rs, "FVoucherID"))
                    .arg("entry", ledger::integer(*rs, "FVoucherEntryID"))
                    .arg("acct", ledger::integer(*rs, "FAccountID"))
                    .arg("cy", ledger::integer(*rs, "FCurrencyID"))
                    .arg("detail", detailID)
                    .arg("date", checkDate)
                    .arg("amount", rs->value(QStringLiteral("FCheckAmount")))
                    .arg("amountFor", rs->value(QStringLiteral("FCheckAmountFor")))
                    .arg("qty", rs->value(QStringLiteral("FCheckQty")))
                    .arg("init", ledger::integer(*rs, "FInitBalance"))
                    .arg("diff", ledger::integer(*rs, "FRateDiffAmount"))
                    .str();
            QString error;
            if (!kit.execute(sql, error)) {
                errorText = error;
                return false;
            }
            ++count;
        }
        return true;
    } catch (const std::exception &e) {
        errorText = ErrorDescription(e);
        return false;
    }
}

int clsEboGL::UpgradeTransaction(StepKit &kit) {
    try {
        int balances = 0, checks = 0;
        QString errorText;
        if (!UpgradeTransInitBalance(kit, balances, errorText) || !UpgradeTransCheckInfo(kit, checks, errorText)) {
            WriteUpgradeLog(kProject, QStringLiteral("错误：\r\n") + errorText, QString(), 2);
            return 2;
        }
        if (balances + checks > 0) {
            QString error;
            if (!kit.execute(QStringLiteral("IF NOT EXISTS(SELECT 1 FROM T_SystemProfile WHERE FKey = "
                                            "'TransCheckStart' AND FCategory = 'GL')\r\n"
                                            " INSERT INTO T_SystemProfile (FCategory, FKey, FValue, FReadonly, FLevel) "
                                            "VALUES ('GL', 'TransCheckStart', '1', 0, 2)\r\n"
                                            "ELSE\r\n"
                                            " UPDATE T_SystemProfile SET FValue = '1' WHERE FKey = 'TransCheckStart' "
                                            "AND FCategory = 'GL'"),
                             error))
                throw PnwError(-1, QString(),
                               QStringLiteral("更新系统参数[启用业务核销]时发生错误。原因：") + error +
                                   QStringLiteral("\r\n"));
        }
        WriteUpgradeLog(kProject,
                        QStringLiteral("往来业务余额数目：") + QString::number(balances) +
                            QStringLiteral("\r\n往来业务核算记录数：") + QString::number(checks),
                        QString(), 0);

        // What could not be converted, or converted without its amount.
        auto unmapped = kit.query(QStringLiteral(
            "SELECT DISTINCT T.FAcctID, ISNULL(A.FAcctName, '') AS FAcctName, T.FWhat FROM (\r\n"
            " SELECT T1.FAcctID, T1.FCyID, 'GLTrans' AS FWhat FROM AIS_GLTrans T1\r\n"
            " UNION ALL SELECT T1.FAcctID, T1.FCyID, 'GLVch' AS FWhat FROM AIS_GLVch T1 WHERE T1.FDue = 1) T\r\n"
            " LEFT JOIN AIS_GLAcct A ON A.FAcctID = T.FAcctID LEFT JOIN AIS_GLCy C ON C.FCyID = T.FCyID\r\n"
            " WHERE A.FZ8InterID IS NULL OR C.FZ8InterID IS NULL\r\n"
            " ORDER BY T.FAcctID"));
        const int noRate = kit.scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM T_TransInitBalance WHERE "
                                                     "FBeginBalance IS NULL) + (SELECT COUNT(*) FROM T_TransCheckInfo "
                                                     "WHERE FCheckAmountFor IS NULL OR FCheckAmount IS NULL)"))
                               .toInt();
        const bool anyUnmapped = unmapped && !unmapped->Eof();
        if (!anyUnmapped && noRate == 0) return 0;
        QStringList lines;
        clsDetailLogInfo detail;
        detail.setTitle(QStringLiteral("未升级的往来业务科目"));
        for (const char *caption : {"科目代码", "科目名称", "来源"}) detail.InsertCaption(QString::fromUtf8(caption));
        if (anyUnmapped) {
            lines << QStringLiteral("部分往来业务的科目或币别无法对应，这些记录未升级。");
            for (; !unmapped->Eof(); unmapped->MoveNext()) {
                PnwList row;
                AddValueCell(row, ledger::text(*unmapped, "FAcctID"));
                AddValueCell(row, ledger::text(*unmapped, "FAcctName"));
                AddValueCell(row, ledger::text(*unmapped, "FWhat") == QStringLiteral("GLTrans")
                                      ? QStringLiteral("往来业务历史余额")
                                      : QStringLiteral("到期凭证分录"));
                detail.InsertSingleEntry(row);
            }
        }
        if (noRate > 0)
            lines << QStringLiteral("汇率为零或为空、无法折算金额的往来业务记录数：") + QString::number(noRate);
        WriteUpgradeLog(kProject, lines.join(QStringLiteral("\r\n")),
                        anyUnmapped ? QStringLiteral("详细日志") : QString(), 1,
                        anyUnmapped ? detail.PackDetailLog() : PnwList());
        return 1;
    } catch (const std::exception &e) {
        WriteUpgradeLog(kProject, QStringLiteral("发生错误：\r\n") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
