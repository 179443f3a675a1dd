-- Base account set: the rows it ships with.
-- Run after 20_objects.sql. Every table not filled here is empty in the
-- base, and several must stay so (periods, items, accounts, vouchers,
-- balances, fixed-asset cards, payroll and cashier data).

-------------------------------------------------------------------------------
-- Options. Keys the upgrade only updates, or reads before writing, are
-- here; keys that account creation or a step inserts when missing are not
-- (General/CompanyTax and General/CompanyYHAccount would even make the
-- options batch fail).
-------------------------------------------------------------------------------

INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'FBWB', '1', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'StartYear', '2013', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'CurrentYear', '2013', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'StartPeriod', '1', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'CurrentPeriod', '1', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'PeriodCount', '12', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'Closed', '0', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'InitClosed', '0', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'PeriodByMonth', '1', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('GL', 'PeriodDates', '', 0, 0)
GO

INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('FA', 'StartYear', '2013', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('FA', 'CurrentYear', '2013', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('FA', 'StartPeriod', '1', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('FA', 'CurrentPeriod', '1', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('FA', 'Closed', '0', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('FA', 'withoutDepr', '0', 0, 0)
GO

INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('PA', 'StartYear', '2013', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('PA', 'CurrentYear', '2013', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('PA', 'StartPeriod', '1', 0, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('PA', 'CurrentPeriod', '1', 0, 0)
GO

INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('IC', 'ICClosed', '1', 0, 0)
GO

-- Cashier options exist like every module's, so the cashier upgrade takes
-- its update path.
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('cn', 'CN_INIT_DONE', '0', 0, 2)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('cn', 'CN_CURRENT_YEAR', '2013', 0, 2)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('cn', 'CN_START_YEAR', '2013', 0, 2)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('cn', 'CN_CURRENT_PERIOD', '1', 0, 2)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('cn', 'CN_START_PERIOD', '1', 0, 2)
GO

-- Version of the base backup, its account type (selects the section
-- "ServicePack_Industry" of the service-pack list) and the service-pack
-- level it is at: the list's packs that compare above it run.
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('Base', 'Version', '14.1', 1, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('Base', 'AcctType', 'Industry', 1, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('Base', 'ServicePack', 'SP000', 1, 0)
INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel) VALUES ('Base', 'VEQVersion', '8.0', 1, 0)
GO

-------------------------------------------------------------------------------
-- Counters
-------------------------------------------------------------------------------

-- T_SubMessage: the highest seeded FInterID. T_Item: kept current by the
-- trigger T_Item_MaxNum. T_Account: the first account id.
INSERT INTO ICMaxNum (FTableName, FMaxNum) VALUES (N'T_SubMessage', 2)
INSERT INTO ICMaxNum (FTableName, FMaxNum) VALUES (N'T_Item', 0)
INSERT INTO ICMaxNum (FTableName, FMaxNum) VALUES (N'T_Account', 1000)
GO

-------------------------------------------------------------------------------
-- Users: groups 0 and 1, the administrator 16394.
-------------------------------------------------------------------------------

INSERT INTO T_User (FUserID, FName, FPrimaryGroup, FDescription, FAuthRight, FAccessUUID)
VALUES (0, N'系统管理员组', 0, N'系统管理员组', 4, 0)
INSERT INTO T_User (FUserID, FName, FPrimaryGroup, FDescription, FAuthRight, FAccessUUID)
VALUES (1, N'一般用户组', 1, N'一般用户组', 4, 0)
INSERT INTO T_User (FUserID, FName, FPrimaryGroup, FDescription, FAuthRight, FAccessUUID)
VALUES (16394, N'Administrator', 0, N'Administrator', 20, 0)
INSERT INTO T_Group (FUserID, FGroupID) VALUES (16394, 0)
GO

-------------------------------------------------------------------------------
-- Currencies: 0 stands for "all currencies", 1 is the base currency RMB.
-------------------------------------------------------------------------------

INSERT INTO T_Currency (FCurrencyID, FNumber, FName, FOperator, FExchangeRate, FScale)
VALUES (0, N'*', N'所有币别', N'*', 1, 2)
INSERT INTO T_Currency (FCurrencyID, FNumber, FName, FOperator, FExchangeRate, FScale)
VALUES (1, N'RMB', N'人民币', N'*', 1, 2)
GO

-------------------------------------------------------------------------------
-- The standard voucher group.
-------------------------------------------------------------------------------

INSERT INTO T_VoucherGroup (FGroupID, FName, FStandard) VALUES (1, N'记', 1)
GO

-------------------------------------------------------------------------------
-- Genders (type 102): source sex 1 and 0 map to them.
-------------------------------------------------------------------------------

INSERT INTO T_SubMessage (FBrNo, FInterID, FID, FParentID, FName, FTypeID, FDeleted)
VALUES ('', 1, '001', 102, N'男', 102, 0)
INSERT INTO T_SubMessage (FBrNo, FInterID, FID, FParentID, FName, FTypeID, FDeleted)
VALUES ('', 2, '002', 102, N'女', 102, 0)
GO

-------------------------------------------------------------------------------
-- Built-in item classes (custom classes start at 3001).
-------------------------------------------------------------------------------

INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_cht, FName_en, FSQLTableName)
VALUES (1, '1', N'客户', N'客戶', N'Customer', 't_Organization')
INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_cht, FName_en, FSQLTableName)
VALUES (2, '2', N'部门', N'部門', N'Department', 't_Department')
INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_cht, FName_en, FSQLTableName)
VALUES (3, '3', N'职员', N'職員', N'Employee', 't_Emp')
INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_cht, FName_en, FSQLTableName)
VALUES (7, '7', N'计量单位', N'計量單位', N'Unit', 't_MeasureUnit')
INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_cht, FName_en, FSQLTableName)
VALUES (8, '8', N'供应商', N'供應商', N'Supplier', 't_Supplier')
GO

-------------------------------------------------------------------------------
-- The empty item combination: the first row of T_ItemDetail, so the
-- identity gives it 0 and later combinations start at 1.
-------------------------------------------------------------------------------

INSERT INTO T_ItemDetail (FDetailCount, F1, F2, F3, F8) VALUES (0, 0, 0, 0, 0)
GO

-------------------------------------------------------------------------------
-- The reserved unit group and unit "*" that the unit list and the unit
-- numbering leave out.
-------------------------------------------------------------------------------

INSERT INTO T_UnitGroup (FUnitGroupID, FName, FDefaultUnitID) VALUES (0, N'*', 0)
INSERT INTO T_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FShortNumber, FName, FItemID, FParentID)
VALUES (0, 0, N'*', N'*', N'*', 0, 0)
GO

-------------------------------------------------------------------------------
-- Fixed assets
-------------------------------------------------------------------------------

-- The four top alteration modes the base-data upgrade keeps. Increase modes
-- hang under 997, decrease modes under 998; "*" stays below 997.
INSERT INTO t_FAAlterMode (FID, FNumber, FShortNumber, FName, FLevel, FParentId, FDetail, FMode, FAcctID, FDetailID, FVchGroupID, FExplanation)
VALUES (0, '*', '*', N'*', 0, 0, 0, 0, 0, 0, 0, NULL)
INSERT INTO t_FAAlterMode (FID, FNumber, FShortNumber, FName, FLevel, FParentId, FDetail, FMode, FAcctID, FDetailID, FVchGroupID, FExplanation)
VALUES (997, '001', '001', N'增加', 1, 0, 0, 1, 0, 0, 0, NULL)
INSERT INTO t_FAAlterMode (FID, FNumber, FShortNumber, FName, FLevel, FParentId, FDetail, FMode, FAcctID, FDetailID, FVchGroupID, FExplanation)
VALUES (998, '002', '002', N'减少', 1, 0, 0, 0, 0, 0, 0, NULL)
INSERT INTO t_FAAlterMode (FID, FNumber, FShortNumber, FName, FLevel, FParentId, FDetail, FMode, FAcctID, FDetailID, FVchGroupID, FExplanation)
VALUES (999, '003', '003', N'其他减少', 1, 0, 1, 0, 0, 0, 0, NULL)
GO

INSERT INTO t_FAGroup (FID, FNumber, FShortNumber, FName, FLevel, FParentID, FDetail, FDefaultUnit, FDefaultLife, FDeprMethodID, FResidueRate, FMustDepr, FNoDepr)
VALUES (0, '*', '*', N'*', 1, 0, 0, N'', 0, 0, 0, 0, 0)
GO

-- The first location row "*" has the id 0; the identity numbers the
-- locations after it from 1.
SET IDENTITY_INSERT t_FALocation ON
INSERT INTO t_FALocation (FID, FNumber, FShortNumber, FName, FLevel, FDetail, FParentID)
VALUES (0, '*', '*', N'*', 1, 1, 0)
SET IDENTITY_INSERT t_FALocation OFF
GO

INSERT INTO T_FaDeprMethod (FID, FName) VALUES (0, N'不计提折旧')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (1, N'平均年限法')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (2, N'平均年限法（二）')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (3, N'工作量法')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (4, N'年数总和法')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (5, N'双倍余额递减法')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (6, N'平均年限法（调整）')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (7, N'双倍余额递减法（调整）')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (8, N'年数总和法（调整）')
INSERT INTO T_FaDeprMethod (FID, FName) VALUES (9, N'工作量法（调整）')
GO

INSERT INTO t_FAStatus (FID, FName) VALUES (2, N'使用中')
INSERT INTO t_FAStatus (FID, FName) VALUES (7, N'未使用')
INSERT INTO t_FAStatus (FID, FName) VALUES (8, N'不需用')
GO

-------------------------------------------------------------------------------
-- Payroll: three system pay items with their columns FPA1001..FPA1003
-- (new items get columns from FPA1006 on).
-------------------------------------------------------------------------------

INSERT INTO t_PAItem (FItemName, FIsPayRollData, FSNO, FFieldType, FEmpField, FDataType, FFieldSize, FWeisu, FAttrib)
VALUES (N'应发合计', 1, 1, 1, 'FPA1001', 6, 15, 2, 2)
INSERT INTO t_PAItem (FItemName, FIsPayRollData, FSNO, FFieldType, FEmpField, FDataType, FFieldSize, FWeisu, FAttrib)
VALUES (N'扣款合计', 1, 2, 1, 'FPA1002', 6, 15, 2, 2)
INSERT INTO t_PAItem (FItemName, FIsPayRollData, FSNO, FFieldType, FEmpField, FDataType, FFieldSize, FWeisu, FAttrib)
VALUES (N'实发合计', 1, 3, 1, 'FPA1003', 6, 15, 2, 2)
GO
