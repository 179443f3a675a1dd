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
