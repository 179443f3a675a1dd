-- Service pack SP001: system resources kept as whole files.
CREATE TABLE t_SysResource (
    FName nvarchar(80) NOT NULL,
    FData image        NULL,
    CONSTRAINT PK_t_SysResource PRIMARY KEY (FName)
)
go
insertfile into t_SysResource (FName, FData) values ('VEQSysLogo', <VEQSysLogo.bin>)
-- It Must excute In All System
---? select 1 from t_SysResource where FName = 'VEQSysLogo'
go
insertfile into t_SysResource (FName, FData) values ('VEQSysText_CHS', <VEQSysText_CHS.bin>)
---? select 1 from t_SysResource where FName = 'VEQSysText_CHS'
go
INSERT INTO t_SPHistory (FServicePack, FFileName, FNote)
VALUES ('SP001', 'SP001_SysRes.sql', N'系统资源')
go
