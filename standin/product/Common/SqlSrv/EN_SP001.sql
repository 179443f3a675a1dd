-- Service pack SP001: English notes.
INSERT INTO t_SPHistory (FServicePack, FFileName, FNote)
VALUES ('SP001', 'EN_SP001.sql', N'Service pack SP001 – English notes')
go
