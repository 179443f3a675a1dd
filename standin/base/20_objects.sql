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
-- the ancestors (top down) and the item's own, joined by "_"; FShortNumber
-- and FFullNumber default to FNumber, and FFullNumber always follows
-- FNumber for custom classes (above 3000). The business-unit upgrade
-- switches this trigger off while it writes its own full names.
-- Rows are walked one at a time without a cursor, so a failing statement
-- leaves nothing declared in the session.
-------------------------------------------------------------------------------
CREATE TRIGGER T_Item_FullName ON T_Item FOR INSERT, UPDATE
AS
SET NOCOUNT ON
DECLARE @ItemID int
DECLARE @Done int
DECLARE @Parent int
DECLARE @Next int
DECLARE @Levels int
DECLARE @Name nvarchar(255)
DECLARE @FullName nvarchar(1000)

UPDATE T_Item SET FShortNumber = FNumber
 WHERE FShortNumber IS NULL AND FItemID IN (SELECT FItemID FROM inserted)
UPDATE T_Item SET FFullNumber = FNumber
 WHERE (FFullNumber IS NULL OR FItemClassID > 3000)
   AND FItemID IN (SELECT FItemID FROM inserted)

SET @ItemID = NULL
SELECT @ItemID = MIN(FItemID) FROM inserted
WHILE @ItemID IS NOT NULL
BEGIN
    SET @FullName = NULL
    SET @Parent = 0
    SELECT @FullName = FName, @Parent = FParentID FROM T_Item WHERE FItemID = @ItemID
    SET @Levels = 0
    WHILE @Parent > 0 AND @Parent <> @ItemID AND @Levels < 20
    BEGIN
        SET @Name = NULL
        SET @Next = 0
        SELECT @Name = FName, @Next = FParentID FROM T_Item WHERE FItemID = @Parent
        IF @Name IS NULL
            SET @Parent = 0
        ELSE
        BEGIN
            SET @FullName = @Name + '_' + @FullName
            SET @Parent = @Next
        END
        SET @Levels = @Levels + 1
    END
    UPDATE T_Item SET FFullName = @FullName WHERE FItemID = @ItemID

    SET @Done = @ItemID
    SET @ItemID = NULL
    SELECT @ItemID = MIN(FItemID) FROM inserted WHERE FItemID > @Done
END
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
