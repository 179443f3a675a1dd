// Balances only: the vouchers of earlier periods are folded into the cards
// (cards added in the current period or disposed of before it leave), each
// asset gets an opening and a latest balance row with balance cards and
// details, and the cards take their accumulated depreciation and periods
// used from the balances.
#include "foundation/ErrorText.h"
#include "upgrade/assets/FaBalanceLayout.h"
#include "upgrade/assets/FaCardColumns.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

const QString kStatusMap =
    QStringLiteral("CASE WHEN @Status = 1 THEN 2 WHEN @Status = 2 THEN 7 WHEN @Status = 3 THEN 8 ELSE @Status END");

void removeCard(FaBatch &b, const QString &indent) {
    b << indent + QStringLiteral("IF @A IS NOT NULL") << indent + QStringLiteral("BEGIN");
    for (const char *table :
         {"t_FADept", "t_FAExpense", "t_FAOrgFor", "t_FACardItem", "t_FADevice", "t_FACard", "t_FAAlter"})
        b << indent + QStringLiteral("    DELETE FROM %1 WHERE FAlterID = @A").arg(QString::fromLatin1(table));
    b << indent + QStringLiteral("END");
}

// Batch 1. The cursor has a fixed order; every lookup is reset per row; a
// voucher of the card's addition period was already folded into the card
// by the original cards and is not merged again.
QString foldVouchersBatch() {
    FaBatch b;
    b << QStringLiteral("DECLARE @CurPeriod INT") << QStringLiteral("SELECT @CurPeriod = FCurrPeriod FROM AIS_GLPref")
      << QStringLiteral("UPDATE AIS_FABalDept SET FZ8InterID = i.FItemID FROM AIS_FABalDept d INNER JOIN t_Item i ON "
                        "i.FItemClassID = 2 AND i.FShortNumber = REPLACE(d.FDeptObjID, '.', '')")
      << QStringLiteral("UPDATE AIS_FABalExpense SET FZ8InterID = a.FZ8InterID FROM AIS_FABalExpense e INNER JOIN "
                        "AIS_GLAcct a ON a.FAcctID = e.FExpenseAcctID")
      << QStringLiteral(
             "UPDATE AIS_FABalFor SET FZ8InterID = c.FZ8InterID FROM AIS_FABalFor f INNER JOIN AIS_GLCy c ON "
             "c.FCyID = f.FCyID")
      << QStringLiteral(
             "DECLARE @N VARCHAR(40), @Date DATETIME, @P INT, @Mode INT, @Grp INT, @Status INT, @OrgVal MONEY, "
             "@Salvage MONEY, @Method INT, @Accum MONEY, @Adj INT, @T INT")
      << QStringLiteral("DECLARE @A INT, @I INT, @G INT, @S INT, @M INT, @D INT, @L DECIMAL(28, 10), @ExpCount INT")
      << QStringLiteral(
             "DECLARE curVch CURSOR FOR SELECT FAssetID, FDate, FPeriod, FAlterID, FGroupID, FStatus, FOrgVal, "
             "FSalvage, FDeprMethod, FAccumDepr, FAdjType, FType FROM AIS_FAVch ORDER BY FAssetID, FPeriod, "
             "FType")
      << QStringLiteral("OPEN curVch")
      << QStringLiteral("FETCH NEXT FROM curVch INTO @N, @Date, @P, @Mode, @Grp, @Status, @OrgVal, @Salvage, @Method, "
                        "@Accum, @Adj, @T")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN") << QStringLiteral("    SET @A = NULL")
      << QStringLiteral("    IF @P = @CurPeriod AND @T = 0") << QStringLiteral("    BEGIN")
      << QStringLiteral("        SELECT @A = FAlterID FROM t_FACard WHERE FAssetNumber = @N");
    removeCard(b, QStringLiteral("        "));
    b << QStringLiteral("    END") << QStringLiteral("    ELSE IF @P <> @CurPeriod AND @T = 0")
      << QStringLiteral("    BEGIN")
      << QStringLiteral(
             "        SELECT @A = c.FAlterID FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID "
             "WHERE c.FAssetNumber = @N AND a.FPeriod = 0")
      << QStringLiteral("        UPDATE t_FACard SET FAccumDeprBuy = 0 WHERE FAlterID = @A")
      << QStringLiteral("    END") << QStringLiteral("    ELSE IF @P <> @CurPeriod AND @T = 10")
      << QStringLiteral("    BEGIN")
      << QStringLiteral("        SELECT @A = FAlterID FROM t_FACard WHERE FAssetNumber = @N");
    removeCard(b, QStringLiteral("        "));
    b << QStringLiteral("    END")
      << QStringLiteral("    ELSE IF @P <> @CurPeriod AND NOT EXISTS (SELECT 1 FROM AIS_FAVch WHERE FAssetID = @N AND "
                        "FPeriod = @P AND FType = 0)")
      << QStringLiteral("    BEGIN") << QStringLiteral("        SET @I = NULL")
      << QStringLiteral("        SELECT @I = FZ8InterID FROM AIS_FACard WHERE FAssetID = @N")
      << QStringLiteral("        SELECT @A = FAlterID FROM t_FAAlter WHERE FAssetID = @I")
      // A voucher whose card is gone changes no other card.
      << QStringLiteral("        IF @A IS NOT NULL") << QStringLiteral("        BEGIN")
      << QStringLiteral(
             "            UPDATE t_FAAlter SET FYear = YEAR(@Date), FPeriod = 0, FAlterNum = 0, FDate = @Date, "
             "FNeedVoucher = 0, FExplanation = '', FCleared = 0, FNew = 1, FOtherAlter = 0, FPreparer = '', "
             "FChecker = '' WHERE FAssetID = @I")
      << QStringLiteral("            SET @G = NULL") << QStringLiteral("            SET @S = NULL")
      << QStringLiteral("            SELECT @G = FZ8InterID, @S = %1 FROM AIS_FAGroup WHERE FGroupID = @Grp")
             .arg(kStatusMap)
      << QStringLiteral("            SET @M = NULL")
      << QStringLiteral("            SELECT @M = FZ8InterID FROM AIS_FAAlter WHERE FAlterID = @Mode")
      << QStringLiteral(
             "            SET @D = CASE WHEN @Method = 1 THEN CASE WHEN @Adj > 1 THEN 1 ELSE 6 END WHEN @Method "
             "= 2 THEN 9 WHEN @Method = 3 THEN CASE WHEN @Adj > 1 THEN 5 ELSE 7 END WHEN @Method = 4 THEN "
             "CASE WHEN @Adj > 1 THEN 4 ELSE 8 END ELSE @Method END")
      << QStringLiteral("            IF @D = 0") << QStringLiteral("            BEGIN")
      << QStringLiteral("                SET @S = 7") << QStringLiteral("                SET @D = 1")
      << QStringLiteral("            END") << QStringLiteral("            SET @L = NULL")
      << QStringLiteral("            IF EXISTS (SELECT 1 FROM AIS_FABal WHERE FAssetID = @N AND FPeriod = @P + 1)")
      << QStringLiteral("                SELECT @L = FLifeA FROM AIS_FABal WHERE FAssetID = @N AND FPeriod = @P + 1")
      << QStringLiteral("            ELSE")
      << QStringLiteral("                SELECT @L = FLifeA FROM AIS_FABal WHERE FAssetID = @N AND FPeriod = @P")
      // A group, mode or life that is not found keeps the card's own.
      << QStringLiteral(
             "            UPDATE t_FACard SET FGroupID = ISNULL(@G, FGroupID), FStatusID = ISNULL(@S, "
             "FStatusID), FOrgVal = FOrgVal + @OrgVal, FAlterModeID = ISNULL(@M, FAlterModeID), "
             "FDeprMethodID = ISNULL(@D, FDeprMethodID), FLifePeriods = ISNULL(@L, FLifePeriods), FAccumDepr "
             "= FAccumDepr + @Accum, FResidueVal = FResidueVal + @Salvage WHERE FAlterID = @A")
      << QStringLiteral("            DELETE FROM t_FADept WHERE FAlterID = @A")
      << QStringLiteral(
             "            INSERT INTO t_FADept SELECT @A, 2, FZ8InterID, FRate / 100 FROM AIS_FABalDept WHERE "
             "FAssetID = @N AND FPeriod = @P")
      << QStringLiteral("            DELETE FROM t_FAExpense WHERE FAlterID = @A")
      << QStringLiteral(
             "            SELECT @ExpCount = COUNT(*) FROM AIS_FABalExpense WHERE FAssetID = @N AND FPeriod = "
             "@P")
      << QStringLiteral("            INSERT INTO t_FAExpense ") +
             FaCardExpenseRows(QStringLiteral("@A"), QStringLiteral("@N"), QStringLiteral("@P"),
                               QStringLiteral("@ExpCount"))
      << QStringLiteral("            DELETE FROM t_FAOrgFor WHERE FAlterID = @A")
      << QStringLiteral("            INSERT INTO t_FAOrgFor SELECT @A, FZ8InterID, FExchRate, FOrgValFor, FOrgVal FROM "
                        "AIS_FABalFor WHERE FAssetID = @N AND FPeriod = @P")
      << QStringLiteral("        END") << QStringLiteral("    END")
      << QStringLiteral(
             "    FETCH NEXT FROM curVch INTO @N, @Date, @P, @Mode, @Grp, @Status, @OrgVal, @Salvage, @Method, "
             "@Accum, @Adj, @T")
      << QStringLiteral("END") << QStringLiteral("CLOSE curVch") << QStringLiteral("DEALLOCATE curVch");
    return b.text();
}

QString workRowsInsert(const QString &period) {
    return QStringLiteral(
               "INSERT INTO #TempBal (FAssetID, FYear, FPeriod, FDate, FAltDate, FCleared, FDeprPeriods, FWorkload, "
               "FOrgValP, FOrgValInc, FOrgValDec, FNumP, FNumAlter, FAccumDeprP, FAccumDeprInc, FAccumDeprDec, "
               "FDeprShould, FDepr, FDeprRate, FDeprShouldLP, FDeprRemain, FYtdOrgValInc, FYtdOrgValDec, FYtdDeprInc, "
               "FYtdDeprDec, FHasDepr, FDecPreP, FDecPreInc, FDecPreDec, FYtdDecPreInc, FYtdDecPreDec) SELECT "
               "b.FZ8InterID, @CurYear, %1, ISNULL((SELECT TOP 1 a.FDate FROM t_FAAlter a INNER JOIN t_FACard c ON "
               "c.FAlterID = a.FAlterID WHERE c.FAssetNumber = b.FAssetID AND a.FPeriod <= b.FPeriod ORDER BY "
               "a.FPeriod "
               "DESC), '1990-01-01'), ISNULL((SELECT TOP 1 a.FDate FROM t_FAAlter a INNER JOIN t_FACard c ON "
               "c.FAlterID "
               "= a.FAlterID WHERE c.FAssetNumber = b.FAssetID AND a.FPeriod <= b.FPeriod ORDER BY a.FPeriod DESC), "
               "'1990-01-01'), 0, ISNULL(b.FPeriodsA, 0), 0, b.FOrgVal, 0, 0, 1, 0, b.FAccumDepr, 0, 0, "
               "b.FDeprPerPeriod, b.FDepr, 0, 0, 0, b.FDebitOrg, b.FCreditOrg, b.FDebitDepr, b.FCreditDepr, 1, 0, 0, "
               "0, "
               "CASE WHEN b.FYtdDevalue > 0 THEN b.FYtdDevalue ELSE 0 END, CASE WHEN b.FYtdDevalue > 0 THEN 0 ELSE "
               "-b.FYtdDevalue END FROM AIS_FABal b WHERE b.FPeriod = @Latest AND b.FZ8InterID IN (SELECT FAssetID "
               "FROM t_FAAlter)")
        .arg(period);
}

// Batch 2: the opening and latest balance rows.
QString balanceRowsBatch() {
    FaBatch b;
    for (const char *table :
         {"t_FABalCard", "t_FABalDept", "t_FABalExpense", "t_FABalOrgFor", "t_FABalDevice", "t_FABalCardItem"})
        b << QStringLiteral("TRUNCATE TABLE %1").arg(QString::fromLatin1(table));
    b << QStringLiteral("DELETE FROM t_FABalance")
      << QStringLiteral("UPDATE AIS_FABal SET FZ8InterID = c.FZ8InterID FROM AIS_FABal b INNER JOIN AIS_FACard c ON "
                        "c.FAssetID = b.FAssetID")
      << QStringLiteral("IF OBJECT_ID(N'tempdb..[#TempBal]') IS NOT NULL DROP TABLE #TempBal")
      << QStringLiteral("CREATE TABLE #TempBal (%1)").arg(FaBalanceDefinitions())
      << QStringLiteral("CREATE INDEX ix_TempBal_Asset ON #TempBal (FAssetID, FYear, FPeriod)")
      << QStringLiteral("DECLARE @CurYear INT, @CurPeriod INT, @Latest INT, @I INT, @Y INT, @P INT, @Q DECIMAL(16, 6), "
                        "@V MONEY, @T INT, @OrgVal MONEY, @Accum MONEY, @N VARCHAR(40), @MaxP INT")
      << QStringLiteral("SELECT @CurYear = FCurrYear, @CurPeriod = FCurrPeriod FROM AIS_GLPref")
      << QStringLiteral("SELECT @Latest = MAX(FPeriod) FROM AIS_FABal") << workRowsInsert(QStringLiteral("0"))
      << workRowsInsert(QStringLiteral("@Latest"))
      << QStringLiteral("UPDATE #TempBal SET FNumP = 0, FOrgValP = 0 WHERE NOT EXISTS (SELECT 1 FROM t_FAAlter a WHERE "
                        "a.FAssetID = #TempBal.FAssetID AND a.FPeriod = 0 AND a.FNew = 1)")
      // Opening values from the asset's earlier card; a card cleared in an
      // earlier year has none and is left as it is.
      << QStringLiteral(
             "DECLARE curAlt CURSOR FOR SELECT FAssetID, FYear, FPeriod FROM t_FAAlter WHERE FNew = 0 ORDER BY "
             "FAlterID, FYear, FPeriod")
      << QStringLiteral("OPEN curAlt") << QStringLiteral("FETCH NEXT FROM curAlt INTO @I, @Y, @P")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN") << QStringLiteral("    SET @Q = NULL")
      << QStringLiteral("    SET @V = NULL")
      << QStringLiteral("    SELECT TOP 1 @Q = c.FNum, @V = c.FOrgVal FROM t_FACard c INNER JOIN t_FAAlter a ON "
                        "a.FAlterID = c.FAlterID WHERE a.FAssetID = @I AND a.FYear * 100 + a.FPeriod < @Y * 100 + @P "
                        "ORDER BY a.FYear ASC, a.FPeriod DESC")
      << QStringLiteral("    IF @Q IS NOT NULL UPDATE #TempBal SET FNumP = @Q, FOrgValP = @V WHERE FAssetID = @I AND "
                        "FYear = @Y AND FPeriod = @P")
      << QStringLiteral("    FETCH NEXT FROM curAlt INTO @I, @Y, @P") << QStringLiteral("END")
      << QStringLiteral("CLOSE curAlt")
      << QStringLiteral("DEALLOCATE curAlt")
      // Voucher adjustments; several vouchers of one period add up.
      << QStringLiteral("DECLARE curAdj CURSOR FOR SELECT FAssetID, FPeriod, FType, FOrgVal, FAccumDepr FROM AIS_FAVch "
                        "WHERE FPeriod < (SELECT MAX(FPeriod) FROM AIS_FAVch) ORDER BY FAlterID, FPeriod")
      << QStringLiteral("OPEN curAdj") << QStringLiteral("FETCH NEXT FROM curAdj INTO @N, @P, @T, @OrgVal, @Accum")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN") << QStringLiteral("    SET @I = NULL")
      << QStringLiteral("    SELECT @I = FZ8InterID FROM AIS_FACard WHERE FAssetID = @N")
      << QStringLiteral("    UPDATE #TempBal SET FNumAlter = FNumAlter + CASE WHEN @T = 0 THEN 1 WHEN @T = 10 THEN -1 "
                        "ELSE 0 END WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    IF @OrgVal > 0 UPDATE #TempBal SET FOrgValInc = FOrgValInc + @OrgVal WHERE FAssetID = @I "
                        "AND FPeriod = @P")
      << QStringLiteral("    ELSE IF @OrgVal < 0 UPDATE #TempBal SET FOrgValDec = FOrgValDec + ABS(@OrgVal) WHERE "
                        "FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    IF @Accum > 0 UPDATE #TempBal SET FAccumDeprInc = FAccumDeprInc + @Accum, FYtdDeprInc = "
                        "FYtdDeprInc + @Accum WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    ELSE IF @Accum < 0 UPDATE #TempBal SET FAccumDeprDec = FAccumDeprDec + ABS(@Accum), "
                        "FYtdDeprDec = FYtdDeprDec + ABS(@Accum) WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    FETCH NEXT FROM curAdj INTO @N, @P, @T, @OrgVal, @Accum") << QStringLiteral("END")
      << QStringLiteral("CLOSE curAdj") << QStringLiteral("DEALLOCATE curAdj")
      << QStringLiteral("UPDATE AIS_FAJob SET FZ8InterID = c.FZ8InterID FROM AIS_FAJob j INNER JOIN AIS_FACard c ON "
                        "c.FAssetID = j.FAssetID")
      << QStringLiteral("DECLARE curWork CURSOR FOR SELECT FAssetID, FYear, FPeriod FROM #TempBal ORDER BY FAssetID, "
                        "FYear, FPeriod")
      << QStringLiteral("OPEN curWork") << QStringLiteral("FETCH NEXT FROM curWork INTO @I, @Y, @P")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral(
             "    IF EXISTS (SELECT 1 FROM #TempBal WHERE FAssetID = @I AND FYear * 100 + FPeriod < @Y * 100 + "
             "@P)")
      << QStringLiteral("    BEGIN")
      << QStringLiteral("        SELECT TOP 1 @Q = FNumP + FNumAlter, @V = FOrgValP + FOrgValInc - FOrgValDec FROM "
                        "#TempBal WHERE FAssetID = @I AND FYear * 100 + FPeriod < @Y * 100 + @P ORDER BY FYear ASC, "
                        "FPeriod DESC")
      << QStringLiteral("        UPDATE #TempBal SET FNumP = @Q, FOrgValP = @V WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    END")
      << QStringLiteral(
             "    IF EXISTS (SELECT 1 FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID WHERE "
             "a.FAssetID = @I AND c.FStatusID = 7)")
      << QStringLiteral("        UPDATE #TempBal SET FDeprShould = 0, FDepr = 0 WHERE FAssetID = @I")
      << QStringLiteral("    IF EXISTS (SELECT 1 FROM AIS_FAVch v INNER JOIN AIS_FACard c ON c.FAssetID = v.FAssetID "
                        "WHERE v.FType = 0 AND v.FPeriod = @P AND c.FZ8InterID = @I)")
      << QStringLiteral("        UPDATE #TempBal SET FAccumDeprP = 0 WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    IF EXISTS (SELECT 1 FROM t_FAAlter WHERE FAssetID = @I AND FNew = 1 AND FYear = @Y AND "
                        "FPeriod = @P)")
      << QStringLiteral("        UPDATE #TempBal SET FHasDepr = 0 WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral(
             "    IF EXISTS (SELECT 1 FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID WHERE "
             "a.FAssetID = @I AND c.FStatusID = 7)")
      << QStringLiteral("    BEGIN")
      << QStringLiteral("        IF EXISTS (SELECT 1 FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID "
                        "WHERE a.FAssetID = @I AND c.FStatusID = 7 AND a.FNew = 0)")
      << QStringLiteral("        BEGIN")
      << QStringLiteral(
             "            SELECT @MaxP = MAX(a.FPeriod) FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID = "
             "c.FAlterID WHERE a.FAssetID = @I AND c.FStatusID = 7 AND a.FNew = 0")
      << QStringLiteral("            IF @P <= @MaxP UPDATE #TempBal SET FHasDepr = 0 WHERE FAssetID = @I AND FPeriod = "
                        "@P")
      << QStringLiteral("        END") << QStringLiteral("        ELSE")
      << QStringLiteral("            UPDATE #TempBal SET FHasDepr = 0 WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    END")
      << QStringLiteral("    IF EXISTS (SELECT 1 FROM AIS_FAJob WHERE FZ8InterID = @I AND FPeriod < @CurPeriod)")
      << QStringLiteral(
             "        UPDATE #TempBal SET FWorkload = (SELECT SUM(FJob) FROM AIS_FAJob WHERE FZ8InterID = @I "
             "AND FPeriod < @CurPeriod) WHERE FAssetID = @I AND FPeriod = 0")
      << QStringLiteral("    IF EXISTS (SELECT 1 FROM AIS_FAJob WHERE FZ8InterID = @I AND FPeriod = @CurPeriod)")
      << QStringLiteral(
             "        UPDATE #TempBal SET FWorkload = (SELECT TOP 1 FJob FROM AIS_FAJob WHERE FZ8InterID = @I "
             "AND FPeriod = @P) WHERE FAssetID = @I AND FPeriod = @P")
      << QStringLiteral("    FETCH NEXT FROM curWork INTO @I, @Y, @P") << QStringLiteral("END")
      << QStringLiteral("CLOSE curWork") << QStringLiteral("DEALLOCATE curWork")
      << QStringLiteral("INSERT INTO t_FABalance (%1) SELECT %1 FROM #TempBal").arg(FaBalanceColumns())
      << QStringLiteral("DROP TABLE #TempBal");
    return b.text();
}

// Batch 3: the balance cards and details. Devices keep their own number
// (matched per card and name); an expense row of the departments' class
// with no department row of its own takes the card's department rows.
QString balanceCardsBatch() {
    FaBatch b;
    b << QStringLiteral("IF OBJECT_ID(N'tempdb..[#TempFACard]') IS NOT NULL DROP TABLE #TempFACard")
      << QStringLiteral("CREATE TABLE #TempFACard (FAssetID INT NULL, FPeriod INT NULL, %1)")
             .arg(FaCardColumnDefinitions(QStringLiteral("DECIMAL(16, 6)")))
      << QStringLiteral("CREATE INDEX ix_TempFACard_Asset ON #TempFACard (FAssetID, FPeriod)")
      << QStringLiteral(
             "INSERT INTO #TempFACard (FAssetID, FPeriod, %1) SELECT a.FAssetID, a.FPeriod, %2 FROM t_FAAlter a "
             "LEFT JOIN t_FACard c ON c.FAlterID = a.FAlterID ORDER BY a.FAssetID, a.FPeriod")
             .arg(FaCardColumns(), FaCardColumns(QStringLiteral("c.")))
      << QStringLiteral("UPDATE AIS_FAExtra SET FZ8InterID = CAST(d.FNumber AS int) FROM AIS_FAExtra x INNER JOIN "
                        "t_FACard c ON c.FAssetNumber = x.FAssetID INNER JOIN t_FADevice d ON d.FAlterID = c.FAlterID "
                        "AND d.FName = x.FName")
      << QStringLiteral("DECLARE @I INT, @P INT, @B INT, @N NVARCHAR(50), @DeptP INT, @ExpP INT, @ForP INT")
      << QStringLiteral("SELECT @DeptP = MAX(FPeriod) FROM AIS_FABalDept")
      << QStringLiteral("SELECT @ExpP = MAX(FPeriod) FROM AIS_FABalExpense")
      << QStringLiteral("SELECT @ForP = MAX(FPeriod) FROM AIS_FABalFor")
      << QStringLiteral("DECLARE curBal CURSOR FOR SELECT FAssetID, FPeriod, FBalID FROM t_FABalance ORDER BY FBalID, "
                        "FAssetID, FPeriod")
      << QStringLiteral("OPEN curBal") << QStringLiteral("FETCH NEXT FROM curBal INTO @I, @P, @B")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral(
             "    IF @P > (SELECT MIN(FPeriod) FROM #TempFACard WHERE FAssetID = @I) AND NOT EXISTS (SELECT 1 "
             "FROM #TempFACard WHERE FAssetID = @I AND FPeriod = @P)")
      << QStringLiteral(
             "        INSERT INTO #TempFACard (FAssetID, FPeriod, %1) SELECT FAssetID, @P, %1 FROM #TempFACard "
             "WHERE FAssetID = @I AND FPeriod = (SELECT MAX(m.FPeriod) FROM #TempFACard m WHERE m.FAssetID = "
             "@I AND m.FPeriod < @P)")
             .arg(FaCardColumns())
      << QStringLiteral(
             "    INSERT INTO t_FABalCard (FBalID, %1) SELECT @B, %1 FROM #TempFACard WHERE FAssetID = @I AND "
             "FPeriod = @P")
             .arg(FaCardColumns())
      << QStringLiteral("    SET @N = NULL")
      << QStringLiteral("    SELECT @N = FAssetID FROM AIS_FACard WHERE FZ8InterID = @I")
      << QStringLiteral(
             "    INSERT INTO t_FABalDept (FBalID, FItemClsID, FItemID, FRate, FAmount) SELECT @B, FDeptClsID, "
             "FZ8InterID, FRate / 100, FDepr FROM AIS_FABalDept WHERE FAssetID = @N AND FPeriod = @DeptP")
      << QStringLiteral(
             "    INSERT INTO t_FABalExpense (FBalID, FAcctID, FDetailID, FRate, FAmount, FDeptID) SELECT @B, "
             "e.FZ8InterID, ISNULL(c.FDetailID, 0), e.FRate / 100, e.FDepr * d.FRate / 100, d.FZ8InterID FROM "
             "AIS_FABalExpense e LEFT JOIN AIS_FABalDept d ON d.FAssetID = e.FAssetID AND d.FPeriod = "
             "e.FPeriod AND d.FDeptClsID = e.FExpenseClsID AND d.FDeptObjID = e.FExpenseObjID LEFT JOIN "
             "t_ItemDetail c ON c.FDetailCount = 1 AND c.F2 = d.FZ8InterID WHERE e.FAssetID = @N AND "
             "e.FPeriod = @ExpP AND d.FAssetID IS NOT NULL")
      << QStringLiteral(
             "    INSERT INTO t_FABalExpense (FBalID, FAcctID, FDetailID, FRate, FAmount, FDeptID) SELECT "
             "DISTINCT @B, e.FZ8InterID, ISNULL(c.FDetailID, 0), e.FRate / 100, e.FDepr * d.FRate / 100, "
             "d.FZ8InterID FROM AIS_FABalExpense e LEFT JOIN AIS_FABalDept d ON d.FAssetID = e.FAssetID AND "
             "d.FPeriod = e.FPeriod LEFT JOIN t_ItemDetail c ON c.FDetailCount = 1 AND c.F2 = d.FZ8InterID "
             "WHERE e.FAssetID = @N AND e.FPeriod = @ExpP AND NOT EXISTS (SELECT 1 FROM AIS_FABalDept x WHERE "
             "x.FAssetID = e.FAssetID AND x.FPeriod = e.FPeriod AND x.FDeptClsID = e.FExpenseClsID AND "
             "x.FDeptObjID = e.FExpenseObjID)")
      << QStringLiteral(
             "    INSERT INTO t_FABalOrgFor (FBalID, FCyID, FExchRate, FAmountFor, FAmount) SELECT @B, "
             "FZ8InterID, FExchRate, FOrgValFor, FOrgVal FROM AIS_FABalFor WHERE FAssetID = @N AND FPeriod = "
             "@ForP")
      << QStringLiteral("    INSERT INTO t_FABalDevice (FBalID, FDeviceID, FNumber, FName, FModel, FLocationID, FDate, "
                        "FUnit, FQty, FAmount, FRemark) SELECT @B, FZ8InterID, CASE WHEN FZ8InterID < 1000 THEN "
                        "RIGHT('000' + CAST(FZ8InterID AS varchar), 3) ELSE CAST(FZ8InterID AS varchar) END, FName, "
                        "FModel, 0, getdate(), FUnit, FQty, FAmount, '' FROM AIS_FAExtra WHERE FAssetID = @N")
      << QStringLiteral("    INSERT INTO t_FABalCardItem (FBalID) VALUES (@B)")
      << QStringLiteral("    FETCH NEXT FROM curBal INTO @I, @P, @B") << QStringLiteral("END")
      << QStringLiteral("CLOSE curBal") << QStringLiteral("DEALLOCATE curBal");
    return b.text();
}

QString cardTotalsBatch() {
    FaBatch b;
    b << QStringLiteral(
             "UPDATE t_FACard SET FAccumDepr = x.FSum FROM t_FACard c INNER JOIN (SELECT FAssetID, SUM(FDepr) "
             "AS FSum FROM AIS_FABal GROUP BY FAssetID) x ON x.FAssetID = c.FAssetNumber")
      << QStringLiteral("UPDATE t_FACard SET FPeriodsUsed = b.FDeprPeriods FROM t_FACard c INNER JOIN t_FAAlter a ON "
                        "a.FAlterID = c.FAlterID INNER JOIN t_FABalance b ON b.FAssetID = a.FAssetID");
    return b.text();
}

}  // namespace

int clsEboFa::UpgradeFABalanceData(FaRun &run) {
    StepKit &kit = run.kit;
    const QString prefix = QStringLiteral("升级【固定资产-余额】时出错：");
    FaReportAlterationsWithoutCard(kit);
    kit.progress(80);
    if (!FaExecute(run, foldVouchersBatch(), prefix)) return FaFailed;
    kit.progress(80);
    if (!FaExecute(run, balanceRowsBatch(), prefix)) return FaFailed;
    kit.progress(90);
    if (!FaExecute(run, balanceCardsBatch(), prefix)) return FaFailed;
    if (!FaExecute(run, cardTotalsBatch(), prefix)) return FaFailed;
    return FaDone;
}
