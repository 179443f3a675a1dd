#include "foundation/AccountList.h"

#include "foundation/Globals.h"
#include "foundation/clsDataInfo.h"

std::optional<ado::Recordset> PurgeAndListAccounts() {
    clsDataInfo data;
    QString error;
    data.ExecuteSQL(g_AcctCtlConnectString,
                    QStringLiteral("delete from t_ad_xrAccount_gl where FDBname not in (select [name] from "
                                   "master.dbo.sysdatabases )\r\n"),
                    error);
    return data.GetRs(g_AcctCtlConnectString,
                      QStringLiteral(" Select a.*,d.FDBMSName,d.FVersion as FDBVersion From t_ad_xrAccount_gl ") +
                          QStringLiteral(" a,t_ad_dbtype d Where a.FDBType = d.FTypeID Order by FAcctNumber"),
                      true, error);
}
