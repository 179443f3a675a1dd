-- Service pack SP001: history of the script files applied.
CREATE TABLE t_SPHistory (
    FID          int           NOT NULL IDENTITY(1,1),
    FServicePack nvarchar(20)  NOT NULL,
    FFileName    nvarchar(80)  NOT NULL,
    FNote        nvarchar(255) NULL,
    CONSTRAINT PK_t_SPHistory PRIMARY KEY (FID)
)
go

INSERT INTO t_SPHistory (FServicePack, FFileName, FNote)
VALUES ('SP001', 'SP001_Base.sql', N'服务包SP001：脚本历史')
   
GO
INSERT INTO t_SPHistory (FServicePack, FFileName, FNote)
VALUES ('SP001', 'SP001_Base.sql', N'第二批')
  go  
