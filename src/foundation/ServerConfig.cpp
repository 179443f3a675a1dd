#include "foundation/ServerConfig.h"
#include "foundation/TrimSpaces.h"

#include "foundation/DES.h"
#include "foundation/Globals.h"
#include "foundation/IniValues.h"
#include "foundation/Messages.h"
#include "foundation/SqlInstance.h"
#include "foundation/VersionText.h"
#include "platform/OnlineUpdate.h"
#include "platform/PnwError.h"
#include "platform/PnwReg.h"

namespace {

// The key of the server login's DES encoding.
const QString kLoginKey = QStringLiteral("mwqTRZej");
// From this version on the login is DES-encoded in "ServerInfo2015".
const QString kDesLoginVersion = QStringLiteral("14.1");

}  // namespace

QString GetProductVersion() {
    return PnwReg().GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT"),
                                QStringLiteral("Version"), QString());
}

QString GetProductInstallPath() {
    return PnwReg().GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\VANTORA\\VEQPRODUCT"),
                                QStringLiteral("Path"), QStringLiteral("1"));
}

QString GetProductCommonPath() {
    try {
        return GetProductInstallPath() + QStringLiteral("/Common/");
    } catch (const PnwError &e) {
        ShowMessage(QStringLiteral("位于：VEQ_GetAppType\r\n明细：") + e.description(), MsgBox::Critical,
                    kMessageTitle);
        return QString();
    }
}

QString GetCommonVendorPath() { return qEnvironmentVariable("CommonProgramFiles") + QStringLiteral("/Vantora/"); }

QString ServerConfigFilePath() { return GetCommonVendorPath() + QStringLiteral("VEQ/DBConfig.veq"); }

QString ConnectionStringValue(const QString &value) {
    const bool blankAtEnd = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool quoteFirst = value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\''));
    if (!value.contains(QLatin1Char(';')) && !blankAtEnd && !quoteFirst) return value;
    QString inner = value;
    return QLatin1Char('"') + inner.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

void DecodeServerLogin(QString &user, QString &password) {
    DES des;
    user = des.DecodeString(user, kLoginKey);
    password = des.DecodeString(password, kLoginKey);
}

QString GetServerConnectionTemplate(QString &user, QString &password) {
    try {
        const bool des = VersionAtLeast(g_InstalledVersion, kDesLoginVersion);
        const QString section = des ? QStringLiteral("ServerInfo2015") : QStringLiteral("ServerInfo");
        const QString file = ServerConfigFilePath();
        QString name = ReadIniValue(file, section, QStringLiteral("User"), QString());
        QString pass = ReadIniValue(file, section, QStringLiteral("Pwd"), QString());
        if (des) {
            DecodeServerLogin(name, pass);
        } else {
            name = OnlineUpdate::CRDecryptData(name);
            pass = OnlineUpdate::CRDecryptData(pass);
        }
        user = name;
        password = pass;
        return ApplySqlInstance(QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=[AcctNo];User ID=") +
                                ConnectionStringValue(name) + QStringLiteral(";Password=") +
                                ConnectionStringValue(pass));
    } catch (const std::exception &) {
        return QString();
    }
}

void SetLoginPart(bool useIntegrated, const QString &user, const QString &password) {
    if (useIntegrated) {
        g_LoginPart = QStringLiteral(";Integrated Security=SSPI;Persist Security Info=False");
        return;
    }
    g_LoginPart = QStringLiteral(";User ID=") + ConnectionStringValue(TrimSpaces(user)) + QStringLiteral(";Password=") +
                  ConnectionStringValue(TrimSpaces(password));
}

bool LoadServerConfiguration(const QString &minimumVersion) {
    g_InstalledVersion = GetProductVersion();
    if (!VersionAtLeast(g_InstalledVersion, minimumVersion)) return false;
    g_ConnectStringTemplate = GetServerConnectionTemplate(g_ServerUser, g_ServerPassword);
    g_AcctCtlConnectString = g_ConnectStringTemplate;
    g_AcctCtlConnectString.replace(QStringLiteral("[AcctNo]"), QStringLiteral("AcctCtl"), Qt::CaseSensitive);
    return true;
}
