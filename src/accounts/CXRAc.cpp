#include "accounts/CXRAc.h"

#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QRegularExpression>

#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/ServerConfig.h"
#include "foundation/ServerFolders.h"
#include "foundation/SqlInstance.h"
#include "foundation/WaitCursor.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwReg.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"

namespace {

const QString kWinlogon =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SoftWare\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon");

// The batch that ends every other session whose current database is n.
QString killSessionsBatch(const QString &n) {
    const QStringList lines = {
        QStringLiteral("if exists(select * from sysprocesses where db_name(dbid)='") + n + QStringLiteral("')"),
        QStringLiteral("Begin"),
        QStringLiteral("declare @i INT  "),
        QStringLiteral("declare cur cursor for select spid from sysprocesses where spid>49 and db_name(dbid)= '") + n +
            QStringLiteral("' "),
        QStringLiteral(" open cur "),
        QStringLiteral(" fetch next from cur into @i  "),
        QStringLiteral(" while @@fetch_status=0  "),
        QStringLiteral("    begin if @i<>@@SPID exec('kill '+@i) "),
        QStringLiteral("    fetch next from cur into @i  "),
        QStringLiteral("    end "),
        QStringLiteral(" close cur "),
        QStringLiteral("deallocate cur  "),
        QStringLiteral("End"),
    };
    return lines.join(kCrLf) + kCrLf;
}

}  // namespace

CXRAc::CXRAc() = default;
CXRAc::~CXRAc() = default;

void CXRAc::GetDriverList(const QString &CurrPath, QStringList &vArr, const QString &FileExtName) {
    m_drives.GetDriverList(CurrPath, vArr, FileExtName);
}

qint64 CXRAc::GetDiskInformation(const QString &CurrDrive, int lDiskType) {
    return m_drives.GetDiskInformation(CurrDrive, lDiskType);
}

bool CXRAc::ExistFolder(const QString &sSpec) { return m_drives.ExistFolder(sSpec); }

void CXRAc::replaceConnection() {
    closeConnection();
    m_Connection = std::make_unique<ado::Connection>();
}

void CXRAc::closeConnection() {
    if (m_Connection && m_Connection->State() != 0) {
        try {
            m_Connection->Close();
        } catch (...) {}
    }
}

QString CXRAc::GetConnectString(const QString &StrUID, const QString &StrPWD) {
    (void)StrPWD;
    SetLoginPart(bWinNt, StrSysUID, StrSysPWD);
    if (StrUID.isEmpty() && !bWinNt) return QString();
    return ApplySqlInstance(QStringLiteral("Provider=SQLOLEDB.1") + g_LoginPart +
                            QStringLiteral(";Data Source=.;Initial Catalog=") + StrUID);
}

bool CXRAc::CheckRight(const QString &StrUID, const QString &StrPWD, const QString &StrServer, bool bOnlyGetStr) {
    (void)bOnlyGetStr;
    StrSysUID = StrUID;
    StrSysPWD = StrPWD;
    StrServerName = StrServer;
    bWinNt = StrUID.isEmpty();
    QString cs;
    try {
        cs = GetConnectString(QStringLiteral("master"), StrPWD);
        LetEventsRun();
        replaceConnection();
        m_Connection->Open(cs);
    } catch (const std::exception &e) {
        strMsg = QStringLiteral("登录的用户名/口令/数据库服务器名有误，请重新输入!") + kCrLf +
                 QStringLiteral("错误描述:") + ErrorDescription(e);
        return false;
    }

    ado::Recordset rs;
    bool listExists = true;
    try {
        rs = m_Connection->Execute(QStringLiteral("select * from t_XRaccount_gl"));
    } catch (...) {
        listExists = false;
    }
    if (!listExists) {
        try {
            m_Connection->Execute(QStringLiteral(
                "create table t_xraccount_gl(cid smallint,cacc_name  varchar(255),cdbname    varchar(255),"
                "DBuildDate datetime,DDuplicateDate DateTime,cDBVersion varchar(20))"));
        } catch (...) {
            // The list is read by nothing; the login itself succeeded.
        }
        m_MasterConnectString = cs;
        g_ConnectString = cs;
        StrServerName = StrServer;
        return true;
    }

    try {
        // Column names and defined sizes: from the recordset, or, when it
        // has no row to describe them, from the server's column list.
        QList<QPair<QString, int>> columns;
        if (!rs.Eof()) {
            for (int i = 0; i < rs.fieldCount(); ++i) columns.append({rs.Fields(i).Name, rs.Fields(i).DefinedSize});
        } else {
            ado::Recordset list = m_Connection->Execute(
                QStringLiteral("select c.name, c.length from syscolumns c inner join sysobjects o on c.id = o.id "
                               "where o.name = 't_XRAccount_gl' order by c.colid"));
            for (; !list.Eof(); list.MoveNext())
                columns.append({list.Fields(0).Value.toString(), list.Fields(1).Value.toInt()});
        }
        QString names;
        for (int i = 0; i < columns.size(); ++i) {
            if (i == 0) {
                names = columns.at(i).first.trimmed();
                continue;
            }
            const QString name = columns.at(i).first.trimmed().toLower();
            names += QLatin1Char(',') + name;
            if (name == QLatin1String("cdbname") && columns.at(i).second == 20)
                m_Connection->Execute(QStringLiteral("alter table t_XRAccount_gl alter column cdbname varchar(255)"));
            else if (name == QLatin1String("cacc_name") && columns.at(i).second == 20)
                m_Connection->Execute(QStringLiteral("alter table t_XRAccount_gl alter column cacc_name varchar(255)"));
        }
        names = names.toLower();
        struct Word {
            const char *word, *first, *later;
        };
        static const Word words[] = {
            {"cacc_name", "cacc_name  varchar(255)", ",cacc_name  varchar(255)"},
            {"cid", "cid int", ",cid int"},
            {"cdbname", "cdbname varchar(255)", ",cdbname varchar(255)"},
            {"dbuilddate", "dbuilddate datetime", ",DBuildDate datetime"},
            {"dduplicatedate", "dduplicatedate datetime", ",DDuplicateDate datetime"},
            {"cdbversion", "cdbversion varchar(20)", ",cDBVersion varchar(20)"},
        };
        QString missing;
        for (const Word &w : words) {
            if (names.contains(QLatin1String(w.word))) continue;
            missing += QLatin1String(missing.isEmpty() ? w.first : w.later);
        }
        if (!missing.isEmpty()) m_Connection->Execute(QStringLiteral("alter table t_XRAccount_gl add ") + missing);
        rs.Close();
        m_MasterConnectString = cs;
        StrServerName = StrServer;
        g_ConnectString = cs;
        return true;
    } catch (const std::exception &e) {
        strMsg = QStringLiteral("修改账套参数表有误！") + kCrLf + QStringLiteral("错误描述:") + ErrorDescription(e);
        return false;
    }
}

QString CXRAc::GetDomainName() {
    try {
        return PnwReg().GetKeyValue(kWinlogon, QStringLiteral("DefaultDomainName"), QString());
    } catch (...) {
        return QString();
    }
}

QString CXRAc::GetServerDomainName() {
    try {
        return PnwReg().GetKeyValue(kWinlogon, QStringLiteral("CachePrimaryDomain"), QString());
    } catch (...) {
        return QString();
    }
}

bool CXRAc::ExistAcct(const QString &sAcctNum) {
    BeginWaitCursor();
    try {
        const QString cs = GetConnectString(QStringLiteral("master"), QString());
        replaceConnection();
        m_Connection->Open(cs);
        ado::Recordset rs = m_Connection->Execute(
            QStringLiteral("if exists(select * from master.dbo.sysdatabases where name='") + SqlLiteral(sAcctNum) +
            QStringLiteral("') ") + kCrLf + QStringLiteral(" select 1 as exits ") + kCrLf + QStringLiteral(" else ") +
            kCrLf + QStringLiteral(" select 0 as exits "));
        const bool exists = rs.value(QStringLiteral("exits")).toInt() != 0;
        closeConnection();
        EndWaitCursor();
        return exists;
    } catch (const std::exception &e) {
        closeConnection();
        ShowMessage(ErrorDescription(e), 16, kMessageTitle);
        EndWaitCursor();
        return false;
    }
}

bool CXRAc::DeleteAcct(const QString &sAcctNum) {
    // Only the account set this object restored may be dropped: any other
    // database of that name belongs to someone else.
    if (m_restoredAccount.isEmpty() || sAcctNum.trimmed() != m_restoredAccount) return false;
    const QString n = m_restoredAccount;
    BeginWaitCursor();
    try {
        const QString cs = GetConnectString(QStringLiteral("master"), QString());
        replaceConnection();
        m_Connection->Open(cs);
        m_Connection->Execute(killSessionsBatch(n));
    } catch (...) {
        // Sessions that cannot be ended make the drop fail below.
    }
    try {
        if (!m_Connection || m_Connection->State() == 0) throw ado::objectClosed();
        m_Connection->Execute(QStringLiteral("if exists(select * from master.dbo.sysdatabases where name='") + n +
                              QStringLiteral("') ") + kCrLf + QStringLiteral(" drop database ") + n);
        QString error;
        clsDataInfo().ExecuteSQL(g_AcctCtlConnectString,
                                 QStringLiteral("delete from t_ad_xrAccount_gl where FAcctNumber='") + SqlLiteral(n) +
                                     QStringLiteral("'"),
                                 error);
        closeConnection();
        m_restoredAccount.clear();
        EndWaitCursor();
        return true;
    } catch (...) {
        closeConnection();
        EndWaitCursor();
        ShowMessage(QStringLiteral("创建的数据库删除不成功，请手动删除。"), 16, kMessageTitle);
        return false;
    }
}

bool CXRAc::AdoptAccount(const QString &sAcctNum) {
    const QString n = sAcctNum.trimmed();
    static const QRegularExpression number(QStringLiteral("^[A-Za-z][A-Za-z0-9]*$"));
    if (!number.match(n).hasMatch()) return false;
    for (const char *own : {"master", "model", "msdb", "tempdb", "AcctCtl"})
        if (n.compare(QLatin1String(own), Qt::CaseInsensitive) == 0) return false;
    m_restoredAccount = n;
    return true;
}

bool CXRAc::ExistDatabase(const QString &StrUID, const QString &strCnnString) {
    ado::Connection connection;
    connection.Open(strCnnString.trimmed().isEmpty() ? m_MasterConnectString : strCnnString);
    ado::Command command;
    command.ActiveConnection = &connection;
    command.CommandType = ado::adCmdText;
    command.CommandText = QStringLiteral("Select * from master.dbo.sysdatabases Where name = ?");
    command.Parameters.push_back(
        ado::Command::CreateParameter(QString(), 130, ado::adParamInput, 128, StrUID.toUpper()));
    ado::Recordset rs = command.Execute();
    if (rs.Eof()) return false;
    QString file = rs.value(QStringLiteral("filename")).toString().trimmed();
    return QFileInfo(file).isFile();
}

std::shared_ptr<CXRAc> ServerAdmin() { return std::dynamic_pointer_cast<CXRAc>(GetServerComponent()); }

void InstallServerAdministration() {
    SetServerComponentFactory([] { return std::make_shared<CXRAc>(); });
}
