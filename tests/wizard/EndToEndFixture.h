// The wizard on a whole stand-in installation (laid out by the kit's
// StandinServer, which puts the program-wide state back when it ends): the
// real services connected, a copy of a sample source, a usage recorder and a
// quit hook that records. Fails when the installation cannot be laid out
// completely.
#pragma once

#include <memory>
#include <string>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include "WizardFixture.h"
#include "kit/StandinServer.h"
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

    // The installation the test runs on.
    StandinServer &installation() const { return *m_installation; }
    bool databaseExists(const QString &name) const { return m_installation->databaseExists(name); }
    QStringList registeredNumbers() const;
    // The staging tables of a target against the source's tables: pairs of
    // (table, source rows) and (table, staged rows) for every staged table.
    void expectStagedRows(const QString &target, const QString &source) const;

    QString dataFolder() const { return m_installation->dataFolder(); }
    QString dbFolder() const { return m_installation->path() + QStringLiteral("/db"); }

    LocalHttpService m_usage;
    int quits = 0;
    QStringList opened;  // reports the window asked to open

private:
    std::string m_version;
    std::unique_ptr<StandinServer> m_installation;
    QString m_source;
    QByteArray m_sourceHash;
    ServerComponentFactory m_savedFactory;
    frmMain::QuitHook m_previousQuit;
};
