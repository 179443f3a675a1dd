// An account set created from a sample on the stand-in installation, ready
// for an upgrade step to check or convert: the base account set laid out,
// the sample copied, account creation run (staging copies in place,
// g_TargetConnectString set), the log table kept in AcctCtl. The source
// file is checked unchanged when the test ends.
#pragma once

#include <QString>
#include <QStringList>

#include "kit/CreateAcctFixture.h"
#include "support/SampleTables.h"
#include "support/TableEdits.h"

class interface;

class UpgradeStepFixture : public CreateAcctFixture {
protected:
    // The account number, which is also the target database's name.
    static inline const QString kTarget = QStringLiteral("A01");

    void SetUp() override;

    // Creates the target from a sample ("standard" or "mini"); a failed
    // creation fails the test.
    void createFrom(const QString &sample);
    // The same from a sample's table text edited for the case (see
    // support/SampleTables.h), built into a source of the test's own.
    void createFromEdited(const QString &sample, const SampleEdit &edit);
    // The same with the changes written by column name (support/TableEdits.h).
    void createFrom(const QString &sample, const QList<TableEdit> &edits) {
        createFromEdited(sample, TableEdits(edits));
    }
    // Runs one stage's CheckData or UpgradeData with the fixture's bar and
    // label on the target.
    int check(interface &stage);
    int upgrade(interface &stage);
    // The settings' Option (0 all data, 1 balances only).
    void setOption(int option);
    // The base-data step's check and upgrade, then the general ledger's
    // upgrade, as the runs call them before the later steps; their log
    // entries are taken.
    void upgradeBaseAndLedger();

    // Rows of the first result set on the target, cells joined by tabs.
    QStringList target(const QString &sql) const { return server.rows(kTarget, sql); }
    // The first cell of the first row, "<none>" without a row.
    QString targetValue(const QString &sql) const { return server.value(kTarget, sql); }
    // Runs a batch on the target as sa; "" or the first error's text.
    QString targetRun(const QString &sql) const { return server.run(kTarget, sql); }
    // Runs a batch on the target that must succeed; a failure fails the case.
    void run(const QString &sql);
    // Log entries written since the last call: status, project, description.
    QStringList newLogRows();

private:
    int m_logSeen = 0;
};
