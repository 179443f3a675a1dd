-- Account-control database AcctCtl: the account registry, the database
-- types and the procedure run after a new account set got its options.
-- Run on a new, empty database named AcctCtl; batches end at "GO" lines.
-- The upgrade-log tables (AIS_UpgradeLog_Main, AIS_UpgradeLog_<title>) are
-- made and dropped by the program itself and are not created here.

-- One row per account set the Professional edition knows. Values arrive
-- as plain quoted literals; FCreateTime is text so that '' stays ''.
CREATE TABLE t_ad_xrAccount_gl (
    FAcctID        int           NOT NULL IDENTITY(1,1),
    FAcctNumber    nvarchar(80)  NOT NULL,
    FAcctName      nvarchar(255) NOT NULL,
    FConnectString nvarchar(255) NULL,
    FNodeID        int           NULL,
    FDBType        int           NULL,
    FServer        nvarchar(255) NULL,
    FSysUser       nvarchar(255) NULL,
    FSysPwd        nvarchar(255) NULL,
    FDBName        nvarchar(128) NULL,
    FVersion       nvarchar(50)  NULL,
    FLevel         int           NULL,
    FCompanyName   nvarchar(255) NULL,
    FDescription   nvarchar(255) NULL,
    FCreator       nvarchar(50)  NULL,
    FCreateTime    nvarchar(50)  NULL,
    FPID           nvarchar(100) NULL,
    CONSTRAINT PK_t_ad_xrAccount_gl PRIMARY KEY (FAcctID)
)
GO
CREATE INDEX ix_ad_xrAccount_gl_Number ON t_ad_xrAccount_gl (FAcctNumber)
GO

-- Database types; the listing joins the registry with row 1, so without it
-- no registered account set is ever listed.
CREATE TABLE t_ad_dbtype (
    FTypeID   int           NOT NULL,
    FName     nvarchar(100) NULL,
    FVersion  nvarchar(50)  NULL,
    FDBMSName nvarchar(100) NULL,
    CONSTRAINT PK_t_ad_dbtype PRIMARY KEY (FTypeID)
)
GO

INSERT INTO t_ad_dbtype (FTypeID, FName, FVersion, FDBMSName)
VALUES (1, N'SQL Server', N'13.0', N'Microsoft SQL Server')
GO

-- Grants every user of the edition access to the new account set. Nothing
-- of that exists here; the procedure only has to be callable.
CREATE PROCEDURE Pro_BuildAcctAllUser
AS
SET NOCOUNT ON
GO
