// Profit-and-loss actuals and the period-end exchange-rate adjustment
// history.
#include <QStringList>
#include <QVariant>

#include "foundation/ErrorText.h"
#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwError.h"
#include "platform/ado/Recordset.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/common/UpgradeGlobals.h"
#include "upgrade/ledger/LedgerLookups.h"
#include "upgrade/ledger/LedgerSql.h"
#include "upgrade/ledger/clsEboGL.h"

namespace {

const QString kReadFailure = QStringLiteral("获取源账套数据错误。");

}  // namespace

int clsEboGL::UpgradeProfitAndLoss(StepKit &kit) {
    const QString project = QStringLiteral("损益类科目实际发生额");
    try {
        auto closed = kit.query(QStringLiteral(
            "SELECT ISNULL(FValue, 0) AS FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'InitClosed'"));
        if (!closed) throw PnwError(-1, QString(), kReadFailure);
        if (closed->Eof()) throw PnwError(3021, QString(), QStringLiteral("没有当前记录。"));
        int count = 0;
        QString errorText;
        // An account set that is not initialised takes no actuals.
        if (closed->value(QStringLiteral("FValue")).toString().toInt() != 0) {
            // The base-currency partner is joined on the same keys, NULLs
            // included.
            auto rs = kit.query(QStringLiteral(
                "SELECT T1.FPeriod, T1.FAcctID, ISNULL(T1.FClsID, 0) AS FClsID, ISNULL(T1.FObjID, '') AS FObjID, "
                "T1.FCyID,\r\n"
                " ISNULL(T1.FAmt, 0.00) AS FAmt, ISNULL(T1.FYtd, 0.00) AS FYtd,\r\n"
                " CASE WHEN T2.FAcctID IS NULL THEN ISNULL(T1.FAmt, 0.00) ELSE ISNULL(T2.FAmt, 0.00) END AS "
                "FAmt_Base,\r\n"
                " CASE WHEN T2.FAcctID IS NULL THEN ISNULL(T1.FYtd, 0.00) ELSE ISNULL(T2.FYtd, 0.00) END AS "
                "FYtd_Base,\r\n"
                " ISNULL(T3.FZ8InterID, 0) AS FCurrencyID, ISNULL(T4.FZ8InterID, 0) AS FAccountID\r\n"
                " FROM AIS_GLPnl T1\r\n"
                " LEFT JOIN AIS_GLPnl T2 ON T2.FBase = 1 AND T2.FPeriod = T1.FPeriod AND T2.FAcctID = T1.FAcctID AND "
                "ISNULL(T2.FClsID, 0) = ISNULL(T1.FClsID, 0) AND ISNULL(T2.FObjID, '') = ISNULL(T1.FObjID, '') AND "
                "T2.FCyID = T1.FCyID\r\n"
                " LEFT JOIN AIS_GLCy T3 ON T3.FCyID = T1.FCyID\r\n"
                " LEFT JOIN AIS_GLAcct T4 ON T4.FAcctID = T1.FAcctID\r\n"
                " WHERE T1.FBase = 0\r\n"
                " ORDER BY T1.FPeriod, T1.FAcctID, T1.FClsID, T1.FObjID, T1.FCyID"));
            if (!rs) throw PnwError(-1, QString(), kReadFailure);
            const int year = ledger::sourceCurrentYear(kit);
            const int total = rs->RecordCount();
            ledger::Lookups lookups(kit);
            QString batch;
            int row = 0;
            for (; !rs->Eof(); rs->MoveNext(), ++row) {
                const int itemClass = ledger::integer(*rs, "FClsID");
                const QString item = ledger::text(*rs, "FObjID");
                int detailID = 0;
                if (itemClass > 0 && !item.isEmpty()) {
                    QString message;
                    detailID = lookups.singleItemDetail(itemClass, item, ledger::text(*rs, "FAcctID"), message);
                    if (detailID == -1) {
                        errorText = QStringLiteral("原因：") + message;
                        break;
                    }
                }
                batch += QStringLiteral("INSERT INTO T_ProfitAndLoss (FYear, FPeriod, FAccountID, FDetailID, "
                                        "FCurrencyID, FAmountFor, FYtdAmountFor, FAmount, FYtdAmount) VALUES(") +
                         QStringList{QString::number(year), QString::number(ledger::integer(*rs, "FPeriod")),
                                     QString::number(ledger::integer(*rs, "FAccountID")), QString::number(detailID),
                                     QString::number(ledger::integer(*rs, "FCurrencyID"))}
                             .join(QStringLiteral(", ")) +
                         QStringLiteral(",\r\n") +
                         QStringList{ledger::num(rs->value(QStringLiteral("FAmt"))),
                                     ledger::num(rs->value(QStringLiteral("FYtd"))),
                                     ledger::num(rs->value(QStringLiteral("FAmt_Base"))),
                                     ledger::num(rs->value(QStringLiteral("FYtd_Base")))}
                             .join(QStringLiteral(", ")) +
                         QStringLiteral(")\r\n");
                // The first row alone, then ten rows a batch.
                if (count % 10 == 0 || row == total - 1) {
                    kit.caption(QStringLiteral("升级损益类科目实际发生额 - 记录数：") + QString::number(count) +
                                QStringLiteral(" / ") + QString::number(total));
                    QString error;
                    if (!kit.execute(batch, error)) {
                        errorText = QStringLiteral("用于插入损益类科目实际发生额表的SQL语句错误：") + error +
                                    QStringLiteral("\r\n") + batch +
                                    QStringLiteral("\r\n");
                        break;
                    }
                    batch.clear();
                }
                ++count;
                LetEventsRun();
            }
        }
        if (!errorText.isEmpty()) {
            WriteUpgradeLog(project, QStringLiteral("错误：") + errorText, QString(), 2);
            return 2;
        }
        WriteUpgradeLog(project, QStringLiteral("损益类科目实际发生额记录数目：") + QString::number(count), QString(),
                        0);
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}

int clsEboGL::UpgradeExRateAdjustment(StepKit &kit) {
    const QString project = QStringLiteral("期末调汇");
    try {
        QString error;
        if (!kit.execute(QStringLiteral("IF NOT EXISTS(SELECT 1 FROM sysobjects T1 INNER JOIN syscolumns T2 ON T1.ID = "
                                        "T2.ID WHERE T1.Name = 'AIS_GLRateAdjHist' AND T2.Name = 'FInterID')\r\n"
                                        " ALTER TABLE AIS_GLRateAdjHist ADD FInterID INT IDENTITY (1, 1)"),
                         error))
            throw PnwError(-1, QStringLiteral("clsEboGL.UpgradeExRateAdjustment"),
                           QStringLiteral("添加FInterID字段时发生错误。原因：") + error);
        // The latest record per period, account, item and currency; a NULL
        // in a key is a value of its own, not a record left out.
        auto rs = kit.query(QStringLiteral(
            "SELECT T1.FPeriod, T1.FGroup, T1.FAcctID, ISNULL(T1.FClsID, 0) AS FClsID, ISNULL(T1.FObjID, '') AS "
            "FObjID, T1.FCyID,\r\n"
            " ISNULL(T2.FZ8InterID, 0) AS FZ8InterID_Cy, ISNULL(T3.FZ8InterID, 0) AS FZ8InterID_Acct,\r\n"
            " ISNULL(T1.FBalFor, 0.00) AS FBalFor, ISNULL(T1.FBalBase, 0.00) AS FBalBase, ISNULL(T1.FBalAdj, 0.00) AS "
            "FBalAdj,\r\n"
            " ISNULL(T1.FBegRate, 0.00) AS FBegRate, ISNULL(T1.FEndRate, 0.00) AS FEndRate\r\n"
            " FROM AIS_GLRateAdjHist T1\r\n"
            " INNER JOIN AIS_GLCy T2 ON T1.FCyID = T2.FCyID\r\n"
            " INNER JOIN AIS_GLAcct T3 ON T1.FAcctID = T3.FAcctID\r\n"
            " INNER JOIN (SELECT MAX(N.FInterID) AS FInterID FROM (SELECT FInterID, FPeriod, FAcctID, ISNULL(FClsID, "
            "0) AS FClsID, ISNULL(FObjID, '') AS FObjID, FCyID FROM AIS_GLRateAdjHist) N\r\n"
            "  GROUP BY N.FPeriod, N.FAcctID, N.FClsID, N.FObjID, N.FCyID) L ON L.FInterID = T1.FInterID\r\n"
            " ORDER BY T1.FPeriod, T1.FGroup, T1.FAcctID, T1.FClsID, T1.FObjID, T1.FCyID"));
        if (!rs) throw PnwError(-1, QString(), kReadFailure);
        const int year = ledger::sourceStartYear(kit);
        ledger::Lookups lookups(kit);
        int count = 0;
        QString errorText;
        for (; !rs->Eof(); rs->MoveNext()) {
            const int itemClass = ledger::integer(*rs, "FClsID");
            const QString item = ledger::text(*rs, "FObjID");
            int detailID = 0;
            if (itemClass > 0 && !item.isEmpty()) {
                if (g_RateAdjustSkipList.Exists(QString::number(itemClass) + QLatin1Char(' ') + item)) continue;
                QString message;
                detailID = lookups.singleItemDetail(itemClass, item, ledger::text(*rs, "FAcctID"), message);
                if (detailID == -1) {
                    errorText = QStringLiteral("原因：") + message;
                    break;
                }
            }
            const QString currency = QString::number(ledger::integer(*rs, "FZ8InterID_Cy"));
            const QString period = QString::number(ledger::integer(*rs, "FPeriod"));
            const double balanceBase = ledger::real(*rs, "FBalBase");
            // One rate row per currency and period, however many accounts
            // were adjusted in it.
            const QString batch =
                QStringLiteral(
                    "INSERT INTO T_RateAdjust (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, "
                    "FExchangeRate, FEndBalanceFor, FEndBalance, FDifference, FExchangeRateBefore) VALUES(") +
                QStringList{QString::number(year),
                            period,
                            QString::number(ledger::integer(*rs, "FZ8InterID_Acct")),
                            QString::number(detailID),
                            currency,
                            ledger::num(rs->value(QStringLiteral("FEndRate"))),
                            ledger::num(rs->value(QStringLiteral("FBalFor"))),
                            ledger::num(balanceBase),
                            ledger::num(ledger::real(*rs, "FBalAdj") - balanceBase),
                            ledger::num(rs->value(QStringLiteral("FBegRate")))}
                    .join(QStringLiteral(", ")) +
                QStringLiteral(")\r\n") +
                SqlText("IF NOT EXISTS(SELECT 1 FROM T_CurrencyRate WHERE FCurrencyID = {cy} AND FYear = {year} AND "
                        "FPeriod = {period})\r\n"
                        " INSERT INTO T_CurrencyRate (FAdjustID, FCurrencyID, FYear, FPeriod, FCurRate, FAdjustRate, "
                        "FSource) VALUES(0, {cy}, {year}, {period}, {cur}, {adjust}, 0)\r\n")
                    .raw("cy", currency)
                    .arg("year", year)
                    .raw("period", period)
                    .raw("cur", ledger::num(rs->value(QStringLiteral("FBegRate"))))
                    .raw("adjust", ledger::num(rs->value(QStringLiteral("FEndRate"))))
                    .str();
            if (!kit.execute(batch, error)) {
                errorText = QStringLiteral("用于插入期末调汇表的SQL语句错误：") + error + QStringLiteral("\r\n") + batch +
                            QStringLiteral("\r\n");
                break;
            }
            ++count;
        }
        if (!errorText.isEmpty()) {
            WriteUpgradeLog(project, QStringLiteral("错误：") + errorText, QString(), 2);
            return 2;
        }
        WriteUpgradeLog(project, QStringLiteral("期末调汇记录数目：") + QString::number(count), QString(), 0);
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
