// What the wizard's window tests share: a registry store of their own with
// an installed version, a usage service on 127.0.0.1 that records events,
// scripted message boxes, a quit hook that records, a server-component
// stand-in that keeps a set of existing account sets, and a log writer that
// hands lines to the window as the real one does.
#pragma once

#include <memory>
#include <ostream>

#include <QFile>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "accounts/ServerDrives.h"
#include "foundation/Globals.h"
#include "foundation/ServerComponent.h"
#include "platform/MessageScript.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwReg.h"
#include "support/LocalHttpService.h"
#include "support/QStringPrint.h"
#include "support/QtApp.h"
#include "wizard/StageRegistry.h"
#include "wizard/WizardHooks.h"
#include "wizard/frmMain.h"

// A stand-in source file: only the header of a Jet database, enough for the
// settings page, which looks at nothing else.
inline bool WriteJetHeaderFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(QByteArray("\0\1\0\0Standard Jet DB\0", 20)) == 20;
}

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApp();
        ASSERT_TRUE(m_dir.isValid());
        PlatformSettings::setRegistryFile(m_dir.filePath(QStringLiteral("registry.txt")));
        PlatformSettings::setDataFolder(m_dir.filePath(QStringLiteral("data")));
        PlatformSettings::setUsageServiceUrl(m_usage.url());
        PlatformSettings::setUsageTimeoutMs(3000);
        setInstalledVersion(QStringLiteral("14.1"));
        WizardHooks::ResetToDefaults();
        ReleaseServerComponent();
        m_savedServerFactory = SetServerComponentFactory([] { return std::make_shared<ServerDrives>(); });
        WizardHooks::GetServerConnectionTemplate = [](QString &user, QString &password) {
            user = QStringLiteral("sa");
            password = QStringLiteral("pw");
            return QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=[AcctNo];User ID=sa;Password=pw");
        };
        WizardHooks::ExistAcct = [this](const QString &n) { return accounts.contains(n); };
        WizardHooks::DeleteAcct = [this](const QString &n) {
            deleted << n;
            return accounts.remove(n);
        };
        WizardHooks::PurgeAndListAccounts = [] {
            return std::optional<QList<RegisteredAccount>>(QList<RegisteredAccount>{});
        };
        WizardHooks::WriteUpgradeLog = [](const QString &project, const QString &description, const QString &detail,
                                          int status) {
            const char *const names[] = {"成功", "警告", "错误"};
            UpgradeLogLine line;
            line.status = status >= 0 && status <= 2 ? QString::fromUtf8(names[status]) : QString();
            line.time = QStringLiteral("2018/3/27 15:30:45");
            line.project = project;
            line.description = description;
            line.detail = detail;
            ShowUpgradeLogLine(line);
        };
        WizardHooks::InitUpgradeLog = [this] { ++logInits; };
        WizardHooks::WriteHtmlReport = [this](const QString &title) { reports << title; };
        m_previousQuit = frmMain::setQuitHook([this] { ++quits; });
        g_SourceEdition = QStringLiteral("标准版");
    }

    void TearDown() override {
        frmMain::setQuitHook(m_previousQuit);
        WizardHooks::ResetToDefaults();
        ReleaseServerComponent();
        SetServerComponentFactory(m_savedServerFactory);
        PlatformSettings::resetToEnvironment();
        ResetProgramState();
    }

    void setInstalledVersion(const QString &version) {
        PnwReg().SetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT"),
                             QStringLiteral("Version"), version);
    }

    // A unique instance key per test, so windows of earlier tests never
    // count as another running copy.
    QString instanceKey() const { return m_dir.path(); }

    QTemporaryDir m_dir;
    ServerComponentFactory m_savedServerFactory;
    LocalHttpService m_usage;
    QSet<QString> accounts;  // account sets that exist on the server
    QStringList deleted;
    QStringList journal;
    QStringList reports;
    int quits = 0;
    int logInits = 0;

private:
    frmMain::QuitHook m_previousQuit;
};
