// The balances phase: account-level amounts of every period as the source
// holds them, item-level opening amounts and quantities at the start period,
// the later item movement rebuilt from the posted vouchers, and the
// general-ledger keys of the initialisation state. All of it is one batch,
// run set by set on the server. Accounts whose opening position spans more
// than one item class are left out (Tmp_Mult_Item) and reported.
#include <QStringList>

#include "foundation/ErrorText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwError.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/ledger/LedgerSql.h"
#include "upgrade/ledger/clsEboGL.h"

namespace {

const QString kProject = QStringLiteral("科目余额");

// clang-format off
const char *const kBalanceBatch =
    "SET NOCOUNT ON\r\n"
    "DECLARE @Y INT, @StartYear INT, @S INT, @M INT, @F SMALLINT, @P INT, @Q INT, @ClassID INT, @AccountID INT, @CurrencyID INT, @DetailBase INT, @DetailMax INT\r\n"
    "DECLARE @Sql VARCHAR(8000)\r\n"
    // Preparation: either mapping column of an item stands for the other.
    "UPDATE AIS_GLObj SET FZ8InterID = FZ8InterID_2 WHERE FZ8InterID IS NULL\r\n"
    "UPDATE AIS_GLObj SET FZ8InterID_2 = FZ8InterID WHERE FZ8InterID_2 IS NULL\r\n"
    "SELECT @Y = FCurrYear, @StartYear = FStartYear, @S = CASE WHEN FCurrYear = FStartYear THEN FStartPeriod ELSE 1 END FROM AIS_GLPref\r\n"
    // Accounts whose opening position spans several item classes.
    "IF EXISTS(SELECT [NAME] FROM SysObjects WHERE [NAME] = 'Tmp_Mult_Item' AND [TYPE] = 'U') DROP TABLE Tmp_Mult_Item\r\n"
    // The source code stays beside the target account, which an unmapped
    // account lacks, so the warning can name every account left out.
    "CREATE TABLE Tmp_Mult_Item (FAccountID INT NULL, FTableName VARCHAR(100) NULL, FAcctID NVARCHAR(20) NULL)\r\n"
    "INSERT INTO Tmp_Mult_Item (FAccountID, FTableName, FAcctID)\r\n"
    " SELECT DISTINCT A.FZ8InterID, 't_Balance', A.FAcctID FROM AIS_GLAcct A INNER JOIN (SELECT FAcctID FROM (SELECT DISTINCT FAcctID, FClsID FROM AIS_GLBal\r\n"
    "  WHERE FPeriod = @S AND FClsID > 0 AND (ISNULL(FBegBal, 0) <> 0 OR FYtdDebit - FDebit <> 0 OR FYtdCredit - FCredit <> 0)) T\r\n"
    "  GROUP BY FAcctID HAVING COUNT(FClsID) > 1) M ON M.FAcctID = A.FAcctID\r\n"
    "INSERT INTO Tmp_Mult_Item (FAccountID, FTableName, FAcctID)\r\n"
    " SELECT DISTINCT A.FZ8InterID, 't_QuantityBalance', A.FAcctID FROM AIS_GLAcct A INNER JOIN (SELECT FAcctID FROM (SELECT DISTINCT FAcctID, FClsID FROM AIS_GLQtyBal\r\n"
    "  WHERE FPeriod = @S AND FClsID > 0 AND (FBegQty <> 0 OR FYtdDebit - FDebit <> 0 OR FYtdCredit - FCredit <> 0)) T\r\n"
    "  GROUP BY FAcctID HAVING COUNT(FClsID) > 1) M ON M.FAcctID = A.FAcctID\r\n"
    "IF EXISTS(SELECT 1 FROM Tmp_Mult_Item)\r\n"
    "BEGIN\r\n"
    "  UPDATE t_Voucher SET FPosted = 0, FPosterID = -1 WHERE FYear = @Y AND FPeriod >= @S\r\n"
    "  UPDATE t_SystemProfile SET FValue = CAST(@Y AS VARCHAR(20)) WHERE FCategory = 'GL' AND FKey = 'StartYear' AND CONVERT(INTEGER, FValue) < @Y\r\n"
    "  UPDATE t_SystemProfile SET FValue = CAST(CASE WHEN @Y = @StartYear THEN @S ELSE 1 END AS VARCHAR(20)) WHERE FCategory = 'GL' AND FKey = 'StartPeriod'\r\n"
    "  UPDATE t_SystemProfile SET FValue = (SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'StartPeriod') WHERE FCategory = 'GL' AND FKey = 'CurrentPeriod'\r\n"
    "  UPDATE t_SystemProfile SET FValue = '0' WHERE FCategory = 'GL' AND FKey = 'InitClosed'\r\n"
    "END\r\n"
    "DELETE FROM t_Balance WHERE FYear = @Y\r\n"
    "DELETE FROM t_QuantityBalance WHERE FYear = @Y\r\n"
    // Account-level amounts of every period from the start period on.
    "INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    " SELECT 0, T1.FPeriod, T2.FZ8InterID, 0, T3.FZ8InterID,\r\n"
    "  SUM(CASE WHEN T1.FBase = 0 THEN ISNULL(T1.FBegBal, 0) ELSE 0 END), SUM(CASE WHEN T1.FBase = 0 THEN T1.FDebit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN T1.FBase = 0 THEN T1.FCredit ELSE 0 END), SUM(CASE WHEN T1.FBase = 0 THEN T1.FYtdDebit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN T1.FBase = 0 THEN T1.FYtdCredit ELSE 0 END), SUM(CASE WHEN T1.FBase = 0 THEN ISNULL(T1.FEndBal, 0) ELSE 0 END),\r\n"
    "  SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN ISNULL(T1.FBegBal, 0) ELSE 0 END), SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FDebit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FCredit ELSE 0 END), SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FYtdDebit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FYtdCredit ELSE 0 END), SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN ISNULL(T1.FEndBal, 0) ELSE 0 END)\r\n"
    " FROM AIS_GLBal T1 INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID INNER JOIN AIS_GLCy T3 ON T1.FCyID = T3.FCyID\r\n"
    " WHERE T3.FZ8InterID > 0 AND T2.FZ8InterID IS NOT NULL AND T1.FClsID = 0 AND T1.FPeriod >= @S AND NOT EXISTS (SELECT 1 FROM Tmp_Mult_Item MI WHERE MI.FAccountID = T2.FZ8InterID AND MI.FTableName = 't_Balance')\r\n"
    " GROUP BY T1.FPeriod, T2.FZ8InterID, T3.FZ8InterID\r\n"
    "INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    " SELECT 0, FPeriod, FAccountID, 0, 0, SUM(FBeginBalance), SUM(FDebit), SUM(FCredit), SUM(FYtdDebit), SUM(FYtdCredit), SUM(FEndBalance),\r\n"
    "  SUM(FBeginBalance), SUM(FDebit), SUM(FCredit), SUM(FYtdDebit), SUM(FYtdCredit), SUM(FEndBalance)\r\n"
    " FROM t_Balance WHERE FYear = 0 AND FCurrencyID > 0 GROUP BY FPeriod, FAccountID\r\n"
    "UPDATE t_Balance SET FYear = @Y WHERE FYear = 0\r\n"
    // Opening amounts per item at the start period.
    "IF OBJECT_ID('tempdb..#Tmp_OneClass') IS NOT NULL DROP TABLE #Tmp_OneClass\r\n"
    "SELECT FAcctID INTO #Tmp_OneClass FROM (SELECT DISTINCT FAcctID, FClsID FROM AIS_GLBal WHERE FPeriod = @S AND FClsID > 0 AND FCyID <> '*' AND FObjID <> '*') T\r\n"
    " GROUP BY FAcctID HAVING COUNT(FClsID) = 1\r\n"
    "IF OBJECT_ID('tempdb..#Tmp_Bal_DetailID') IS NOT NULL DROP TABLE #Tmp_Bal_DetailID\r\n"
    "CREATE TABLE #Tmp_Bal_DetailID (FID INT IDENTITY(1,1), FAccountID INT, FCurrencyID INT, FItemID INT, FBeginBalanceFor MONEY, FDebitFor MONEY, FCreditFor MONEY, FYtdDebitFor MONEY, FYtdCreditFor MONEY, FEndBalanceFor MONEY, FBeginBalance MONEY, FDebit MONEY, FCredit MONEY, FYtdDebit MONEY, FYtdCredit MONEY, FEndBalance MONEY, FDetailID INT)\r\n"
    "INSERT INTO #Tmp_Bal_DetailID (FAccountID, FCurrencyID, FItemID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance, FDetailID)\r\n"
    " SELECT T2.FZ8InterID, T3.FZ8InterID,\r\n"
    "  CASE WHEN ISNULL(MAX(M.FSubledgerType), 1) <> 1 THEN MAX(T4.FZ8InterID_2) ELSE MAX(T4.FZ8InterID) END,\r\n"
    "  SUM(CASE WHEN T1.FBase = 0 THEN ISNULL(T1.FBegBal, 0) ELSE 0 END), 0, 0,\r\n"
    "  SUM(CASE WHEN T1.FBase = 0 THEN T1.FYtdDebit ELSE 0 END) - SUM(CASE WHEN T1.FBase = 0 THEN T1.FDebit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN T1.FBase = 0 THEN T1.FYtdCredit ELSE 0 END) - SUM(CASE WHEN T1.FBase = 0 THEN T1.FCredit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN T1.FBase = 0 THEN ISNULL(T1.FBegBal, 0) ELSE 0 END),\r\n"
    "  SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN ISNULL(T1.FBegBal, 0) ELSE 0 END), 0, 0,\r\n"
    "  SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FYtdDebit ELSE 0 END) - SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FDebit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FYtdCredit ELSE 0 END) - SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN T1.FCredit ELSE 0 END),\r\n"
    "  SUM(CASE WHEN (T1.FBase <> 0 OR T3.FZ8InterID = 1) THEN ISNULL(T1.FBegBal, 0) ELSE 0 END), 0\r\n"
    " FROM AIS_GLBal T1 INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID INNER JOIN AIS_GLCy T3 ON T1.FCyID = T3.FCyID\r\n"
    "  INNER JOIN AIS_GLObj T4 ON T1.FObjID = T4.FObjID AND T1.FClsID = T4.FClsID\r\n"
    "  INNER JOIN #Tmp_OneClass O ON O.FAcctID = T1.FAcctID\r\n"
    "  LEFT JOIN TempGLAcctMapping M ON M.FAcctID = T1.FAcctID\r\n"
    " WHERE T1.FPeriod = @S AND T3.FZ8InterID > 0 AND T1.FClsID > 0 AND T2.FZ8InterID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM Tmp_Mult_Item MI WHERE MI.FAccountID = T2.FZ8InterID AND MI.FTableName = 't_Balance')\r\n"
    " GROUP BY T2.FZ8InterID, T3.FZ8InterID, T4.FClsID, T4.FObjID\r\n"
    "UPDATE T SET T.FDetailID = V.FDetailID FROM #Tmp_Bal_DetailID T INNER JOIN t_ItemDetailV V ON V.FItemID = T.FItemID\r\n"
    " INNER JOIN t_ItemDetail D ON D.FDetailID = V.FDetailID AND D.FDetailCount = 1\r\n"
    "SELECT @DetailBase = ISNULL(MAX(FDetailID), 0) FROM t_ItemDetailV\r\n"
    "SELECT @DetailMax = ISNULL(MAX(FDetailID), 0) FROM t_ItemDetail\r\n"
    "IF @DetailMax > @DetailBase SET @DetailBase = @DetailMax\r\n"
    "IF OBJECT_ID('tempdb..#Tmp_Bal_DetailID_Distinct') IS NOT NULL DROP TABLE #Tmp_Bal_DetailID_Distinct\r\n"
    "SELECT FItemID, MIN(FID) AS FID INTO #Tmp_Bal_DetailID_Distinct FROM #Tmp_Bal_DetailID WHERE FDetailID = 0 AND FItemID > 0 GROUP BY FItemID\r\n"
    "UPDATE T SET T.FDetailID = D.FID + @DetailBase FROM #Tmp_Bal_DetailID T INNER JOIN #Tmp_Bal_DetailID_Distinct D ON D.FItemID = T.FItemID WHERE T.FDetailID = 0\r\n"
    "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID)\r\n"
    " SELECT X.FDetailID, X.FItemClassID, X.FItemID FROM (SELECT MIN(T.FDetailID) AS FDetailID, I.FItemClassID, T.FItemID\r\n"
    "  FROM #Tmp_Bal_DetailID T INNER JOIN t_Item I ON I.FItemID = T.FItemID WHERE T.FDetailID > 0\r\n"
    "  GROUP BY I.FItemClassID, T.FItemID) X\r\n"
    " WHERE NOT EXISTS (SELECT 1 FROM t_ItemDetailV V WHERE V.FDetailID = X.FDetailID AND V.FItemID = X.FItemID)\r\n"
    "DECLARE ItemClass_Cursor CURSOR FOR SELECT DISTINCT FItemClassID FROM t_ItemDetailV WHERE FItemClassID > 0\r\n"
    "OPEN ItemClass_Cursor\r\n"
    "FETCH NEXT FROM ItemClass_Cursor INTO @ClassID\r\n"
    "WHILE @@FETCH_STATUS = 0\r\n"
    "BEGIN\r\n"
    "  SET @Sql = 'SET IDENTITY_INSERT t_ItemDetail ON INSERT INTO t_ItemDetail (FDetailID, FDetailCount, F' + CAST(@ClassID AS VARCHAR(20)) + ') SELECT V.FDetailID, 1, V.FItemID FROM t_ItemDetailV V WHERE V.FItemClassID = ' + CAST(@ClassID AS VARCHAR(20)) + ' AND NOT EXISTS (SELECT 1 FROM t_ItemDetail D WHERE D.FDetailID = V.FDetailID) SET IDENTITY_INSERT t_ItemDetail OFF'\r\n"
    "  EXEC(@Sql)\r\n"
    "  FETCH NEXT FROM ItemClass_Cursor INTO @ClassID\r\n"
    "END\r\n"
    "CLOSE ItemClass_Cursor\r\n"
    "DEALLOCATE ItemClass_Cursor\r\n"
    "DELETE FROM #Tmp_Bal_DetailID WHERE FDetailID = 0\r\n"
    "INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    " SELECT @Y, @S, FAccountID, FDetailID, FCurrencyID, SUM(FBeginBalanceFor), SUM(FDebitFor), SUM(FCreditFor), SUM(FYtdDebitFor), SUM(FYtdCreditFor), SUM(FEndBalanceFor),\r\n"
    "  SUM(FBeginBalance), SUM(FDebit), SUM(FCredit), SUM(FYtdDebit), SUM(FYtdCredit), SUM(FEndBalance)\r\n"
    " FROM #Tmp_Bal_DetailID GROUP BY FAccountID, FDetailID, FCurrencyID\r\n"
    // Item amounts of the periods from the posted vouchers of the year.
    "SELECT @M = FCurrPeriod FROM AIS_GLPref\r\n"
    "SELECT @F = CONVERT(INTEGER, FValue) FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'InitClosed'\r\n"
    "SET @P = @S\r\n"
    "WHILE @P <= @M AND @F <> 0\r\n"
    "BEGIN\r\n"
    "  IF OBJECT_ID('tempdb..#Tmp_VchEntryBal') IS NOT NULL DROP TABLE #Tmp_VchEntryBal\r\n"
    "  SELECT V.FYear, V.FPeriod, E.FDetailID, E.FAccountID, E.FCurrencyID,\r\n"
    "   ISNULL(SUM(CASE WHEN E.FDC <> 0 THEN E.FAmount ELSE 0 END), 0) AS FDebit,\r\n"
    "   ISNULL(SUM(CASE WHEN E.FDC = 0 THEN E.FAmount ELSE 0 END), 0) AS FCredit,\r\n"
    "   ISNULL(SUM(CASE WHEN E.FDC <> 0 THEN CASE WHEN E.FAmountFor = 0 THEN CASE WHEN C.FOper = '*' THEN E.FAmount / NULLIF(E.FExchangeRate, 0) ELSE E.FAmount * E.FExchangeRate END ELSE E.FAmountFor END ELSE 0 END), 0) AS FDebitFor,\r\n"
    "   ISNULL(SUM(CASE WHEN E.FDC = 0 THEN CASE WHEN E.FAmountFor = 0 THEN CASE WHEN C.FOper = '*' THEN E.FAmount / NULLIF(E.FExchangeRate, 0) ELSE E.FAmount * E.FExchangeRate END ELSE E.FAmountFor END ELSE 0 END), 0) AS FCreditFor\r\n"
    "  INTO #Tmp_VchEntryBal FROM t_VoucherEntry E INNER JOIN t_Voucher V ON V.FVoucherID = E.FVoucherID\r\n"
    "   INNER JOIN AIS_GLCy C ON C.FZ8InterID = E.FCurrencyID\r\n"
    "  WHERE E.FDetailID > 0 AND V.FPosted <> 0 AND V.FPeriod = @P AND V.FYear = @Y\r\n"
    "  GROUP BY V.FYear, V.FPeriod, E.FDetailID, E.FAccountID, E.FCurrencyID\r\n"
    "  IF @P - 1 >= @S\r\n"
    "   INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    "    SELECT @Y, @P, FAccountID, FDetailID, FCurrencyID, FEndBalanceFor, 0, 0, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FEndBalance, 0, 0, FYtdDebit, FYtdCredit, FEndBalance\r\n"
    "    FROM t_Balance WHERE FYear = @Y AND FPeriod = @P - 1 AND FDetailID > 0\r\n"
    "  UPDATE B SET B.FDebitFor = B.FDebitFor + T.FDebitFor, B.FYtdDebitFor = B.FYtdDebitFor + T.FDebitFor,\r\n"
    "   B.FCreditFor = B.FCreditFor + T.FCreditFor, B.FYtdCreditFor = B.FYtdCreditFor + T.FCreditFor,\r\n"
    "   B.FEndBalanceFor = B.FEndBalanceFor + T.FDebitFor - T.FCreditFor,\r\n"
    "   B.FDebit = B.FDebit + T.FDebit, B.FYtdDebit = B.FYtdDebit + T.FDebit,\r\n"
    "   B.FCredit = B.FCredit + T.FCredit, B.FYtdCredit = B.FYtdCredit + T.FCredit,\r\n"
    "   B.FEndBalance = B.FEndBalance + T.FDebit - T.FCredit\r\n"
    "  FROM t_Balance B INNER JOIN #Tmp_VchEntryBal T ON B.FYear = T.FYear AND B.FPeriod = T.FPeriod AND B.FDetailID = T.FDetailID AND B.FAccountID = T.FAccountID AND B.FCurrencyID = T.FCurrencyID\r\n"
    "  INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    "   SELECT T.FYear, T.FPeriod, T.FAccountID, T.FDetailID, T.FCurrencyID, 0, T.FDebitFor, T.FCreditFor, T.FDebitFor, T.FCreditFor, T.FDebitFor - T.FCreditFor,\r\n"
    "    0, T.FDebit, T.FCredit, T.FDebit, T.FCredit, T.FDebit - T.FCredit\r\n"
    "   FROM #Tmp_VchEntryBal T WHERE NOT EXISTS (SELECT 1 FROM t_Balance B WHERE B.FYear = T.FYear AND B.FPeriod = T.FPeriod AND B.FAccountID = T.FAccountID AND B.FDetailID = T.FDetailID AND B.FCurrencyID = T.FCurrencyID)\r\n"
    "  DROP TABLE #Tmp_VchEntryBal\r\n"
    "  SET @P = @P + 1\r\n"
    "END\r\n"
    "INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    " SELECT FYear, FPeriod, FAccountID, FDetailID, 0, SUM(FBeginBalance), SUM(FDebit), SUM(FCredit), SUM(FYtdDebit), SUM(FYtdCredit), SUM(FEndBalance),\r\n"
    "  SUM(FBeginBalance), SUM(FDebit), SUM(FCredit), SUM(FYtdDebit), SUM(FYtdCredit), SUM(FEndBalance)\r\n"
    " FROM t_Balance WHERE FYear = @Y AND FDetailID > 0 AND FCurrencyID > 0 GROUP BY FYear, FPeriod, FAccountID, FDetailID\r\n"
    "UPDATE B SET\r\n"
    "  B.FBeginBalanceFor = ROUND(B.FBeginBalanceFor, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FDebitFor = ROUND(B.FDebitFor, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FCreditFor = ROUND(B.FCreditFor, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FYtdDebitFor = ROUND(B.FYtdDebitFor, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FYtdCreditFor = ROUND(B.FYtdCreditFor, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FEndBalanceFor = ROUND(B.FEndBalanceFor, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FBeginBalance = ROUND(B.FBeginBalance, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FDebit = ROUND(B.FDebit, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FCredit = ROUND(B.FCredit, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FYtdDebit = ROUND(B.FYtdDebit, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FYtdCredit = ROUND(B.FYtdCredit, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END),\r\n"
    "  B.FEndBalance = ROUND(B.FEndBalance, CASE WHEN ISNULL(C.FScale, 0) < 2 THEN 2 ELSE C.FScale END)\r\n"
    " FROM t_Balance B INNER JOIN t_Currency C ON C.FCurrencyID = B.FCurrencyID\r\n"
    "UPDATE t_Balance SET FBeginBalanceFor = FBeginBalance, FDebitFor = FDebit, FCreditFor = FCredit, FEndBalanceFor = FEndBalance WHERE FCurrencyID = 0\r\n"
    // Opening quantities (in currency 1) at the start period.
    "IF OBJECT_ID('tempdb..#Tmp_QtyBal_DetailID') IS NOT NULL DROP TABLE #Tmp_QtyBal_DetailID\r\n"
    "CREATE TABLE #Tmp_QtyBal_DetailID (FID INT IDENTITY(1,1), FAccountID INT, FItemID INT, FBeginQty DECIMAL(28,10), FYtdDebitQty DECIMAL(28,10), FYtdCreditQty DECIMAL(28,10), FDetailID INT)\r\n"
    "INSERT INTO #Tmp_QtyBal_DetailID (FAccountID, FItemID, FBeginQty, FYtdDebitQty, FYtdCreditQty, FDetailID)\r\n"
    " SELECT X.FAccountID, X.FItemID, SUM(X.FBegQty), SUM(X.FYtdDebit) - SUM(X.FDebit), SUM(X.FYtdCredit) - SUM(X.FCredit), 0\r\n"
    " FROM (SELECT T2.FZ8InterID AS FAccountID,\r\n"
    "   ISNULL(CASE WHEN ISNULL(M.FSubledgerType, 1) <> 1 THEN T4.FZ8InterID_2 ELSE T4.FZ8InterID END, 0) AS FItemID,\r\n"
    "   ISNULL(T1.FBegQty, 0) AS FBegQty, ISNULL(T1.FDebit, 0) AS FDebit, ISNULL(T1.FCredit, 0) AS FCredit,\r\n"
    "   ISNULL(T1.FYtdDebit, 0) AS FYtdDebit, ISNULL(T1.FYtdCredit, 0) AS FYtdCredit\r\n"
    "  FROM AIS_GLQtyBal T1 INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID\r\n"
    "   LEFT JOIN AIS_GLObj T4 ON T1.FObjID = T4.FObjID AND T1.FClsID = T4.FClsID\r\n"
    "   LEFT JOIN TempGLAcctMapping M ON M.FAcctID = T1.FAcctID\r\n"
    "  WHERE T1.FPeriod = @S AND T2.FZ8InterID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM Tmp_Mult_Item MI WHERE MI.FAccountID = T2.FZ8InterID AND MI.FTableName = 't_QuantityBalance')\r\n"
    "   AND NOT EXISTS (SELECT 1 FROM (SELECT DISTINCT FAcctID, FClsID FROM AIS_GLBal WHERE FPeriod = @S AND FClsID > 0 AND FCyID <> '*' AND FObjID <> '*') B\r\n"
    "    WHERE B.FAcctID = T1.FAcctID GROUP BY B.FAcctID HAVING COUNT(B.FClsID) > 1)) X\r\n"
    " GROUP BY X.FAccountID, X.FItemID\r\n"
    "UPDATE T SET T.FDetailID = V.FDetailID FROM #Tmp_QtyBal_DetailID T INNER JOIN t_ItemDetailV V ON V.FItemID = T.FItemID\r\n"
    " INNER JOIN t_ItemDetail D ON D.FDetailID = V.FDetailID AND D.FDetailCount = 1 WHERE T.FItemID > 0\r\n"
    "SELECT @DetailBase = ISNULL(MAX(FDetailID), 0) FROM t_ItemDetailV\r\n"
    "SELECT @DetailMax = ISNULL(MAX(FDetailID), 0) FROM t_ItemDetail\r\n"
    "IF @DetailMax > @DetailBase SET @DetailBase = @DetailMax\r\n"
    "UPDATE #Tmp_QtyBal_DetailID SET FDetailID = FID + @DetailBase WHERE FDetailID = 0 AND FItemID <> 0\r\n"
    "UPDATE T SET T.FDetailID = D.FDetailID FROM #Tmp_QtyBal_DetailID T INNER JOIN (SELECT FItemID, MIN(FDetailID) AS FDetailID FROM #Tmp_QtyBal_DetailID WHERE FItemID > 0 GROUP BY FItemID) D ON D.FItemID = T.FItemID\r\n"
    "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID)\r\n"
    " SELECT X.FDetailID, X.FItemClassID, X.FItemID FROM (SELECT MIN(T.FDetailID) AS FDetailID, I.FItemClassID, T.FItemID\r\n"
    "  FROM #Tmp_QtyBal_DetailID T INNER JOIN t_Item I ON I.FItemID = T.FItemID WHERE T.FDetailID > 0\r\n"
    "  GROUP BY I.FItemClassID, T.FItemID) X\r\n"
    " WHERE NOT EXISTS (SELECT 1 FROM t_ItemDetailV V WHERE V.FDetailID = X.FDetailID AND V.FItemID = X.FItemID)\r\n"
    "DECLARE ItemClass_Cursor CURSOR FOR SELECT DISTINCT FItemClassID FROM t_ItemDetailV WHERE FItemClassID > 0\r\n"
    "OPEN ItemClass_Cursor\r\n"
    "FETCH NEXT FROM ItemClass_Cursor INTO @ClassID\r\n"
    "WHILE @@FETCH_STATUS = 0\r\n"
    "BEGIN\r\n"
    "  SET @Sql = 'SET IDENTITY_INSERT t_ItemDetail ON INSERT INTO t_ItemDetail (FDetailID, FDetailCount, F' + CAST(@ClassID AS VARCHAR(20)) + ') SELECT V.FDetailID, 1, V.FItemID FROM t_ItemDetailV V WHERE V.FItemClassID = ' + CAST(@ClassID AS VARCHAR(20)) + ' AND NOT EXISTS (SELECT 1 FROM t_ItemDetail D WHERE D.FDetailID = V.FDetailID) SET IDENTITY_INSERT t_ItemDetail OFF'\r\n"
    "  EXEC(@Sql)\r\n"
    "  FETCH NEXT FROM ItemClass_Cursor INTO @ClassID\r\n"
    "END\r\n"
    "CLOSE ItemClass_Cursor\r\n"
    "DEALLOCATE ItemClass_Cursor\r\n"
    "INSERT INTO t_QuantityBalance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginQty, FDebitQty, FCreditQty, FYtdDebitQty, FYtdCreditQty, FEndQty)\r\n"
    " SELECT @Y, @S, FAccountID, FDetailID, 1, SUM(FBeginQty), 0, 0, SUM(FYtdDebitQty), SUM(FYtdCreditQty), SUM(FBeginQty)\r\n"
    " FROM #Tmp_QtyBal_DetailID GROUP BY FAccountID, FDetailID\r\n"
    "SET @P = @S\r\n"
    "WHILE @P <= @M AND @F <> 0\r\n"
    "BEGIN\r\n"
    "  IF OBJECT_ID('tempdb..#Tmp_VchEntryQtyBal') IS NOT NULL DROP TABLE #Tmp_VchEntryQtyBal\r\n"
    "  SELECT V.FYear, V.FPeriod, E.FDetailID, E.FAccountID, E.FCurrencyID,\r\n"
    "   SUM(CASE WHEN E.FDC <> 0 THEN ISNULL(E.FQuantity, 0) ELSE 0 END) AS FDebitQty,\r\n"
    "   SUM(CASE WHEN E.FDC = 0 THEN ISNULL(E.FQuantity, 0) ELSE 0 END) AS FCreditQty\r\n"
    "  INTO #Tmp_VchEntryQtyBal FROM t_VoucherEntry E INNER JOIN t_Voucher V ON V.FVoucherID = E.FVoucherID\r\n"
    "  WHERE V.FPosted <> 0 AND V.FPeriod = @P AND V.FYear = @Y\r\n"
    "  GROUP BY V.FYear, V.FPeriod, E.FDetailID, E.FAccountID, E.FCurrencyID\r\n"
    "  HAVING SUM(CASE WHEN E.FDC <> 0 THEN ISNULL(E.FQuantity, 0) ELSE 0 END) <> 0 OR SUM(CASE WHEN E.FDC = 0 THEN ISNULL(E.FQuantity, 0) ELSE 0 END) <> 0\r\n"
    "  IF @P - 1 >= @S\r\n"
    "   INSERT INTO t_QuantityBalance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginQty, FDebitQty, FCreditQty, FYtdDebitQty, FYtdCreditQty, FEndQty)\r\n"
    "    SELECT @Y, @P, FAccountID, FDetailID, FCurrencyID, FEndQty, 0, 0, FYtdDebitQty, FYtdCreditQty, FEndQty\r\n"
    "    FROM t_QuantityBalance WHERE FYear = @Y AND FPeriod = @P - 1\r\n"
    "  UPDATE B SET B.FDebitQty = B.FDebitQty + T.FDebitQty, B.FYtdDebitQty = B.FYtdDebitQty + T.FDebitQty,\r\n"
    "   B.FCreditQty = B.FCreditQty + T.FCreditQty, B.FYtdCreditQty = B.FYtdCreditQty + T.FCreditQty,\r\n"
    "   B.FEndQty = B.FEndQty + T.FDebitQty - T.FCreditQty\r\n"
    "  FROM t_QuantityBalance B INNER JOIN #Tmp_VchEntryQtyBal T ON B.FYear = T.FYear AND B.FPeriod = T.FPeriod AND B.FDetailID = T.FDetailID AND B.FAccountID = T.FAccountID AND B.FCurrencyID = T.FCurrencyID\r\n"
    "  INSERT INTO t_QuantityBalance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginQty, FDebitQty, FCreditQty, FYtdDebitQty, FYtdCreditQty, FEndQty)\r\n"
    "   SELECT T.FYear, T.FPeriod, T.FAccountID, T.FDetailID, T.FCurrencyID, 0, T.FDebitQty, T.FCreditQty, T.FDebitQty, T.FCreditQty, T.FDebitQty - T.FCreditQty\r\n"
    "   FROM #Tmp_VchEntryQtyBal T WHERE NOT EXISTS (SELECT 1 FROM t_QuantityBalance B WHERE B.FYear = T.FYear AND B.FPeriod = T.FPeriod AND B.FAccountID = T.FAccountID AND B.FDetailID = T.FDetailID AND B.FCurrencyID = T.FCurrencyID)\r\n"
    "  DROP TABLE #Tmp_VchEntryQtyBal\r\n"
    "  SET @P = @P + 1\r\n"
    "END\r\n"
    // Quantity totals over items and currencies.
    "DELETE Q FROM t_QuantityBalance Q WHERE Q.FYear = @Y AND Q.FDetailID = 0 AND EXISTS (SELECT 1 FROM t_QuantityBalance X WHERE X.FYear = Q.FYear AND X.FPeriod = Q.FPeriod AND X.FAccountID = Q.FAccountID AND X.FCurrencyID = Q.FCurrencyID AND X.FDetailID > 0)\r\n"
    "INSERT INTO t_QuantityBalance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginQty, FDebitQty, FCreditQty, FYtdDebitQty, FYtdCreditQty, FEndQty)\r\n"
    " SELECT FYear, FPeriod, FAccountID, 0, FCurrencyID, SUM(FBeginQty), SUM(FDebitQty), SUM(FCreditQty), SUM(FYtdDebitQty), SUM(FYtdCreditQty), SUM(FEndQty)\r\n"
    " FROM t_QuantityBalance WHERE FYear = @Y AND FDetailID > 0 AND FCurrencyID > 0 GROUP BY FYear, FPeriod, FAccountID, FCurrencyID\r\n"
    "INSERT INTO t_QuantityBalance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginQty, FDebitQty, FCreditQty, FYtdDebitQty, FYtdCreditQty, FEndQty)\r\n"
    " SELECT FYear, FPeriod, FAccountID, FDetailID, 0, SUM(FBeginQty), SUM(FDebitQty), SUM(FCreditQty), SUM(FYtdDebitQty), SUM(FYtdCreditQty), SUM(FEndQty)\r\n"
    " FROM t_QuantityBalance WHERE FYear = @Y AND FDetailID > 0 AND FCurrencyID > 0 GROUP BY FYear, FPeriod, FAccountID, FDetailID\r\n"
    "INSERT INTO t_QuantityBalance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginQty, FDebitQty, FCreditQty, FYtdDebitQty, FYtdCreditQty, FEndQty)\r\n"
    " SELECT FYear, FPeriod, FAccountID, 0, 0, SUM(FBeginQty), SUM(FDebitQty), SUM(FCreditQty), SUM(FYtdDebitQty), SUM(FYtdCreditQty), SUM(FEndQty)\r\n"
    " FROM t_QuantityBalance WHERE FYear = @Y AND FDetailID = 0 AND FCurrencyID > 0 GROUP BY FYear, FPeriod, FAccountID\r\n"
    // Closing: an uninitialised set keeps its start period only; otherwise
    // the periods before the start are filled from it.
    "SELECT @F = CONVERT(INTEGER, FValue) FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'InitClosed'\r\n"
    "IF @F = 0\r\n"
    "BEGIN\r\n"
    "  UPDATE t_Voucher SET FPosted = 0, FPosterID = -1 WHERE FYear = @Y AND FPeriod >= @S\r\n"
    "  UPDATE t_SystemProfile SET FValue = (SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'StartPeriod') WHERE FCategory = 'GL' AND FKey = 'CurrentPeriod'\r\n"
    "  DELETE FROM t_Balance WHERE FYear = @Y AND FPeriod <> @S\r\n"
    "  DELETE FROM t_QuantityBalance WHERE FYear = @Y AND FPeriod <> @S\r\n"
    "  DELETE FROM t_ProfitAndLoss WHERE FYear = @Y AND FPeriod <> @S\r\n"
    "  UPDATE t_Balance SET FYtdDebitFor = FYtdDebitFor - FDebitFor, FYtdCreditFor = FYtdCreditFor - FCreditFor, FYtdDebit = FYtdDebit - FDebit, FYtdCredit = FYtdCredit - FCredit WHERE FYear = @Y AND FPeriod = @S\r\n"
    "  UPDATE t_Balance SET FDebitFor = 0, FCreditFor = 0, FEndBalanceFor = FBeginBalanceFor, FDebit = 0, FCredit = 0, FEndBalance = FBeginBalance WHERE FYear = @Y AND FPeriod = @S\r\n"
    "  DELETE FROM t_Balance WHERE FYear = @Y AND FPeriod = @S AND FBeginBalance = 0 AND FYtdDebit = 0 AND FYtdCredit = 0\r\n"
    "  UPDATE t_QuantityBalance SET FYtdDebitQty = FYtdDebitQty - FDebitQty, FYtdCreditQty = FYtdCreditQty - FCreditQty WHERE FYear = @Y AND FPeriod = @S\r\n"
    "  UPDATE t_QuantityBalance SET FDebitQty = 0, FCreditQty = 0, FEndQty = FBeginQty WHERE FYear = @Y AND FPeriod = @S\r\n"
    "  DELETE FROM t_QuantityBalance WHERE FYear = @Y AND FPeriod = @S AND FBeginQty = 0 AND FYtdDebitQty = 0 AND FYtdCreditQty = 0\r\n"
    "END\r\n"
    "ELSE\r\n"
    "BEGIN\r\n"
    "  DELETE FROM t_Balance WHERE FYear = @Y AND FPeriod < @S\r\n"
    "  DELETE FROM t_QuantityBalance WHERE FYear = @Y AND FPeriod < @S\r\n"
    "  SET @Q = 1\r\n"
    "  WHILE @Q < @S\r\n"
    "  BEGIN\r\n"
    "    INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    "     SELECT FYear, @Q, FAccountID, FDetailID, FCurrencyID,\r\n"
    "      CASE WHEN @Q = 1 THEN FBeginBalanceFor + (FYtdCreditFor - FCreditFor) - (FYtdDebitFor - FDebitFor) ELSE FBeginBalanceFor END,\r\n"
    "      CASE WHEN @Q = 1 THEN FYtdDebitFor - FDebitFor ELSE 0 END, CASE WHEN @Q = 1 THEN FYtdCreditFor - FCreditFor ELSE 0 END,\r\n"
    "      FYtdDebitFor - FDebitFor, FYtdCreditFor - FCreditFor, FBeginBalanceFor,\r\n"
    "      CASE WHEN @Q = 1 THEN FBeginBalance + (FYtdCredit - FCredit) - (FYtdDebit - FDebit) ELSE FBeginBalance END,\r\n"
    "      CASE WHEN @Q = 1 THEN FYtdDebit - FDebit ELSE 0 END, CASE WHEN @Q = 1 THEN FYtdCredit - FCredit ELSE 0 END,\r\n"
    "      FYtdDebit - FDebit, FYtdCredit - FCredit, FBeginBalance\r\n"
    "     FROM t_Balance WHERE FYear = @Y AND FPeriod = @S AND (FBeginBalanceFor <> 0 OR FYtdCredit - FCredit <> 0 OR FYtdDebit - FDebit <> 0)\r\n"
    "    INSERT INTO t_QuantityBalance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginQty, FDebitQty, FCreditQty, FYtdDebitQty, FYtdCreditQty, FEndQty)\r\n"
    "     SELECT FYear, @Q, FAccountID, FDetailID, FCurrencyID,\r\n"
    "      CASE WHEN @Q = 1 THEN FBeginQty + (FYtdCreditQty - FCreditQty) - (FYtdDebitQty - FDebitQty) ELSE FBeginQty END,\r\n"
    "      CASE WHEN @Q = 1 THEN FYtdDebitQty - FDebitQty ELSE 0 END, CASE WHEN @Q = 1 THEN FYtdCreditQty - FCreditQty ELSE 0 END,\r\n"
    "      FYtdDebitQty - FDebitQty, FYtdCreditQty - FCreditQty, FBeginQty\r\n"
    "     FROM t_QuantityBalance WHERE FYear = @Y AND FPeriod = @S AND (FYtdDebitQty - FDebitQty <> 0 OR FYtdCreditQty - FCreditQty <> 0 OR FBeginQty <> 0)\r\n"
    "    SET @Q = @Q + 1\r\n"
    "  END\r\n"
    "END\r\n"
    // Parents of the accounts left out, in every currency they can hold.
    "DECLARE MultItem_Cursor CURSOR FOR SELECT DISTINCT MI.FAccountID, C.FCurrencyID FROM Tmp_Mult_Item MI\r\n"
    " INNER JOIN t_Account A ON A.FAccountID = MI.FAccountID\r\n"
    " INNER JOIN t_Currency C ON (A.FCurrencyID <> 0 AND C.FCurrencyID = A.FCurrencyID) OR (ISNULL(A.FCurrencyID, 0) = 0 AND C.FCurrencyID <> 0)\r\n"
    " WHERE MI.FTableName = 't_Balance'\r\n"
    "OPEN MultItem_Cursor\r\n"
    "FETCH NEXT FROM MultItem_Cursor INTO @AccountID, @CurrencyID\r\n"
    "WHILE @@FETCH_STATUS = 0\r\n"
    "BEGIN\r\n"
    "  EXEC sp_UpdateBalance @AccountID, @CurrencyID\r\n"
    "  FETCH NEXT FROM MultItem_Cursor INTO @AccountID, @CurrencyID\r\n"
    "END\r\n"
    "CLOSE MultItem_Cursor\r\n"
    "DEALLOCATE MultItem_Cursor\r\n";
// clang-format on

// Balances only: the set starts at its current period with the year's
// movement folded into period 1, and keeps no vouchers.
// clang-format off
const char *const kBalanceOnlyBlock =
    "UPDATE t_SystemProfile SET FValue = (SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'CurrentYear') WHERE FCategory = 'GL' AND FKey = 'StartYear'\r\n"
    "UPDATE t_SystemProfile SET FValue = (SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'CurrentPeriod') WHERE FCategory = 'GL' AND FKey = 'StartPeriod'\r\n"
    "IF @M > 1\r\n"
    "BEGIN\r\n"
    "  UPDATE B1 SET B1.FYtdDebitFor = BM.FYtdDebitFor, B1.FYtdCreditFor = BM.FYtdCreditFor, B1.FDebitFor = BM.FYtdDebitFor, B1.FCreditFor = BM.FYtdCreditFor,\r\n"
    "   B1.FEndBalanceFor = B1.FBeginBalanceFor + BM.FYtdDebitFor - BM.FYtdCreditFor,\r\n"
    "   B1.FYtdDebit = BM.FYtdDebit, B1.FYtdCredit = BM.FYtdCredit, B1.FDebit = BM.FYtdDebit, B1.FCredit = BM.FYtdCredit,\r\n"
    "   B1.FEndBalance = B1.FBeginBalance + BM.FYtdDebit - BM.FYtdCredit\r\n"
    "  FROM t_Balance B1 INNER JOIN t_Balance BM ON BM.FYear = B1.FYear AND BM.FPeriod = @M AND BM.FAccountID = B1.FAccountID AND BM.FDetailID = B1.FDetailID AND BM.FCurrencyID = B1.FCurrencyID\r\n"
    "  WHERE B1.FPeriod = 1\r\n"
    "  UPDATE Q1 SET Q1.FYtdDebitQty = QM.FYtdDebitQty, Q1.FYtdCreditQty = QM.FYtdCreditQty, Q1.FDebitQty = QM.FYtdDebitQty, Q1.FCreditQty = QM.FYtdCreditQty,\r\n"
    "   Q1.FEndQty = Q1.FBeginQty + QM.FYtdDebitQty - QM.FYtdCreditQty\r\n"
    "  FROM t_QuantityBalance Q1 INNER JOIN t_QuantityBalance QM ON QM.FYear = Q1.FYear AND QM.FPeriod = @M AND QM.FAccountID = Q1.FAccountID AND QM.FDetailID = Q1.FDetailID AND QM.FCurrencyID = Q1.FCurrencyID\r\n"
    "  WHERE Q1.FPeriod = 1\r\n"
    "  INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID, FBeginBalanceFor, FDebitFor, FCreditFor, FYtdDebitFor, FYtdCreditFor, FEndBalanceFor, FBeginBalance, FDebit, FCredit, FYtdDebit, FYtdCredit, FEndBalance)\r\n"
    "   SELECT BM.FYear, 1, BM.FAccountID, BM.FDetailID, BM.FCurrencyID, 0, BM.FYtdDebitFor, BM.FYtdCreditFor, BM.FYtdDebitFor, BM.FYtdCreditFor, BM.FEndBalanceFor,\r\n"
    "    0, BM.FYtdDebit, BM.FYtdCredit, BM.FYtdDebit, BM.FYtdCredit, BM.FEndBalance\r\n"
    "   FROM t_Balance BM WHERE BM.FPeriod = @M AND NOT EXISTS (SELECT 1 FROM t_Balance B1 WHERE B1.FYear = BM.FYear AND B1.FPeriod = 1 AND B1.FAccountID = BM.FAccountID AND B1.FDetailID = BM.FDetailID AND B1.FCurrencyID = BM.FCurrencyID)\r\n"
    "  DELETE FROM t_Balance WHERE FPeriod > 1 AND FPeriod < @M\r\n"
    "END\r\n"
    "TRUNCATE TABLE T_VoucherEntry\r\n"
    "TRUNCATE TABLE T_Voucher\r\n";
// clang-format on

// clang-format off
const char *const kBalanceEnd =
    "IF EXISTS(SELECT [NAME] FROM SysObjects WHERE [NAME] = 'TempGLAcctMapping' AND [TYPE] = 'U') DROP TABLE TempGLAcctMapping\r\n"
    "SET NOCOUNT OFF";
// clang-format on

}  // namespace

int clsEboGL::UpgradeGLBalance(StepKit &kit) {
    try {
        AddInterIDColumn(kit.data(), kit.connectString(), QStringLiteral("AIS_GLObj"), QStringLiteral("FZ8InterID_2"));
        // Entries whose foreign amount cannot be had from their rate: told
        // with the result (they add nothing to the item amounts).
        const int noRate =
            kit.scalar(QStringLiteral("SELECT COUNT(*) FROM t_VoucherEntry E INNER JOIN t_Voucher V ON V.FVoucherID = "
                                      "E.FVoucherID INNER JOIN AIS_GLCy C ON C.FZ8InterID = E.FCurrencyID WHERE "
                                      "E.FDetailID > 0 AND V.FPosted <> 0 AND E.FAmountFor = 0 AND C.FOper = '*' AND "
                                      "ISNULL(E.FExchangeRate, 0) = 0"))
                .toInt();

        QString batch = QString::fromUtf8(kBalanceBatch);
        if (BalanceOnly) batch += QString::fromUtf8(kBalanceOnlyBlock);
        batch += QString::fromUtf8(kBalanceEnd);
        QString error;
        if (!kit.execute(batch, error)) throw PnwError(-1, QStringLiteral("clsEboGL.UpgradeGLBalance"), error);

        // The accounts left out, from the list the batch decided by.
        auto rs = kit.query(QStringLiteral(
            "SELECT DISTINCT A.FAcctID, A.FAcctName, M.FTableName FROM Tmp_Mult_Item M INNER JOIN AIS_GLAcct A ON "
            "A.FAcctID = M.FAcctID ORDER BY A.FAcctID, M.FTableName"));
        if (!rs)
            throw PnwError(-1, QStringLiteral("clsEboGL.UpgradeGLBalance"),
                           QStringLiteral("查询下挂多核算项目并有期初余额的科目时发生错误。"));
        const bool reset = !rs->Eof() || kit.scalar(QStringLiteral("SELECT COUNT(*) FROM Tmp_Mult_Item")).toInt() > 0;
        if (!reset && noRate == 0) {
            WriteUpgradeLog(kProject, QString(), QString(), 0);
            return 0;
        }
        QStringList lines;
        clsDetailLogInfo detail;
        detail.setTitle(QStringLiteral("科目列表"));
        if (reset) {
            lines << QStringLiteral("无法升级存在多核算项目期初余额的记录，系统将不会升级这些科目余额。")
                  << QStringLiteral("系统将重置为初始化状态，并且将所有凭证还原到未过账状态。")
                  << QStringLiteral("您必须在升级完成后，在VEQ专业版中重新初始化详细日志中列出的科目的期初余额，"
                                    "并逐期结账！");
            detail.InsertCaption(QStringLiteral("科目代码"));
            detail.InsertCaption(QStringLiteral("科目名称"));
            detail.InsertCaption(QStringLiteral("余额类型"));
            for (; !rs->Eof(); rs->MoveNext()) {
                PnwList row;
                AddValueCell(row, ledger::text(*rs, "FAcctID"));
                AddValueCell(row, ledger::text(*rs, "FAcctName"));
                AddValueCell(row, ledger::text(*rs, "FTableName") == QStringLiteral("t_Balance")
                                      ? QStringLiteral("金额")
                                      : QStringLiteral("数量"));
                detail.InsertSingleEntry(row);
            }
        }
        if (noRate > 0)
            lines << QStringLiteral("汇率为零或为空、无法折算原币金额的已过账凭证分录数：") + QString::number(noRate);
        WriteUpgradeLog(kProject, lines.join(QStringLiteral("\r\n")),
                        reset ? QStringLiteral("存在多核算项目余额的科目") : QString(), 1,
                        reset ? detail.PackDetailLog() : PnwList());
        return 1;
    } catch (const std::exception &e) {
        WriteUpgradeLog(kProject, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
