// A forward-only recordset on a server-side connection: it holds the current
// row only (the rows wait with the server and come one at a time as it
// steps), it cannot go back or filter, and a client-side recordset of the
// same query on the same connection still holds and walks the whole result.
#include <gtest/gtest.h>

#include <malloc.h>

#include <memory>
#include <vector>

#include "kit/TestServer.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"

namespace {

class AdoForwardOnlyTest : public ::testing::Test {
protected:
    void SetUp() override {
        cn.Open(srv.connectionString());
        cn.Execute(QStringLiteral("create table t_Rows(FID int identity, FNo int, FText nvarchar(400), FAmt money)\r\n"
                                  "insert into t_Rows(FNo, FText, FAmt) values (1, N'甲', 1.25)\r\n"
                                  "insert into t_Rows(FNo, FText, FAmt) values (2, NULL, 2.5)\r\n"
                                  "insert into t_Rows(FNo, FText, FAmt) values (3, N'Abc', NULL)"));
    }
    ado::Recordset forwardOnly(const QString &sql) {
        ado::Recordset rs;
        rs.Open(sql, cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
        return rs;
    }
    TestServer srv{{"Acct"}, TestServer::Reach::AsDefaultInstance};
    ado::Connection cn;
};

size_t heapInUse() { return mallinfo2().uordblks; }

// Whether the allocator's count follows what is allocated (a sanitizer's
// allocator leaves it still).
bool heapIsReported() {
    const size_t before = heapInUse();
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 1024; ++i) blocks.emplace_back(new char[1024]);
    return heapInUse() >= before + 1024 * 1024;
}

TEST_F(AdoForwardOnlyTest, StepsThroughTheRowsInOrderWithTheirValues) {
    ado::Recordset rs = forwardOnly(QStringLiteral("select FNo, FText, FAmt from t_Rows order by FNo desc"));
    EXPECT_EQ(rs.RecordCount(), -1);
    EXPECT_FALSE(rs.BOF());
    QStringList seen;
    for (; !rs.Eof(); rs.MoveNext())
        seen << rs.value(QStringLiteral("fno")).toString() + QLatin1Char('|') +
                    (rs.value(QStringLiteral("FText")).isNull() ? QStringLiteral("NULL")
                                                                : rs.value(QStringLiteral("FText")).toString()) +
                    QLatin1Char('|') + rs.Fields(2).Value.toString();
    EXPECT_EQ(seen, (QStringList{"3|Abc|", "2|NULL|2.5", "1|甲|1.25"}));
    try {
        rs.MoveNext();
        ADD_FAILURE();
    } catch (const ado::AdoError &e) {
        EXPECT_EQ(e.number(), 3021);
    }
}

TEST_F(AdoForwardOnlyTest, CannotGoBackOrFilter) {
    ado::Recordset rs = forwardOnly(QStringLiteral("select FNo from t_Rows order by FNo"));
    rs.MoveFirst();  // where it stands: allowed
    rs.MoveNext();
    for (auto move : {&ado::Recordset::MovePrevious, &ado::Recordset::MoveFirst, &ado::Recordset::MoveLast})
        EXPECT_THROW((rs.*move)(), ado::AdoError);
    EXPECT_THROW(rs.setFilter(QStringLiteral("FNo = 3")), ado::AdoError);
    EXPECT_EQ(rs.value(QStringLiteral("FNo")).toInt(), 2);

    ado::Recordset empty = forwardOnly(QStringLiteral("select FNo from t_Rows where 1 > 1"));
    EXPECT_TRUE(empty.Eof());
    EXPECT_TRUE(empty.BOF());
    EXPECT_THROW(empty.Fields(0), ado::AdoError);
}

TEST_F(AdoForwardOnlyTest, ClientCursorOrClientConnectionStillFetchesEverything) {
    ado::Recordset unspecified;
    unspecified.Open(QStringLiteral("select FNo from t_Rows"), cn);
    EXPECT_EQ(unspecified.RecordCount(), 3);
    ado::Connection client;
    client.CursorLocation = ado::adUseClient;
    client.Open(srv.connectionString());
    ado::Recordset rs;
    rs.Open(QStringLiteral("select FNo from t_Rows order by FNo"), client, ado::adOpenForwardOnly, ado::adLockReadOnly);
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.MoveLast();
    rs.MovePrevious();
    EXPECT_EQ(rs.value(QStringLiteral("FNo")).toInt(), 2);
}

// 32,768 rows of about 800 bytes of text each: a client-side recordset holds
// them all (tens of MB); a forward-only one holds one row.
TEST_F(AdoForwardOnlyTest, ALargeResultIsNotHeldByTheRecordset) {
    cn.Execute(QStringLiteral("delete from t_Rows\r\n"
                              "insert into t_Rows(FNo, FText, FAmt) values (1, N'") +
               QString(400, QChar(0x6587)) + QStringLiteral("', 1)"));
    for (int i = 0; i < 15; ++i)
        cn.Execute(QStringLiteral("insert into t_Rows(FNo, FText, FAmt) select FNo + 1, FText, FAmt from t_Rows"));
    const QString sql = QStringLiteral("select FID, FText from t_Rows order by FID");
    if (!heapIsReported()) GTEST_SKIP() << "the allocator does not report its heap";

    const size_t before = heapInUse();
    ado::Recordset client = cn.Execute(sql);
    const size_t clientHeld = heapInUse() - before;
    ASSERT_EQ(client.RecordCount(), 32768);
    client.Close();

    const size_t start = heapInUse();
    ado::Recordset rs = forwardOnly(sql);
    const size_t held = heapInUse() > start ? heapInUse() - start : 0;
    int rows = 0;
    qint64 last = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const qint64 id = rs.value(QStringLiteral("FID")).toLongLong();
        EXPECT_GT(id, last);
        last = id;
        ++rows;
        if (rows == 20000) {
            EXPECT_LT(heapInUse(), start + 4 * 1024 * 1024) << "rows stepped past are let go";
        }
    }
    EXPECT_EQ(rows, 32768);
    EXPECT_GT(clientHeld, size_t(25) * 1024 * 1024);
    EXPECT_LT(held, size_t(4) * 1024 * 1024) << "client-side held " << clientHeld;
}

}  // namespace
