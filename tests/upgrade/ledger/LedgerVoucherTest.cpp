// The voucher phase on the standard sample, with the base data the phase
// relies on seeded by the fixture (until the base-data step converts it):
// counts, totals and write-backs against the staging rows, and the edge
// cases on staging rows edited for the case.
#include "LedgerFixture.h"

#include <malloc.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <QTimer>

#include "upgrade/ledger/LedgerLookups.h"

namespace {

class LedgerVoucherTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        seedBaseData();
    }

    QString voucherOf(const QString &where) {
        return targetValue(QStringLiteral("SELECT MIN(FZ8InterID) FROM AIS_GLVch WHERE ") + where);
    }
};

TEST_F(LedgerVoucherTest, EveryStagedVoucherBecomesOneBalancedTargetVoucher) {
    const QString vouchers = targetValue(QStringLiteral(
        "SELECT COUNT(*) FROM (SELECT FPeriod, FGroup, FNum FROM AIS_GLVch GROUP BY FPeriod, FGroup, FNum) T"));
    const QString rows = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 1);  // the NULL/'' pair is reported
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Voucher")), vouchers);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherEntry")), rows);
    const QStringList log = logOf(QStringLiteral("凭证"));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(status(log.at(0)), QStringLiteral("警告"));
    EXPECT_EQ(description(log.at(1)),
              QStringLiteral("凭证数目：") + vouchers + QStringLiteral(", 凭证分录数：") + rows);

    // Every staging row carries its voucher and entry; every voucher
    // balances and its header totals are its entries' sums.
    EXPECT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FZ8InterID IS NULL OR FZ8InterID_2 IS NULL")),
        QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Voucher WHERE FDebitTotal <> FCreditTotal OR "
                                         "FInternalInd IS NULL")),
              QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT COUNT(*) FROM T_Voucher v WHERE v.FDebitTotal <> (SELECT SUM(e.FAmount) FROM "
                  "T_VoucherEntry e WHERE e.FVoucherID = v.FVoucherID AND e.FDC = 1) OR v.FEntryCount <> (SELECT "
                  "COUNT(*) FROM T_VoucherEntry e WHERE e.FVoucherID = v.FVoucherID)")),
              QStringLiteral("0"));
    // Each staged row landed on the target entry it names, with its amount
    // and account.
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT COUNT(*) FROM AIS_GLVch s INNER JOIN AIS_GLAcct a ON a.FAcctID = s.FAcctID "
                  "INNER JOIN T_VoucherEntry e ON e.FVoucherID = s.FZ8InterID AND e.FEntryID = s.FZ8InterID_2 "
                  "WHERE e.FAccountID = a.FZ8InterID AND e.FAmount = CASE WHEN s.FDebit <> 0 THEN s.FDebit ELSE "
                  "s.FCredit END")),
              rows);
    // Depreciation vouchers are the fixed-asset module's.
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT COUNT(*) FROM T_Voucher v WHERE v.FVoucherID IN (SELECT FZ8InterID FROM AIS_GLVch WHERE "
                  "FModule = 'FD') AND (v.FObjectName <> 'FA' OR v.FParameter <> 'Depr' OR v.FTranType <> 20202 "
                  "OR v.FInternalInd <> 'FA')")),
              QStringLiteral("0"));
    // Two-entry vouchers got their contra accounts.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherEntry e INNER JOIN T_Voucher v ON "
                                         "v.FVoucherID = e.FVoucherID WHERE v.FEntryCount = 2 AND e.FAccountID2 = 0")),
              QStringLiteral("0"));
}

TEST_F(LedgerVoucherTest, GroupLessVouchersStayApartAndNumberOnInTheStandardGroup) {
    // Period 12 has a NULL-group and a ''-group voucher, both numbered 1.
    const QString maxSerial =
        targetValue(QStringLiteral("SELECT MAX(FSerialNum) FROM AIS_GLVch WHERE FPeriod = 12 AND FGroup = '记'"));
    const QString maxNumber =
        targetValue(QStringLiteral("SELECT MAX(FNum) FROM AIS_GLVch WHERE FPeriod = 12 AND FGroup = '记'"));
    LedgerPhaseProbe::run(LedgerPhaseProbe::voucher);
    const QString nullVoucher = voucherOf(QStringLiteral("FPeriod = 12 AND FGroup IS NULL"));
    const QString blankVoucher = voucherOf(QStringLiteral("FPeriod = 12 AND FGroup = ''"));
    EXPECT_NE(nullVoucher, blankVoucher);
    EXPECT_EQ(target(QStringLiteral("SELECT FGroupID, FNumber, FSerialNum, FEntryCount FROM T_Voucher WHERE "
                                    "FVoucherID IN (%1, %2) ORDER BY FVoucherID")
                         .arg(nullVoucher, blankVoucher)),
              QStringList({QStringLiteral("1\t%1\t%2\t2").arg(maxNumber.toInt() + 1).arg(maxSerial.toInt() + 1),
                           QStringLiteral("1\t%1\t%2\t2").arg(maxNumber.toInt() + 2).arg(maxSerial.toInt() + 2)}));
    const QStringList detail = detailOf(QStringLiteral("凭证"));
    ASSERT_EQ(detail.size(), 2);
    EXPECT_TRUE(detail.at(1).startsWith(QStringLiteral("12\t\t1\t"))) << detail.at(1).toStdString();
}

TEST_F(LedgerVoucherTest, EntryValuesFollowTheirRows) {
    // Voucher 付 1 of period 1: entry 0 debit 6000 on 1001, entry 1 credit.
    const QString where = QStringLiteral("FPeriod = 1 AND FGroup = '付' AND FNum = 1");
    run(QStringLiteral("UPDATE AIS_GLVch SET FExp = N'it''s', FPrice = -3.5, FQty = NULL, FModule = 'FD', "
                       "FDate = '2026-03-05' WHERE %1 AND FEntryID = 0 "
                       "UPDATE AIS_GLVch SET FQty = -1, FCredit = -6000 WHERE %1 AND FEntryID = 1 "
                       "UPDATE AIS_GLVch SET FPeriod = 14 WHERE %1")
            .arg(where));
    LedgerPhaseProbe::run(LedgerPhaseProbe::voucher);
    const QString id = voucherOf(QStringLiteral("FPeriod = 14 AND FGroup = '付' AND FNum = 1"));
    // One year after the current year (2025), period 14 of 12 is period 2.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT CONVERT(VARCHAR(100), FDate, 23) + ' ' + CONVERT(NVARCHAR(28), "
                                         "FYear) + ' ' + CONVERT(NVARCHAR(28), FPeriod) + ' ' + FObjectName + ' ' + "
                                         "FParameter + ' ' + FInternalInd FROM T_Voucher WHERE FVoucherID = ")
                              .append(id)),
              QStringLiteral("2026-03-05 2026 2 FA Depr FA"));
    EXPECT_EQ(
        target(QStringLiteral("SELECT FEntryID, FExplanation, FDC, FAmount, FQuantity, FUnitPrice FROM "
                              "T_VoucherEntry WHERE FVoucherID = %1 ORDER BY FEntryID")
                   .arg(id)),
        QStringList({QStringLiteral("0\tit's\t1\t6000\t0\t3.5"), QStringLiteral("1\t提取备用金\t0\t-6000\t0\t0")}));
}

TEST_F(LedgerVoucherTest, UnmappedCodesArePostedButReportedWithTheirVoucher) {
    run(QStringLiteral("UPDATE AIS_GLCy SET FZ8InterID = NULL WHERE FCyID = 'USD' "
                       "UPDATE AIS_GLSettle SET FZ8InterID = NULL WHERE FSettCode = N'电汇'"));
    const QString usdRows = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FCyID = 'USD'"));
    const QString wireRows = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FSettleCode = N'电汇'"));
    ASSERT_NE(usdRows, QStringLiteral("0"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 1);
    const QStringList log = logOf(QStringLiteral("凭证"));
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(status(log.first()), QStringLiteral("警告"));
    EXPECT_TRUE(description(log.first())
                    .startsWith(QStringLiteral("无法对应的凭证分录数：%1，").arg(usdRows.toInt() + wireRows.toInt())))
        << description(log.first()).toStdString();
    const QStringList detail = detailOf(QStringLiteral("凭证"));
    EXPECT_EQ(detail.filter(QStringLiteral("无法对应币别：USD")).size(), usdRows.toInt());
    EXPECT_EQ(detail.filter(QStringLiteral("无法对应结算方式：电汇")).size(), wireRows.toInt());
}

TEST_F(LedgerVoucherTest, AFailedCombinationStopsThePhaseAndKeepsWhatWasWritten) {
    ledger::itemDetailFinder() = [](StepKit &, const ledger::RowItems &row, QString &message) {
        if (row.item == QStringLiteral("0101")) {
            message = QStringLiteral("no such item");
            return -1;
        }
        return 0;
    };
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 2);
    const QStringList log = logOf(QStringLiteral("凭证"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(status(log.first()), QStringLiteral("错误"));
    EXPECT_EQ(description(log.first()), QStringLiteral("错误：升级凭证时发生错误。原因：\r\nno such item\r\n"));
    EXPECT_NE(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherEntry")), QStringLiteral("0"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_Voucher WHERE FInternalInd IS NOT NULL")),
              QStringLiteral("0"));
}

TEST_F(LedgerVoucherTest, AnEmptyVoucherTableIsConvertedAsNothingAndBalancesOnlyLogsNoSuccess) {
    run(QStringLiteral("DELETE FROM AIS_GLVch"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 0);
    EXPECT_EQ(pending(), QStringList({QStringLiteral("成功\t凭证\t凭证数目：0, 凭证分录数：0")}));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher, true), 0);
    EXPECT_EQ(newLogRows(), QStringList());
}

// Sources of other shapes than the sample's.
class LedgerVoucherShapeTest : public LedgerFixture {};

TEST_F(LedgerVoucherShapeTest, EmptyAndBlanksOnlyGroupsWithOneNumberStayTwoVouchers) {
    // Period 3 gets a ''-group and a blanks-only-group voucher, both number
    // 1; the server's sort puts their rows in between each other.
    createEdited({TableEdit::add(
        QStringLiteral("GLVch"),
        kVoucherColumns +
            QStringLiteral("901\t2025-03-20\t3\t\t1\t0\t1001\t0\t\\N\t\\N\tRMB\t1\t11\t11\t0\t\\N\t1\t0\t0\t0\n"
                           "901\t2025-03-20\t3\t\t1\t1\t1002\t0\t\\N\t\\N\tRMB\t1\t11\t0\t11\t\\N\t1\t0\t0\t0\n"
                           "902\t2025-03-21\t3\t   \t1\t0\t1001\t0\t\\N\t\\N\tRMB\t1\t22\t22\t0\t\\N\t1\t0\t0\t0\n"
                           "902\t2025-03-21\t3\t   \t1\t1\t1002\t0\t\\N\t\\N\tRMB\t1\t22\t0\t22\t\\N\t1\t0\t0\t0\n"))});
    ASSERT_EQ(
        targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FPeriod = 3 AND FGroup + N'.' = N'   .'")),
        QStringLiteral("2"));
    const int maxNumber =
        targetValue(QStringLiteral("SELECT MAX(FNum) FROM AIS_GLVch WHERE FPeriod = 3 AND FGroup = '记'")).toInt();
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucher), 1);
    // Each keeps its own entries and staging rows, and both take the next
    // free numbers of the standard group.
    EXPECT_EQ(target(QStringLiteral("SELECT S.FSerialNum, V.FGroupID, V.FEntryCount, V.FDebitTotal, COUNT(*) FROM "
                                    "AIS_GLVch S INNER JOIN T_Voucher V ON V.FVoucherID = S.FZ8InterID WHERE "
                                    "S.FSerialNum IN (901, 902) GROUP BY S.FSerialNum, V.FGroupID, V.FEntryCount, "
                                    "V.FDebitTotal ORDER BY S.FSerialNum")),
              QStringList({QStringLiteral("901\t1\t2\t11\t2"), QStringLiteral("902\t1\t2\t22\t2")}));
    EXPECT_EQ(target(QStringLiteral("SELECT DISTINCT V.FNumber FROM AIS_GLVch S INNER JOIN T_Voucher V ON "
                                    "V.FVoucherID = S.FZ8InterID WHERE S.FSerialNum IN (901, 902) ORDER BY V.FNumber")),
              QStringList({QString::number(maxNumber + 1), QString::number(maxNumber + 2)}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FSerialNum IN (901, 902) AND "
                                         "FZ8InterID_2 IS NULL")),
              QStringLiteral("0"));
}

}  // namespace

// The phase walks the staged entries as they come from the server: the
// heap it uses while converting does not grow with the number of entries
// (a client-side recordset would hold every entry row for the whole loop).
class LedgerVoucherStreamTest : public LedgerFixture {};

TEST_F(LedgerVoucherStreamTest, EntryRowsAreNotHeldWhileConverting) {
    createFrom(QStringLiteral("standard"));
    seedBaseData();
    // The sample's vouchers copied under new numbers until there are some
    // fifteen thousand entry rows.
    while (targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch")).toInt() < 15000)
        run(QStringLiteral("SELECT * INTO #c FROM AIS_GLVch\r\n"
                           "UPDATE #c SET FNum = FNum + (SELECT MAX(FNum) FROM AIS_GLVch)\r\n"
                           "INSERT INTO AIS_GLVch SELECT * FROM #c\r\n"
                           "DROP TABLE #c"));
    const QString rows = targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch"));
    {
        // A sanitizer's allocator leaves the count still.
        const size_t before = mallinfo2().uordblks;
        std::vector<std::unique_ptr<char[]>> blocks;
        for (int i = 0; i < 1024; ++i) blocks.emplace_back(new char[1024]);
        if (mallinfo2().uordblks < before + 1024 * 1024) GTEST_SKIP() << "the allocator does not report its heap";
    }

    const size_t start = mallinfo2().uordblks;
    size_t peak = start;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] { peak = std::max(peak, size_t(mallinfo2().uordblks)); });
    sample.start(0);
    LedgerPhaseProbe::run(LedgerPhaseProbe::voucher);
    sample.stop();

    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherEntry")), rows);
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVch WHERE FZ8InterID_2 IS NULL")),
              QStringLiteral("0"));
    EXPECT_GT(peak, start) << "the heap was sampled during the phase";
    EXPECT_LT(peak - start, size_t(20) * 1024 * 1024) << rows.toStdString() << " entry rows";
}
