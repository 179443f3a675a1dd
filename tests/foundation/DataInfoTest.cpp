#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "kit/StandinServer.h"
#include "foundation/DataRecords.h"
#include "foundation/TextLog.h"
#include "foundation/clsDataInfo.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "platform/PlatformClock.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/AdoTypes.h"

class DataInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1)));
        ASSERT_EQ(server.run(QStringLiteral("AcctCtl"),
                             QStringLiteral("create table T (FID int, FName nvarchar(20))\n"
                                            "insert into T values (1, N'甲')\ninsert into T values (2, N'O''Neil')\n"
                                            "insert into T values (3, NULL)")),
                  QString());
    }
    QString textLog() const {
        QFile f(TextLogPath(QDate(2018, 3, 7)));
        return f.open(QIODevice::ReadOnly) ? AnsiCodec::decode(f.readAll()) : QString();
    }
    StandinServer server;
    clsDataInfo data;
};

TEST_F(DataInfoTest, GetRsGivesAClientRecordsetWithTheAskedLock) {
    QString err = QStringLiteral("kept");
    std::optional<ado::Recordset> rs =
        data.GetRs(server.acctCtl(), QStringLiteral("select * from T order by FID"), true, err);
    ASSERT_TRUE(rs.has_value());
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->LockType, ado::adLockReadOnly);
    rs->MoveLast();
    rs->MovePrevious();
    EXPECT_EQ(rs->value(QStringLiteral("FName")).toString(), QStringLiteral("O'Neil"));
    EXPECT_EQ(err, QStringLiteral("kept"));

    rs = data.GetRs(server.acctCtl(), QStringLiteral("select * from T where FID > 9"), false, err);
    ASSERT_TRUE(rs.has_value());
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(rs->LockType, ado::adLockOptimistic);
}

TEST_F(DataInfoTest, GetRsRaisesTheServersErrorAndFillsTheMessage) {
    struct Case {
        QString connection;
        QString sql;
        int number;
    };
    const QList<Case> cases{
        {server.acctCtl(), QStringLiteral("select * from"), 156},  // near the keyword "from"
        {server.acctCtl(), QStringLiteral("select * from NoSuchTable"), 208},
        {QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=AcctCtl;User ID=sa;Password=bad"),
         QStringLiteral("select 1"), 18456},
    };
    for (const Case &c : cases) {
        QString err;
        try {
            data.GetRs(c.connection, c.sql, true, err);
            ADD_FAILURE() << c.sql.toStdString();
        } catch (const ado::AdoError &e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(err, e.description());
            EXPECT_FALSE(err.isEmpty());
        }
    }
}

TEST_F(DataInfoTest, ExecuteSqlCommitsOrRollsBackTheWholeBatch) {
    QString err = QStringLiteral("kept");
    EXPECT_TRUE(
        data.ExecuteSQL(server.acctCtl(), QStringLiteral("insert into T values (4, N'丁')\nselect * from T"), err));
    EXPECT_EQ(err, QStringLiteral("kept"));
    MessageScript messages;
    EXPECT_FALSE(data.ExecuteSQL(server.acctCtl(),
                                 QStringLiteral("insert into T values (5, N'戊')\ninsert into T values (6, "
                                                "N'这个名字超过了二十个字符的长度限制所以失败了')"),
                                 err));
    EXPECT_NE(err, QStringLiteral("kept"));
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select count(*) from T")), QStringList{"4"});
    EXPECT_TRUE(textLog().contains(QStringLiteral("]    执行SQL语句发生错误：") + err + QStringLiteral("\r\n")));
    EXPECT_TRUE(textLog().contains(QStringLiteral("]    源SQL语句：insert into T values (5")));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(DataInfoTest, ExecuteSqlOnAServerThatCannotBeReachedLogsTwoLines) {
    QString err;
    EXPECT_FALSE(data.ExecuteSQL(QStringLiteral("Provider=SQLOLEDB.1;Data Source=faraway;Initial Catalog=AcctCtl"),
                                 QStringLiteral("select 1"), err));
    EXPECT_FALSE(err.isEmpty());
    const QStringList lines = textLog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), QStringLiteral("[2018/3/7 9:05:01]    执行SQL语句发生错误：") + err);
    EXPECT_EQ(lines.at(1), QStringLiteral("[2018/3/7 9:05:01]    源SQL语句：select 1"));
}

TEST_F(DataInfoTest, RecordsetToRecordsGivesOneDictionaryOrAListInOrder) {
    QString err;
    std::optional<ado::Recordset> one =
        data.GetRs(server.acctCtl(), QStringLiteral("select * from T where FID = 2"), true, err);
    const QVariant single = RecordsetToRecords(*one);
    ASSERT_EQ(single.userType(), qMetaTypeId<PnwDictionary>());
    const PnwDictionary record = single.value<PnwDictionary>();
    EXPECT_EQ(record.Keys(), (QStringList{"FID", "FName"}));
    EXPECT_EQ(record.Item(QStringLiteral("FName")).toString(), QStringLiteral("O'Neil"));

    std::optional<ado::Recordset> three =
        data.GetRs(server.acctCtl(), QStringLiteral("select * from T order by FID"), true, err);
    const QVariant many = RecordsetToRecords(*three);
    ASSERT_EQ(many.userType(), qMetaTypeId<PnwList>());
    const PnwList list = many.value<PnwList>();
    ASSERT_EQ(list.Count(), 3);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(list.DictionaryItem(i).Item(QStringLiteral("FID")).toInt(), i);
    EXPECT_TRUE(list.DictionaryItem(3).Item(QStringLiteral("FName")).isNull());
    EXPECT_TRUE(three->Eof());

    std::optional<ado::Recordset> none =
        data.GetRs(server.acctCtl(), QStringLiteral("select * from T where FID = 0"), true, err);
    EXPECT_THROW(RecordsetToRecords(*none), ado::AdoError);
}

TEST(SqlTextTest, DoublesQuotesAndTurnsNullIntoNothing) {
    const QList<QPair<QVariant, QString>> cases{
        {QVariant(), QString()},
        {QStringLiteral("O'Neil"), QStringLiteral("O''Neil")},
        {QStringLiteral("''"), QStringLiteral("''''")},
        {12, QStringLiteral("12")},
        {QString(), QString()},
    };
    for (const auto &c : cases) EXPECT_EQ(SqlText(c.first), c.second);
}
