// The period balance table of the current year: the staged balances are
// copied into the work table TempBal, corrected with the alteration history
// (opening quantities, alteration amounts, dates, quantities and workloads)
// and moved into t_FABalance.
#include "foundation/SqlText.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaBalanceLayout.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

const QString kNoDate = QStringLiteral("'1990-01-01'");

QString workTableBatch() {
    FaBatch b;
    for (const char *table :
         {"t_FABalCard", "t_FABalDept", "t_FABalExpense", "t_FABalOrgFor", "t_FABalDevice", "t_FABalCardItem"})
        b << QStringLiteral("TRUNCATE TABLE %1").arg(QString::fromLatin1(table));
    b << QStringLiteral("DELETE FROM t_FABalance")
      << QStringLiteral("UPDATE AIS_FABal SET FZ8InterID = c.FZ8InterID FROM AIS_FABal b INNER JOIN AIS_FACard c ON "
                        "c.FAssetID = b.FAssetID")
      << QStringLiteral("UPDATE AIS_FAJob SET FZ8InterID = c.FZ8InterID FROM AIS_FAJob j INNER JOIN AIS_FACard c ON "
                        "c.FAssetID = j.FAssetID")
      << QStringLiteral("IF EXISTS (SELECT * FROM sysobjects WHERE id = OBJECT_ID(N'[dbo].[TempBal]') AND "
                        "OBJECTPROPERTY(id, N'IsUserTable') = 1) DROP TABLE [dbo].[TempBal]")
      << QStringLiteral("CREATE TABLE TempBal (%1)").arg(FaBalanceDefinitions())
      << QStringLiteral("CREATE INDEX ix_TempBal_Asset ON TempBal (FAssetID, FYear, FPeriod)")
      << QStringLiteral("INSERT INTO TempBal (FAssetID, FYear, FPeriod, FDate, FAltDate, FCleared, FDeprPeriods, "
                        "FWorkload, FOrgValP, FOrgValInc, FOrgValDec, FNumP, FNumAlter, FAccumDeprP, FAccumDeprInc, "
                        "FAccumDeprDec, FDeprShould, FDepr, FDeprRate, FDeprShouldLP, FDeprRemain, FYtdOrgValInc, "
                        "FYtdOrgValDec, FYtdDeprInc, FYtdDeprDec, FHasDepr, FDecPreP, FDecPreInc, FDecPreDec, "
                        "FYtdDecPreInc, FYtdDecPreDec)")
      << QStringLiteral("SELECT b.FZ8InterID, r.FCurrYear, b.FPeriod, '1990-01-01', '1990-01-01', 0, b.FPeriods, 0, "
                        "b.FOrgVal, 0, 0, 1, 0, b.FAccumDepr, 0, 0, CASE WHEN b.FDepr > 0 THEN b.FDeprPerPeriod ELSE 0 "
                        "END, b.FDepr, 0, 0, 0, b.FDebitOrg, b.FCreditOrg, b.FDebitDepr, b.FCreditDepr, 1, 0, 0, 0, "
                        "CASE WHEN b.FYtdDevalue > 0 THEN b.FYtdDevalue ELSE 0 END, CASE WHEN b.FYtdDevalue > 0 THEN 0 "
                        "ELSE -b.FYtdDevalue END FROM AIS_FABal b INNER JOIN AIS_GLPref r ON 1 = 1 WHERE b.FZ8InterID "
                        "IS NOT NULL")
      << QStringLiteral("UPDATE TempBal SET FNumP = 0 WHERE NOT EXISTS (SELECT 1 FROM t_FAAlter a WHERE a.FAssetID = "
                        "TempBal.FAssetID AND a.FPeriod = 0 AND a.FNew = 1)")
      // The addition period of a card with an alteration folded in starts
      // from the opening row's amounts (joined through the card's asset id);
      // its year-to-date increase stays its own, the addition and the
      // alteration folded into it.
      << QStringLiteral("UPDATE t SET FOrgValP = z.FOrgValP, FAccumDeprP = z.FAccumDeprP, FDeprShould = z.FDeprShould, "
                        "FDepr = z.FDepr FROM TempBal t INNER JOIN TempBal z ON "
                        "z.FAssetID = t.FAssetID AND z.FPeriod = 0 WHERE EXISTS (SELECT 1 FROM AIS_FAVch a INNER JOIN "
                        "AIS_FAVch o ON o.FAssetID = a.FAssetID AND o.FPeriod = a.FPeriod INNER JOIN AIS_FACard c ON "
                        "c.FAssetID = a.FAssetID WHERE a.FType = 0 AND o.FType <> 0 AND c.FZ8InterID = t.FAssetID AND "
                        "a.FPeriod = t.FPeriod)");
    return b.text();
}

QString openingQuantityBatch(const ado::Recordset &rs) {
    FaBatch b;
    b << QStringLiteral("DECLARE @Asset INT, @Year INT, @Period INT, @Num DECIMAL(23,6)")
      << SqlText("SET @Asset = {a} SET @Year = {y} SET @Period = {p}")
             .arg("a", rs.value(QStringLiteral("FAssetID")))
             .arg("y", rs.value(QStringLiteral("FYear")))
             .arg("p", rs.value(QStringLiteral("FPeriod")))
             .str()
      // The card rows of this asset (joined through its records).
      << QStringLiteral("SELECT TOP 1 @Num = c.FNum FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID "
                        "WHERE a.FAssetID = @Asset AND a.FYear * 100 + a.FPeriod <= @Year * 100 + @Period ORDER BY "
                        "a.FYear ASC, a.FPeriod DESC")
      << QStringLiteral(
             "UPDATE TempBal SET FNumP = @Num WHERE FAssetID = @Asset AND FYear = @Year AND FPeriod = @Period");
    return b.text();
}

// Several alterations of one asset in one period add up.
QString alterationAmountsBatch(const ado::Recordset &rs) {
    FaBatch b;
    b << QStringLiteral("DECLARE @Asset INT, @Number VARCHAR(200), @Period INT, @Type INT, @Cost MONEY, @Depr MONEY, "
                        "@FoldCost MONEY, @FoldDepr MONEY")
      << SqlText("SET @Asset = {a} SET @Number = {n} SET @Period = {p} SET @Type = {t} SET @Cost = {c} SET @Depr = {d}")
             .arg("a", rs.value(QStringLiteral("FAsset")))
             .text("n", rs.value(QStringLiteral("FAssetID")).toString())
             .arg("p", rs.value(QStringLiteral("FPeriod")))
             .arg("t", rs.value(QStringLiteral("FType")))
             .arg("c", rs.value(QStringLiteral("FOrgVal")))
             .arg("d", rs.value(QStringLiteral("FAccumDepr")))
             .str()
      << QStringLiteral("UPDATE TempBal SET FNumAlter = FNumAlter + CASE WHEN @Type = 0 THEN 1 WHEN @Type = 10 THEN -1 "
                        "ELSE 0 END WHERE FAssetID = @Asset AND FPeriod = @Period")
      << QStringLiteral("SELECT @FoldCost = SUM(FOrgVal), @FoldDepr = SUM(FAccumDepr) FROM AIS_FAVch WHERE FAssetID = "
                        "@Number AND FPeriod = @Period AND FZ8InterID = -1")
      << QStringLiteral("SET @Cost = @Cost + ISNULL(@FoldCost, 0)")
      << QStringLiteral("SET @Depr = @Depr + ISNULL(@FoldDepr, 0)")
      << QStringLiteral("IF @Cost > 0 UPDATE TempBal SET FOrgValInc = FOrgValInc + @Cost WHERE FAssetID = @Asset AND "
                        "FPeriod = @Period")
      << QStringLiteral("ELSE IF @Cost < 0 UPDATE TempBal SET FOrgValDec = FOrgValDec + ABS(@Cost) WHERE FAssetID = "
                        "@Asset AND FPeriod = @Period")
      << QStringLiteral("IF @Depr > 0 UPDATE TempBal SET FAccumDeprInc = FAccumDeprInc + @Depr, FYtdDeprInc = "
                        "FYtdDeprInc + @Depr WHERE FAssetID = @Asset AND FPeriod = @Period")
      // The staged year-to-date decrease already holds a clearing's
      // depreciation: it is not added a second time.
      << QStringLiteral(
             "ELSE IF @Depr < 0 UPDATE TempBal SET FAccumDeprDec = FAccumDeprDec + ABS(@Depr), FYtdDeprDec = "
             "FYtdDeprDec + CASE WHEN @Type = 10 THEN 0 ELSE ABS(@Depr) END WHERE FAssetID = @Asset AND "
             "FPeriod = @Period")
      << QStringLiteral("IF @Type = 10 UPDATE TempBal SET FCleared = 1 WHERE FAssetID = @Asset AND FPeriod = @Period");
    return b.text();
}

QString datesBatch(const ado::Recordset &rs) {
    const QVariant period = rs.value(QStringLiteral("FPeriod"));
    const QString self = QStringLiteral("FAssetID = @Asset AND FYear * 100 + FPeriod = @Year * 100 + @Period");
    FaBatch b;
    b << QStringLiteral("DECLARE @Asset INT, @Year INT, @Period INT, @BalID INT, @Num DECIMAL(23,6), @Date DATETIME")
      << SqlText("SET @Asset = {a} SET @Year = {y} SET @Period = {p}")
             .arg("a", rs.value(QStringLiteral("FAssetID")))
             .arg("y", rs.value(QStringLiteral("FYear")))
             .arg("p", period)
             .str()
      << QStringLiteral("SELECT @Date = MAX(FDate) FROM t_FAAlter WHERE FAssetID = @Asset AND FYear * 100 + FPeriod <= "
                        "@Year * 100 + @Period")
      << QStringLiteral("SET @Date = ISNULL(@Date, %1)").arg(kNoDate)
      << QStringLiteral("UPDATE TempBal SET FAltDate = @Date WHERE %1 AND FAltDate = %2").arg(self, kNoDate)
      << QStringLiteral("UPDATE TempBal SET FDate = @Date WHERE FAssetID = @Asset AND FYear * 100 + FPeriod = @Year * "
                        "100 + @Period + 1 AND FDate = %1")
             .arg(kNoDate)
      << QStringLiteral("IF EXISTS (SELECT 1 FROM t_FAAlter WHERE FNew = 1 AND FAssetID = @Asset AND FYear = @Year AND "
                        "FPeriod = @Period)")
      << QStringLiteral("    UPDATE TempBal SET FOrgValP = 0, FAccumDeprP = 0, FHasDepr = 0 WHERE %1").arg(self)
      << QStringLiteral(
             "IF EXISTS (SELECT 1 FROM TempBal WHERE FAssetID = @Asset AND FYear * 100 + FPeriod < @Year * 100 "
             "+ @Period)")
      << QStringLiteral("BEGIN")
      << QStringLiteral(
             "    SELECT TOP 1 @Num = FNumP + FNumAlter FROM TempBal WHERE FAssetID = @Asset AND FYear * 100 "
             "+ FPeriod < @Year * 100 + @Period ORDER BY FYear ASC, FPeriod DESC")
      << QStringLiteral("    UPDATE TempBal SET FNumP = @Num WHERE %1").arg(self) << QStringLiteral("END");
    if (!period.isNull() && period.toInt() == 0)
        b << QStringLiteral("IF (SELECT FCurrYear - FStartYear FROM AIS_GLPref) > 0")
          << QStringLiteral(
                 "    UPDATE t SET FAccumDeprP = p.FAccumDeprP, FOrgValP = p.FOrgValP, FDeprPeriods = "
                 "p.FDeprPeriods FROM TempBal t INNER JOIN TempBal p ON p.FAssetID = t.FAssetID AND p.FYear "
                 "= t.FYear AND p.FPeriod = 1 WHERE t.FAssetID = @Asset AND t.FYear = @Year AND t.FPeriod = 0");
    b << QStringLiteral("IF EXISTS (SELECT 1 FROM AIS_FAJob WHERE FZ8InterID = @Asset AND FPeriod = @Period)")
      << QStringLiteral("    UPDATE t SET FWorkload = j.Fjob FROM TempBal t INNER JOIN AIS_FAJob j ON j.FZ8InterID = "
                        "t.FAssetID AND j.FPeriod = t.FPeriod WHERE t.FPeriod = @Period");
    return b.text();
}

QString datesCompletionBatch() {
    return QStringLiteral("UPDATE TempBal SET FDate = FAltDate WHERE FDate = %1 AND FAltDate <> %1\r\n").arg(kNoDate);
}

// The start period is the fixed-asset start of the target's options: the
// source's start period in its start year, else 1.
QString balanceTableBatch() {
    FaBatch b;
    b << QStringLiteral("DECLARE @Start INT")
      << QStringLiteral("SELECT @Start = CASE WHEN FStartYear = FCurrYear THEN FStartPeriod ELSE 1 END FROM AIS_GLPref")
      << QStringLiteral("UPDATE t SET FOrgValP = s.FOrgValP, FAccumDeprP = s.FAccumDeprP, FDeprShould = s.FDeprShould, "
                        "FDepr = s.FDepr, FDeprRate = s.FDeprRate, FDeprPeriods = s.FDeprPeriods FROM TempBal t INNER "
                        "JOIN TempBal s ON s.FAssetID = t.FAssetID AND s.FYear = t.FYear AND s.FPeriod = @Start WHERE "
                        "t.FPeriod = 0 AND t.FDate <> %1")
             .arg(kNoDate)
      << QStringLiteral("DELETE FROM TempBal WHERE FPeriod = 0 AND FDate = %1").arg(kNoDate)
      << QStringLiteral("DELETE FROM TempBal WHERE FPeriod BETWEEN 1 AND @Start - 1")
      // The clearing period's year-to-date decrease: the year's decreases
      // before it plus the period's own, the cleared value (the period's
      // staged original value is already the value after the clearing).
      << QStringLiteral("UPDATE t SET FYtdOrgValDec = ISNULL((SELECT TOP 1 p.FYtdOrgValDec FROM TempBal p WHERE "
                        "p.FAssetID = t.FAssetID AND p.FPeriod > 0 AND p.FYear * 100 + p.FPeriod < t.FYear * 100 + "
                        "t.FPeriod ORDER BY p.FYear DESC, p.FPeriod DESC), 0) + t.FOrgValDec FROM TempBal t WHERE "
                        "t.FCleared = 1")
      << QStringLiteral("UPDATE TempBal SET FDeprShould = 0, FDepr = 0 WHERE FHasDepr = 0")
      << QStringLiteral("INSERT INTO t_FABalance (%1) SELECT %1 FROM TempBal").arg(FaBalanceColumns())
      << QStringLiteral("DROP TABLE TempBal");
    return b.text();
}

}  // namespace

int clsEboFa::BuildFABalances(FaRun &run) {
    StepKit &kit = run.kit;
    kit.caption(QStringLiteral("正在构建卡片余额临时表..."));
    if (!FaExecute(run, workTableBatch(), QStringLiteral("升级【固定资产-变动数据】构建临时表时出错：")))
        return FaFailed;
    if (FaRowStep(
            run,
            QStringLiteral("SELECT FAssetID, FYear, FPeriod FROM t_FAAlter WHERE FNew = 0 ORDER BY FAlterID, FYear, "
                           "FPeriod"),
            openingQuantityBatch, QStringLiteral("升级【固定资产-变动数据】更新期初原值和期初数量时出错："),
            QStringLiteral("正在更新余额表期初原值和期初数量("), 35, 10) == FaFailed)
        return FaFailed;
    if (FaRowStep(
            run,
            QStringLiteral("SELECT c.FZ8InterID AS FAsset, v.FAssetID, v.FPeriod, v.FAccumDepr, v.FOrgVal, v.FType "
                           "FROM AIS_FAVch v INNER JOIN AIS_FACard c ON c.FAssetID = v.FAssetID WHERE "
                           "v.FZ8InterID > 0 AND c.FZ8InterID IS NOT NULL ORDER BY c.FZ8InterID, v.FPeriod"),
            alterationAmountsBatch, QStringLiteral("升级【固定资产-变动数据】更新调整数据时出错："),
            QStringLiteral("正在更新余额表变动调整数据("), 45, 10) == FaFailed)
        return FaFailed;
    const QString datesPrefix = QStringLiteral("升级【固定资产-变动数据】更新余额表每期原值和数量时出错：");
    if (FaRowStep(run, QStringLiteral("SELECT FAssetID, FYear, FPeriod FROM TempBal ORDER BY FAssetID, FYear, FPeriod"),
                  datesBatch, datesPrefix, QStringLiteral("正在更新余额表每期原值和数量("), 55, 5) == FaFailed)
        return FaFailed;
    if (!FaExecute(run, datesCompletionBatch(), datesPrefix)) return FaFailed;
    if (!FaExecute(run, balanceTableBatch(), QStringLiteral("升级【固定资产-余额数据】时出错："))) return FaFailed;
    if (FaProgressThenCancelled(kit, 76)) return FaFailed;
    return FaDone;
}
