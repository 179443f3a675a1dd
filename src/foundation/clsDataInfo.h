// The one gateway for SQL sent to the database server. The class holds no
// state: every call opens a connection of its own from the connection string
// the caller passes. A recordset from GetRs is client-side (every row fetched)
// and keeps its connection alive until the caller closes or drops it.
// ExecuteSQL runs a batch in its own transaction with no time-out.
// Arguments named strErrMsg receive the error text on failure and keep the
// caller's value on success. UI thread only.
#pragma once

#include <QString>

#include <functional>
#include <optional>

#include "platform/PnwDictionary.h"
#include "platform/ado/Recordset.h"

namespace ado {
class Connection;
}

class clsDataInfo {
public:
    // The query's recordset, read-only when bolReadOnly, else optimistic.
    // Server error 7303 (a linked data source that cannot be opened) gives
    // no recordset and no error; every other failure sets strErrMsg and is
    // raised again unchanged (ado::AdoError with the server's number).
    std::optional<ado::Recordset> GetRs(const QString &strConnString, const QString &strsql, bool bolReadOnly,
                                        QString &strErrMsg);
    // True when the batch ran and was committed. On failure: rolled back,
    // two lines in the day's text log ("执行SQL语句发生错误：" + error,
    // "源SQL语句：" + batch), strErrMsg set, False. Never raises.
    bool ExecuteSQL(const QString &strConnString, const QString &strsql, QString &strErrMsg);

    // Runs a script file (batches ended by "go" lines) on strcn, batch by
    // batch, without a transaction; the first failure is shown and stops
    // the run. True when every batch ran.
    bool ExecuteSQLFlile(const QString &filename, const QString &strcn);

    // Account registry (database AcctCtl). Writes one registry row and
    // returns the largest FNodeID after the insert; raises every failure
    // (ado::AdoError). Text values are quote-doubled.
    int AddAccount(const QString &sDsn, QString AcctNum, QString AcctName, QString ConnectString, int lNode,
                   int lDBType, QString sServer, QString sSysUser, QString sSysPwd, QString sDBName, QString sVersion,
                   QString sCompany, QString sDescription, QString sCreator, QString sCreateTime,
                   QString sFConnectString);
    // The database types with FTypeID 1; no recordset on any failure.
    std::optional<ado::Recordset> GetAd_DBtypeInfo(const QString &sDsn);
    // FValue of t_SystemProfile for a category and key; "" when missing or
    // on any failure.
    QString GetSysProfileValue(const QString &sDsn, const QString &strCategory, const QString &strKey);

    // Queries without a caller in the wizard, kept for the account-set tools.
    int GetMaxPeriod(const QString &sDsn);
    qint64 GetUpgradeDataCount(const QString &sTableName);
    QString GetAcctNumber(const QString &sDsn, const QString &sAcctName);
    QString GetAcctVerNo(const QString &sDsn, const QString &sAcctName);
    std::optional<ado::Recordset> GetAcctInfoByName(const QString &sDsn, const QString &sAcctName);
    bool IsExistBillsICBackPeriod(const QString &sDsn, PnwDictionary dicChoose);
    bool IsExistPostedVoucher(const QString &sDsn, int iType);
    bool IsExistDataGLBackPeriod(const QString &sDsn, PnwDictionary dicChoose);
    bool IsExistDataCNBackPeriod(const QString &sDsn, PnwDictionary dicChoose);
    // The start (IsStart) or end date "yyyy-MM-dd" of a period read from the
    // profile (strCategory "GL", "IC" or "CN"; sType "0" current, "1" start);
    // today's date when the period is not in t_PeriodDate.
    QString GetPeriodDate(const QString &sDsn, const QString &strCategory, const QString &sType, bool IsStart);

    // The product's account cache service. The stand-in does nothing; a
    // test or a later service may listen here (called with the category).
    static std::function<void(const QString &category)> &cacheService();

private:
    // Runs one batch; on failure shows the error, puts it into error and
    // gives False.
    bool ExecuteSqlBatch(QString batch, ado::Connection &connection, QString &error);
    static void RefreshAccountCache();
    // One value of the first row of a query, Null when there is none.
    QVariant firstValue(const QString &sDsn, const QString &sql);
    qint64 countOf(const QString &sDsn, const QString &sql);
};
