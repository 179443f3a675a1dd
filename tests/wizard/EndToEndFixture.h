// The wizard on a whole stand-in installation: the installation laid out in
// a temporary folder (server instance, AcctCtl, the base account set's
// backups, registry, configuration file), the program's environment pointing
// at it, the real services connected, a copy of a sample source, a usage
// recorder and a quit hook that records. Skips when the installation cannot
// be laid out completely.
#pragma once

#include <memory>
#include <string>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "WizardFixture.h"
#include "foundation/ServerComponent.h"
#include "wizard/frmMain.h"

class EndToEndTest : public ::testing::Test {
protected:
    explicit EndToEndTest(std::string installedVersion = "14.1") : m_version(std::move(installedVersion)) {}

    void SetUp() override;
    void TearDown() override;

    // Copies a sample ("standard" or "mini") with its workgroup file to
    // <tmp>/src/<sample>/ and remembers its hash; the copy's path.
    QString copySample(const QString &sample);
    // A loaded window on step 0.
    std::unique_ptr<frmMain> load();
    // From step 0 onto the settings page, filled in.
    void fillSettings(frmMain &w, const QString &source, const QString &number);

    // Runs a statement as the installation's login; "" or the error's text.
    QString run(const QString &database, const QString &sql) const;
    // Rows of the first result set, cells joined by tabs.
    QStringList rows(const QString &database, const QString &sql) const;
    bool databaseExists(const QString &name) const;
    QStringList registeredNumbers() const;
    // The staging tables of a target against the source's tables: pairs of
    // (table, source rows) and (table, staged rows) for every staged table.
    void expectStagedRows(const QString &target, const QString &source) const;

    static QByteArray fileHash(const QString &path);

    QString dataFolder() const { return m_dataFolder; }
    QString dbFolder() const { return m_dir.path() + QStringLiteral("/db"); }

    QTemporaryDir m_dir;
    LocalHttpService m_usage;
    int quits = 0;
    QStringList opened;  // reports the window asked to open

private:
    std::string m_version;
    QString m_dataFolder;
    QString m_source;
    QByteArray m_sourceHash;
    QList<QPair<QByteArray, QByteArray>> m_savedEnvironment;  // name, previous value
    ServerComponentFactory m_savedFactory;
    frmMain::QuitHook m_previousQuit;
};
