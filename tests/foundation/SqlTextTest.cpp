#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>

#include "kit/StandinServer.h"
#include "foundation/SqlText.h"
#include "platform/PnwError.h"

TEST(SqlTextTest, ValuesBecomeLiterals) {
    struct Case {
        QVariant value;
        QString literal;
    };
    const Case cases[] = {
        {QVariant(), QStringLiteral("NULL")},
        {QVariant(QString()), QStringLiteral("NULL")},
        {QVariant(true), QStringLiteral("1")},
        {QVariant(42), QStringLiteral("42")},
        {QVariant(qint64(-9000000000)), QStringLiteral("-9000000000")},
        {QVariant(36.5), QStringLiteral("36.5")},
        {QVariant(0.1 + 0.2), QStringLiteral("0.3")},
        {QVariant(1234567.89), QStringLiteral("1234567.89")},
        {QVariant(QDate(2018, 3, 7)), QStringLiteral("'2018-03-07'")},
        {QVariant(QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1))), QStringLiteral("'2018-03-07 09:05:01'")},
        {QVariant(QStringLiteral("O'Neil's 公司")), QStringLiteral("N'O''Neil''s 公司'")},
        {QVariant(QStringLiteral("a]; --")), QStringLiteral("N'a]; --'")},
    };
    for (const Case &c : cases) EXPECT_EQ(SqlValue(c.value), c.literal) << c.value.toString().toStdString();
}

TEST(SqlTextTest, PlaceholdersAreFilledAndOtherBracesKept) {
    const QString sql = SqlText(QStringLiteral("UPDATE t SET FName = {name}, FNote = {note} WHERE FID = {id} "
                                               "AND FCode = {code} AND FText = '{ not a placeholder }' -- {}"))
                            .arg(QStringLiteral("name"), QStringLiteral("甲'乙"))
                            .arg(QStringLiteral("note"), QVariant())
                            .arg(QStringLiteral("id"), 7)
                            .text(QStringLiteral("code"), QStringLiteral("1001"))
                            .str();
    EXPECT_EQ(sql, QStringLiteral("UPDATE t SET FName = N'甲''乙', FNote = NULL WHERE FID = 7 AND FCode = '1001' "
                                  "AND FText = '{ not a placeholder }' -- {}"));
    EXPECT_EQ(SqlText(QStringLiteral("SELECT * FROM {table}"))
                  .raw(QStringLiteral("table"), QStringLiteral("AIS_GLAcct"))
                  .str(),
              QStringLiteral("SELECT * FROM AIS_GLAcct"));
}

TEST(SqlTextTest, AnUnfilledPlaceholderRaisesInsteadOfReachingTheServer) {
    try {
        (void)SqlText(QStringLiteral("DELETE FROM t WHERE FID = {id}")).str();
        FAIL() << "no error";
    } catch (const PnwError &e) {
        EXPECT_EQ(e.number(), 5);
        EXPECT_TRUE(e.description().contains(QStringLiteral("{id}")));
    }
}

TEST(SqlTextTest, QuotedTextArrivesIntactOnTheServer) {
    StandinServer server;
    const QString nasty = QStringLiteral("O'Neil']; DROP TABLE T --");
    ASSERT_EQ(server.run(QStringLiteral("AcctCtl"),
                         SqlText(QStringLiteral("create table T (FName nvarchar(80))\ninsert into T values ({v})"))
                             .arg(QStringLiteral("v"), nasty)),
              QString());
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select FName from T")), QStringList{nasty});
}
