#include <gtest/gtest.h>

#include <QTcpServer>
#include <QUrl>
#include <QUrlQuery>

#include "foundation/Globals.h"
#include "foundation/UsageStatistics.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"
#include "support/LocalHttpService.h"
#include "support/QtApp.h"

namespace {

int errorNumber(const std::function<void()> &call) {
    try {
        call();
    } catch (const PnwError &e) {
        return e.number();
    }
    return 0;
}

}  // namespace

class UsageStatisticsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureQtApp();
        g_InstalledVersion = QStringLiteral("14.1");
        PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1)));
        PlatformSettings::setShortDateFormat(QStringLiteral("yyyy/M/d"));
        PlatformSettings::setLongTimeFormat(QStringLiteral("H:mm:ss"));
        PlatformSettings::setUsageTimeoutMs(2000);
    }
    void TearDown() override {
        ResetProgramState();
        PlatformClock::setFixedNow(QDateTime());
        PlatformSettings::resetToEnvironment();
    }
};

TEST_F(UsageStatisticsTest, TheRecordIsExact) {
    EXPECT_EQ(UsageRecord(QStringLiteral("C009C007"), QStringLiteral("LOAD"), QString(), PlatformClock::now()),
              QStringLiteral("{\"FProductVer\":\"14.1\",\"FAdditionalInfo\":\"7C14B09E3D62A5F8\",\"FOperationDays\":"
                             "[{\"FOperationDay\":\"2018/3/7 9:05:01\",\"FFunctions\":[{\"FAccountUser\":\"0\","
                             "\"FFunctionKey\":\"C009C007\",\"FFunctionValue\":\"LOAD\"}]}],\"FAccountName\":\"\","
                             "\"FProductRegNO\":\"\",\"FProductID\":\"S1S006S001\"} "));
}

TEST_F(UsageStatisticsTest, KeyFollowsTheVersion) {
    const struct {
        const char *version;
        const char *key;
    } cases[] = {{"14.0", "C009C006"}, {"", "C009C006"},      {"13.5", "C009C006"},
                 {"14.1", "C009C007"}, {"14.10", "C009C007"}, {"9.5", "C009C007"}};
    for (const auto &c : cases)
        EXPECT_EQ(UsageKey(QString::fromLatin1(c.version)), QString::fromLatin1(c.key)) << c.version;
}

TEST_F(UsageStatisticsTest, Utf8Escapes) {
    EXPECT_EQ(UrlEncodeUtf8(QString()), QString());
    EXPECT_EQ(UrlEncodeUtf8(QStringLiteral("{\"a\":1} &#")), QStringLiteral("{\"a\":1} &#"));
    EXPECT_EQ(UrlEncodeUtf8(QString(QChar(0xE9))), QStringLiteral("%C3%A9"));
    EXPECT_EQ(UrlEncodeUtf8(QString(QChar(0x4E2D))), QStringLiteral("%E4%B8%AD"));
    EXPECT_EQ(UrlEncodeUtf8(QString(QChar(0x800))), QStringLiteral("%E0%A0%80"));
    EXPECT_EQ(UrlEncodeUtf8(QStringLiteral("\U0001F600")), QStringLiteral("%ED%A0%BD%ED%B8%80"));
    EXPECT_EQ(EncodeQueryValue(QStringLiteral("a b#c&d+e%f\"{}:,中")),
              QStringLiteral("a%20b%23c%26d%2Be%25f\"{}:,%E4%B8%AD"));
}

TEST_F(UsageStatisticsTest, SendsOnePostWithTheRecordAsOneQueryValue) {
    LocalHttpService service("ok#1#");
    PlatformSettings::setUsageServiceUrl(service.url());
    PlatformSettings::setShortDateFormat(QStringLiteral("yyyy年M月d日"));
    EXPECT_TRUE(SendUsageStatistic(QStringLiteral("C009C007"), QStringLiteral("a&b#c"), QString()));
    ASSERT_EQ(service.requests().size(), 1);
    const QByteArray line = service.requests().front();
    ASSERT_TRUE(line.startsWith("POST /stat/logCustom.do?guid=1000000000&text=")) << line.constData();
    EXPECT_FALSE(line.contains('#'));
    const QByteArray target = line.mid(5, line.lastIndexOf(' ') - 5);
    const QUrlQuery query(QUrl::fromEncoded("http://x" + target));
    EXPECT_EQ(query.queryItems(QUrl::FullyDecoded).size(), 2);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("guid")), QStringLiteral("1000000000"));
    const QString sent = QUrl::fromPercentEncoding(target.mid(target.indexOf("&text=") + 6));
    QString expected =
        UsageRecord(QStringLiteral("C009C007"), QStringLiteral("a&b#c"), QString(), PlatformClock::now());
    EXPECT_EQ(sent, expected);
    EXPECT_TRUE(sent.contains(QStringLiteral("2018年3月7日 9:05:01")));
}

TEST_F(UsageStatisticsTest, TheReplyNumberGivesTheResult) {
    LocalHttpService zero("#0#");
    PlatformSettings::setUsageServiceUrl(zero.url());
    EXPECT_FALSE(SendUsageStatistic(QStringLiteral("C009C007"), QStringLiteral("LOAD"), QString()));
    LocalHttpService none("no hashes");
    PlatformSettings::setUsageServiceUrl(none.url());
    EXPECT_EQ(errorNumber([] { SendUsageStatistic(QStringLiteral("K"), QStringLiteral("LOAD"), QString()); }), 5);
    LocalHttpService word("#x#");
    PlatformSettings::setUsageServiceUrl(word.url());
    EXPECT_EQ(errorNumber([] { SendUsageStatistic(QStringLiteral("K"), QStringLiteral("LOAD"), QString()); }), 13);
    ReportUsage(QStringLiteral("LOAD"));  // swallowed
    EXPECT_EQ(word.requests().size(), 2);
}

TEST_F(UsageStatisticsTest, ReportUsageSendsTheVersionKeyAndNeverFails) {
    LocalHttpService service("#1#");
    PlatformSettings::setUsageServiceUrl(service.url());
    g_InstalledVersion = QStringLiteral("14.0");
    ReportUsage(QStringLiteral("SUCCESS"));
    ASSERT_EQ(service.requests().size(), 1);
    EXPECT_TRUE(service.requests().front().contains("C009C006"));
    EXPECT_TRUE(service.requests().front().contains("SUCCESS"));
}

TEST_F(UsageStatisticsTest, NothingIsSentWithoutAService) {
    LocalHttpService service("#1#");
    PlatformSettings::setUsageServiceUrl(QString());
    EXPECT_TRUE(SendUsageStatistic(QStringLiteral("K"), QStringLiteral("LOAD"), QString()));
    ReportUsage(QStringLiteral("LOAD"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(service.requests().isEmpty());
}

TEST_F(UsageStatisticsTest, AnUnreachableOrSilentServiceIsAnErrorWithinTheTimeOut) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    PlatformSettings::setUsageServiceUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
    EXPECT_EQ(errorNumber([] { SendUsageStatistic(QStringLiteral("K"), QStringLiteral("LOAD"), QString()); }), -1);
    ReportUsage(QStringLiteral("LOAD"));

    LocalHttpService silent("", false);
    PlatformSettings::setUsageServiceUrl(silent.url());
    PlatformSettings::setUsageTimeoutMs(200);
    EXPECT_EQ(errorNumber([] { SendUsageStatistic(QStringLiteral("K"), QStringLiteral("LOAD"), QString()); }), -1);
    ReportUsage(QStringLiteral("LOAD"));
    EXPECT_EQ(silent.requests().size(), 2);
}
