-- Base account set: procedures and triggers.
-- Run after 10_tables.sql; each object is a batch of its own.

-------------------------------------------------------------------------------
-- sp_UpdateBalance @AccountID, @CurrencyID
-- Brings the account-level balances (FDetailID 0) of every ancestor of
-- @AccountID in @CurrencyID into line with what t_Balance holds for its
-- direct children, level by level upwards; for a real currency it then
-- rebuilds the ancestor's all-currencies row (currency 0) from the base
-- amounts of its rows in every currency above 0.
-- Called by the balance upgrade for accounts whose own balances were left
-- out; item-level rows and quantities are not touched.
-------------------------------------------------------------------------------
CREATE PROCEDURE sp_UpdateBalance @AccountID int, @CurrencyID int
AS
SET NOCOUNT ON
DECLARE @Parent int
DECLARE @Next int
DECLARE @Levels int
SET @Parent = 0
SET @Levels = 0
SELECT @Parent = FParentID FROM T_Account WHERE FAccountID = @AccountID
WHILE @Parent > 0 AND @Parent <> @AccountID AND @Levels < 20
    AND EXISTS (SELECT 1 FROM T_Account WHERE FAccountID = @Parent)
BEGIN
    -- Periods in which no child holds a row: the parent's row goes.
    DELETE FROM t_Balance
     WHERE FAccountID = @Parent AND FDetailID = 0 AND FCurrencyID = @CurrencyID
       AND NOT EXISTS (SELECT 1
                         FROM t_Balance c INNER JOIN T_Account a ON a.FAccountID = c.FAccountID
                        WHERE a.FParentID = @Parent AND c.FDetailID = 0
                          AND c.FCurrencyID = @CurrencyID
                          AND c.FYear = t_Balance.FYear AND c.FPeriod = t_Balance.FPeriod)

    -- Existing parent rows take the children's sums.
    UPDATE b
       SET b.FBeginBalanceFor = s.FBeginBalanceFor,
           b.FDebitFor = s.FDebitFor,
           b.FCreditFor = s.FCreditFor,
           b.FYtdDebitFor = s.FYtdDebitFor,
           b.FYtdCreditFor = s.FYtdCreditFor,
           b.FEndBalanceFor = s.FEndBalanceFor,
           b.FBeginBalance = s.FBeginBalance,
           b.FDebit = s.FDebit,
           b.FCredit = s.FCredit,
           b.FYtdDebit = s.FYtdDebit,
           b.FYtdCredit = s.FYtdCredit,
           b.FEndBalance = s.FEndBalance
      FROM t_Balance b
     INNER JOIN (SELECT c.FYear, c.FPeriod,
                        SUM(c.FBeginBalanceFor) AS FBeginBalanceFor,
                        SUM(c.FDebitFor) AS FDebitFor,
                        SUM(c.FCreditFor) AS FCreditFor,
                        SUM(c.FYtdDebitFor) AS FYtdDebitFor,
                        SUM(c.FYtdCreditFor) AS FYtdCreditFor,
                        SUM(c.FEndBalanceFor) AS FEndBalanceFor,
                        SUM(c.FBeginBalance) AS FBeginBalance,
                        SUM(c.FDebit) AS FDebit,
                        SUM(c.FCredit) AS FCredit,
                        SUM(c.FYtdDebit) AS FYtdDebit,
                        SUM(c.FYtdCredit) AS FYtdCredit,
                        SUM(c.FEndBalance) AS FEndBalance
                   FROM t_Balance c INNER JOIN T_Account a ON a.FAccountID = c.FAccountID
                  WHERE a.FParentID = @Parent AND c.FDetailID = 0
                    AND c.FCurrencyID = @CurrencyID
                  GROUP BY c.FYear, c.FPeriod) s
        ON s.FYear = b.FYear AND s.FPeriod = b.FPeriod
     WHERE b.FAccountID = @Parent AND b.FDetailID = 0 AND b.FCurrencyID = @CurrencyID

    -- Periods in which only children hold rows: the parent gets one.
    INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID,
                           FBeginBalanceFor, FDebitFor, FCreditFor,
                           FYtdDebitFor, FYtdCreditFor, FEndBalanceFor,
                           FBeginBalance, FDebit, FCredit,
                           FYtdDebit, FYtdCredit, FEndBalance)
    SELECT c.FYear, c.FPeriod, @Parent, 0, @CurrencyID,
           SUM(c.FBeginBalanceFor), SUM(c.FDebitFor), SUM(c.FCreditFor),
           SUM(c.FYtdDebitFor), SUM(c.FYtdCreditFor), SUM(c.FEndBalanceFor),
           SUM(c.FBeginBalance), SUM(c.FDebit), SUM(c.FCredit),
           SUM(c.FYtdDebit), SUM(c.FYtdCredit), SUM(c.FEndBalance)
      FROM t_Balance c INNER JOIN T_Account a ON a.FAccountID = c.FAccountID
     WHERE a.FParentID = @Parent AND c.FDetailID = 0 AND c.FCurrencyID = @CurrencyID
       AND NOT EXISTS (SELECT 1 FROM t_Balance p
                        WHERE p.FAccountID = @Parent AND p.FDetailID = 0
                          AND p.FCurrencyID = @CurrencyID
                          AND p.FYear = c.FYear AND p.FPeriod = c.FPeriod)
     GROUP BY c.FYear, c.FPeriod

    -- The all-currencies row: base amounts of every real currency, in
    -- both column groups.
    IF @CurrencyID <> 0
    BEGIN
        DELETE FROM t_Balance
         WHERE FAccountID = @Parent AND FDetailID = 0 AND FCurrencyID = 0
           AND NOT EXISTS (SELECT 1 FROM t_Balance o
                            WHERE o.FAccountID = @Parent AND o.FDetailID = 0
                              AND o.FCurrencyID > 0
                              AND o.FYear = t_Balance.FYear AND o.FPeriod = t_Balance.FPeriod)

        UPDATE b
           SET b.FBeginBalanceFor = s.FBeginBalance,
               b.FDebitFor = s.FDebit,
               b.FCreditFor = s.FCredit,
               b.FYtdDebitFor = s.FYtdDebit,
               b.FYtdCreditFor = s.FYtdCredit,
               b.FEndBalanceFor = s.FEndBalance,
               b.FBeginBalance = s.FBeginBalance,
               b.FDebit = s.FDebit,
               b.FCredit = s.FCredit,
               b.FYtdDebit = s.FYtdDebit,
               b.FYtdCredit = s.FYtdCredit,
               b.FEndBalance = s.FEndBalance
          FROM t_Balance b
         INNER JOIN (SELECT o.FYear, o.FPeriod,
                            SUM(o.FBeginBalance) AS FBeginBalance,
                            SUM(o.FDebit) AS FDebit,
                            SUM(o.FCredit) AS FCredit,
                            SUM(o.FYtdDebit) AS FYtdDebit,
                            SUM(o.FYtdCredit) AS FYtdCredit,
                            SUM(o.FEndBalance) AS FEndBalance
                       FROM t_Balance o
                      WHERE o.FAccountID = @Parent AND o.FDetailID = 0 AND o.FCurrencyID > 0
                      GROUP BY o.FYear, o.FPeriod) s
            ON s.FYear = b.FYear AND s.FPeriod = b.FPeriod
         WHERE b.FAccountID = @Parent AND b.FDetailID = 0 AND b.FCurrencyID = 0

        INSERT INTO t_Balance (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID,
                               FBeginBalanceFor, FDebitFor, FCreditFor,
                               FYtdDebitFor, FYtdCreditFor, FEndBalanceFor,
                               FBeginBalance, FDebit, FCredit,
                               FYtdDebit, FYtdCredit, FEndBalance)
        SELECT o.FYear, o.FPeriod, @Parent, 0, 0,
               SUM(o.FBeginBalance), SUM(o.FDebit), SUM(o.FCredit),
               SUM(o.FYtdDebit), SUM(o.FYtdCredit), SUM(o.FEndBalance),
               SUM(o.FBeginBalance), SUM(o.FDebit), SUM(o.FCredit),
               SUM(o.FYtdDebit), SUM(o.FYtdCredit), SUM(o.FEndBalance)
          FROM t_Balance o
         WHERE o.FAccountID = @Parent AND o.FDetailID = 0 AND o.FCurrencyID > 0
           AND NOT EXISTS (SELECT 1 FROM t_Balance z
                            WHERE z.FAccountID = @Parent AND z.FDetailID = 0
                              AND z.FCurrencyID = 0
                              AND z.FYear = o.FYear AND z.FPeriod = o.FPeriod)
         GROUP BY o.FYear, o.FPeriod
    END

    SET @Next = 0
    SELECT @Next = FParentID FROM T_Account WHERE FAccountID = @Parent
    SET @Parent = @Next
    SET @Levels = @Levels + 1
END
GO

-------------------------------------------------------------------------------
-- pr_InitIntelTransfer @AccountType
-- Intelligent-closing defaults of an accounting system (1 to 4): records the
-- system as GL/IntelTransferAccountType. Other values change nothing.
-------------------------------------------------------------------------------
CREATE PROCEDURE pr_InitIntelTransfer @AccountType int
AS
SET NOCOUNT ON
IF @AccountType BETWEEN 1 AND 4
BEGIN
    IF EXISTS (SELECT 1 FROM t_SystemProfile
                WHERE FCategory = 'GL' AND FKey = 'IntelTransferAccountType')
        UPDATE t_SystemProfile
           SET FValue = CAST(@AccountType AS varchar(10))
         WHERE FCategory = 'GL' AND FKey = 'IntelTransferAccountType'
    ELSE
        INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel)
        VALUES ('GL', 'IntelTransferAccountType', CAST(@AccountType AS varchar(10)), 0, 2)
END
GO

-------------------------------------------------------------------------------
-- T_Item_FullName
-- Keeps the derived columns of items complete: FFullName is the names of
-- the ancestors (top down, at most 20 levels, a missing parent ends the
-- chain, a chain leading back to the item stops there) and the item's own,
-- joined by "_"; FShortNumber and FFullNumber default to FNumber, and
-- FFullNumber always follows FNumber for custom classes (above 3000).
-- The business-unit upgrade switches this trigger off while it writes its
-- own full names. One set-based statement per column: no loop, no cursor.
-------------------------------------------------------------------------------
CREATE TRIGGER T_Item_FullName ON T_Item FOR INSERT, UPDATE
AS
SET NOCOUNT ON
UPDATE T_Item SET FShortNumber = FNumber
 WHERE FShortNumber IS NULL AND FItemID IN (SELECT FItemID FROM inserted)
UPDATE T_Item SET FFullNumber = FNumber
 WHERE (FFullNumber IS NULL OR FItemClassID > 3000)
   AND FItemID IN (SELECT FItemID FROM inserted)
UPDATE i
   SET i.FFullName = CONVERT(nvarchar(1000),
                           ISNULL(p20.FName + N'_', N'') +
                           ISNULL(p19.FName + N'_', N'') +
                           ISNULL(p18.FName + N'_', N'') +
                           ISNULL(p17.FName + N'_', N'') +
                           ISNULL(p16.FName + N'_', N'') +
                           ISNULL(p15.FName + N'_', N'') +
                           ISNULL(p14.FName + N'_', N'') +
                           ISNULL(p13.FName + N'_', N'') +
                           ISNULL(p12.FName + N'_', N'') +
                           ISNULL(p11.FName + N'_', N'') +
                           ISNULL(p10.FName + N'_', N'') +
                           ISNULL(p9.FName + N'_', N'') +
                           ISNULL(p8.FName + N'_', N'') +
                           ISNULL(p7.FName + N'_', N'') +
                           ISNULL(p6.FName + N'_', N'') +
                           ISNULL(p5.FName + N'_', N'') +
                           ISNULL(p4.FName + N'_', N'') +
                           ISNULL(p3.FName + N'_', N'') +
                           ISNULL(p2.FName + N'_', N'') +
                           ISNULL(p1.FName + N'_', N'') +
                           i.FName)
  FROM T_Item i
  LEFT JOIN T_Item p1 ON p1.FItemID = i.FParentID AND p1.FItemID <> i.FItemID
  LEFT JOIN T_Item p2 ON p2.FItemID = p1.FParentID AND p2.FItemID <> i.FItemID
  LEFT JOIN T_Item p3 ON p3.FItemID = p2.FParentID AND p3.FItemID <> i.FItemID
  LEFT JOIN T_Item p4 ON p4.FItemID = p3.FParentID AND p4.FItemID <> i.FItemID
  LEFT JOIN T_Item p5 ON p5.FItemID = p4.FParentID AND p5.FItemID <> i.FItemID
  LEFT JOIN T_Item p6 ON p6.FItemID = p5.FParentID AND p6.FItemID <> i.FItemID
  LEFT JOIN T_Item p7 ON p7.FItemID = p6.FParentID AND p7.FItemID <> i.FItemID
  LEFT JOIN T_Item p8 ON p8.FItemID = p7.FParentID AND p8.FItemID <> i.FItemID
  LEFT JOIN T_Item p9 ON p9.FItemID = p8.FParentID AND p9.FItemID <> i.FItemID
  LEFT JOIN T_Item p10 ON p10.FItemID = p9.FParentID AND p10.FItemID <> i.FItemID
  LEFT JOIN T_Item p11 ON p11.FItemID = p10.FParentID AND p11.FItemID <> i.FItemID
  LEFT JOIN T_Item p12 ON p12.FItemID = p11.FParentID AND p12.FItemID <> i.FItemID
  LEFT JOIN T_Item p13 ON p13.FItemID = p12.FParentID AND p13.FItemID <> i.FItemID
  LEFT JOIN T_Item p14 ON p14.FItemID = p13.FParentID AND p14.FItemID <> i.FItemID
  LEFT JOIN T_Item p15 ON p15.FItemID = p14.FParentID AND p15.FItemID <> i.FItemID
  LEFT JOIN T_Item p16 ON p16.FItemID = p15.FParentID AND p16.FItemID <> i.FItemID
  LEFT JOIN T_Item p17 ON p17.FItemID = p16.FParentID AND p17.FItemID <> i.FItemID
  LEFT JOIN T_Item p18 ON p18.FItemID = p17.FParentID AND p18.FItemID <> i.FItemID
  LEFT JOIN T_Item p19 ON p19.FItemID = p18.FParentID AND p19.FItemID <> i.FItemID
  LEFT JOIN T_Item p20 ON p20.FItemID = p19.FParentID AND p20.FItemID <> i.FItemID
 WHERE i.FItemID IN (SELECT FItemID FROM inserted)
GO

-------------------------------------------------------------------------------
-- T_Item_MaxNum
-- Keeps ICMaxNum('T_Item') at the highest item id handed out, so that the
-- custom item classes, numbered from that counter, stay clear of every item
-- inserted before them. Separate from T_Item_FullName so that switching
-- that one off does not stop it.
-------------------------------------------------------------------------------
CREATE TRIGGER T_Item_MaxNum ON T_Item FOR INSERT
AS
SET NOCOUNT ON
UPDATE ICMaxNum
   SET FMaxNum = (SELECT MAX(FItemID) FROM inserted)
 WHERE FTableName = 'T_Item'
   AND (FMaxNum IS NULL OR FMaxNum < (SELECT MAX(FItemID) FROM inserted))
GO
