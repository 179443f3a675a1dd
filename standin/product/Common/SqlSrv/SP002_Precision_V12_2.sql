-- Service pack SP002: amount precision. Runs outside a transaction.
ALTER TABLE t_SPHistory ADD FPrecision int NULL
go
INSERT INTO t_SPHistory (FServicePack, FFileName, FNote, FPrecision)
VALUES ('SP002', 'SP002_Precision_V12_2.sql', N'½ð¶î¾«¶È', 4)
go
