-- Service pack SP000: the level of the base backup itself.
-- Account sets restored from it already hold it, so this file runs only
-- for an account set that records no level at all.
IF NOT EXISTS (SELECT 1 FROM t_SystemProfile WHERE FCategory = 'Base' AND FKey = 'SP000Rerun')
    INSERT INTO t_SystemProfile (FCategory, FKey, FValue, FReadOnly, FLevel)
    VALUES ('Base', 'SP000Rerun', '1', 1, 0)
go
