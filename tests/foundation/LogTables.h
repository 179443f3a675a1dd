// The run's main log table made with plain DDL, for tests that must not
// depend on the server's procedural batches.
#pragma once

#include "LogServer.h"

inline QString createMainLogTable(const LogServer &server) {
    return server.run(QStringLiteral("AcctCtl"),
                      QStringLiteral("create table [AIS_UpgradeLog_Main]\r\n"
                                     "(FID int identity,FStatus nvarchar(10),FTime nvarchar(40),FProject nvarchar(50),"
                                     "FDescription nvarchar(4000),\r\nFDetail nvarchar(500),FLink nvarchar(50))"));
}
