// What a target holds after a whole upgrade run, checked against the staged
// source: one table of invariants, each a query on the target and either the
// value an independent query on the staging copies gives or a count of
// disagreeing rows that must be 0. Shared by the headless runs and the run
// through the wizard's window; the checks need only a way to read one value
// from the target.
#pragma once

#include <functional>

#include <QString>
#include <gtest/gtest.h>

namespace e2e {

// What an upgrade of balances only does with an invariant of the full run.
enum class InBalancesOnly {
    Holds,    // checked as in the full run
    Skipped,  // the full run's history is not kept (earlier periods)
    NoRows,   // nothing is converted: the target query gives 0
    Only,     // checked in an upgrade of balances only, not in the full run
};

struct Invariant {
    const char *what;
    // Fixed assets are converted for the Standard edition only, and the mini
    // samples hold no cashier journals.
    bool standardOnly;
    InBalancesOnly balancesOnly;
    const char *targetSql;
    const char *stagingSql;  // nullptr: the target query counts disagreements, 0 expected
};

// The cashier's start, worked out from the source's options as a derived
// table p (one row, FStart): the source's start period, or period 1 of the
// current year when the set started in an earlier year. Bank lines dated
// before it are history, except those still outstanding then (neither
// reconciliation flag set).
#define PNW_E2E_CASHIER_START                                                                                          \
    "(SELECT CASE WHEN FStartYear = FCurrYear THEN CONVERT(datetime, CAST(FCurrYear AS varchar(4)) + '-' + "           \
    "CAST(FStartPeriod AS varchar(2)) + '-01') ELSE CONVERT(datetime, CAST(FCurrYear AS varchar(4)) + '-01-01') "      \
    "END AS FStart FROM AIS_GLPref) p"
#define PNW_E2E_CASHIER_LINE_KEPT "(x.FDate >= p.FStart OR (x.FChecked = 0 AND x.FAutoChecked = 0))"
// The source lines (x) of a cashier account (a) in its currency (c) still
// outstanding, and those of them dated before the start.
#define PNW_E2E_OUTSTANDING(table)                                                                                     \
    " FROM " table " x WHERE x.FAcctID = REPLACE(a.FKmdm, '.', '') AND x.FCyID = c.FNumber AND x.FChecked = 0 "        \
    "AND x.FAutoChecked = 0"
#define PNW_E2E_OUTSTANDING_BEFORE(table) PNW_E2E_OUTSTANDING(table) " AND x.FDate < p.FStart"

// The source's vouchers are the runs of AIS_GLVch rows with one period,
// group and number (deleted vouchers are dropped at staging); a group's
// trailing blanks count ('' and '   ' are two groups), which the server's
// comparison ignores unless a mark follows them. Balances are
// compared on the accounts' own rows (no detail, base currency); the source's
// base-currency figure is its FBase row or its RMB row.
// clang-format off
inline const Invariant kInvariants[] = {
    {"vouchers", false, InBalancesOnly::NoRows, "SELECT COUNT(*) FROM t_Voucher",
     "SELECT COUNT(*) FROM (SELECT FPeriod, FGroup + N'.' AS FKey, FNum FROM AIS_GLVch GROUP BY FPeriod, FGroup + "
     "N'.', FNum) T"},
    {"voucher entries", false, InBalancesOnly::NoRows, "SELECT COUNT(*) FROM t_VoucherEntry", "SELECT COUNT(*) FROM AIS_GLVch"},
    {"every voucher balances", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_Voucher v WHERE v.FDebitTotal <> v.FCreditTotal OR v.FDebitTotal <> (SELECT "
     "SUM(e.FAmount) FROM t_VoucherEntry e WHERE e.FVoucherID = v.FVoucherID AND e.FDC = 1) OR v.FCreditTotal <> "
     "(SELECT SUM(e.FAmount) FROM t_VoucherEntry e WHERE e.FVoucherID = v.FVoucherID AND e.FDC = 0)",
     nullptr},
    {"every period's trial balance balances", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM (SELECT B.FPeriod FROM t_Balance B INNER JOIN t_Account A ON A.FAccountID = B.FAccountID "
     "WHERE A.FDetail = 1 AND B.FDetailID = 0 AND B.FCurrencyID = 0 GROUP BY B.FPeriod HAVING SUM(B.FBeginBalance) "
     "<> 0 OR SUM(B.FEndBalance) <> 0 OR SUM(B.FDebit) <> SUM(B.FCredit)) T",
     nullptr},
    {"closing balances of every period", false, InBalancesOnly::Skipped,
     "SELECT COUNT(*) FROM (SELECT A.FZ8InterID AS FAccountID, B.FPeriod, SUM(B.FEndBal) AS FEnd FROM AIS_GLBal B "
     "INNER JOIN AIS_GLAcct A ON A.FAcctID = B.FAcctID WHERE B.FClsID = 0 AND (B.FBase <> 0 OR B.FCyID = 'RMB') "
     "GROUP BY A.FZ8InterID, B.FPeriod) S LEFT JOIN t_Balance T ON T.FAccountID = S.FAccountID AND T.FPeriod = "
     "S.FPeriod AND T.FDetailID = 0 AND T.FCurrencyID = 0 WHERE ISNULL(T.FEndBalance, 0) <> S.FEnd",
     nullptr},
    {"closing balances of the current period", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM (SELECT A.FZ8InterID AS FAccountID, B.FPeriod, SUM(B.FEndBal) AS FEnd FROM AIS_GLBal B "
     "INNER JOIN AIS_GLAcct A ON A.FAcctID = B.FAcctID INNER JOIN AIS_GLPref P ON P.FCurrPeriod = B.FPeriod WHERE "
     "B.FClsID = 0 AND (B.FBase <> 0 OR B.FCyID = 'RMB') GROUP BY A.FZ8InterID, B.FPeriod) S LEFT JOIN t_Balance T "
     "ON T.FAccountID = S.FAccountID AND T.FPeriod = S.FPeriod AND T.FDetailID = 0 AND T.FCurrencyID = 0 WHERE "
     "ISNULL(T.FEndBalance, 0) <> S.FEnd",
     nullptr},
    {"accounts with a current-period balance", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_Balance T INNER JOIN AIS_GLPref P ON P.FCurrPeriod = T.FPeriod WHERE T.FDetailID = 0 "
     "AND T.FCurrencyID = 0",
     "SELECT COUNT(*) FROM (SELECT DISTINCT B.FAcctID FROM AIS_GLBal B INNER JOIN AIS_GLPref P ON P.FCurrPeriod = "
     "B.FPeriod WHERE B.FClsID = 0 AND (B.FBase <> 0 OR B.FCyID = 'RMB')) T"},
    // The source's quantity balances leave its "no quantity" mark (-1) out.
    {"quantity balances of every period", false, InBalancesOnly::Skipped,
     "SELECT COUNT(*) FROM AIS_GLQtyBal S INNER JOIN AIS_GLAcct A ON A.FAcctID = S.FAcctID LEFT JOIN "
     "t_QuantityBalance Q ON Q.FAccountID = A.FZ8InterID AND Q.FPeriod = S.FPeriod AND Q.FDetailID = 0 AND "
     "Q.FCurrencyID = 0 WHERE S.FClsID = 0 AND (ISNULL(Q.FBeginQty, 0) <> S.FBegQty OR ISNULL(Q.FDebitQty, 0) <> "
     "S.FDebit OR ISNULL(Q.FCreditQty, 0) <> S.FCredit OR ISNULL(Q.FEndQty, 0) <> S.FEndQty)",
     nullptr},
    {"quantity balances of the current period", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM AIS_GLQtyBal S INNER JOIN AIS_GLAcct A ON A.FAcctID = S.FAcctID INNER JOIN AIS_GLPref P "
     "ON P.FCurrPeriod = S.FPeriod LEFT JOIN t_QuantityBalance Q ON Q.FAccountID = A.FZ8InterID AND Q.FPeriod = "
     "S.FPeriod AND Q.FDetailID = 0 AND Q.FCurrencyID = 0 WHERE S.FClsID = 0 AND (ISNULL(Q.FEndQty, 0) <> S.FEndQty "
     "OR ISNULL(Q.FYtdDebitQty, 0) <> S.FYtdDebit OR ISNULL(Q.FYtdCreditQty, 0) <> S.FYtdCredit)",
     nullptr},
    {"every department and employee has its item", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM AIS_GLObj o LEFT JOIN T_Item i ON i.FItemID = o.FZ8InterID AND i.FItemClassID = o.FClsID "
     "WHERE o.FClsID IN (2, 3) AND o.FObjID <> '*' AND i.FItemID IS NULL",
     nullptr},
    {"every employee with a department is in a detail department", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM AIS_GLObj o INNER JOIN AIS_GLEmp b ON b.FObjID = o.FObjID LEFT JOIN t_Emp a ON "
     "a.FItemID = o.FZ8InterID LEFT JOIN t_Item d ON d.FItemID = a.FDepartmentID AND d.FItemClassID = 2 AND "
     "d.FDetail = 1 WHERE o.FClsID = 3 AND o.FObjID <> '*' AND ISNULL(b.FDeptObjID, '') <> '' AND d.FItemID IS NULL",
     nullptr},
    {"every business unit has its customer or supplier", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM AIS_GLObj WHERE FClsID = 1 AND FObjID <> '*' AND ISNULL(FZ8InterID, 0) = 0 AND "
     "ISNULL(FZ8InterID_2, 0) = 0",
     nullptr},
    {"every business unit below the top sits under its parent", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM T_Item i LEFT JOIN T_Item p ON p.FItemID = i.FParentID AND p.FItemClassID = "
     "i.FItemClassID WHERE i.FItemClassID IN (1, 8) AND i.FLevel > 1 AND (p.FItemID IS NULL OR p.FLevel <> i.FLevel "
     "- 1)",
     nullptr},
    {"custom-class properties", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_ItemPropDesc WHERE FItemClassID > 3000",
     "SELECT COUNT(*) FROM AIS_GLCls c INNER JOIN sysobjects o ON o.name = 'AIS_' + c.FObjTableName INNER JOIN "
     "syscolumns s ON s.id = o.id WHERE c.FClsID > 3 AND s.name NOT IN ('FClsID', 'FObjID', 'FZ8InterID') AND "
     "s.xtype <> 34"},
    {"fixed-asset cards", true, InBalancesOnly::Holds,
     "SELECT COUNT(DISTINCT FAssetID) FROM t_FABalance WHERE FPeriod = (SELECT FCurrPeriod FROM AIS_GLPref)",
     "SELECT COUNT(*) FROM AIS_FABal WHERE FPeriod = (SELECT FCurrPeriod FROM AIS_GLPref)"},
    {"fixed-asset original value and depreciation per card", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM AIS_FABal s LEFT JOIN t_FABalance b ON b.FAssetID = s.FZ8InterID AND b.FPeriod = "
     "s.FPeriod WHERE s.FPeriod = (SELECT FCurrPeriod FROM AIS_GLPref) AND (ISNULL(b.FOrgValP, -1) <> s.FOrgVal OR "
     "ISNULL(b.FAccumDeprP, -1) <> s.FAccumDepr)",
     nullptr},
    // The cards of every period (the card state of the period's last
    // alteration, one per balance row) make the ledger's closing balance of
    // each fixed-asset account.
    {"fixed-asset card totals per account and period", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM (SELECT b.FPeriod, c.FAssetAcctID, SUM(c.FOrgVal) AS FCards FROM t_FABalance b INNER JOIN "
     "t_FABalCard c ON c.FBalID = b.FBalID WHERE b.FPeriod > 0 GROUP BY b.FPeriod, c.FAssetAcctID) K LEFT JOIN (SELECT "
     "A.FZ8InterID AS FAccountID, B.FPeriod, SUM(B.FEndBal) AS FEnd FROM AIS_GLBal B INNER JOIN AIS_GLAcct A ON "
     "A.FAcctID = B.FAcctID WHERE B.FClsID = 0 AND (B.FBase <> 0 OR B.FCyID = 'RMB') GROUP BY A.FZ8InterID, "
     "B.FPeriod) S ON S.FAccountID = K.FAssetAcctID AND S.FPeriod = K.FPeriod WHERE ISNULL(S.FEnd, 0) <> K.FCards",
     nullptr},
    {"one balance card per balance row", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_FABalance b WHERE (SELECT COUNT(*) FROM t_FABalCard c WHERE c.FBalID = b.FBalID) <> 1",
     nullptr},
    // A combination that names a department names the row's own.
    {"balance expense rows: department and combination agree", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_FABalExpense x INNER JOIN t_ItemDetail d ON d.FDetailID = x.FDetailID WHERE d.F2 <> 0 "
     "AND d.F2 <> ISNULL(x.FDeptID, -1)",
     nullptr},
    {"card expense rows: department and combination agree, one row per account and department", true,
     InBalancesOnly::Holds,
     "SELECT (SELECT COUNT(*) FROM t_FAExpense e INNER JOIN t_ItemDetail d ON d.FDetailID = e.FDetailID WHERE d.F2 "
     "<> 0 AND d.F2 <> ISNULL(e.FDeptID, -1)) + (SELECT COUNT(*) FROM (SELECT FAlterID FROM t_FAExpense GROUP BY "
     "FAlterID, FAcctID, FDeptID HAVING COUNT(*) > 1) T)",
     nullptr},
    // Balances only leaves an expense row without its department's row
    // without amount (the departments are spread afterwards).
    {"every balance row's expense allocation adds up to its depreciation", true, InBalancesOnly::Skipped,
     "SELECT COUNT(*) FROM t_FABalance b WHERE b.FDepr <> 0 AND ABS(b.FDepr - ISNULL((SELECT SUM(x.FAmount) FROM "
     "t_FABalExpense x WHERE x.FBalID = b.FBalID), 0)) > 0.01",
     nullptr},
    // The clearing period counts the cleared value in the year's decrease,
    // as the source's own year-to-date figure does.
    {"fixed-asset year-to-date decrease of a clearing period", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_FABalance b INNER JOIN AIS_FABal s ON s.FZ8InterID = b.FAssetID AND s.FPeriod = "
     "b.FPeriod WHERE b.FCleared = 1 AND b.FYtdOrgValDec <> s.FCreditOrg",
     nullptr},
    // A card's workload of a period reaches its balance row of that period.
    {"fixed-asset workloads", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_FABalance b INNER JOIN AIS_FAJob j ON j.FZ8InterID = b.FAssetID AND j.FPeriod = "
     "b.FPeriod WHERE b.FPeriod > 0 AND ISNULL(b.FWorkload, -1) <> j.FJob",
     nullptr},
    {"payroll rows per employee and period", false, InBalancesOnly::Holds, "SELECT COUNT(*) FROM t_PANewData",
     "SELECT COUNT(*) FROM (SELECT FEmpID, FPeriod FROM AIS_PAData GROUP BY FEmpID, FPeriod) T"},
    {"payroll gross and net pay per employee", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM (SELECT d.FEmpID, SUM(CASE WHEN i.FItemName = '应发合计' THEN CAST(d.FData AS float) ELSE "
     "0 END) AS FGross, SUM(CASE WHEN i.FItemName = '实发合计' THEN CAST(d.FData AS float) ELSE 0 END) AS FNet FROM "
     "AIS_PAData d INNER JOIN AIS_PAItem i ON i.FItemID = d.FItemID GROUP BY d.FEmpID) S LEFT JOIN (SELECT "
     "e.FNumber, SUM(a.FPA1001) AS FGross, SUM(a.FPA1003) AS FNet FROM t_PANewData a INNER JOIN t_PA_Item e ON "
     "e.FItemID = a.FEmpID AND e.FItemClassID = 3 GROUP BY e.FNumber) T ON T.FNumber = S.FEmpID WHERE T.FNumber IS "
     "NULL OR ABS(T.FGross - S.FGross) > 0.005 OR ABS(T.FNet - S.FNet) > 0.005",
     nullptr},
    {"pay history rows belong to employees", false, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM t_PANewData a LEFT JOIN t_PA_Item b ON b.FItemID = a.FEmpID AND b.FItemClassID = 3 WHERE "
     "b.FItemID IS NULL",
     nullptr},
    // Balances only folds the journals into the openings: no cash line
    // stays, and of the bank lines only the current period's outstanding.
    {"cash journal rows", true, InBalancesOnly::NoRows, "SELECT COUNT(*) FROM CN_XJRJZ", "SELECT COUNT(*) FROM AIS_TRCashJnl"},
    {"bank journal rows", true, InBalancesOnly::Skipped, "SELECT COUNT(*) FROM CN_YHRJZ WHERE FJz = 0",
     "SELECT COUNT(*) FROM AIS_TRBankJnl x INNER JOIN " PNW_E2E_CASHIER_START " ON 1 = 1 WHERE " PNW_E2E_CASHIER_LINE_KEPT},
    {"bank statement rows", true, InBalancesOnly::Skipped, "SELECT COUNT(*) FROM CN_YHDZD WHERE FJz = 0",
     "SELECT COUNT(*) FROM AIS_TRBankChkNote x INNER JOIN " PNW_E2E_CASHIER_START " ON 1 = 1 WHERE "
     PNW_E2E_CASHIER_LINE_KEPT},
    {"cashier accounts with an opening", true, InBalancesOnly::Holds,
     "SELECT COUNT(*) FROM cn_Account a INNER JOIN t_Currency c ON c.FCurrencyID = a.FBbID INNER JOIN "
     "AIS_TRBankJnlBal j ON j.FAcctID = REPLACE(a.FKmdm, '.', '') AND j.FCyID = c.FNumber AND j.FPeriod = (SELECT "
     "MIN(FPeriod) FROM AIS_TRBankJnlBal)",
     "SELECT COUNT(*) FROM AIS_TRBankJnlBal WHERE FPeriod = (SELECT MIN(FPeriod) FROM AIS_TRBankJnlBal)"},
    // The journal's opening in its currency and in base currency (the
    // source's own, not today's rate) and the statement's opening.
    {"cashier opening balances per account", true, InBalancesOnly::Skipped,
     "SELECT COUNT(*) FROM cn_Account a INNER JOIN t_Currency c ON c.FCurrencyID = a.FBbID INNER JOIN "
     "AIS_TRBankJnlBal j ON j.FAcctID = REPLACE(a.FKmdm, '.', '') AND j.FCyID = c.FNumber AND j.FPeriod = (SELECT "
     "MIN(FPeriod) FROM AIS_TRBankJnlBal) LEFT JOIN AIS_TRBankChkBal s ON s.FAcctID = j.FAcctID AND s.FCyID = "
     "j.FCyID AND s.FPeriod = j.FPeriod LEFT JOIN Cn_Lcye l ON l.FKmID = a.FID AND l.FType IN (1, 2) WHERE a.FYe <> "
     "j.FBegBal OR a.FYeB <> j.FBegBalBase OR a.FYhdzdYe <> ISNULL(s.FBegBal, 0) OR ISNULL(l.FYeB, j.FBegBalBase) "
     "<> j.FBegBalBase",
     nullptr},
    // Each side's opening adjusted by the other side's items still
    // outstanding at the start.
    {"cashier adjusted balances per account", true, InBalancesOnly::Skipped,
     "SELECT COUNT(*) FROM cn_Account a INNER JOIN t_Currency c ON c.FCurrencyID = a.FBbID INNER JOIN "
     PNW_E2E_CASHIER_START " ON 1 = 1 WHERE a.FYhrjzTzhYe <> a.FYe + ISNULL((SELECT SUM(CASE WHEN x.FDC = 'C' THEN "
     "x.FAmount ELSE -x.FAmount END)" PNW_E2E_OUTSTANDING_BEFORE("AIS_TRBankChkNote") "), 0) OR a.FYhdzdTzhYe <> "
     "a.FYhdzdYe + ISNULL((SELECT SUM(x.FDebit - x.FCredit)" PNW_E2E_OUTSTANDING_BEFORE("AIS_TRBankJnl") "), 0)",
     nullptr},
    // Balances only: the openings are the balances of the current period
    // (in base currency within a unit: the source rounds each line's base
    // amount, the fold works them out at the line's rate), and each side is
    // adjusted by the other side's items still outstanding (a cash account
    // has no adjusted balances).
    {"cashier balances folded into the openings", true, InBalancesOnly::Only,
     "SELECT COUNT(*) FROM cn_Account a INNER JOIN t_Currency c ON c.FCurrencyID = a.FBbID INNER JOIN "
     "AIS_TRBankJnlBal j ON j.FAcctID = REPLACE(a.FKmdm, '.', '') AND j.FCyID = c.FNumber AND j.FPeriod = (SELECT "
     "FCurrPeriod FROM AIS_GLPref) LEFT JOIN AIS_TRBankChkBal s ON s.FAcctID = j.FAcctID AND s.FCyID = j.FCyID AND "
     "s.FPeriod = j.FPeriod LEFT JOIN Cn_Lcye l ON l.FKmID = a.FID AND l.FType IN (1, 2) WHERE a.FYe <> j.FBegBal "
     "OR a.FYhdzdYe <> ISNULL(s.FBegBal, 0) OR ABS(a.FYeB - j.FBegBalBase) > 1 OR ISNULL(l.FYeB, a.FYeB) <> "
     "a.FYeB",
     nullptr},
    {"cashier adjusted balances after folding", true, InBalancesOnly::Only,
     "SELECT COUNT(*) FROM cn_Account a INNER JOIN t_Currency c ON c.FCurrencyID = a.FBbID WHERE a.FYhrjzTzhYe <> "
     "CASE WHEN a.FIsCash = 1 THEN 0 ELSE a.FYe + ISNULL((SELECT SUM(CASE WHEN x.FDC = 'C' THEN x.FAmount ELSE "
     "-x.FAmount END)" PNW_E2E_OUTSTANDING("AIS_TRBankChkNote") "), 0) END OR a.FYhdzdTzhYe <> CASE WHEN a.FIsCash = "
     "1 THEN 0 ELSE a.FYhdzdYe + ISNULL((SELECT SUM(x.FDebit - x.FCredit)" PNW_E2E_OUTSTANDING("AIS_TRBankJnl") "), "
     "0) END",
     nullptr},
};
#undef PNW_E2E_OUTSTANDING
#undef PNW_E2E_OUTSTANDING_BEFORE
#undef PNW_E2E_CASHIER_LINE_KEPT
#undef PNW_E2E_CASHIER_START
// clang-format on

// Every source pay value stands in the pay history row of its employee and
// period, in the column of its item (found by name), as the source holds it.
inline void ExpectPayHistoryValues(const std::function<QString(const QString &sql)> &value) {
    const QString next = QStringLiteral(
        "SELECT MIN(c.FEmpField) FROM t_PAItem c INNER JOIN AIS_PAItem i ON i.FItemName = c.FItemName WHERE "
        "c.FEmpField > '%1'");
    int columns = 0;
    for (QString column = value(next.arg(QString())); !column.isEmpty() && column != QStringLiteral("<none>");
         column = value(next.arg(column))) {
        ++columns;
        EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM AIS_PAData d INNER JOIN AIS_PAItem i ON i.FItemID = "
                                       "d.FItemID INNER JOIN t_PAItem c ON c.FItemName = i.FItemName AND c.FEmpField "
                                       "= '%1' LEFT JOIN t_PA_Item b ON b.FNumber = d.FEmpID AND b.FItemClassID = 3 "
                                       "LEFT JOIN t_PANewData a ON a.FEmpID = b.FItemID AND a.FPeriod = d.FPeriod "
                                       "WHERE a.FEmpID IS NULL OR ISNULL(CAST(a.%1 AS nvarchar(80)), '') <> d.FData")
                            .arg(column)),
                  QStringLiteral("0"))
            << "pay values in " << column.toStdString();
    }
    EXPECT_GT(columns, 0) << "pay history columns";
}

// Checks every invariant that applies to the sample and the upgrade option;
// value gives the first cell of a query's first row on the target.
inline void ExpectInvariants(const QString &sample, bool balancesOnly,
                             const std::function<QString(const QString &sql)> &value) {
    for (const Invariant &i : kInvariants) {
        if (i.standardOnly && !sample.startsWith(QStringLiteral("standard")) &&
            !sample.startsWith(QStringLiteral("broad")))
            continue;
        if (balancesOnly && i.balancesOnly == InBalancesOnly::Skipped) continue;
        if (!balancesOnly && i.balancesOnly == InBalancesOnly::Only) continue;
        const QString got = value(QString::fromUtf8(i.targetSql));
        if (balancesOnly && i.balancesOnly == InBalancesOnly::NoRows) {
            EXPECT_EQ(got, QStringLiteral("0")) << i.what;
            // The source had some, or leaving them out proves nothing.
            if (i.stagingSql) {
                EXPECT_NE(value(QString::fromUtf8(i.stagingSql)), QStringLiteral("0")) << i.what;
            }
            continue;
        }
        const QString expected = i.stagingSql ? value(QString::fromUtf8(i.stagingSql)) : QStringLiteral("0");
        EXPECT_EQ(got, expected) << i.what;
        // A count compared must count something, or the check proves nothing.
        if (i.stagingSql) {
            EXPECT_NE(expected, QStringLiteral("0")) << i.what;
        }
    }
    ExpectPayHistoryValues(value);
}

}  // namespace e2e
