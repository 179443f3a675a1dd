// The ADO stand-in's recordset and command: a fetched snapshot that outlives
// its connection, navigation, field metadata, values by type, filters, and
// long binary parameters.
#include <gtest/gtest.h>

#include <QDateTime>

#include "kit/TestServer.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"

namespace {

class AdoRecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        cn.Open(srv.connectionString());
        cn.Execute(QStringLiteral(
            "create table t_ad_xrAccount_gl(FAcctID int identity, FAcctNumber varchar(20), FAcctName nvarchar(80), "
            "FAmt money, FOn bit, FDate datetime, FRate float)\r\n"
            "insert into t_ad_xrAccount_gl(FAcctNumber,FAcctName,FAmt,FOn,FDate,FRate) values ('001', N'甲', 12.34, 1, "
            "'2018/3/7 10:05:00', 0.5)\r\n"
            "insert into t_ad_xrAccount_gl(FAcctNumber,FAcctName) values ('002', N'乙')\r\n"
            "insert into t_ad_xrAccount_gl(FAcctNumber,FAcctName) values ('003', N'Abc')"));
    }
    TestServer srv{{"Acct"}, TestServer::Reach::AsDefaultInstance};
    ado::Connection cn;
};

TEST_F(AdoRecordsetTest, NavigatesAFetchedSnapshot) {
    ado::Recordset rs;
    rs.Open(QStringLiteral("select FAcctNumber from t_ad_xrAccount_gl order by FAcctNumber"), cn);
    cn.Close();  // the rows stay readable
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Eof());
    EXPECT_FALSE(rs.BOF());
    QStringList seen;
    while (!rs.Eof()) {
        seen << rs.value(QStringLiteral("fAcctNUMBER")).toString();
        rs.MoveNext();
    }
    EXPECT_EQ(seen, (QStringList{"001", "002", "003"}));
    EXPECT_THROW(rs.MoveNext(), ado::AdoError);
    rs.MoveLast();
    EXPECT_EQ(rs.Fields(0).Value.toString(), QStringLiteral("003"));
    rs.MovePrevious();
    rs.MovePrevious();
    rs.MovePrevious();
    EXPECT_TRUE(rs.BOF());
    EXPECT_THROW(rs.Fields(0), ado::AdoError);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(0).Value.toString(), QStringLiteral("001"));
    rs.Close();
    EXPECT_EQ(rs.State(), ado::adStateClosed);
}

TEST_F(AdoRecordsetTest, EmptyResultIsAtBothEnds) {
    ado::Recordset rs = cn.Execute(QStringLiteral("select FAcctNumber from t_ad_xrAccount_gl where 1 > 1"));
    EXPECT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.BOF());
    try {
        rs.MoveFirst();
        ADD_FAILURE();
    } catch (const ado::AdoError &e) {
        EXPECT_EQ(e.number(), 3021);
    }
}

TEST_F(AdoRecordsetTest, FieldsCarryTypesSizesAndValues) {
    ado::Recordset rs = cn.Execute(QStringLiteral("select * from t_ad_xrAccount_gl where FAcctNumber = '001'"));
    struct Row {
        const char *name;
        int type;
        int size;
    } rows[] = {
        {"FAcctID", ado::adInteger, 4}, {"FAcctNumber", ado::adVarChar, 20}, {"FAcctName", ado::adVarWChar, 80},
        {"FAmt", ado::adCurrency, 8},   {"FOn", ado::adBoolean, 1},          {"FDate", ado::adDBTimeStamp, 8},
        {"FRate", ado::adDouble, 8},
    };
    for (const auto &r : rows) {
        ado::Field f = rs.Fields(QString::fromUtf8(r.name));
        EXPECT_EQ(f.Name, QString::fromUtf8(r.name));
        EXPECT_EQ(f.Type, r.type) << r.name;
        EXPECT_EQ(f.DefinedSize, r.size) << r.name;
    }
    EXPECT_EQ(rs.value(QStringLiteral("FAcctName")).toString(), QStringLiteral("甲"));
    EXPECT_DOUBLE_EQ(rs.value(QStringLiteral("FAmt")).toDouble(), 12.34);
    EXPECT_EQ(rs.value(QStringLiteral("FOn")).typeId(), QMetaType::Bool);
    EXPECT_TRUE(rs.value(QStringLiteral("FOn")).toBool());
    EXPECT_EQ(rs.value(QStringLiteral("FDate")).toDateTime(), QDateTime(QDate(2018, 3, 7), QTime(10, 5)));
    EXPECT_THROW(rs.Fields(QStringLiteral("FNope")), ado::AdoError);

    ado::Recordset nulls =
        cn.Execute(QStringLiteral("select FAmt, FAcctName from t_ad_xrAccount_gl where FAcctNumber = '002'"));
    EXPECT_FALSE(nulls.Fields(0).Value.isValid());
    EXPECT_EQ(nulls.Fields(1).Value.toString(), QStringLiteral("乙"));
}

// Names are found without regard to case (non-ASCII letters too); of two
// columns of one name the first is found; a recordset opened again finds
// the columns of its new query only.
TEST_F(AdoRecordsetTest, FieldsFoundByName) {
    ado::Recordset rs;
    rs.Open(QStringLiteral("select 1 as [Äpfel], 2 as dup, 3 as DUP, N'x' as 科目名称, 5 as [ΣUM] "
                           "from t_ad_xrAccount_gl where FAcctNumber = '001'"),
            cn);
    struct Case {
        const char *name;
        QVariant value;
    } cases[] = {{"äPFEL", 1}, {"Dup", 2}, {"dUP", 2}, {"科目名称", QStringLiteral("x")}, {"σum", 5}};
    for (const auto &c : cases) EXPECT_EQ(rs.value(QString::fromUtf8(c.name)), c.value) << c.name;
    EXPECT_EQ(rs.Fields(QStringLiteral("DUP")).Name, QStringLiteral("dup"));
    rs.Close();
    rs.Open(QStringLiteral("select FAcctName as dup from t_ad_xrAccount_gl where FAcctNumber = '002'"), cn);
    EXPECT_EQ(rs.value(QStringLiteral("DUP")).toString(), QStringLiteral("乙"));
    EXPECT_THROW(rs.Fields(QStringLiteral("Äpfel")), ado::AdoError);
}

TEST_F(AdoRecordsetTest, FilterOfTheSettingsPage) {
    ado::Recordset rs = cn.Execute(QStringLiteral("select * from t_ad_xrAccount_gl"));
    rs.setFilter(QStringLiteral("FAcctNumber='002'"));
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.value(QStringLiteral("FAcctName")).toString(), QStringLiteral("乙"));
    rs.setFilter(QString());
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.setFilter(QStringLiteral("FAcctName='abc'"));
    EXPECT_EQ(rs.RecordCount(), 1);
    rs.setFilter(QStringLiteral("FAcctName='nobody'"));
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.Eof());
}

TEST_F(AdoRecordsetTest, FirstResultSetWithColumnsAndFailures) {
    ado::Recordset rs = cn.Execute(QStringLiteral("create table x(a int) select 1 as exits"));
    EXPECT_EQ(rs.value(QStringLiteral("exits")).toInt(), 1);
    ado::Recordset none = cn.Execute(QStringLiteral("insert into x values (1)"));
    EXPECT_EQ(none.State(), ado::adStateClosed);
}

TEST_F(AdoRecordsetTest, CommandBindsLongBinaryAndText) {
    cn.Execute(QStringLiteral("create table files(k nvarchar(10), data image)"));
    QByteArray bytes("\x00\x01\x02zz\xff", 6);
    ado::Command cmd;
    cmd.ActiveConnection = &cn;
    cmd.CommandTimeout = 0;
    cmd.CommandText = QStringLiteral("insert into files(k, data) values(?, ?)");
    cmd.Parameters.push_back(ado::Command::CreateParameter(QStringLiteral("k"), ado::adVarWChar, ado::adParamInput, 10,
                                                           QStringLiteral("名")));
    cmd.Parameters.push_back(ado::Command::CreateParameter(QStringLiteral("FileName1"), ado::adLongVarBinary,
                                                           ado::adParamInput, bytes.size(), bytes));
    qint64 n = 0;
    cmd.Execute(&n);
    EXPECT_EQ(n, 1);
    ado::Recordset rs = cn.Execute(QStringLiteral("select k, data from files"));
    EXPECT_EQ(rs.value(QStringLiteral("k")).toString(), QStringLiteral("名"));
    EXPECT_EQ(rs.value(QStringLiteral("data")).toByteArray(), bytes);
    EXPECT_EQ(rs.Fields(1).Type, ado::adLongVarBinary);
}

}  // namespace
