// Account creation on the stand-in installation: a copy of a sample source
// in its own folder, the settings record, the bar and label of the check
// page, and the log table the entries go to.
#pragma once

#include <QByteArray>
#include <QLabel>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "kit/AccountsServer.h"
#include "controls/ProgressBar.h"
#include "platform/MessageScript.h"
#include "support/SampleFiles.h"

class CreateAcctFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies a sample ("standard" or "mini") to <tmp>/src/<name>.ais; with
    // workgroup, its system.mda beside it.
    QString copySample(const QString &sample, bool workgroup);
    void useSettings(const QString &source, const QString &acctNum);
    // The stand-in's base account set and its two backups, as the
    // installation ships them; "" when done, else why it cannot be.
    QString layOutBase();
    // Runs the stage's UpgradeData once.
    int runCreation();
    // Log rows: status, project, description (tab-joined).
    QStringList logRows() const;
    QStringList registryRows() const;

    AccountsServer server;
    MessageScript messages;
    ProgressBar *bar = nullptr;
    QLabel *label = nullptr;
    QString source;
    QByteArray sourceHash;
};
