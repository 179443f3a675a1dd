// Administration of the local database server: the login check with its
// connection to master, connection strings of account sets, existence and
// deletion of an account set, the restore of the base account set and the
// server's drives and folders. The program holds one object
// (g_ServerComponent, see ServerAdmin()). UI thread only.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>

#include "accounts/ServerDrives.h"
#include "foundation/ServerComponent.h"

class ProgressBar;
class QLabel;
namespace ado {
class Connection;
}

class CXRAc : public ServerComponent {
public:
    CXRAc();
    ~CXRAc() override;
    CXRAc(const CXRAc &) = delete;
    CXRAc &operator=(const CXRAc &) = delete;

    // Read from the backup description file (RReadFile) or set by the login
    // check and the restore.
    QString StrAccName;
    QString strDBName;
    QString strDbDataFileName;
    QString strDbLogFileName;
    QString StrDBVersion;
    QString StrDBMSName;
    QString StrPath;
    QString strDomainName;
    QString Strdupdate;
    QString StrIncDup;
    QString StrSysUID;
    QString StrSysPWD;
    QString strMsg;  // failure text of the last CheckRight or ImportDatabase
    QString StrServerName;
    bool bWinNt = false;      // connection strings use Windows authentication
    QString g_ConnectString;  // master, after a successful CheckRight

    // ---- Drives and folders (the machine's, as the server sees them).
    void GetDriverList(const QString &CurrPath, QStringList &vArr,
                       const QString &FileExtName = QStringLiteral(".DBB")) override;
    qint64 GetDiskInformation(const QString &CurrDrive, int lDiskType = 0) override;
    bool ExistFolder(const QString &sSpec) override;

    // Logs on to master; creates or widens master's t_XRAccount_gl. False
    // with strMsg on failure. bOnlyGetStr plays no part.
    bool CheckRight(const QString &StrUID, const QString &StrPWD, const QString &StrServer, bool bOnlyGetStr);
    // Reads the nine lines of a backup description file; False when it
    // cannot be read or ends before line 5.
    bool RReadFile(const QString &StrFileName);
    // True when the database exists and its data file is on disk. Raises
    // ado::AdoError.
    bool ExistDatabase(const QString &StrUID, const QString &strCnnString);
    // Restores the base backup (one or more description files separated by
    // CR) as database StrUID with its files in StrPath, reads its version
    // and lists it in master. False with strMsg; raises PnwError -1
    // "非法的账套号！" for an account number the server cannot take.
    bool ImportDatabase(ProgressBar *PoBar, QLabel *LblObject, const QString &StrFileName, QString StrPath,
                        const QString &StrServerName, const QString &StrAccName, const QString &StrUID,
                        const QString &StrPWD);
    // The registry's CachePrimaryDomain ("" when absent).
    QString GetServerDomainName();
    // The registry's DefaultDomainName ("" on any failure).
    QString GetDomainName();
    // The connection string of database StrUID ("" for an empty name under a
    // server login). StrPWD plays no part. Sets g_LoginPart.
    QString GetConnectString(const QString &StrUID, const QString &StrPWD);
    // True when the file exists; a trailing "/" or "\" is removed from sSpec
    // first (unless it is the whole text).
    bool ExistFile(QString &sSpec);
    // Ends the sessions on the account set, drops its database and deletes
    // its registry row, but only for the account set this object restored;
    // any other name is left alone (False). True when dropped.
    bool DeleteAcct(const QString &sAcctNum);
    // Takes charge of an account set an earlier run restored and could not
    // delete (it was killed), so that DeleteAcct may drop it; the operator
    // names it. False, and nothing changes, for a name that cannot be an
    // account number (the server's own databases among them).
    bool AdoptAccount(const QString &sAcctNum);
    // True when a database of that name exists on the server; a failure is
    // shown and gives False.
    bool ExistAcct(const QString &sAcctNum);

    // The account set restored by this object ("" when none, or once deleted).
    const QString &restoredAccount() const { return m_restoredAccount; }

private:
    void replaceConnection();
    void closeConnection();

    ServerDrives m_drives;
    QString m_MasterConnectString;
    std::unique_ptr<ado::Connection> m_Connection;
    QString m_restoredAccount;
};

// The program-wide component as a CXRAc (created on first use); none when
// the registered component is not one.
std::shared_ptr<CXRAc> ServerAdmin();
// Registers CXRAc as the program's server component.
void InstallServerAdministration();
