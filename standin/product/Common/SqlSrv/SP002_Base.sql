-- Service pack SP002.
INSERT INTO t_SPHistory (FServicePack, FFileName, FNote)
VALUES ('SP002', 'SP002_Base.sql', N'·þÎñ°üSP002')
Go
IF NOT EXISTS (SELECT 1 FROM t_SystemProfile WHERE FCategory = 'Base' AND FKey = 'SP002Installed')
    INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel)
    VALUES ('Base', 'SP002Installed', '1', 1, 0)
GO
-- Text after the last batch end is never run.
SELECT FValue FROM no_such_table
