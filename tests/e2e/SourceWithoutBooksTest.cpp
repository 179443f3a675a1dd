// A source that never kept fixed-asset or cashier books (none of their
// tables) is checked and upgraded: those steps note the source and pass.
#include "UpgradeRunFixture.h"

#include "accounts/StagedTables.h"
#include "support/SampleTables.h"

class SourceWithoutBooksTest : public UpgradeRunFixture {};

TEST_F(SourceWithoutBooksTest, FixedAssetsAndCashierAreNotedAndPassedOver) {
    QStringList books;
    for (const QString &name : StagedTableNames())
        if (name.startsWith(QLatin1String("FA")) || name.startsWith(QLatin1String("TR"))) books.append(name);
    const QString ais = BuildEditedSample(server.path() + QStringLiteral("/nobooks"), QStringLiteral("standard"),
                                          [&](SampleTables &tables) { DropSampleTables(tables, books); });
    ASSERT_FALSE(ais.isEmpty());
    useSettings(ais, kTarget);
    EXPECT_EQ(checkAndUpgrade(), RunOutcome::Passed) << lines.join(QLatin1Char('\n')).toStdString();
    for (const char *note : {"警告\t固定资产数据检测\t源帐套没有固定资产数据表，跳过固定资产检测。",
                             "警告\t固定资产\t源帐套没有固定资产数据表，跳过固定资产升级。",
                             "警告\t出纳管理\t源帐套没有出纳管理数据表，跳过出纳管理升级。"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(note))) << note << "\n" << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_FACard")), QStringLiteral("0"));
    EXPECT_NE(targetValue(QStringLiteral("SELECT COUNT(*) FROM t_Voucher")), QStringLiteral("0"));
}
