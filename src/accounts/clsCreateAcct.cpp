#include "accounts/clsCreateAcct.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "accounts/AISINFO.h"
#include "accounts/CXRAc.h"
#include "foundation/SqlText.h"
#include "foundation/ErrorText.h"
#include "foundation/AccountList.h"
#include "foundation/CProfile.h"
#include "foundation/Messages.h"
#include "foundation/Progress.h"
#include "foundation/ServerConfig.h"
#include "foundation/TextLog.h"
#include "foundation/UpgradeLog.h"
#include "foundation/VersionText.h"
#include "foundation/WaitCursor.h"
#include "platform/PlatformClock.h"
#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/dao/DaoError.h"
#include "foundation/Globals.h"

namespace {

const QString kProject = QStringLiteral("创建目标账套");

// A "fail with" of the driver: the failure text, and no error of its own.
struct CreationFailure {
    QString text;
};

QVariant column(const ado::Recordset &rs, const char *name) { return rs.value(QLatin1String(name)); }
bool isNull(const QVariant &v) { return !v.isValid() || v.isNull(); }
QString textOrEmpty(const QVariant &v) { return isNull(v) ? QString() : v.toString(); }

// The name of an option of the new set as the log gives it.
QString profileFieldName(const QString &key) {
    if (key == QLatin1String("CompanyName")) return QStringLiteral("公司名称");
    if (key == QLatin1String("CompanyPhone")) return QStringLiteral("公司电话");
    if (key == QLatin1String("CompanyAddress")) return QStringLiteral("公司地址");
    return key;
}

// Text comparison, character by character, case-sensitive.
bool textBelow(const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseSensitive) < 0; }

}  // namespace

int clsCreateAcct::CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    (void)PoBar, (void)LblObject, (void)SQLConnectString;
    return StepDone;
}

int clsCreateAcct::UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    (void)SQLConnectString;
    m_DataInfo.emplace();
    m_DBTypes = PnwList();
    m_AcctTypes = PnwList();
    return CreateTargetAccount(PoBar, LblObject) ? StepDone : StepFailed;
}

bool clsCreateAcct::CreateTargetAccount(ProgressBar *PoBar, QLabel *LblObject) {
    QString phase, failureText, errorDescription;
    bool result = false;
    try {
        auto fail = [&failureText](const QString &text) {
            failureText = text;
            throw CreationFailure{text};
        };
        InitProgress(PoBar, 100, true);
        if (g_UpgradeSettings.Count() < 1) fail(QStringLiteral("未取到升级设置数据，请检查升级设置是否正确。"));
        const PnwDictionary settings = g_UpgradeSettings.DictionaryItem(1);
        m_Source = settings.Item(QStringLiteral("Source")).toString();

        // The server reads the source through its workgroup file beside it.
        const QString workgroup = WorkgroupFile(m_Source);
        if (!QFileInfo::exists(workgroup)) {
            const QString shipped = GetProductInstallPath() + QStringLiteral("/Advance/system_VEQ75.mda");
            if (!QFile::copy(shipped, workgroup))
                fail(QStringLiteral("无法把工作组文件") + shipped + QStringLiteral("复制为") + workgroup +
                     QStringLiteral("，源账套所在的文件夹可能是只读的。请把源账套复制到可以写入的文件夹后重试。"));
        }

        phase = QStringLiteral("检查数据库和VEQ版本信息");
        if (textBelow(g_InstalledVersion, g_MinServerVersion))
            fail(QStringLiteral("你当前的专业版版本低于") + g_MinServerVersion + QStringLiteral("，请升级到") +
                 g_MinServerVersion + QStringLiteral("或以上版本后再升级。"));

        m_AcctTypeIndex = PnwDictionary();
        p_InstallType = PnwDictionary();
        p_InstallType.setItem(QStringLiteral("1"), QStringLiteral("AcctType_Common"));
        {
            std::optional<ado::Recordset> types = m_DataInfo->GetAd_DBtypeInfo(g_AcctCtlConnectString);
            if (!types) fail(QStringLiteral("无法读取账套管理数据库的数据库类型。"));
            m_DBTypes.Clear();
            for (; !types->Eof(); types->MoveNext()) {
                m_DBTypes.Add(types->value(QStringLiteral("FName")).toString() + QLatin1Char(' ') +
                              types->value(QStringLiteral("FVersion")).toString());
                m_DBTypes.Add(types->value(QStringLiteral("FTypeID")));
            }
        }

        // Without an account type the new set cannot be registered.
        if (!ReadAccountTypes())
            fail(QStringLiteral("无法读取可供使用的账套类型，请检查") + GetProductCommonPath() +
                 QStringLiteral("SqlSrv/CreateDB.lst是否存在！"));

        const QString acctNum = settings.Item(QStringLiteral("AcctNum")).toString();
        const QString acctName = settings.Item(QStringLiteral("AcctName")).toString();
        const QString dbDir = settings.Item(QStringLiteral("DBDir")).toString();
        std::shared_ptr<CXRAc> server = ServerAdmin();
        if (!server) fail(QStringLiteral("无法创建数据库服务器管理组件。"));
        const QString serverName = server->GetDomainName().toUpper();
        g_NewAcctConnectString = g_ConnectStringTemplate;
        g_NewAcctConnectString.replace(QStringLiteral("[AcctNo]"), acctNum, Qt::CaseSensitive);

        if (!server->CheckRight(g_ServerUser, g_ServerPassword, serverName, false)) {
            const QString message = server->strMsg.trimmed();
            if (!message.isEmpty()) ShowMessage(server->strMsg, 16, kMessageTitle);
            // Nothing can be done on the server without the login.
            fail(message.isEmpty() ? QStringLiteral("登录数据库服务器失败。") : message);
        }

        // A database of that name, registered or not, is never overwritten.
        {
            QString error;
            std::optional<ado::Recordset> rs =
                m_DataInfo->GetRs(server->g_ConnectString,
                                  QStringLiteral("select name from master.dbo.sysdatabases where name='") +
                                      SqlLiteral(acctNum.trimmed()) + QStringLiteral("'"),
                                  true, error);
            if (rs && !rs->Eof())
                fail(QStringLiteral("数据库服务器上已经有名为") + acctNum.trimmed() +
                     QStringLiteral("的数据库，不能用它的名字作账套号。请换一个账套号。"));
        }

        if (!EnableAdHocQueries())
            fail(QStringLiteral("无法配置SQL Server 支持该升级工具的高级选项'Ad Hoc Distributed Queries'。"));

        phase = QStringLiteral("获取标准版（迷你版）的账套信息");
        bool probed = false;
        try {
            probed = ProbeSourceProvider();
        } catch (...) {
            probed = false;
        }
        if (!probed) fail(QStringLiteral("无法读取源账套信息，可能数据库服务器未安装Access数据引擎。"));

        // The query leaves its error text in the failure text, also when it
        // raises, so that the handler can tell the provider's complaint.
        std::optional<ado::Recordset> pref =
            m_DataInfo->GetRs(server->g_ConnectString,
                              QStringLiteral("SELECT * FROM OpenDataSource( '") + m_Provider + QStringLiteral("','") +
                                  SourceConnection(m_Provider, m_Source) + QStringLiteral("')...GLpref"),
                              true, failureText);
        if (!pref) fail(failureText);
        if (pref->Eof()) fail(QStringLiteral("无法获得标准版（迷你版）的账套信息。"));
        const QVariant programVersion = column(*pref, "FProgramVersion");
        column(*pref, "FDBVersion");
        const short edition = short(programVersion.toInt());
        if (isNull(programVersion) || (edition != 1 && edition != 15))
            fail(QStringLiteral("你要升级账套不是标准版（迷你版）。"));
        g_SourceEdition = edition == 1 ? QStringLiteral("迷你版") : QStringLiteral("标准版");
        g_SourceCurrPeriod = short(column(*pref, "FCurrPeriod").toInt());
        g_SourceCurrYear = short(column(*pref, "FCurrYear").toInt());
        for (const char *name :
             {"FDaysPerPeriod", "FBaseCy", "FStartYear", "FStartPeriod", "FAcctYearBeginDay", "FAcctYearBeginMonth"})
            column(*pref, name);
        const QVariant writer = column(*pref, "LastAppWriterID");
        if (!isNull(writer) && writer.toLongLong() < 201300129)
            fail(QStringLiteral("你要升级的") + g_SourceEdition +
                 QStringLiteral("低于9.1SP1，请升级到9.1SP1或以上版本后升级。"));
        const QVariant closed = column(*pref, "FClosed"), icClosed = column(*pref, "FICClosed");
        if (!isNull(closed) && !isNull(icClosed) && closed.toInt() == 0 && icClosed.toInt() == 0)
            fail(QStringLiteral("您所选择的") + g_SourceEdition + QStringLiteral("账套还没有结束初始化，不能升级。"));
        const QVariant periods = column(*pref, "FPeriodsPerYear");
        if (!isNull(periods) && periods.toInt() != 12 && periods.toInt() != 13)
            fail(QStringLiteral("你要升级的") + g_SourceEdition +
                 QStringLiteral("年度会计期间总数不是12期或者13期，不支持升级到VEQ专业版。"));
        WriteUpgradeLog(kProject, phase, QString(), 0);

        phase = QStringLiteral("恢复基础账套");
        const QString phone = textOrEmpty(column(*pref, "FPhone"));
        const QString address = textOrEmpty(column(*pref, "FAddress"));
        const QString company = textOrEmpty(column(*pref, "FCompany"));
        pref.reset();
        const QString description = QStringLiteral("本账套由") + g_SourceEdition + QStringLiteral("账套升级生成");
        SetStatusCaption(LblObject, QStringLiteral("开始创建升级目标账套..."));
        m_UseAce = ProbeServerUsesAce(server->g_ConnectString);

        const QString dbb = GetProductInstallPath() + (ProbeServerIs2008Family(server->g_ConnectString)
                                                           ? QStringLiteral("/Common/SQLDB/SQLDBBack_2008.dbb")
                                                           : QStringLiteral("/Common/SQLDB/SQLDBBack.dbb"));
        if (!server->RReadFile(dbb)) {
            ShowMessage(QStringLiteral("【发生错误】在读服务器端的备份说明文件时出错！找不到文件：") + dbb +
                            QStringLiteral("。"),
                        16, kMessageTitle);
            fail(QStringLiteral("在读服务器端的备份说明文件时出错，找不到文件：") + dbb);
        }
        SetProgress(PoBar, 10);
        DelayWithEvents(200);
        SetProgress(PoBar, 15);
        DelayWithEvents(100);
        LetEventsRun();
        if (g_CancelRequested) return false;

        SetStatusCaption(LblObject, QStringLiteral("正在恢复基础账套(") + acctNum + QStringLiteral(")..."));
        BeginWaitCursor();
        bool restored = false;
        try {
            restored = server->ImportDatabase(PoBar, LblObject, dbb, dbDir.trimmed(), serverName, acctName, acctNum,
                                              QStringLiteral("sa"));
        } catch (...) {
            EndWaitCursor();
            throw;
        }
        EndWaitCursor();
        if (!restored) {
            SetStatusCaption(LblObject, QStringLiteral("新建账套遇到错误，升级账套中止！"));
            WriteUpgradeLog(kProject, QStringLiteral("恢复基础账套出现错误，升级账套中止。"), QString(), 2);
            ShowMessage(QStringLiteral("【发生错误】恢复基础账套出现错误。"), 16, QStringLiteral("岫禾软件"));
            SetProgress(PoBar, 90);
            return false;
        }
        SetProgress(PoBar, 50);
        WriteUpgradeLog(kProject, phase, QString(), 0);
        LetEventsRun();
        if (g_CancelRequested) return false;

        phase = QStringLiteral("执行账套升级脚本");
        SetStatusCaption(LblObject, QStringLiteral("正在执行升级脚本..."));
        CProfile profile;
        profile.setFilename(GetProductCommonPath() + QStringLiteral("SqlSrv/") + QStringLiteral("PitchUptVEQ.lst"));
        const QString spVersion = profile.ProfileString(QStringLiteral("ServicePack_Industry"),
                                                        QStringLiteral("Version"), QString(), QString());
        if (spVersion.isEmpty())
            throw PnwError(1, QStringLiteral("clsCreateAcct"),
                           QStringLiteral("服务包列表没有给出版本（ServicePack_Industry/Version）。"));

        const QString now = PlatformClock::now().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
                            PlatformClock::now().toString(QStringLiteral("hh:mm:ss"));
        p_lAcctID = m_DataInfo->AddAccount(g_AcctCtlConnectString, acctNum, acctName, QString(), lastAccountNode(), 1,
                                           serverName, g_ServerUser, QString(), acctNum, spVersion, company,
                                           description, QStringLiteral("Admin"), now, QString());

        if (std::optional<ado::Recordset> accounts = PurgeAndListAccounts()) {
            accounts->setFilter(QStringLiteral("FAcctNumber='") + SqlLiteral(acctNum) + QStringLiteral("'"));
            if (!accounts->Eof()) accounts->value(QStringLiteral("FAcctID"));
        }

        AISINFO options;
        options.CompanyName = company;
        options.CompanyPhone = phone;
        options.CompanyAddress = address;
        options.Description = description;
        options.CompanyType = 1;
        options.ConnectionString = g_NewAcctConnectString;
        const bool optionsWritten = options.UpdateAISINFO(PoBar);
        const QString width = QString::number(AISINFO::kProfileValueWidth);
        for (const QString &key : options.truncatedKeys())
            WriteUpgradeLog(kProject,
                            profileFieldName(key) + QStringLiteral("超过") + width +
                                QStringLiteral("个字符，已截断为前") + width + QStringLiteral("个字符"),
                            QString(), 1);
        if (optionsWritten) {
            QString ignored;
            m_DataInfo->ExecuteSQL(g_AcctCtlConnectString, QStringLiteral("execute Pro_BuildAcctAllUser"), ignored);
            SetStatusCaption(LblObject, QStringLiteral("创建升级目标账套完毕！"));
            WriteUpgradeLog(kProject, phase, QString(), 0);
            LetEventsRun();
            if (g_CancelRequested) return false;
            phase = QStringLiteral("创建临时表");
            SetStatusCaption(LblObject, QStringLiteral("创建临时表"));
            QString stagingError;
            if (!CreateStagingTables(PoBar, LblObject, server->GetConnectString(acctNum, QString()), stagingError))
                fail(stagingError);
            SetStatusCaption(LblObject, QStringLiteral("创建临时表完成"));
            WriteUpgradeLog(QStringLiteral("创建临时表"), phase, QString(), 0);
            result = true;
        } else if (!g_CancelRequested) {
            SetStatusCaption(LblObject, QStringLiteral("新建账套遇到错误，升级账套中止！"));
            WriteUpgradeLog(kProject, QStringLiteral("执行升级脚本发生错误，升级账套中止。"), QString(), 2);
            ShowMessage(QStringLiteral("【发生错误】执行升级脚本发生错误。"), 16, kMessageTitle);
        }
        g_TargetConnectString = server->GetConnectString(acctNum, QString());
        InitProgress(PoBar, 100, false);
        SetProgress(PoBar, 90);
        return result;
    } catch (const CreationFailure &) {
        errorDescription.clear();
    } catch (const std::exception &e) {
        errorDescription = ErrorDescription(e);
    }

    WriteTextLog(QStringLiteral("新建账套时发生异常: ") + failureText + kCrLf + errorDescription);
    if (g_CancelRequested) return false;
    if (failureText.contains(QStringLiteral("Microsoft.ACE.OLEDB.12.0")) &&
        !failureText.contains(QStringLiteral("源账套文件已损坏")))
        failureText = QStringLiteral(
            "源帐套是Access2007以下版本数据库，请手动使用Access2007及以上版本先对源帐套数据库进行升级后重试！");
    WriteUpgradeLog(kProject,
                    phase + QStringLiteral("发生错误：") + (failureText.isEmpty() ? errorDescription : failureText),
                    QString(), 2);
    return false;
}
