// A target created from a sample, with the general-ledger stage's mode set
// and its program-wide lists emptied before each case.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "platform/PnwDictionary.h"
#include "upgrade/common/UpgradeGlobals.h"
#include "upgrade/ledger/clsEboGL.h"

// The columns a voucher row of a case names, in this order.
inline const QString kVoucherColumns = QStringLiteral(
    "FSerialNum\tFDate\tFPeriod\tFGroup\tFNum\tFEntryID\tFAcctID\tFClsID\tFObjID\tFTransID\tFCyID\tFExchRate\t"
    "FFCyAmt\tFDebit\tFCredit\tFQty\tFChecked\tFPosted\tFDue\tFDeleted\n");

class LedgerFixture : public UpgradeStepFixture {
protected:
    void SetUp() override {
        UpgradeStepFixture::SetUp();
        ResetUpgradeGlobals();
    }

    // The new log rows of one project.
    QStringList logOf(const QString &project) {
        QStringList rows;
        for (const QString &row : pending())
            if (row.section(QLatin1Char('\t'), 1, 1) == project) rows << row;
        return rows;
    }

    // Takes the log rows written since the last call into the pending list.
    QStringList &pending() {
        m_pending += newLogRows();
        return m_pending;
    }

    // The rows of the detail table of the latest entry of a project, the
    // caption row first, cells joined by tabs (without the row number).
    QStringList detailOf(const QString &project) const {
        const QStringList links = server.rows(
            QStringLiteral("AcctCtl"),
            QStringLiteral(
                "select FLink from AIS_UpgradeLog_Main where FProject = N'%1' and len(FLink) > 0 order by FID desc")
                .arg(project));
        if (links.isEmpty() || links.first().isEmpty()) return {};
        QStringList rows;
        for (const QString &row : server.rows(QStringLiteral("AcctCtl"),
                                              QStringLiteral("select * from [%1] order by FID").arg(links.first())))
            rows << row.section(QLatin1Char('\t'), 1);
        return rows;
    }

    // Stands in for the base-data step until it converts: target currencies,
    // voucher groups, users, settlement methods, items (custom class c
    // becomes target class 3000 + c), accounts (FAccountID 1000 + position
    // in code order, quantity accounts with unit 1) with their mappings in
    // the staging copies, and TempGLAcctMapping as the base-data check
    // leaves it. Installs an item-detail finder that makes single and
    // multi-class combinations of the mapped items.
    void seedBaseData();
    // The standard sample with some tables changed for the case, created
    // and seeded as above.
    void createEdited(const QList<TableEdit> &edits) {
        createFrom(QStringLiteral("standard"), edits);
        seedBaseData();
    }
    // Target account of a source code.
    QString accountID(const QString &code) const {
        return targetValue(QStringLiteral("SELECT FZ8InterID FROM AIS_GLAcct WHERE FAcctID = '%1'").arg(code));
    }
    void TearDown() override;

    static QString status(const QString &row) { return row.section(QLatin1Char('\t'), 0, 0); }
    static QString description(const QString &row) { return row.section(QLatin1Char('\t'), 2); }

private:
    QStringList m_pending;
};

// Runs one phase of the stage on the fixture's target, as the driver would.
class LedgerPhaseProbe {
public:
    using Phase = int (clsEboGL::*)(StepKit &);
    static int run(Phase phase, bool balanceOnly = false);
    static bool contra(QString &errorText);
    static constexpr Phase voucherTemplate = &clsEboGL::UpgradeVoucherTemplate;
    static constexpr Phase autoTransfer = &clsEboGL::UpgradeAutoTransfer;
    static constexpr Phase voucher = &clsEboGL::UpgradeVoucher;
    static constexpr Phase balance = &clsEboGL::UpgradeGLBalance;
    static constexpr Phase profitAndLoss = &clsEboGL::UpgradeProfitAndLoss;
    static constexpr Phase rateAdjustment = &clsEboGL::UpgradeExRateAdjustment;
    static constexpr Phase transaction = &clsEboGL::UpgradeTransaction;
};
