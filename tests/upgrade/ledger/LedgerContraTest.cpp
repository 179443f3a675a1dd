// Contra accounts on vouchers written straight into the target's voucher
// tables: one voucher per case, all matched by one run of the batch.
#include "LedgerFixture.h"

#include <vector>

namespace {

struct Entry {
    int account;
    int dc;  // 1 debit, 0 credit
    double amount;
    int expectedContra;
};

struct ContraCase {
    const char *name;
    std::vector<Entry> entries;
};

// Accounts: 101.. on the debit side of the examples, 201.. on the credit side.
const std::vector<ContraCase> kCases = {
    {"two entries", {{101, 1, 100, 201}, {201, 0, 100, 101}}},
    {"one debit, two credits", {{101, 1, 100, 201}, {201, 0, 60, 101}, {202, 0, 40, 101}}},
    {"two debits, one credit", {{101, 1, 60, 201}, {102, 1, 40, 201}, {201, 0, 100, 101}}},
    {"debit-first pairs", {{101, 1, 100, 201}, {201, 0, 100, 101}, {102, 1, 50, 202}, {202, 0, 50, 102}}},
    {"credit-first pairs", {{201, 0, 100, 101}, {101, 1, 100, 201}, {202, 0, 50, 102}, {102, 1, 50, 202}}},
    {"matched by amount", {{101, 1, 100, 202}, {102, 1, 50, 201}, {201, 0, 50, 102}, {202, 0, 100, 101}}},
    {"no amount matches", {{101, 1, 70, 201}, {102, 1, 30, 201}, {201, 0, 60, 101}, {202, 0, 40, 101}}},
    {"amounts then the rest",
     {{101, 1, 100, 201}, {102, 1, 30, 202}, {201, 0, 100, 101}, {202, 0, 20, 102}, {203, 0, 10, 102}}},
    {"negative amounts change sides", {{101, 1, -100, 201}, {201, 0, -100, 101}}},
    {"a zero entry fits no case", {{101, 1, 100, 0}, {201, 0, 100, 0}, {102, 1, 0, 0}}},
    {"two entries on one side", {{101, 1, 100, 0}, {102, 1, 100, 0}}},
};

class LedgerContraTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QStringLiteral("mini"));
    }

    void writeVouchers() {
        QString sql;
        int voucher = 1;
        for (const ContraCase &c : kCases) {
            sql += QStringLiteral("INSERT INTO T_Voucher (FVoucherID, FDate, FYear, FPeriod, FGroupID, FNumber, "
                                  "FEntryCount) VALUES (%1, '2025-01-01', 2025, 1, 1, %1, %2)\r\n")
                       .arg(voucher)
                       .arg(c.entries.size());
            int entry = 0;
            for (const Entry &e : c.entries)
                sql += QStringLiteral("INSERT INTO T_VoucherEntry (FVoucherID, FEntryID, FAccountID, FDC, FAmount, "
                                      "FAccountID2) VALUES (%1, %2, %3, %4, %5, 0)\r\n")
                           .arg(voucher)
                           .arg(entry++)
                           .arg(e.account)
                           .arg(e.dc)
                           .arg(e.amount);
            ++voucher;
        }
        run(sql);
    }
};

TEST_F(LedgerContraTest, EveryVoucherShapeGetsItsContraAccounts) {
    writeVouchers();
    QString errorText;
    ASSERT_TRUE(LedgerPhaseProbe::contra(errorText)) << errorText.toStdString();
    EXPECT_TRUE(errorText.isEmpty());
    int voucher = 1;
    for (const ContraCase &c : kCases) {
        QStringList expected;
        for (const Entry &e : c.entries) expected << QString::number(e.expectedContra);
        const QStringList got =
            target(QStringLiteral("SELECT ISNULL(CONVERT(NVARCHAR(28), FAccountID2), 'NULL') FROM T_VoucherEntry "
                                  "WHERE FVoucherID = %1 ORDER BY FEntryID")
                       .arg(voucher++));
        EXPECT_EQ(got, expected) << c.name;
    }
}

TEST_F(LedgerContraTest, AFailedBatchLeavesEveryEntryAndTellsWhy) {
    writeVouchers();
    run(QStringLiteral("DROP TABLE T_Voucher"));
    QString errorText = QStringLiteral("earlier");
    EXPECT_FALSE(LedgerPhaseProbe::contra(errorText));
    EXPECT_TRUE(errorText.startsWith(QStringLiteral("earlier\r\n更新凭证分录对方科目时发生错误：")))
        << errorText.toStdString();
    EXPECT_TRUE(errorText.endsWith(QStringLiteral("\r\n")));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherEntry WHERE FAccountID2 <> 0")),
              QStringLiteral("0"));
}

}  // namespace
