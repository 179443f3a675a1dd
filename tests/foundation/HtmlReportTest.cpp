#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <QFile>

#include "kit/StandinServer.h"
#include "foundation/Globals.h"
#include "foundation/HtmlReport.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/AnsiCodec.h"
#include "platform/MessageScript.h"
#include "platform/PlatformClock.h"

namespace {

const QString kHead =
    QStringLiteral("<!DOCTYPE html>\r\n<html lang=\"zh - cn\">\r\n<head>\r\n"
                   "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
                   "<title>20180307090501标准版(迷你版)升级专业版数据检测</title>\r\n<style type=\"text/css\">\r\n"
                   "body{margin: 0 auto;padding: 0;border: 0;width: 95%;text-align: left}\r\n"
                   "table {margin-top:10px;border-collapse:collapse;border:1px solid #aaa;width:100%;}\r\n"
                   "th {vertical-align:baseline;padding:5px 15px 5px 6px;background-color:#d5d5d5;border:1px solid "
                   "#aaa;text-align:left;font-size: 12px;}\r\n"
                   "td {vertical-align:text-top;padding:6px 15px 6px 6px;background-color:#efefef;border:1px solid "
                   "#aaa;vertical-align: middle;font-size: 12px;}\r\n"
                   "h2 { font-size: 14px;}\r\n</style>\r\n</head>\r\n<body>\r\n</br><h2>日志总览</h2>\r\n<table>\r\n"
                   "<tr><th width=\"10%\">状态</th><th width=\"20%\">时间</th><th width=\"20%\">项目</th><th "
                   "width=\"30%\">描述</th><th width=\"20%\">日志</th></tr>\r\n");
const QString kTail = QStringLiteral("</table>\r\n</Br>\r\n</body>\r\n</html>\r\n");
const QString kTitle = QStringLiteral("20180307090501标准版(迷你版)升级专业版数据检测");

}  // namespace

class HtmlReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1)));
        ASSERT_EQ(server.createMainLogTable(), QString());
        EnsureFolder(UpgradeReportFolder());
        g_WizardStep = 2;
    }
    // A detail table as the log writes it, and its entry.
    void addDetail(const QString &table, const QString &detailText, const QList<QStringList> &rows) {
        QString sql = QStringLiteral("create table [%1] (FID int identity").arg(table);
        for (int k = 1; k <= rows.first().size(); ++k) sql += QStringLiteral(",F%1 nvarchar(500)").arg(k);
        sql += QStringLiteral(")\r\n");
        for (const QStringList &r : rows) {
            QStringList cols, vals;
            for (int k = 1; k <= r.size(); ++k)
                cols << QStringLiteral("F%1").arg(k), vals << QStringLiteral("N'") + r.at(k - 1) + QLatin1Char('\'');
            sql += QStringLiteral("insert into [%1] (%2) values (%3)\r\n").arg(table, cols.join(','), vals.join(','));
        }
        sql += QStringLiteral("insert into AIS_UpgradeLog_Main (FStatus,FTime,FProject,FDescription,FDetail,FLink) "
                              "values (N'警告', N'2018/3/7 9:05:01', N'固定资产', N'见明细', N'%1', N'%2')")
                   .arg(detailText, table);
        ASSERT_EQ(server.run(QStringLiteral("AcctCtl"), sql), QString());
    }
    QString report() const {
        QFile f(g_CheckReportPath);
        return f.open(QIODevice::ReadOnly) ? AnsiCodec::decode(f.readAll(), 936) : QString();
    }
    QStringList logTables() const {
        return server.rows(
            QStringLiteral("AcctCtl"),
            QStringLiteral("select name from sysobjects where name like 'AIS_UpgradeLog%' order by name"));
    }
    StandinServer server;
    MessageScript messages;
};

TEST_F(HtmlReportTest, ARunWithoutEntriesGivesTheHeadAndTheClosingLines) {
    WriteHtmlReport(kTitle);
    EXPECT_EQ(g_CheckReportPath, UpgradeReportFolder() + QLatin1Char('/') + kTitle + QStringLiteral(".html"));
    EXPECT_TRUE(g_UpgradeReportPath.isEmpty());
    EXPECT_EQ(report(), kHead + QStringLiteral("</table>\r\n") + kTail);
    EXPECT_TRUE(logTables().isEmpty());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(HtmlReportTest, RowsAndSectionsAreEscapedTrimmedAndDropped) {
    WriteUpgradeLog(QStringLiteral("基础资料"), QStringLiteral(" a<b & \"c\" "), QString(), 1);
    addDetail(QStringLiteral("AIS_UpgradeLog_固定资产卡片"), QStringLiteral("详细信息"),
              {{"卡片", "名称"}, {"  001 ", "<车>"}});
    addDetail(QStringLiteral("AIS_UpgradeLog_部门_职员"), QStringLiteral("详细日志"), {{"代码"}, {"1"}});
    WriteHtmlReport(kTitle);

    const QString expected =
        kHead +
        QStringLiteral(
            "<tr><td width=\"10%\">警告</td><td width=\"20%\">2018/3/7 9:05:01</td><td width=\"20%\">基础资料</td>"
            "<td width=\"30%\"> a&lt;b &amp; &quot;c&quot; </td><td width=\"20%\"><a href=\"#\"></a></td></tr>\r\n"
            "<tr><td width=\"10%\">警告</td><td width=\"20%\">2018/3/7 9:05:01</td><td width=\"20%\">固定资产</td>"
            "<td width=\"30%\">见明细</td><td width=\"20%\"><a "
            "href=\"#AIS_UpgradeLog_固定资产卡片\">详细信息</a></td></tr>\r\n"
            "<tr><td width=\"10%\">警告</td><td width=\"20%\">2018/3/7 9:05:01</td><td width=\"20%\">固定资产</td>"
            "<td width=\"30%\">见明细</td><td width=\"20%\"><a "
            "href=\"#AIS_UpgradeLog_部门_职员\">详细日志</a></td></tr>\r\n"
            "</table>\r\n"
            "</br><h2><a name=\"AIS_UpgradeLog_固定资产卡片\">固定资产卡片</a></h2>\r\n<table>\r\n"
            "<tr><th  >卡片</th><th  >名称</th></tr>\r\n"
            "<tr><td  >001</td><td  >&lt;车&gt;</td></tr>\r\n</table>\r\n"
            "</br><h2><a name=\"AIS_UpgradeLog_部门_职员\">职员</a></h2>\r\n<table>\r\n"
            "<tr><th width=\"20%\" >代码</th></tr>\r\n"
            "<tr><td  width=\"20%\">1</td></tr>\r\n</table>\r\n") +
        kTail;
    EXPECT_EQ(report(), expected);
    EXPECT_TRUE(logTables().isEmpty());
    EXPECT_EQ(messages.count(), 0);
}

// Rows stored out of order (a later entry in an earlier slot) still reach
// the report in the order they were logged.
TEST_F(HtmlReportTest, EntriesAndDetailRowsFollowTheirNumbers) {
    // Plain FID columns, so the rows lie in the order they were written.
    ASSERT_EQ(server.run(QStringLiteral("AcctCtl"),
                         QStringLiteral("drop table AIS_UpgradeLog_Main\r\n"
                                        "create table AIS_UpgradeLog_Main (FID int, FStatus nvarchar(10), FTime "
                                        "nvarchar(40), FProject nvarchar(50), FDescription nvarchar(4000), FDetail "
                                        "nvarchar(500), FLink nvarchar(50))\r\n"
                                        "create table [AIS_UpgradeLog_科目] (FID int, F1 nvarchar(500))\r\n"
                                        "insert into [AIS_UpgradeLog_科目] (FID, F1) values (2, N'第二行')\r\n"
                                        "insert into [AIS_UpgradeLog_科目] (FID, F1) values (1, N'第一行')\r\n"
                                        "insert into AIS_UpgradeLog_Main values (2, N'成功', N'', N'后记', N'', N'', "
                                        "N'')\r\n"
                                        "insert into AIS_UpgradeLog_Main values (1, N'警告', N'', N'先记', N'', "
                                        "N'明细', N'AIS_UpgradeLog_科目')")),
              QString());
    WriteHtmlReport(kTitle);
    const QString text = report();
    EXPECT_LT(text.indexOf(QStringLiteral("先记")), text.indexOf(QStringLiteral("后记")));
    EXPECT_LT(text.indexOf(QStringLiteral("第一行")), text.indexOf(QStringLiteral("第二行")));
    EXPECT_NE(text.indexOf(QStringLiteral("第一行")), -1);
}

TEST_F(HtmlReportTest, AMissingDetailTableNeverStopsTheReport) {
    ASSERT_EQ(
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("insert into AIS_UpgradeLog_Main (FStatus,FDetail,FLink) "
                                                             "values (N'警告', N'详细日志', N'AIS_UpgradeLog_无')")),
        QString());
    addDetail(QStringLiteral("AIS_UpgradeLog_有"), QStringLiteral("详细日志"), {{"代码"}, {"9"}});
    WriteHtmlReport(kTitle);
    const QString text = report();
    EXPECT_TRUE(text.contains(QStringLiteral("<a name=\"AIS_UpgradeLog_无\">无</a></h2>\r\n<table>\r\n</table>\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("<tr><td  width=\"20%\">9</td></tr>")));
    EXPECT_TRUE(text.endsWith(kTail));
    EXPECT_TRUE(logTables().isEmpty());
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(HtmlReportTest, TheFileIsInTheCodePageItDeclares) {
    WriteUpgradeLog(QStringLiteral("项目"), QStringLiteral("中文描述"), QString(), 0);
    g_WizardStep = 4;
    WriteHtmlReport(QStringLiteral("upgrade"));
    EXPECT_TRUE(g_CheckReportPath.isEmpty());
    QFile f(g_UpgradeReportPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains("charset=GBK"));
    EXPECT_TRUE(bytes.contains(AnsiCodec::encode(QStringLiteral("中文描述"), 936)));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST_F(HtmlReportTest, AMissingMainTableIsToldAndTheFileStillCloses) {
    ASSERT_EQ(server.run(QStringLiteral("AcctCtl"), QStringLiteral("drop table AIS_UpgradeLog_Main")), QString());
    WriteHtmlReport(kTitle);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().buttons, 48);
    EXPECT_EQ(report(), kHead + QStringLiteral("</table>\r\n") + kTail);
}

TEST_F(HtmlReportTest, TwoDetailTablesWithOneTitleBothReachTheReport) {
    InitUpgradeLog();
    for (const char *code : {"USD", "HKD"}) {
        clsDetailLogInfo info;
        info.setTitle(QStringLiteral("币别"));
        info.InsertCaption(QStringLiteral("代码"));
        PnwList row;
        AddValueCell(row, QString::fromLatin1(code));
        info.InsertSingleEntry(row);
        WriteUpgradeLog(QStringLiteral("基础资料"), QStringLiteral("币别"), QStringLiteral("详细日志"), 1,
                        info.PackDetailLog());
    }
    WriteHtmlReport(kTitle);
    const QString text = report();
    EXPECT_TRUE(
        text.contains(QStringLiteral("<a name=\"AIS_UpgradeLog_币别\">币别</a></h2>\r\n<table>\r\n"
                                     "<tr><th width=\"20%\" >代码</th></tr>\r\n<tr><td  width=\"20%\">USD</td></tr>")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("<a name=\"AIS_UpgradeLog_币别(2)\">币别</a></h2>\r\n<table>\r\n"
                                     "<tr><th width=\"20%\" >代码</th></tr>\r\n<tr><td  width=\"20%\">HKD</td></tr>")));
    EXPECT_TRUE(logTables().isEmpty());
    EXPECT_EQ(messages.count(), 0);
}

TEST(OpenReportTest, StartsTheBrowserOnTheFileAndAnchor) {
    QList<QUrl> opened;
    ReportOpener previous = SetReportOpener([&](const QUrl &url, QString &) {
        opened.append(url);
        return true;
    });
    MessageScript messages;
    OpenReport(QStringLiteral("/data/AcctUpgradeLog/r 1.html"), QStringLiteral("AIS_UpgradeLog_币别"));
    OpenReport(QStringLiteral("/data/r.html"), QString());
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(0).toString(), QStringLiteral("file:///data/AcctUpgradeLog/r 1.html#AIS_UpgradeLog_币别"));
    EXPECT_EQ(opened.at(1).toString(), QStringLiteral("file:///data/r.html#"));
    EXPECT_EQ(messages.count(), 0);

    SetReportOpener([](const QUrl &, QString &error) {
        error = QStringLiteral("no browser");
        return false;
    });
    OpenReport(QStringLiteral("/data/r.html"), QStringLiteral("日志总览"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().prompt, QStringLiteral("不能打开日志，可能原因是：no browser\r\n/data/r.html"));
    EXPECT_EQ(messages.last().buttons, 48);
    SetReportOpener(previous);
}

// The desktop's handler as a real program: one that opens, one that gives
// up at once (a browser refusing to start), and none at all.
TEST(OpenReportTest, TheDesktopHandlersFailureIsToldWithTheReportsPath) {
    QTemporaryDir dir;
    const auto handler = [&](const QString &name, const QByteArray &body) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    };
    const QString report = dir.filePath(QStringLiteral("r.html"));
    struct Case {
        QString program;
        QString message;  // "" when the report opened
    };
    const Case cases[] = {
        {handler(QStringLiteral("opens"), "echo \"$1\" > \"$(dirname \"$0\")/opened\""), QString()},
        {handler(QStringLiteral("refuses"), "echo 'Running as root without --no-sandbox is not supported'; exit 4"),
         QStringLiteral("不能打开日志，可能原因是：Running as root without --no-sandbox is not supported\r\n") +
             report},
        {dir.filePath(QStringLiteral("missing")), QStringLiteral("不能打开日志，可能原因是：")},
    };
    const QByteArray previous = qgetenv("PNW_DESKTOP_OPENER");
    for (const Case &c : cases) {
        qputenv("PNW_DESKTOP_OPENER", c.program.toLocal8Bit());
        MessageScript messages;
        OpenReport(report, QStringLiteral("日志总览"));
        if (c.message.isEmpty()) {
            EXPECT_EQ(messages.count(), 0);
            QFile opened(dir.filePath(QStringLiteral("opened")));
            ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
            EXPECT_EQ(QString::fromUtf8(opened.readAll()).trimmed(),
                      ReportUrl(report, QStringLiteral("日志总览")).toString(QUrl::FullyEncoded));
        } else {
            ASSERT_EQ(messages.count(), 1) << c.program.toStdString();
            EXPECT_TRUE(messages.last().prompt.startsWith(c.message)) << messages.last().prompt.toStdString();
            EXPECT_TRUE(messages.last().prompt.endsWith(report));
        }
    }
    qputenv("PNW_DESKTOP_OPENER", previous);
}
