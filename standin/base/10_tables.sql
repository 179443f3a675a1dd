-- Base account set: every table, once.
-- Run on a new, empty database; batches end at lines holding only "GO".
-- No foreign keys: the upgrade truncates tables, deletes parents before
-- children and moves currency ids through -1.

-------------------------------------------------------------------------------
-- Options, periods and counters
-------------------------------------------------------------------------------

CREATE TABLE t_SystemProfile (
    FCategory        nvarchar(50)  NOT NULL,
    FKey             nvarchar(100) NOT NULL,
    FValue           nvarchar(255) NULL,
    FReadOnly        int           NOT NULL DEFAULT 0,
    FLevel           int           NULL DEFAULT 0,
    FDescription     nvarchar(255) NULL DEFAULT '',
    FExplanation     nvarchar(255) NULL,
    FFormat          nvarchar(255) NULL,
    FDescription_cht nvarchar(255) NULL,
    FDescription_en  nvarchar(255) NULL,
    FSort            nvarchar(20)  NULL,
    CONSTRAINT PK_t_SystemProfile PRIMARY KEY (FCategory, FKey)
)
GO

CREATE TABLE t_PeriodDate (
    FYear      int      NOT NULL,
    FPeriod    int      NOT NULL,
    FStartDate datetime NOT NULL,
    FEndDate   datetime NOT NULL,
    CONSTRAINT PK_t_PeriodDate PRIMARY KEY (FYear, FPeriod)
)
GO

CREATE TABLE ICMaxNum (
    FTableName nvarchar(50) NOT NULL,
    FMaxNum    int          NULL,
    CONSTRAINT PK_ICMaxNum PRIMARY KEY (FTableName)
)
GO

-------------------------------------------------------------------------------
-- Users
-------------------------------------------------------------------------------

CREATE TABLE T_User (
    FUserID       int           NOT NULL,
    FName         nvarchar(80)  NOT NULL,
    FPrimaryGroup int           NULL,
    FDescription  nvarchar(255) NULL,
    FAuthRight    int           NULL,
    FAccessUUID   int           NULL DEFAULT 0,
    CONSTRAINT PK_T_User PRIMARY KEY (FUserID)
)
GO

CREATE TABLE T_Group (
    FUserID  int NOT NULL,
    FGroupID int NOT NULL,
    CONSTRAINT PK_T_Group PRIMARY KEY (FUserID, FGroupID)
)
GO

-------------------------------------------------------------------------------
-- Currencies, voucher groups, settlement methods, explanations
-------------------------------------------------------------------------------

CREATE TABLE T_Currency (
    FCurrencyID   int          NOT NULL,
    FNumber       nvarchar(20) NOT NULL,
    FName         nvarchar(80) NULL,
    FOperator     nvarchar(10) NULL,
    FExchangeRate float        NULL DEFAULT 1,
    FScale        int          NULL DEFAULT 2,
    CONSTRAINT PK_T_Currency PRIMARY KEY (FCurrencyID)
)
GO

CREATE TABLE T_VoucherGroup (
    FGroupID  int           NOT NULL,
    FName     nvarchar(50)  NOT NULL,
    FDRange   nvarchar(255) NULL,
    FCRange   nvarchar(255) NULL,
    FDCRange  nvarchar(255) NULL,
    FNDRange  nvarchar(255) NULL,
    FNCRange  nvarchar(255) NULL,
    FNDCRange nvarchar(255) NULL,
    FStandard bit           NOT NULL DEFAULT 0,
    CONSTRAINT PK_T_VoucherGroup PRIMARY KEY (FGroupID)
)
GO

CREATE TABLE T_Settle (
    FItemID int          NOT NULL,
    FName   nvarchar(80) NOT NULL,
    FNumber nvarchar(20) NULL,
    FStatus int          NULL DEFAULT 0,
    CONSTRAINT PK_T_Settle PRIMARY KEY (FItemID)
)
GO

CREATE TABLE T_VoucherExpGroup (
    FGroupID int          NOT NULL,
    FName    nvarchar(80) NOT NULL,
    CONSTRAINT PK_T_VoucherExpGroup PRIMARY KEY (FGroupID)
)
GO

CREATE TABLE T_VoucherExp (
    FVoucherExpID int           NOT NULL,
    FGroupID      int           NULL,
    FNumber       nvarchar(20)  NULL,
    FExplanation  nvarchar(255) NOT NULL,
    FAccountID    int           NULL DEFAULT 0,
    CONSTRAINT PK_T_VoucherExp PRIMARY KEY (FVoucherExpID)
)
GO

-------------------------------------------------------------------------------
-- Items, item classes, item details
-------------------------------------------------------------------------------

-- FItemID is assigned by the table for most writers; custom items give it
-- explicitly under SET IDENTITY_INSERT.
CREATE TABLE T_Item (
    FItemID      int            NOT NULL IDENTITY(1,1),
    FItemClassID int            NOT NULL,
    FNumber      nvarchar(255)  NOT NULL,
    FParentID    int            NOT NULL DEFAULT 0,
    FLevel       int            NULL DEFAULT 1,
    FDetail      bit            NULL DEFAULT 1,
    FName        nvarchar(255)  NOT NULL,
    FFullNumber  nvarchar(255)  NULL,
    FShortNumber nvarchar(80)   NULL,
    FFullName    nvarchar(1000) NULL,
    FDeleted     bit            NOT NULL DEFAULT 0,
    CONSTRAINT PK_T_Item PRIMARY KEY (FItemID)
)
GO
CREATE INDEX ix_Item_ClassNumber ON T_Item (FItemClassID, FNumber)
GO
CREATE INDEX ix_Item_ClassShortNumber ON T_Item (FItemClassID, FShortNumber)
GO

CREATE TABLE t_ItemClass (
    FItemClassID  int           NOT NULL,
    FNumber       nvarchar(20)  NULL,
    FName         nvarchar(80)  NOT NULL,
    FName_cht     nvarchar(80)  NULL,
    FName_en      nvarchar(80)  NULL,
    FSQLTableName nvarchar(100) NULL,
    CONSTRAINT PK_t_ItemClass PRIMARY KEY (FItemClassID)
)
GO

-- Row 0 (no classes) is seeded first, so the counter starts at 0.
CREATE TABLE T_ItemDetail (
    FDetailID    int NOT NULL IDENTITY(0,1),
    FDetailCount int NOT NULL DEFAULT 0,
    F1           int NOT NULL DEFAULT 0,
    F2           int NOT NULL DEFAULT 0,
    F3           int NOT NULL DEFAULT 0,
    F8           int NOT NULL DEFAULT 0,
    CONSTRAINT PK_T_ItemDetail PRIMARY KEY (FDetailID)
)
GO
CREATE INDEX ix_ItemDetail_1 ON T_ItemDetail (F1)
GO
CREATE INDEX ix_ItemDetail_2 ON T_ItemDetail (F2)
GO
CREATE INDEX ix_ItemDetail_3 ON T_ItemDetail (F3)
GO
CREATE INDEX ix_ItemDetail_8 ON T_ItemDetail (F8)
GO

CREATE TABLE T_ItemDetailV (
    FDetailID    int NOT NULL,
    FItemClassID int NOT NULL,
    FItemID      int NOT NULL,
    CONSTRAINT PK_T_ItemDetailV PRIMARY KEY (FDetailID, FItemClassID)
)
GO
CREATE INDEX ix_ItemDetailV_Item ON T_ItemDetailV (FItemClassID, FItemID)
GO

CREATE TABLE t_ItemPropDesc (
    FItemClassID   int           NOT NULL,
    FPropID        int           NOT NULL,
    FName          nvarchar(255) NULL,
    FSQLColumnName nvarchar(255) NULL,
    FDataType      int           NULL,
    FActualType    int           NULL,
    FPrecision     int           NULL,
    FActualSize    int           NULL,
    FScale         int           NULL,
    FBrNo          nvarchar(10)  NULL,
    FSearch        int           NULL,
    FViewMask      int           NULL,
    FPageName      nvarchar(80)  NULL,
    FName_CHT      nvarchar(255) NULL,
    FName_EN       nvarchar(255) NULL,
    FPageName_CHT  nvarchar(80)  NULL,
    FPageName_EN   nvarchar(80)  NULL,
    CONSTRAINT PK_t_ItemPropDesc PRIMARY KEY (FItemClassID, FPropID)
)
GO

CREATE TABLE t_ObjectType (
    FObjectType      int           NOT NULL,
    FObjectID        int           NOT NULL,
    FName            nvarchar(80)  NULL,
    FName_cht        nvarchar(80)  NULL,
    FName_en         nvarchar(80)  NULL,
    FDescription     nvarchar(255) NULL,
    FDescription_cht nvarchar(255) NULL,
    FDescription_en  nvarchar(255) NULL,
    CONSTRAINT PK_t_ObjectType PRIMARY KEY (FObjectType, FObjectID)
)
GO

CREATE TABLE t_objectaccess (
    FGroupID    int NOT NULL,
    FObjectType int NOT NULL,
    FObjectID   int NOT NULL,
    FIndex      int NOT NULL,
    CONSTRAINT PK_t_objectaccess PRIMARY KEY (FGroupID, FObjectType, FObjectID, FIndex)
)
GO

CREATE TABLE t_ObjectAccessType (
    FObjectType      int           NOT NULL,
    FObjectID        int           NOT NULL,
    FIndex           int           NOT NULL,
    FAccessMask      int           NULL,
    FAccessUse       int           NULL,
    FName            nvarchar(80)  NULL,
    FDescription     nvarchar(255) NULL,
    FName_cht        nvarchar(80)  NULL,
    FName_en         nvarchar(80)  NULL,
    FDescription_cht nvarchar(255) NULL,
    FDescription_en  nvarchar(255) NULL,
    CONSTRAINT PK_t_ObjectAccessType PRIMARY KEY (FObjectType, FObjectID, FIndex)
)
GO

CREATE TABLE T_SubMessage (
    FBrNo     nvarchar(10) NULL DEFAULT '',
    FInterID  int          NOT NULL,
    FID       nvarchar(80) NULL,
    FParentID int          NULL,
    FName     nvarchar(80) NOT NULL,
    FTypeID   int          NOT NULL,
    FDeleted  bit          NOT NULL DEFAULT 0,
    CONSTRAINT PK_T_SubMessage PRIMARY KEY (FInterID)
)
GO

CREATE TABLE T_UnitGroup (
    FUnitGroupID   int          NOT NULL,
    FName          nvarchar(80) NOT NULL,
    FDefaultUnitID int          NOT NULL DEFAULT 0,
    CONSTRAINT PK_T_UnitGroup PRIMARY KEY (FUnitGroupID)
)
GO

CREATE TABLE T_MeasureUnit (
    FMeasureUnitID int          NOT NULL,
    FUnitGroupID   int          NOT NULL,
    FNumber        nvarchar(20) NOT NULL,
    FShortNumber   nvarchar(20) NULL,
    FName          nvarchar(80) NOT NULL,
    FItemID        int          NULL,
    FParentID      int          NULL,
    CONSTRAINT PK_T_MeasureUnit PRIMARY KEY (FMeasureUnitID)
)
GO

CREATE TABLE T_Organization (
    FItemID       int           NOT NULL,
    FNumber       nvarchar(255) NULL,
    FShortNumber  nvarchar(80)  NULL,
    FName         nvarchar(255) NOT NULL,
    FAddress      nvarchar(255) NULL,
    FPostalCode   nvarchar(255) NULL,
    FFax          nvarchar(255) NULL,
    FPhone        nvarchar(255) NULL,
    FContact      nvarchar(255) NULL,
    FTaxNum       nvarchar(255) NULL,
    FBank         nvarchar(255) NULL,
    FAccount      nvarchar(255) NULL,
    FStatus       int           NULL,
    FValueAddRate decimal(10,2) NULL,
    FHelpCode     nvarchar(255) NULL,
    CONSTRAINT PK_T_Organization PRIMARY KEY (FItemID)
)
GO

CREATE TABLE T_Supplier (
    FItemID       int           NOT NULL,
    FNumber       nvarchar(255) NULL,
    FShortNumber  nvarchar(80)  NULL,
    FName         nvarchar(255) NOT NULL,
    FAddress      nvarchar(255) NULL,
    FPostalCode   nvarchar(255) NULL,
    FFax          nvarchar(255) NULL,
    FPhone        nvarchar(255) NULL,
    FContact      nvarchar(255) NULL,
    FTaxNum       nvarchar(255) NULL,
    FBank         nvarchar(255) NULL,
    FAccount      nvarchar(255) NULL,
    FStatus       int           NULL,
    FValueAddRate decimal(10,2) NULL,
    FHelpCode     nvarchar(255) NULL,
    CONSTRAINT PK_T_Supplier PRIMARY KEY (FItemID)
)
GO

CREATE TABLE t_Department (
    FItemID      int           NOT NULL,
    FName        nvarchar(255) NOT NULL,
    FParentID    int           NULL DEFAULT 0,
    FNumber      nvarchar(255) NULL,
    FShortNumber nvarchar(80)  NULL,
    FDeleted     bit           NULL DEFAULT 0,
    FHelpCode    nvarchar(255) NULL,
    CONSTRAINT PK_t_Department PRIMARY KEY (FItemID)
)
GO

-- FId is the identity-card number (text), not a row id.
CREATE TABLE t_Emp (
    FItemID         int           NOT NULL,
    FName           nvarchar(255) NOT NULL,
    FParentID       int           NULL DEFAULT 0,
    FNumber         nvarchar(255) NULL,
    FShortNumber    nvarchar(80)  NULL,
    FDeleted        bit           NULL DEFAULT 0,
    FHelpCode       nvarchar(255) NULL,
    FAddress        nvarchar(255) NULL,
    FBankAccount    nvarchar(255) NULL,
    FGender         int           NULL,
    FBirthday       datetime      NULL,
    FHireDate       datetime      NULL,
    FLeaveDate      datetime      NULL,
    FDegree         int           NULL,
    FDuty           int           NULL,
    FEmpGroup       int           NULL,
    FDepartmentID   int           NULL,
    FPhone          nvarchar(255) NULL,
    FId             nvarchar(255) NULL,
    FSMSPhoneNumber nvarchar(255) NULL,
    CONSTRAINT PK_t_Emp PRIMARY KEY (FItemID)
)
GO

-------------------------------------------------------------------------------
-- Chart of accounts (column order = the order of the one insert)
-------------------------------------------------------------------------------

CREATE TABLE T_Account (
    FAccountID     int            NOT NULL,
    FNumber        varchar(255)   NOT NULL,
    FName          nvarchar(255)  NOT NULL,
    FLevel         int            NULL,
    FDetail        bit            NULL,
    FParentID      int            NULL DEFAULT 0,
    FRootID        int            NULL,
    FGroupID       int            NULL,
    FDC            int            NULL,
    FHelperCode    nvarchar(255)  NULL,
    FCurrencyID    int            NULL,
    FAdjustRate    bit            NULL,
    FQuantities    bit            NULL,
    FUnitGroupID   int            NULL,
    FMeasureUnitID int            NULL,
    FIsCash        bit            NULL,
    FIsBank        bit            NULL,
    FJournal       bit            NULL,
    FDetailID      int            NULL DEFAULT 0,
    FFullName      nvarchar(1000) NULL,
    FContact       bit            NULL,
    CONSTRAINT PK_T_Account PRIMARY KEY (FAccountID)
)
GO
CREATE INDEX ix_Account_Number ON T_Account (FNumber)
GO
CREATE INDEX ix_Account_Parent ON T_Account (FParentID)
GO

-------------------------------------------------------------------------------
-- General ledger
-------------------------------------------------------------------------------

CREATE TABLE T_Voucher (
    FVoucherID      int           NOT NULL,
    FDate           datetime      NOT NULL,
    FYear           int           NOT NULL,
    FPeriod         int           NOT NULL,
    FGroupID        int           NOT NULL,
    FNumber         int           NOT NULL,
    FExplanation    nvarchar(255) NULL,
    FAttachments    int           NULL,
    FEntryCount     int           NULL,
    FDebitTotal     money         NULL,
    FCreditTotal    money         NULL,
    FChecked        bit           NULL,
    FPosted         bit           NULL,
    FPreparerID     int           NULL,
    FCheckerID      int           NULL,
    FPosterID       int           NULL,
    FOwnerGroupID   int           NULL,
    FObjectName     nvarchar(50)  NULL,
    FParameter      nvarchar(50)  NULL,
    FSerialNum      int           NULL,
    FTranType       int           NULL,
    FTransDate      datetime      NULL,
    FIsDailyAccount bit           NULL,
    FInternalInd    nvarchar(10)  NULL,
    FReference      nvarchar(255) NULL,
    CONSTRAINT PK_T_Voucher PRIMARY KEY (FVoucherID)
)
GO

-- FQuantity is float: the voucher phase writes '' for "no quantity",
-- which a decimal column would refuse.
CREATE TABLE T_VoucherEntry (
    FVoucherID     int           NOT NULL,
    FEntryID       int           NOT NULL,
    FExplanation   nvarchar(255) NULL,
    FAccountID     int           NULL,
    FDetailID      int           NULL DEFAULT 0,
    FCurrencyID    int           NULL,
    FExchangeRate  float         NULL,
    FDC            int           NULL,
    FAmountFor     money         NULL,
    FAmount        money         NULL,
    FQuantity      float         NULL DEFAULT 0,
    FMeasureUnitID int           NULL,
    FUnitPrice     float         NULL,
    FAccountID2    int           NULL DEFAULT 0,
    FSettleTypeID  int           NULL,
    FSettleNo      nvarchar(255) NULL,
    FTransNo       nvarchar(255) NULL,
    FCashFlowItem  int           NULL DEFAULT 0,
    CONSTRAINT PK_T_VoucherEntry PRIMARY KEY (FVoucherID, FEntryID)
)
GO
CREATE INDEX ix_VoucherEntry_Account ON T_VoucherEntry (FAccountID, FDetailID, FCurrencyID)
GO

-- Amount columns allow NULL (default 0): the balance batches build rows
-- from sums that are NULL when no source row of the group exists.
CREATE TABLE t_Balance (
    FYear            int   NOT NULL,
    FPeriod          int   NOT NULL,
    FAccountID       int   NOT NULL,
    FDetailID        int   NOT NULL,
    FCurrencyID      int   NOT NULL,
    FBeginBalanceFor money NULL DEFAULT 0,
    FDebitFor        money NULL DEFAULT 0,
    FCreditFor       money NULL DEFAULT 0,
    FYtdDebitFor     money NULL DEFAULT 0,
    FYtdCreditFor    money NULL DEFAULT 0,
    FEndBalanceFor   money NULL DEFAULT 0,
    FBeginBalance    money NULL DEFAULT 0,
    FDebit           money NULL DEFAULT 0,
    FCredit          money NULL DEFAULT 0,
    FYtdDebit        money NULL DEFAULT 0,
    FYtdCredit       money NULL DEFAULT 0,
    FEndBalance      money NULL DEFAULT 0,
    CONSTRAINT PK_t_Balance PRIMARY KEY (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID)
)
GO
CREATE INDEX ix_Balance_Account ON t_Balance (FAccountID, FCurrencyID, FDetailID)
GO

CREATE TABLE t_QuantityBalance (
    FYear         int            NOT NULL,
    FPeriod       int            NOT NULL,
    FAccountID    int            NOT NULL,
    FDetailID     int            NOT NULL,
    FCurrencyID   int            NOT NULL,
    FBeginQty     decimal(28,10) NULL DEFAULT 0,
    FDebitQty     decimal(28,10) NULL DEFAULT 0,
    FCreditQty    decimal(28,10) NULL DEFAULT 0,
    FYtdDebitQty  decimal(28,10) NULL DEFAULT 0,
    FYtdCreditQty decimal(28,10) NULL DEFAULT 0,
    FEndQty       decimal(28,10) NULL DEFAULT 0,
    CONSTRAINT PK_t_QuantityBalance PRIMARY KEY (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID)
)
GO

-- No key: unmapped accounts or items sharing a combination can meet.
CREATE TABLE T_ProfitAndLoss (
    FYear         int   NOT NULL,
    FPeriod       int   NOT NULL,
    FAccountID    int   NOT NULL,
    FDetailID     int   NOT NULL,
    FCurrencyID   int   NOT NULL,
    FAmountFor    money NULL,
    FYtdAmountFor money NULL,
    FAmount       money NULL,
    FYtdAmount    money NULL
)
GO
CREATE INDEX ix_ProfitAndLoss_Key ON T_ProfitAndLoss (FYear, FPeriod, FAccountID, FDetailID, FCurrencyID)
GO

CREATE TABLE T_RateAdjust (
    FYear               int   NOT NULL,
    FPeriod             int   NOT NULL,
    FAccountID          int   NOT NULL,
    FDetailID           int   NOT NULL,
    FCurrencyID         int   NOT NULL,
    FExchangeRate       float NULL,
    FExchangeRateBefore float NULL,
    FEndBalanceFor      money NULL,
    FEndBalance         money NULL,
    FDifference         money NULL
)
GO

-- No key: two adjustments of one currency and period give two rows.
CREATE TABLE T_CurrencyRate (
    FAdjustID   int   NULL DEFAULT 0,
    FCurrencyID int   NOT NULL,
    FYear       int   NOT NULL,
    FPeriod     int   NOT NULL,
    FCurRate    float NULL,
    FAdjustRate float NULL,
    FSource     int   NULL DEFAULT 0
)
GO

CREATE TABLE T_TransInitBalance (
    FAccountID       int            NOT NULL,
    FDetailID        int            NOT NULL,
    FCurrencyID      int            NOT NULL,
    FTransNo         nvarchar(255)  NOT NULL,
    FTransDate       datetime       NULL,
    FBeginBalanceFor money          NULL,
    FBeginBalance    money          NULL,
    FBeginQty        decimal(28,10) NULL,
    FYtdDebitFor     money          NULL,
    FYtdCreditFor    money          NULL,
    CONSTRAINT PK_T_TransInitBalance PRIMARY KEY (FAccountID, FDetailID, FCurrencyID, FTransNo)
)
GO

CREATE TABLE T_TransCheckInfo (
    FCheckNo        int            NULL,
    FTransNo        nvarchar(255)  NULL,
    FVoucherID      int            NULL,
    FEntryID        int            NULL,
    FAccountID      int            NULL,
    FCurrencyID     int            NULL,
    FDetailID       int            NULL,
    FCheckDate      datetime       NULL,
    FCheckerID      int            NULL,
    FCheckAmount    money          NULL,
    FCheckAmountFor money          NULL,
    FCheckQty       decimal(28,10) NULL,
    FInitBalance    int            NULL,
    FRateDiffAmount money          NULL
)
GO

CREATE TABLE T_VoucherTemplateType (
    FTypeID int          NOT NULL,
    FName   nvarchar(80) NULL,
    CONSTRAINT PK_T_VoucherTemplateType PRIMARY KEY (FTypeID)
)
GO

CREATE TABLE T_VoucherTemplate (
    FVoucherTempID int           NOT NULL,
    FName          nvarchar(255) NULL,
    FTypeID        int           NULL,
    FGroupID       int           NULL,
    FAttachments   int           NULL,
    CONSTRAINT PK_T_VoucherTemplate PRIMARY KEY (FVoucherTempID)
)
GO

CREATE TABLE T_VoucherEntryTemplate (
    FVoucherTempID int           NULL,
    FEntryID       int           NULL,
    FExplanation   nvarchar(255) NULL,
    FAccountID     int           NULL,
    FDetailID      int           NULL,
    FCurrencyID    int           NULL,
    FExchangeRate  float         NULL,
    FDC            int           NULL,
    FAmountFor     money         NULL,
    FAmount        money         NULL,
    FQuantity      float         NULL,
    FMeasureUnitID int           NULL,
    FUnitPrice     float         NULL,
    FSettleTypeID  int           NULL,
    FSettleNo      nvarchar(255) NULL
)
GO
CREATE INDEX ix_VoucherEntryTemplate ON T_VoucherEntryTemplate (FVoucherTempID, FEntryID)
GO

CREATE TABLE T_AutoTransfer (
    FTransferID   int           NOT NULL,
    FName         nvarchar(255) NULL,
    FPeriodRange  nvarchar(255) NULL,
    FGroupID      int           NULL,
    FTransferType int           NULL,
    CONSTRAINT PK_T_AutoTransfer PRIMARY KEY (FTransferID)
)
GO

CREATE TABLE T_AutoTransferEntry (
    FTransferID       int            NULL,
    FEntryID          int            NULL,
    FExplanation      nvarchar(255)  NULL,
    FAccountID        int            NULL,
    FDetailID         int            NULL,
    FCurrencyID       int            NULL,
    FTransRate        decimal(10,4)  NULL,
    FType             int            NULL,
    FDC               int            NULL,
    FAmountForFormula nvarchar(4000) NULL,
    FAmountFormula    nvarchar(4000) NULL,
    FQuantityFormula  nvarchar(4000) NULL,
    FFormulaType      int            NULL,
    FPosted           bit            NULL
)
GO

CREATE TABLE T_AutoTransferEntryItem (
    FTransferID    int           NULL,
    FEntryID       int           NULL,
    FItemClassID   int           NULL,
    FItemNumber    nvarchar(255) NULL,
    FEndItemNumber nvarchar(255) NULL
)
GO

-------------------------------------------------------------------------------
-- Fixed assets
-- Tables filled without a column list keep exactly these columns, in this
-- order. The 30 card columns take the types of the card work table.
-------------------------------------------------------------------------------

CREATE TABLE t_FAAlterMode (
    FID          int           NOT NULL,
    FNumber      varchar(20)   NULL,
    FShortNumber varchar(10)   NULL,
    FName        nvarchar(80)  NOT NULL,
    FLevel       int           NULL,
    FParentId    int           NULL,
    FDetail      bit           NULL,
    FMode        int           NULL,
    FAcctID      int           NULL DEFAULT 0,
    FDetailID    int           NULL DEFAULT 0,
    FVchGroupID  int           NULL DEFAULT 0,
    FExplanation nvarchar(255) NULL,
    CONSTRAINT PK_t_FAAlterMode PRIMARY KEY (FID)
)
GO

CREATE TABLE t_FAGroup (
    FID           int            NOT NULL,
    FNumber       varchar(20)    NULL,
    FShortNumber  varchar(20)    NULL,
    FName         nvarchar(80)   NOT NULL,
    FLevel        int            NULL,
    FParentID     int            NULL,
    FDetail       bit            NULL,
    FDefaultUnit  nvarchar(20)   NULL,
    FDefaultLife  int            NULL,
    FDeprMethodID int            NULL,
    FResidueRate  decimal(23,10) NULL,
    FMustDepr     bit            NULL,
    FNoDepr       bit            NULL,
    CONSTRAINT PK_t_FAGroup PRIMARY KEY (FID)
)
GO

-- The "*" row is seeded first and gets 0.
CREATE TABLE t_FALocation (
    FID          int          NOT NULL IDENTITY(0,1),
    FNumber      varchar(20)  NULL,
    FShortNumber varchar(20)  NULL,
    FName        nvarchar(80) NOT NULL,
    FLevel       int          NULL,
    FDetail      bit          NULL,
    FParentID    int          NULL,
    CONSTRAINT PK_t_FALocation PRIMARY KEY (FID)
)
GO

CREATE TABLE T_FaDeprMethod (
    FID   int          NOT NULL,
    FName nvarchar(80) NOT NULL,
    CONSTRAINT PK_T_FaDeprMethod PRIMARY KEY (FID)
)
GO

CREATE TABLE t_FAStatus (
    FID   int          NOT NULL,
    FName nvarchar(80) NOT NULL,
    CONSTRAINT PK_t_FAStatus PRIMARY KEY (FID)
)
GO

-- FAlterID is assigned for original cards and given explicitly (under
-- SET IDENTITY_INSERT) for alteration cards.
CREATE TABLE t_FAAlter (
    FAlterID     int           NOT NULL IDENTITY(1,1),
    FAssetID     int           NOT NULL,
    FYear        int           NULL,
    FPeriod      int           NULL,
    FAlterNum    int           NULL DEFAULT 0,
    FDate        datetime      NULL,
    FNeedVoucher bit           NULL,
    FExplanation nvarchar(255) NULL,
    FCleared     bit           NULL,
    FNew         bit           NULL,
    FOtherAlter  bit           NULL,
    FPreparer    nvarchar(80)  NULL,
    FChecker     nvarchar(80)  NULL,
    CONSTRAINT PK_t_FAAlter PRIMARY KEY (FAlterID)
)
GO
CREATE INDEX ix_FAAlter_Asset ON t_FAAlter (FAssetID, FYear, FPeriod)
GO

CREATE TABLE t_FACard (
    FAlterID        int            NOT NULL,
    FAssetNumber    varchar(80)    NOT NULL,
    FAssetName      varchar(80)    NOT NULL,
    FEconomyUseID   int            NOT NULL,
    FLocationID     int            NOT NULL,
    FGroupID        int            NOT NULL,
    FAlterModeID    int            NOT NULL,
    FStatusID       int            NOT NULL,
    FUnit           varchar(80)    NOT NULL,
    FModel          varchar(80)    NOT NULL,
    FManufacturer   varchar(80)    NOT NULL,
    FProductingArea varchar(80)    NOT NULL,
    FVender         varchar(80)    NOT NULL,
    FBeginUseDate   datetime       NOT NULL,
    FNum            decimal(23,6)  NOT NULL,
    FOrgVal         money          NOT NULL,
    FOrgValBuy      money          NOT NULL DEFAULT 0,
    FResidueVal     money          NOT NULL,
    FDeprMethodID   int            NOT NULL,
    FAccumDepr      money          NOT NULL,
    FAccumDeprBuy   money          NOT NULL DEFAULT 0,
    FLifePeriods    decimal(28,10) NOT NULL,
    FPeriodsUsed    decimal(28,10) NOT NULL,
    FJobUnit        varchar(80)    NOT NULL,
    FAssetAcctID    int            NOT NULL,
    FDeprAcctID     int            NOT NULL,
    FModule         varchar(10)    NOT NULL,
    FBuildVoucher   bit            NOT NULL,
    FAdjustOldDepr  bit            NOT NULL,
    FAMiuValueRead  money          NOT NULL DEFAULT 0,
    FAXRZKVal       decimal(23,10) NOT NULL DEFAULT 0,
    CONSTRAINT PK_t_FACard PRIMARY KEY (FAlterID)
)
GO
CREATE INDEX ix_FACard_Number ON t_FACard (FAssetNumber)
GO

CREATE TABLE t_FACardItem (
    FAlterID          int NOT NULL,
    FAMulAlterClassID int NOT NULL
)
GO

CREATE TABLE t_FADept (
    FAlterID  int            NOT NULL,
    FItemClsID int           NULL,
    FItemID   int            NULL,
    FRate     decimal(23,10) NULL
)
GO

CREATE TABLE t_FAExpense (
    FAlterID  int            NOT NULL,
    FAcctID   int            NULL,
    FDetailID int            NULL,
    FRate     decimal(23,10) NULL,
    FDeptID   int            NULL
)
GO

CREATE TABLE t_FAOrgFor (
    FAlterID   int   NOT NULL,
    FCyID      int   NULL,
    FExchRate  float NULL,
    FAmountFor money NULL,
    FAmount    money NULL
)
GO

CREATE TABLE t_FADevice (
    FAlterID   int           NOT NULL,
    FNumber    varchar(10)   NULL,
    FName      nvarchar(255) NULL,
    FModel     nvarchar(255) NULL,
    FLocationID int          NULL,
    FDate      datetime      NULL,
    FUnit      nvarchar(255) NULL,
    FQty       decimal(23,6) NULL,
    FAmount    money         NULL,
    FRemark    nvarchar(255) NULL
)
GO

CREATE TABLE t_FAVoucher (
    FAlterID      int NOT NULL,
    FVoucherID    int NULL,
    FUserModified bit NULL DEFAULT 0
)
GO

CREATE TABLE t_FAClear (
    FAssetID     int           NULL,
    FYear        int           NULL,
    FPeriod      int           NULL,
    FDate        datetime      NULL,
    FAlterModeID int           NULL,
    FNumCleared  decimal(23,6) NULL,
    FExpense     money         NULL,
    FResidueEarn money         NULL,
    FExplanation nvarchar(255) NULL,
    FPreparer    nvarchar(80)  NULL,
    FChecker     nvarchar(80)  NULL,
    FAlterID     int           NULL
)
GO

CREATE TABLE t_FACardMulAlter (
    FAMulAlterClassID int            NULL,
    FAlterID          int            NULL,
    FYear             int            NULL,
    FPeriod           int            NULL,
    FDate             datetime       NULL,
    FPreparer         nvarchar(80)   NULL,
    FExplanation      nvarchar(255)  NULL,
    FDeprPeriods      decimal(23,10) NULL,
    FDeprAlter        money          NULL,
    FAccumDeprAlter   money          NULL,
    FOrgValAlter      money          NULL,
    FDecPreAlter      money          NULL,
    FAIsOldPeriod     bit            NULL,
    FAssetNumber      varchar(80)    NULL,
    FAssetName        varchar(80)    NULL,
    FEconomyUseID     int            NULL,
    FLocationID       int            NULL,
    FGroupID          int            NULL,
    FAlterModeID      int            NULL,
    FStatusID         int            NULL,
    FUnit             varchar(80)    NULL,
    FModel            varchar(80)    NULL,
    FManufacturer     varchar(80)    NULL,
    FProductingArea   varchar(80)    NULL,
    FVender           varchar(80)    NULL,
    FBeginUseDate     datetime       NULL,
    FNum              decimal(23,6)  NULL,
    FOrgVal           money          NULL,
    FOrgValBuy        money          NULL,
    FResidueVal       money          NULL,
    FDeprMethodID     int            NULL,
    FAccumDepr        money          NULL,
    FAccumDeprBuy     money          NULL,
    FLifePeriods      decimal(28,10) NULL,
    FPeriodsUsed      decimal(28,10) NULL,
    FJobUnit          varchar(80)    NULL,
    FAssetAcctID      int            NULL,
    FDeprAcctID       int            NULL,
    FModule           varchar(10)    NULL,
    FBuildVoucher     bit            NULL,
    FAdjustOldDepr    bit            NULL,
    FAMiuValueRead    money          NULL,
    FAXRZKVal         decimal(23,10) NULL
)
GO

CREATE TABLE t_FADeptMulAlter (
    FAMulAlterClassID int            NULL,
    FAlterID          int            NOT NULL,
    FItemClsID        int            NULL,
    FItemID           int            NULL,
    FRate             decimal(23,10) NULL
)
GO

CREATE TABLE t_FADeviceMulAlter (
    FAMulAlterClassID int           NULL,
    FAlterID          int           NOT NULL,
    FNumber           varchar(10)   NULL,
    FName             nvarchar(255) NULL,
    FModel            nvarchar(255) NULL,
    FLocationID       int           NULL,
    FDate             datetime      NULL,
    FUnit             nvarchar(255) NULL,
    FQty              decimal(23,6) NULL,
    FAmount           money         NULL,
    FRemark           nvarchar(255) NULL
)
GO

CREATE TABLE t_FAExpenseMulAlter (
    FAMulAlterClassID int            NULL,
    FAlterID          int            NOT NULL,
    FAcctID           int            NULL,
    FDetailID         int            NULL,
    FRate             decimal(23,10) NULL,
    FDeptID           int            NULL
)
GO

CREATE TABLE t_FAOrgForMulAlter (
    FAMulAlterClassID int   NULL,
    FAlterID          int   NOT NULL,
    FCyID             int   NULL,
    FExchRate         float NULL,
    FAmountFor        money NULL,
    FAmount           money NULL
)
GO

-- Exactly the 32 columns of the balance work table, in its order; FBalID
-- comes from the work table's identity, so it is a plain int here.
CREATE TABLE t_FABalance (
    FAssetID      int            NOT NULL,
    FYear         int            NOT NULL,
    FPeriod       int            NOT NULL,
    FBalID        int            NOT NULL,
    FDate         datetime       NOT NULL,
    FCleared      bit            NOT NULL,
    FDeprPeriods  decimal(23,10) NULL,
    FWorkload     decimal(23,10) NULL,
    FOrgValP      money          NOT NULL,
    FOrgValInc    money          NOT NULL,
    FOrgValDec    money          NOT NULL,
    FNumP         decimal(16,6)  NOT NULL DEFAULT 0,
    FNumAlter     decimal(16,6)  NOT NULL,
    FAccumDeprP   money          NOT NULL,
    FAccumDeprInc money          NOT NULL,
    FAccumDeprDec money          NOT NULL,
    FDeprShould   money          NOT NULL,
    FDepr         money          NOT NULL,
    FDeprRate     float          NOT NULL DEFAULT 0,
    FDeprShouldLP money          NOT NULL DEFAULT 0,
    FDeprRemain   money          NOT NULL DEFAULT 0,
    FYtdOrgValInc money          NOT NULL,
    FYtdOrgValDec money          NOT NULL,
    FYtdDeprInc   money          NOT NULL,
    FYtdDeprDec   money          NOT NULL,
    FHasDepr      bit            NOT NULL DEFAULT 0,
    FDecPreP      money          NOT NULL DEFAULT 0,
    FDecPreInc    money          NOT NULL DEFAULT 0,
    FDecPreDec    money          NOT NULL DEFAULT 0,
    FYtdDecPreInc money          NOT NULL DEFAULT 0,
    FYtdDecPreDec money          NOT NULL DEFAULT 0,
    FAltDate      datetime       NULL,
    CONSTRAINT PK_t_FABalance PRIMARY KEY (FBalID)
)
GO
CREATE INDEX ix_FABalance_Asset ON t_FABalance (FAssetID, FYear, FPeriod)
GO

-- No key: two alteration records of one asset in one period give two
-- card rows for one balance row.
CREATE TABLE t_FABalCard (
    FBalID          int            NOT NULL,
    FAssetNumber    varchar(80)    NOT NULL,
    FAssetName      varchar(80)    NOT NULL,
    FEconomyUseID   int            NOT NULL,
    FLocationID     int            NOT NULL,
    FGroupID        int            NOT NULL,
    FAlterModeID    int            NOT NULL,
    FStatusID       int            NOT NULL,
    FUnit           varchar(80)    NOT NULL,
    FModel          varchar(80)    NOT NULL,
    FManufacturer   varchar(80)    NOT NULL,
    FProductingArea varchar(80)    NOT NULL,
    FVender         varchar(80)    NOT NULL,
    FBeginUseDate   datetime       NOT NULL,
    FNum            decimal(23,6)  NOT NULL,
    FOrgVal         money          NOT NULL,
    FOrgValBuy      money          NOT NULL DEFAULT 0,
    FResidueVal     money          NOT NULL,
    FDeprMethodID   int            NOT NULL,
    FAccumDepr      money          NOT NULL,
    FAccumDeprBuy   money          NOT NULL DEFAULT 0,
    FLifePeriods    decimal(28,10) NOT NULL,
    FPeriodsUsed    decimal(28,10) NOT NULL,
    FJobUnit        varchar(80)    NOT NULL,
    FAssetAcctID    int            NOT NULL,
    FDeprAcctID     int            NOT NULL,
    FModule         varchar(10)    NOT NULL,
    FBuildVoucher   bit            NOT NULL,
    FAdjustOldDepr  bit            NOT NULL,
    FAMiuValueRead  money          NOT NULL DEFAULT 0,
    FAXRZKVal       decimal(23,10) NOT NULL DEFAULT 0
)
GO
CREATE INDEX ix_FABalCard_Bal ON t_FABalCard (FBalID)
GO

CREATE TABLE t_FABalDept (
    FBalID     int            NOT NULL,
    FItemClsID int            NULL,
    FItemID    int            NULL,
    FRate      decimal(23,10) NULL,
    FAmount    money          NULL
)
GO

CREATE TABLE t_FABalExpense (
    FBalID    int            NOT NULL,
    FAcctID   int            NULL,
    FDetailID int            NULL,
    FRate     decimal(23,10) NULL,
    FAmount   money          NULL,
    FDeptID   int            NULL
)
GO

CREATE TABLE t_FABalOrgFor (
    FBalID     int   NOT NULL,
    FCyID      int   NULL,
    FExchRate  float NULL,
    FAmountFor money NULL,
    FAmount    money NULL
)
GO

CREATE TABLE t_FABalDevice (
    FBalID      int           NOT NULL,
    FDeviceID   int           NULL,
    FNumber     varchar(80)   NULL,
    FName       nvarchar(255) NULL,
    FModel      nvarchar(255) NULL,
    FLocationID int           NULL,
    FDate       datetime      NULL,
    FUnit       nvarchar(255) NULL,
    FQty        decimal(23,6) NULL,
    FAmount     money         NULL,
    FRemark     nvarchar(255) NULL
)
GO

CREATE TABLE t_FABalCardItem (
    FBalID int NOT NULL
)
GO

-------------------------------------------------------------------------------
-- Payroll
-------------------------------------------------------------------------------

CREATE TABLE T_PA_pama (
    FClsID      int          NOT NULL,
    FClsName    nvarchar(80) NULL,
    FMulti      bit          NULL,
    FCurrencyID int          NULL,
    FIsBank     bit          NULL,
    FIsTax      bit          NULL,
    FIsZero     bit          NULL,
    FInteger    int          NULL,
    FYear       int          NULL,
    FPeriod     int          NULL,
    FPutNO      int          NULL,
    CONSTRAINT PK_T_PA_pama PRIMARY KEY (FClsID)
)
GO

CREATE TABLE t_PA_Item (
    FItemID      int           NOT NULL,
    FItemClassID int           NOT NULL,
    FParentID    int           NULL,
    FLevel       int           NULL,
    FName        nvarchar(255) NULL,
    FNumber      nvarchar(255) NULL,
    FDetail      bit           NULL
)
GO
CREATE INDEX ix_PA_Item_ID ON t_PA_Item (FItemID)
GO
CREATE INDEX ix_PA_Item_Number ON t_PA_Item (FItemClassID, FNumber)
GO

CREATE TABLE t_pa_ItemClsV (
    FClsID       int NULL,
    FItemClassID int NULL,
    FItemID      int NULL,
    FIsDelete    bit NULL
)
GO

-- FNumber is never written; the department copy tests against it.
CREATE TABLE t_PA_Department (
    FItemID        int           NOT NULL,
    FDepMemoryCode nvarchar(255) NULL,
    FNumber        nvarchar(255) NULL
)
GO

-- Employee groups get assigned ids; duties and degrees are given
-- explicitly under SET IDENTITY_INSERT.
CREATE TABLE t_PA_ItemRef (
    FItemRefID int          NOT NULL IDENTITY(1,1),
    FType      int          NOT NULL,
    FNumber    nvarchar(80) NULL,
    FName      nvarchar(80) NULL,
    CONSTRAINT PK_t_PA_ItemRef PRIMARY KEY (FItemRefID)
)
GO

CREATE TABLE t_PA_Personal (
    FItemID      int           NOT NULL,
    FNumber      nvarchar(255) NULL,
    FGender      nvarchar(80)  NULL,
    FEmpGroupID  int           NULL,
    FItemDepID   int           NULL,
    FDuty        nvarchar(80)  NULL,
    FDegree      nvarchar(80)  NULL,
    FBirthday    datetime      NULL,
    FLeaveDate   datetime      NULL,
    FHireDate    datetime      NULL,
    FBankAccount nvarchar(255) NULL,
    FAddress     nvarchar(255) NULL,
    FPhone       nvarchar(255) NULL,
    FIDCardID    nvarchar(255) NULL,
    FHandsetCode nvarchar(255) NULL
)
GO

-- FEmpField has no default: a new item must read NULL until it gets its
-- column in t_PANewData.
CREATE TABLE t_PAItem (
    FItemID         int          NOT NULL IDENTITY(1,1),
    FItemName       nvarchar(80) NOT NULL,
    FIsPayRollData  bit          NULL,
    FSNO            smallint     NULL,
    FFieldType      int          NULL,
    FEmpField       nvarchar(80) NULL,
    FDataType       int          NULL,
    FFieldSize      int          NULL,
    FWeisu          int          NULL,
    FAttrib         int          NULL,
    CONSTRAINT PK_t_PAItem PRIMARY KEY (FItemID)
)
GO

-- One FPA<n> column per pay item; the seeded items' columns are here,
-- new ones are added by the payroll upgrade.
CREATE TABLE t_PANewData (
    FEmpID       int           NULL,
    FPeriod      int           NULL,
    FClsID       int           NULL,
    FYear        int           NOT NULL DEFAULT 0,
    FPutNo       int           NULL,
    FItemDepID   int           NULL,
    FEmpGroupID  int           NULL,
    FDuty        nvarchar(80)  NULL,
    FDegree      nvarchar(80)  NULL,
    FBankAccount nvarchar(255) NULL,
    FPA1001      money         NULL,
    FPA1002      money         NULL,
    FPA1003      money         NULL
)
GO
CREATE INDEX ix_PANewData_Emp ON t_PANewData (FEmpID, FPeriod)
GO

-- Exactly five columns: filled without a column list. No key: every
-- formula row carries FForID 1.
CREATE TABLE t_PAFormula (
    FForID   int           NULL,
    FName    nvarchar(255) NULL,
    FClsID   int           NULL,
    FType    int           NULL,
    FFormula ntext         NULL
)
GO

-------------------------------------------------------------------------------
-- Cashier
-------------------------------------------------------------------------------

CREATE TABLE cn_Account (
    FID          int           NOT NULL IDENTITY(1,1),
    FKmID        int           NULL,
    FKmdm        nvarchar(255) NULL,
    FKmmc        nvarchar(255) NULL,
    FBbID        int           NULL,
    FBb          nvarchar(80)  NULL,
    FYhmc        nvarchar(255) NULL,
    FYhzh        nvarchar(255) NULL,
    FYhdzdYe     money         NULL DEFAULT 0,
    FJfje        money         NULL DEFAULT 0,
    FDfje        money         NULL DEFAULT 0,
    FYe          money         NULL DEFAULT 0,
    FJfjeB       money         NULL DEFAULT 0,
    FDfjeB       money         NULL DEFAULT 0,
    FYeB         money         NULL DEFAULT 0,
    FYhrjzTzhYe  money         NULL DEFAULT 0,
    FYhdzdTzhYe  money         NULL DEFAULT 0,
    FYeIsBalance bit           NULL,
    FQy          bit           NULL,
    FIsCash      bit           NULL,
    FForbid      bit           NULL,
    FIsCombineKm bit           NULL,
    CONSTRAINT PK_cn_Account PRIMARY KEY (FID)
)
GO

CREATE TABLE Cn_Lcye (
    FType    int   NULL,
    FKmID    int   NULL,
    FYear    int   NULL,
    FYe      money NULL DEFAULT 0,
    FYeB     money NULL DEFAULT 0,
    FDebit   money NULL DEFAULT 0,
    FDebitB  money NULL DEFAULT 0,
    FCredit  money NULL DEFAULT 0,
    FCreditB money NULL DEFAULT 0
)
GO

-- Cash journal. FID numbers from 1 on the fresh table: the journal
-- phase links staged rows to converted rows by equal FID.
CREATE TABLE CN_XJRJZ (
    FID         int           NOT NULL IDENTITY(1,1),
    FOrderID    int           NULL,
    FKmID       int           NULL,
    FYear       int           NULL,
    FPeriod     int           NULL,
    FDate       datetime      NULL,
    FGroup      nvarchar(50)  NULL,
    FNum        int           NULL,
    FExp        nvarchar(255) NULL,
    FAccountID2 int           NULL,
    FAcctidside nvarchar(255) NULL,
    FDebit      money         NULL,
    FCredit     money         NULL,
    FDebitB     money         NULL,
    FCreditB    money         NULL,
    FRate       float         NULL,
    FLyr        nvarchar(255) NULL,
    FSource     int           NULL,
    FRemark     nvarchar(255) NULL,
    FGenVch     bit           NULL,
    FVchYear    int           NULL,
    FVchPeriod  int           NULL,
    FSourceID   int           NULL,
    FVoucherID  int           NULL,
    FHandlerID  int           NULL,
    CONSTRAINT PK_CN_XJRJZ PRIMARY KEY (FID)
)
GO

-- Bank journal.
CREATE TABLE CN_YHRJZ (
    FID            int           NOT NULL IDENTITY(1,1),
    FOrderID       int           NULL,
    FKmID          int           NULL,
    FYear          int           NULL,
    FPeriod        int           NULL,
    FDate          datetime      NULL,
    FGroup         nvarchar(50)  NULL,
    FNum           int           NULL,
    FExp           nvarchar(255) NULL,
    FJsfs          nvarchar(255) NULL,
    FJsh           nvarchar(255) NULL,
    FAccountID2    int           NULL,
    FAcctidside    nvarchar(255) NULL,
    FDebit         money         NULL,
    FCredit        money         NULL,
    FDebitB        money         NULL,
    FCreditB       money         NULL,
    FRate          float         NULL,
    FLyr           nvarchar(255) NULL,
    FDzAlready     bit           NULL,
    FDzNumber      int           NULL,
    FJz            bit           NULL,
    FSource        int           NULL,
    FOldID         int           NULL,
    FRemark        nvarchar(255) NULL,
    FOperationDate datetime      NULL,
    FWBbID         int           NULL,
    FWBAmount      money         NULL,
    FGenVch        bit           NULL,
    FVchYear       int           NULL,
    FVchPeriod     int           NULL,
    FSourceID      int           NULL,
    FVoucherID     int           NULL,
    FHandlerID     int           NULL,
    FDetailID      int           NULL,
    FAutoRjzType   int           NULL,
    FAutoRjzID     int           NULL,
    CONSTRAINT PK_CN_YHRJZ PRIMARY KEY (FID)
)
GO

-- Bank statement.
CREATE TABLE CN_YHDZD (
    FID        int           NOT NULL IDENTITY(1,1),
    FKmID      int           NULL,
    FYear      int           NULL,
    FPeriod    int           NULL,
    FDate      datetime      NULL,
    FExp       nvarchar(255) NULL,
    FJsfs      nvarchar(255) NULL,
    FJsh       nvarchar(255) NULL,
    FDebit     money         NULL,
    FCredit    money         NULL,
    FLyr       nvarchar(255) NULL,
    FDzAlready bit           NULL,
    FDzNumber  int           NULL,
    FJz        bit           NULL,
    FSource    int           NULL,
    FOldID     int           NULL,
    FRemark    nvarchar(255) NULL,
    CONSTRAINT PK_CN_YHDZD PRIMARY KEY (FID)
)
GO
