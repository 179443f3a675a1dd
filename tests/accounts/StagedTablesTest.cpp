#include <gtest/gtest.h>

#include "accounts/StagedTables.h"

TEST(StagedTables, TheListAndCustomTablesAreTaken) {
    EXPECT_EQ(StagedTableNames().size(), 56);
    struct Case {
        const char *name;
        bool taken;
    };
    const Case cases[] = {
        {"GLPref", true},     {"glpref", true},       {"GLVCHDETAIL", true}, {"TRBankChkNote", true},
        {"CSTM_Extra", true}, {"MyCstm_Table", true}, {"cstm_", true},       {"MSysObjects", false},
        {"GLPrefs", false},   {"CSTM", false},        {"", false},           {"FAVchDeValue", true},
    };
    for (const Case &c : cases) EXPECT_EQ(IsStagedTable(QString::fromUtf8(c.name)), c.taken) << c.name;
}

// The fixed-asset and cashier tables are needed as groups: a source without
// any of them never kept those books, one with only some lost the others.
TEST(StagedTables, AGroupOfBooksIsNeededWholeOrNotAtAll) {
    struct Case {
        const char *what;
        QStringList left;  // staged tables left out
        QStringList missing;
    };
    QStringList fixedAssets, cashier;
    for (const QString &name : StagedTableNames()) {
        if (name.startsWith(QLatin1String("FA"))) fixedAssets.append(name);
        if (name.startsWith(QLatin1String("TR"))) cashier.append(name);
    }
    const Case cases[] = {
        {"everything", {}, {}},
        {"no voucher details, no payroll", {"GLVchDetail", "PAItem", "PAFormula", "PAData"}, {}},
        {"no fixed assets", fixedAssets, {}},
        {"no cashier", cashier, {}},
        {"neither", fixedAssets + cashier, {}},
        {"a card table lost", {"FACard"}, {"FACard"}},
        {"two cashier tables lost", {"TRCashJnl", "TRBankJnl"}, {"TRBankJnl", "TRCashJnl"}},
        {"a ledger table lost", {"GLPeriod"}, {"GLPeriod"}},
    };
    for (const Case &c : cases) {
        QSet<QString> staged;
        for (const QString &name : StagedTableNames())
            if (!c.left.contains(name)) staged.insert(name.toUpper());
        EXPECT_EQ(MissingSourceTables(staged), c.missing) << c.what;
    }
}
