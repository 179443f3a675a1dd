-- 服務包SP001：繁體中文說明
INSERT INTO t_SPHistory (FServicePack, FFileName, FNote)
VALUES ('SP001', 'CHT_SP001.sql', N'服務包SP001：繁體說明')
go
