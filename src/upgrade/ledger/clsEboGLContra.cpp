// Contra accounts of the converted voucher entries: one batch over the whole
// entry table. Vouchers with one entry on a side are matched set by set,
// vouchers of alternating equal debit and credit lines by pairs, and the rest
// entry by entry. Every rule joins the entries it takes its account from, so
// an entry whose partner is missing keeps 0 instead of NULL.
#include "upgrade/common/StepKit.h"
#include "upgrade/ledger/clsEboGL.h"

#include "foundation/ErrorText.h"

namespace {

// The batch keeps an entry of amount 0 on neither side.
// clang-format off
const char *const kContraBatch =
    " SET NOCOUNT ON \r\n"
    // Entries and sides per voucher.
    "IF OBJECT_ID('tempdb..#TVoucherDC') IS NOT NULL DROP TABLE #TVoucherDC\r\n"
    "SELECT e.FVoucherID, COUNT(*) AS FCount,\r\n"
    "  SUM(CASE WHEN ((e.FDC = 1 AND e.FAmount > 0) OR (e.FDC = 0 AND e.FAmount < 0)) THEN 1 ELSE 0 END) AS FDebitCount,\r\n"
    "  SUM(CASE WHEN ((e.FDC = 0 AND e.FAmount > 0) OR (e.FDC = 1 AND e.FAmount < 0)) THEN 1 ELSE 0 END) AS FCreditCount\r\n"
    "INTO #TVoucherDC FROM t_VoucherEntry e GROUP BY e.FVoucherID\r\n"
    // Case 1: two entries.
    "UPDATE e SET e.FAccountID2 = c.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TVoucherDC v ON v.FVoucherID = e.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry c ON c.FVoucherID = e.FVoucherID AND c.FEntryID <> e.FEntryID AND ((c.FDC = 0 AND c.FAmount > 0) OR (c.FDC = 1 AND c.FAmount < 0))\r\n"
    " WHERE v.FCount = 2 AND ((e.FDC = 1 AND e.FAmount > 0) OR (e.FDC = 0 AND e.FAmount < 0))\r\n"
    "UPDATE e SET e.FAccountID2 = d.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TVoucherDC v ON v.FVoucherID = e.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry d ON d.FVoucherID = e.FVoucherID AND d.FEntryID <> e.FEntryID AND ((d.FDC = 1 AND d.FAmount > 0) OR (d.FDC = 0 AND d.FAmount < 0))\r\n"
    " WHERE v.FCount = 2 AND ((e.FDC = 0 AND e.FAmount > 0) OR (e.FDC = 1 AND e.FAmount < 0))\r\n"
    // Case 2: one debit entry against several credit entries.
    "UPDATE e SET e.FAccountID2 = c.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TVoucherDC v ON v.FVoucherID = e.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry c ON c.FVoucherID = e.FVoucherID AND c.FEntryID =\r\n"
    "   (SELECT MIN(x.FEntryID) FROM t_VoucherEntry x WHERE x.FVoucherID = e.FVoucherID AND ((x.FDC = 0 AND x.FAmount > 0) OR (x.FDC = 1 AND x.FAmount < 0)))\r\n"
    " WHERE v.FCreditCount > 1 AND v.FDebitCount = 1 AND ((e.FDC = 1 AND e.FAmount > 0) OR (e.FDC = 0 AND e.FAmount < 0))\r\n"
    "UPDATE e SET e.FAccountID2 = d.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TVoucherDC v ON v.FVoucherID = e.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry d ON d.FVoucherID = e.FVoucherID AND ((d.FDC = 1 AND d.FAmount > 0) OR (d.FDC = 0 AND d.FAmount < 0))\r\n"
    " WHERE v.FCreditCount > 1 AND v.FDebitCount = 1 AND ((e.FDC = 0 AND e.FAmount > 0) OR (e.FDC = 1 AND e.FAmount < 0))\r\n"
    // Case 3: several debit entries against one credit entry.
    "UPDATE e SET e.FAccountID2 = c.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TVoucherDC v ON v.FVoucherID = e.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry c ON c.FVoucherID = e.FVoucherID AND ((c.FDC = 0 AND c.FAmount > 0) OR (c.FDC = 1 AND c.FAmount < 0))\r\n"
    " WHERE v.FDebitCount > 1 AND v.FCreditCount = 1 AND ((e.FDC = 1 AND e.FAmount > 0) OR (e.FDC = 0 AND e.FAmount < 0))\r\n"
    "UPDATE e SET e.FAccountID2 = d.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TVoucherDC v ON v.FVoucherID = e.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry d ON d.FVoucherID = e.FVoucherID AND d.FEntryID =\r\n"
    "   (SELECT MIN(x.FEntryID) FROM t_VoucherEntry x WHERE x.FVoucherID = e.FVoucherID AND ((x.FDC = 1 AND x.FAmount > 0) OR (x.FDC = 0 AND x.FAmount < 0)))\r\n"
    " WHERE v.FDebitCount > 1 AND v.FCreditCount = 1 AND ((e.FDC = 0 AND e.FAmount > 0) OR (e.FDC = 1 AND e.FAmount < 0))\r\n"
    // Case 4: several on both sides.
    "IF OBJECT_ID('tempdb..#TMultipleDC') IS NOT NULL DROP TABLE #TMultipleDC\r\n"
    "SELECT FVoucherID INTO #TMultipleDC FROM #TVoucherDC WHERE FDebitCount > 1 AND FCreditCount > 1\r\n"
    // Pairs of a debit line and the credit line right after it.
    "IF OBJECT_ID('tempdb..#TMultipleDC_OneByOneDebit_Temp') IS NOT NULL DROP TABLE #TMultipleDC_OneByOneDebit_Temp\r\n"
    "SELECT d.FVoucherID, d.FEntryID, d.FAccountID, c.FEntryID AS FEntryID2, c.FAccountID AS FAccountID2\r\n"
    " INTO #TMultipleDC_OneByOneDebit_Temp FROM t_VoucherEntry d\r\n"
    " INNER JOIN #TMultipleDC m ON m.FVoucherID = d.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry c ON c.FVoucherID = d.FVoucherID AND c.FEntryID = d.FEntryID + 1\r\n"
    " WHERE ((d.FDC = 1 AND d.FAmount > 0) OR (d.FDC = 0 AND d.FAmount < 0)) AND ((c.FDC = 0 AND c.FAmount > 0) OR (c.FDC = 1 AND c.FAmount < 0)) AND ABS(c.FAmount) = ABS(d.FAmount)\r\n"
    "IF OBJECT_ID('tempdb..#TMultipleDC_OneByOneDebit') IS NOT NULL DROP TABLE #TMultipleDC_OneByOneDebit\r\n"
    "SELECT p.FVoucherID, p.FEntryID, p.FAccountID, p.FEntryID2, p.FAccountID2\r\n"
    " INTO #TMultipleDC_OneByOneDebit FROM #TMultipleDC_OneByOneDebit_Temp p\r\n"
    " INNER JOIN t_Voucher v ON v.FVoucherID = p.FVoucherID\r\n"
    " WHERE v.FEntryCount = 2 * (SELECT COUNT(*) FROM #TMultipleDC_OneByOneDebit_Temp q WHERE q.FVoucherID = p.FVoucherID)\r\n"
    "UPDATE e SET e.FAccountID2 = p.FAccountID2 FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TMultipleDC_OneByOneDebit p ON p.FVoucherID = e.FVoucherID AND p.FEntryID = e.FEntryID\r\n"
    "UPDATE e SET e.FAccountID2 = p.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TMultipleDC_OneByOneDebit p ON p.FVoucherID = e.FVoucherID AND p.FEntryID2 = e.FEntryID\r\n"
    // Pairs of a credit line and the debit line right after it.
    "IF OBJECT_ID('tempdb..#TMultipleDC_OneByOneCredit_Temp') IS NOT NULL DROP TABLE #TMultipleDC_OneByOneCredit_Temp\r\n"
    "SELECT c.FVoucherID, c.FEntryID, c.FAccountID, d.FEntryID AS FEntryID2, d.FAccountID AS FAccountID2\r\n"
    " INTO #TMultipleDC_OneByOneCredit_Temp FROM t_VoucherEntry c\r\n"
    " INNER JOIN #TMultipleDC m ON m.FVoucherID = c.FVoucherID\r\n"
    " INNER JOIN t_VoucherEntry d ON d.FVoucherID = c.FVoucherID AND d.FEntryID = c.FEntryID + 1\r\n"
    " WHERE ((c.FDC = 0 AND c.FAmount > 0) OR (c.FDC = 1 AND c.FAmount < 0)) AND ((d.FDC = 1 AND d.FAmount > 0) OR (d.FDC = 0 AND d.FAmount < 0)) AND ABS(c.FAmount) = ABS(d.FAmount)\r\n"
    "IF OBJECT_ID('tempdb..#TMultipleDC_OneByOneCredit') IS NOT NULL DROP TABLE #TMultipleDC_OneByOneCredit\r\n"
    "SELECT p.FVoucherID, p.FEntryID, p.FAccountID, p.FEntryID2, p.FAccountID2\r\n"
    " INTO #TMultipleDC_OneByOneCredit FROM #TMultipleDC_OneByOneCredit_Temp p\r\n"
    " INNER JOIN t_Voucher v ON v.FVoucherID = p.FVoucherID\r\n"
    " WHERE v.FEntryCount = 2 * (SELECT COUNT(*) FROM #TMultipleDC_OneByOneCredit_Temp q WHERE q.FVoucherID = p.FVoucherID)\r\n"
    "UPDATE e SET e.FAccountID2 = p.FAccountID2 FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TMultipleDC_OneByOneCredit p ON p.FVoucherID = e.FVoucherID AND p.FEntryID = e.FEntryID\r\n"
    "UPDATE e SET e.FAccountID2 = p.FAccountID FROM t_VoucherEntry e\r\n"
    " INNER JOIN #TMultipleDC_OneByOneCredit p ON p.FVoucherID = e.FVoucherID AND p.FEntryID2 = e.FEntryID\r\n"
    // The rest, entry by entry.
    "DECLARE @VoucherID BIGINT, @EntryID BIGINT, @MatchID BIGINT, @AccountID INTEGER, @MatchAccountID INTEGER,\r\n"
    "  @Amount DECIMAL(28,2)\r\n"
    "DECLARE TMultipleDC_Cursor CURSOR FORWARD_ONLY FOR SELECT m.FVoucherID FROM #TMultipleDC m\r\n"
    " WHERE NOT EXISTS (SELECT 1 FROM #TMultipleDC_OneByOneDebit p WHERE p.FVoucherID = m.FVoucherID)\r\n"
    "   AND NOT EXISTS (SELECT 1 FROM #TMultipleDC_OneByOneCredit p WHERE p.FVoucherID = m.FVoucherID)\r\n"
    " ORDER BY m.FVoucherID\r\n"
    // The two work tables are made once and emptied for each voucher.
    "IF OBJECT_ID('tempdb..#TDebitEntry') IS NOT NULL DROP TABLE #TDebitEntry\r\n"
    "SELECT e.FEntryID, e.FAccountID, e.FAmount, 0 AS FAccountID2, 0 AS FAmountMatch INTO #TDebitEntry\r\n"
    " FROM t_VoucherEntry e WHERE 1 = 0\r\n"
    "IF OBJECT_ID('tempdb..#TCreditEntry') IS NOT NULL DROP TABLE #TCreditEntry\r\n"
    "SELECT e.FEntryID, e.FAccountID, e.FAmount, 0 AS FAccountID2, 0 AS FAmountMatch INTO #TCreditEntry\r\n"
    " FROM t_VoucherEntry e WHERE 1 = 0\r\n"
    "OPEN TMultipleDC_Cursor\r\n"
    "FETCH NEXT FROM TMultipleDC_Cursor INTO @VoucherID\r\n"
    "WHILE @@FETCH_STATUS = 0\r\n"
    "BEGIN\r\n"
    "  DELETE FROM #TDebitEntry\r\n"
    "  INSERT INTO #TDebitEntry (FEntryID, FAccountID, FAmount, FAccountID2, FAmountMatch)\r\n"
    "   SELECT e.FEntryID, e.FAccountID, e.FAmount, 0, 0\r\n"
    "   FROM t_VoucherEntry e WHERE e.FVoucherID = @VoucherID AND ((e.FDC = 1 AND e.FAmount > 0) OR (e.FDC = 0 AND e.FAmount < 0))\r\n"
    "  DELETE FROM #TCreditEntry\r\n"
    "  INSERT INTO #TCreditEntry (FEntryID, FAccountID, FAmount, FAccountID2, FAmountMatch)\r\n"
    "   SELECT e.FEntryID, e.FAccountID, e.FAmount, 0, 0\r\n"
    "   FROM t_VoucherEntry e WHERE e.FVoucherID = @VoucherID AND ((e.FDC = 0 AND e.FAmount > 0) OR (e.FDC = 1 AND e.FAmount < 0))\r\n"
    // Amount pass: each credit entry is matched at most once.
    "  SET @EntryID = NULL\r\n"
    "  SELECT @EntryID = MIN(FEntryID) FROM #TDebitEntry\r\n"
    "  WHILE @EntryID IS NOT NULL\r\n"
    "  BEGIN\r\n"
    "    SELECT @AccountID = FAccountID, @Amount = ABS(FAmount) FROM #TDebitEntry WHERE FEntryID = @EntryID\r\n"
    "    SET @MatchID = NULL\r\n"
    "    SELECT @MatchID = MIN(FEntryID) FROM #TCreditEntry WHERE FAmountMatch = 0 AND ABS(FAmount) = @Amount\r\n"
    "    IF @MatchID IS NOT NULL\r\n"
    "    BEGIN\r\n"
    "      SELECT @MatchAccountID = FAccountID FROM #TCreditEntry WHERE FEntryID = @MatchID\r\n"
    "      UPDATE #TCreditEntry SET FAccountID2 = @AccountID, FAmountMatch = 1 WHERE FEntryID = @MatchID\r\n"
    "      UPDATE #TDebitEntry SET FAccountID2 = @MatchAccountID, FAmountMatch = 1 WHERE FEntryID = @EntryID\r\n"
    "    END\r\n"
    "    SET @MatchID = @EntryID\r\n"
    "    SET @EntryID = NULL\r\n"
    "    SELECT @EntryID = MIN(FEntryID) FROM #TDebitEntry WHERE FEntryID > @MatchID\r\n"
    "  END\r\n"
    // Debit pass and credit pass: the first entry left unmatched on the
    // other side, which is not used up.
    "  UPDATE #TDebitEntry SET FAccountID2 = (SELECT TOP 1 c.FAccountID FROM #TCreditEntry c\r\n"
    "     WHERE c.FAmountMatch = 0 ORDER BY c.FEntryID)\r\n"
    "   WHERE FAmountMatch = 0 AND EXISTS (SELECT 1 FROM #TCreditEntry c WHERE c.FAmountMatch = 0)\r\n"
    "  UPDATE #TCreditEntry SET FAccountID2 = (SELECT TOP 1 d.FAccountID FROM #TDebitEntry d\r\n"
    "     WHERE d.FAmountMatch = 0 ORDER BY d.FEntryID)\r\n"
    "   WHERE FAmountMatch = 0 AND EXISTS (SELECT 1 FROM #TDebitEntry d WHERE d.FAmountMatch = 0)\r\n"
    "  UPDATE e SET e.FAccountID2 = d.FAccountID2 FROM t_VoucherEntry e\r\n"
    "   INNER JOIN #TDebitEntry d ON d.FEntryID = e.FEntryID WHERE e.FVoucherID = @VoucherID\r\n"
    "  UPDATE e SET e.FAccountID2 = c.FAccountID2 FROM t_VoucherEntry e\r\n"
    "   INNER JOIN #TCreditEntry c ON c.FEntryID = e.FEntryID WHERE e.FVoucherID = @VoucherID\r\n"
    "  FETCH NEXT FROM TMultipleDC_Cursor INTO @VoucherID\r\n"
    "END\r\n"
    "CLOSE TMultipleDC_Cursor\r\n"
    "DEALLOCATE TMultipleDC_Cursor\r\n"
    "DROP TABLE #TDebitEntry\r\n"
    "DROP TABLE #TCreditEntry\r\n"
    "SET NOCOUNT OFF";
// clang-format on

}  // namespace

bool clsEboGL::UpdateContraAccount(StepKit &kit, QString &errorText) {
    try {
        QString error;
        if (kit.execute(QString::fromUtf8(kContraBatch), error)) return true;
        if (!errorText.isEmpty()) errorText += QStringLiteral("\r\n");
        errorText += QStringLiteral("更新凭证分录对方科目时发生错误：") + error + QStringLiteral("\r\n");
    } catch (const std::exception &e) {
        if (!errorText.isEmpty()) errorText += QStringLiteral("\r\n");
        errorText += QStringLiteral("更新凭证分录对方科目时发生错误：") + ErrorDescription(e) + QStringLiteral("\r\n");
    }
    return false;
}
