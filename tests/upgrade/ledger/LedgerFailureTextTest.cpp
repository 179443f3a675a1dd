// A failed batch of a ledger phase is logged with the phase's own text and
// the server's reason, then the batch: one case per batch, each broken by
// taking away what it writes to.
#include "LedgerFixture.h"

namespace {

class LedgerFailureTextTest : public LedgerFixture {};

TEST_F(LedgerFailureTextTest, AFailedBatchIsLoggedWithTheServersReason) {
    createEdited({});
    struct Case {
        const char *project;
        LedgerPhaseProbe::Phase phase;
        const char *breakIt;
        const char *partText;  // what the log's description starts with, before the reason
        const char *reason;    // the server's text
    };
    const Case cases[] = {
        {"模式凭证", LedgerPhaseProbe::voucherTemplate, "DROP TABLE T_VoucherEntryTemplate",
         "错误：（插入模式凭证的SQL语句错误）", "对象名 'T_VoucherEntryTemplate' 无效。"},
        {"自动转账", LedgerPhaseProbe::autoTransfer, "DROP TABLE T_AutoTransferEntry",
         "错误：（插入模式凭证的SQL语句错误）", "对象名 'T_AutoTransferEntry' 无效。"},
        {"凭证", LedgerPhaseProbe::voucher, "ALTER TABLE T_Voucher DROP COLUMN FInternalInd",
         "错误：（填入T_Voucher表的FInternalInd字段的SQL语句错误）", "列名 'FInternalInd' 无效。"},
        {"损益类科目实际发生额", LedgerPhaseProbe::profitAndLoss, "DROP TABLE T_ProfitAndLoss",
         "错误：用于插入损益类科目实际发生额表的SQL语句错误：", "对象名 'T_ProfitAndLoss' 无效。"},
        {"期末调汇", LedgerPhaseProbe::rateAdjustment, "DROP TABLE T_RateAdjust",
         "错误：用于插入期末调汇表的SQL语句错误：", "对象名 'T_RateAdjust' 无效。"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.project);
        run(QString::fromUtf8(c.breakIt));
        EXPECT_EQ(LedgerPhaseProbe::run(c.phase), 2);
        const QStringList log = logOf(QString::fromUtf8(c.project));
        ASSERT_FALSE(log.isEmpty());
        EXPECT_EQ(status(log.last()), QStringLiteral("错误"));
        // The reason stands on the first line, the batch follows it.
        EXPECT_EQ(description(log.last()).section(QStringLiteral("\r\n"), 0, 0),
                  QString::fromUtf8(c.partText) + QString::fromUtf8(c.reason));
        EXPECT_GT(description(log.last()).section(QStringLiteral("\r\n"), 1).size(), 10);
    }
}

}  // namespace
