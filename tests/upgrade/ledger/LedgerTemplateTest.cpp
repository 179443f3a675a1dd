// Voucher templates and auto-transfers of the standard sample, with the base
// data seeded by the fixture.
#include "LedgerFixture.h"

namespace {

class LedgerTemplateTest : public LedgerFixture {
protected:
    void SetUp() override {
        LedgerFixture::SetUp();
        createFrom(QStringLiteral("standard"));
        seedBaseData();
        g_SourceEdition = QStringLiteral("标准版");
    }

    QString groupID(const QString &name) {
        return targetValue(QStringLiteral("SELECT FZ8InterID FROM AIS_GLVchGroup WHERE FGroup = N'%1'").arg(name));
    }
};

TEST_F(LedgerTemplateTest, TemplatesTypesAndEntriesAreCarriedWithTheirIdentifiers) {
    run(QStringLiteral("UPDATE AIS_GLVchTemplate SET FVchGroup = NULL WHERE FID = 1003"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucherTemplate), 0);
    const QStringList log = logOf(QStringLiteral("模式凭证"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(description(log.first()), QStringLiteral("模式凭证数目：4"));
    EXPECT_EQ(detailOf(QStringLiteral("模式凭证")),
              QStringList({QStringLiteral("类别\t名称\t凭证字\t备注"), QStringLiteral("日常业务\t提取现金\t付\t"),
                           QStringLiteral("日常业务\t赊销商品\t转\t"), QStringLiteral("日常业务\t采购复印纸\t转\t"),
                           QStringLiteral("费用报销\t报销差旅费\t记\t凭证字为空，因此使用默认凭证字")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FTypeID, FName FROM T_VoucherTemplateType ORDER BY FTypeID")),
              QStringList({QStringLiteral("101\t日常业务"), QStringLiteral("102\t费用报销")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FVoucherTempID, FName, FTypeID, FGroupID, FAttachments FROM "
                                    "T_VoucherTemplate ORDER BY FVoucherTempID")),
              QStringList({QStringLiteral("1001\t提取现金\t101\t") + groupID(QStringLiteral("付")) + "\t1",
                           QStringLiteral("1002\t赊销商品\t101\t") + groupID(QStringLiteral("转")) + "\t3",
                           QStringLiteral("1003\t报销差旅费\t102\t1\t5"),
                           QStringLiteral("1004\t采购复印纸\t101\t") + groupID(QStringLiteral("转")) + "\t2"}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVchTemplate WHERE FZ8InterID = FID")),
              QStringLiteral("4"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVchTemplateType WHERE FZ8InterID = FTypeID")),
              QStringLiteral("2"));
    // Entries: the staged count, a quote kept, a quantity, none as 0.
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherEntryTemplate")),
              targetValue(QStringLiteral("SELECT COUNT(*) FROM AIS_GLVchTemplate1")));
    EXPECT_EQ(targetValue(QStringLiteral(
                  "SELECT FExplanation FROM T_VoucherEntryTemplate WHERE FVoucherTempID = 1002 AND FEntryID = 0")),
              QStringLiteral("销售'办公设备'应收款"));
    EXPECT_EQ(target(QStringLiteral("SELECT FEntryID, FAccountID, FDC, FAmount, FQuantity, FUnitPrice FROM "
                                    "T_VoucherEntryTemplate WHERE FVoucherTempID = 1004 ORDER BY FEntryID")),
              QStringList({QStringLiteral("0\t%1\t1\t6000\t50\t120").arg(accountID(QStringLiteral("14050202"))),
                           QStringLiteral("1\t%1\t0\t0\t0\t0").arg(accountID(QStringLiteral("22210101"))),
                           QStringLiteral("2\t%1\t0\t0\t0\t0").arg(accountID(QStringLiteral("2202")))}));
}

TEST_F(LedgerTemplateTest, TemplatesOfAMissingTypeBringTheirTypeOnce) {
    run(QStringLiteral("DELETE FROM AIS_GLVchTemplateType WHERE FTypeID = 101 "
                       "UPDATE AIS_GLVchTemplate SET FTypeID = 100 WHERE FID = 1003"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucherTemplate), 0);
    EXPECT_EQ(target(QStringLiteral("SELECT FTypeID, ISNULL(FName, 'NULL') FROM T_VoucherTemplateType ORDER BY "
                                    "FTypeID")),
              QStringList({QStringLiteral("100\t"), QStringLiteral("101\t")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherTemplate")), QStringLiteral("4"));
}

TEST_F(LedgerTemplateTest, AFailedTemplateStopsThePhaseAndKeepsWhatWasWritten) {
    run(QStringLiteral("INSERT INTO T_VoucherTemplate (FVoucherTempID, FName) VALUES (1003, N'taken')"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::voucherTemplate), 2);
    const QStringList log = logOf(QStringLiteral("模式凭证"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(description(log.first())
                    .startsWith(QStringLiteral("错误：（插入模式凭证的SQL语句错误）违反了 PRIMARY KEY 约束")))
        << description(log.first()).toStdString();
    // 1001 and 1002 and 1004 (type 101) came first; 1003 failed whole.
    EXPECT_EQ(
        target(QStringLiteral("SELECT FVoucherTempID FROM T_VoucherTemplate ORDER BY FVoucherTempID")),
        QStringList({QStringLiteral("1001"), QStringLiteral("1002"), QStringLiteral("1003"), QStringLiteral("1004")}));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherTemplateType")), QStringLiteral("1"));
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM T_VoucherEntryTemplate WHERE FVoucherTempID = 1003")),
              QStringLiteral("0"));
}

TEST_F(LedgerTemplateTest, AutoTransfersGetNewIdentifiersFreeNamesAndTheirEntryKinds) {
    run(QStringLiteral(
        "INSERT INTO T_AutoTransfer (FTransferID, FName) VALUES (7, N'计提城建税及教育费附加') "
        "INSERT INTO T_AutoTransfer (FTransferID, FName) VALUES (8, N'计提城建税及教育费附加_标准版') "
        "UPDATE AIS_GLRecurEntry SET FTransRate = 12.5, FTransType = 2 WHERE FRecurID = 1 AND FEntryID = 0 "
        "UPDATE AIS_GLRecurEntry SET FTransRate = 33.333, FTransType = 2 WHERE FRecurID = 1 AND FEntryID = 1 "
        "UPDATE AIS_GLRecurEntry SET FTransType = 3, FIsNew = 1, FClsID = 2, FObjID = '01', FAmount = NULL "
        "WHERE FRecurID = 2 AND FEntryID = 0 "
        "UPDATE AIS_GLRecurEntry SET FTransType = 5 WHERE FRecurID = 2 AND FEntryID = 1 "
        "UPDATE AIS_GLRecur SET FVchGroup = '' WHERE FRecurID = 2"));
    EXPECT_EQ(LedgerPhaseProbe::run(LedgerPhaseProbe::autoTransfer), 0);
    const QStringList log = logOf(QStringLiteral("自动转账"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(description(log.first()), QStringLiteral("自动转账凭证数目：2"));
    EXPECT_EQ(detailOf(QStringLiteral("自动转账")),
              QStringList({QStringLiteral("凭证名称\t转账期间\t凭证字\t备注"),
                           QStringLiteral("计提城建税及教育费附加\t1-12\t转\t"),
                           QStringLiteral("结转未交增值税\t1-12\t记\t凭证字为空，因此使用默认凭证字")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FTransferID, FName, FPeriodRange, FGroupID, FTransferType FROM "
                                    "T_AutoTransfer WHERE FTransferID > 8 ORDER BY FTransferID")),
              QStringList(
                  {QStringLiteral("9\t计提城建税及教育费附加_标准版2\t1-12\t") + groupID(QStringLiteral("转")) + "\t1",
                   QStringLiteral("10\t结转未交增值税\t1-12\t1\t1")}));
    EXPECT_EQ(
        target(
            QStringLiteral("SELECT FTransferID, FEntryID, FTransRate, FType, FDC, FFormulaType, CAST(FPosted AS INT), "
                           "FAmountFormula FROM T_AutoTransferEntry ORDER BY FTransferID, FEntryID")),
        QStringList({QStringLiteral("9\t0\t0.12\t2\t1\t1\t0\tACCT(222102,C)*0.12"),
                     QStringLiteral("9\t1\t0.33\t3\t2\t1\t0\tACCT(222102,C)*0.12"),
                     QStringLiteral("10\t0\t1\t4\t1\t0\t1\t"), QStringLiteral("10\t1\t1\t6\t2\t1\t0\tACCT(22210101,D)"),
                     QStringLiteral("10\t2\t1\t0\t2\t1\t0\tACCT(22210102,C)-ACCT(22210101,D)")}));
    EXPECT_EQ(target(QStringLiteral("SELECT FTransferID, FEntryID, FItemClassID, FItemNumber, FEndItemNumber FROM "
                                    "T_AutoTransferEntryItem")),
              QStringList({QStringLiteral("10\t0\t2\t01\t01")}));
}

}  // namespace
