// The first stage of the data check: creates the target account set. It
// checks the installation and the source, restores the base account set
// under the new number, registers it, writes its options, runs the upgrade
// scripts, copies the known source tables into staging tables ("AIS_" +
// name, with FZ8InterID) and sets g_TargetConnectString. UI thread only.
#pragma once

#include <memory>
#include <optional>

#include <QString>

#include "accounts/SourceIdentity.h"
#include "accounts/interface.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"

namespace ado {
class Connection;
}

class clsCreateAcct : public interface {
public:
    clsCreateAcct() = default;

    PnwDictionary p_InstallType;
    int p_lAcctID = 0;

    // Drops the staging copy of every table of the source file; False on
    // any error.
    bool DropTempTable(const QString &cnstr);

    // Does nothing: 0.
    int CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;
    // Creates the target account set: 0 on success, else 2 (logged).
    int UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) override;

    // Read by the tests: the provider chosen and the account types read.
    const QString &provider() const { return m_Provider; }
    bool usesAce() const { return m_UseAce; }
    const PnwList &accountTypes() const { return m_AcctTypes; }
    const PnwDictionary &accountTypeIndex() const { return m_AcctTypeIndex; }
    // The node number registered for the last account type read (0 when
    // none was read).
    int lastAccountNode() const;
    bool readAccountTypes() { return ReadAccountTypes(); }

    // The source's workgroup file: its folder + "system.mda".
    static QString WorkgroupFile(const QString &source);
    // "源账套文件已损坏，无法读取表<table>。": a table the file cannot give.
    static QString DamagedFileMessage(const QString &table);
    // Whether a server's error text says the provider found the file damaged.
    static bool SaysSourceDamaged(const QString &serverText);
    // A value of the source connection as the provider reads it: quoted when
    // it holds ";", a quote or outer blanks.
    static QString ConnectionValue(const QString &value);
    // The source connection inside OpenDataSource for a provider.
    static QString SourceConnection(const QString &provider, const QString &source);

private:
    bool CreateTargetAccount(ProgressBar *PoBar, QLabel *LblObject);
    bool ReadAccountTypes();
    bool CreateStagingTables(ProgressBar *PoBar, QLabel *LblObject, const QString &connectString, QString &failureText);
    QString CopySourceTable(ado::Connection &connection, const QString &table, bool dropOnly);
    bool ProbeServerUsesAce(const QString &connectString);
    bool ProbeServerIs2008Family(const QString &connectString);
    bool ProbeSourceProvider();
    bool EnableAdHocQueries();
    // Raises an error naming the source when it is no longer the file the
    // creation started with.
    void CheckSourceUnchanged() const;

    std::optional<clsDataInfo> m_DataInfo;
    PnwList m_DBTypes;
    PnwList m_AcctTypes;
    PnwDictionary m_AcctTypeIndex;
    QString m_Provider;
    bool m_UseAce = false;
    QString m_Source;
    std::optional<SourceIdentity> m_SourceIdentity;  // taken when the creation starts
};
