#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "kit/StandinServer.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/MessageScript.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwDictionary.h"

class UpgradeLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        PlatformClock::setFixedNow(QDateTime(QDate(2018, 3, 7), QTime(9, 5, 1)));
        previous = SetUpgradeLogSink([this](const UpgradeLogLine &line) { lines.append(line); });
    }
    void TearDown() override { SetUpgradeLogSink(previous); }
    QStringList mainRows() const {
        return server.rows(
            QStringLiteral("AcctCtl"),
            QStringLiteral(
                "select FStatus,FTime,FProject,FDescription,FDetail,FLink from AIS_UpgradeLog_Main order by FID"));
    }
    static PnwList row(const QStringList &cells) {
        PnwList r;
        for (const QString &c : cells) AddValueCell(r, c);
        return r;
    }
    static PnwList detail(const QString &title, const QStringList &captions, const QList<QStringList> &entries) {
        clsDetailLogInfo info;
        info.setTitle(title);
        for (const QString &c : captions) info.InsertCaption(c);
        for (const QStringList &e : entries) info.InsertSingleEntry(row(e));
        return info.PackDetailLog();
    }
    StandinServer server;
    QList<UpgradeLogLine> lines;
    UpgradeLogSink previous;
};

TEST(UpgradeLogNamesTest, StatusAndStepNames) {
    const QList<QPair<int, QString>> statuses{{0, "成功"}, {1, "警告"}, {2, "错误"}, {-1, ""}, {5, ""}};
    for (const auto &s : statuses) EXPECT_EQ(GetStatusName(s.first), s.second);
    const QStringList steps{"还没有开始升级哦", "新建账套", "基础资料", "固定资产", "财务处理", "工资管理", "出纳管理"};
    for (int i = 0; i < steps.size(); ++i) {
        g_CurrentModule = i;
        EXPECT_EQ(GetStepName(), steps.at(i));
    }
    for (int code : {7, -1}) {
        g_CurrentModule = code;
        EXPECT_EQ(GetStepName(), QString());
    }
    ResetProgramState();
}

TEST(DetailLogInfoTest, PacksTitleCaptionsAndSharedRows) {
    clsDetailLogInfo info;
    info.setTitle(QStringLiteral("币别"));
    EXPECT_TRUE(info.InsertCaption(QStringLiteral("代码")));
    EXPECT_TRUE(info.InsertCaption(QStringLiteral("名称")));
    PnwList entry;
    AddValueCell(entry, QStringLiteral("USD"));
    EXPECT_TRUE(info.InsertSingleEntry(entry));
    EXPECT_TRUE(info.InsertSingleEntry(nullptr));
    AddValueCell(entry, QStringLiteral("美元"));  // rows are shared, not copied

    const PnwList packed = info.PackDetailLog();
    ASSERT_EQ(packed.Count(), 2);
    EXPECT_EQ(packed.DictionaryItem(1).Item(QStringLiteral("Project")).toString(), QStringLiteral("币别"));
    const PnwList rows = packed.Item(2).value<PnwList>();
    ASSERT_EQ(rows.Count(), 2);
    EXPECT_EQ(rows.Item(1).value<PnwList>().DictionaryItem(2).Item(QStringLiteral("Value")).toString(),
              QStringLiteral("名称"));
    EXPECT_TRUE(rows.Item(2).value<PnwList>().isSameAs(entry));
    EXPECT_EQ(entry.Count(), 2);
}

TEST_F(UpgradeLogTest, AnEntryBecomesARowAndALineForThePageOfTheStep) {
    ASSERT_EQ(server.createMainLogTable(), QString());
    MessageScript messages;
    g_WizardStep = 2;
    WriteUpgradeLog(QStringLiteral("基础资料"), QStringLiteral("O'Neil 的币别"), QStringLiteral("详细"), 2);
    g_WizardStep = 3;
    WriteUpgradeLog(QStringLiteral("财务处理"), QStringLiteral("完成"), QString(), 5, PnwList());

    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(mainRows(), (QStringList{"错误\t2018/3/7 9:05:01\t基础资料\tO'Neil 的币别\t详细\t",
                                       "\t2018/3/7 9:05:01\t财务处理\t完成\t\t"}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.at(0).forCheckPage);
    EXPECT_EQ(lines.at(0).text(), QStringLiteral("错误|2018/3/7 9:05:01|基础资料|O'Neil 的币别|详细|"));
    EXPECT_FALSE(lines.at(1).forCheckPage);
    EXPECT_TRUE(lines.at(1).text().startsWith(QLatin1Char('|')));
}

TEST_F(UpgradeLogTest, FieldsLongerThanTheirColumnsAreCutNotLost) {
    ASSERT_EQ(server.createMainLogTable(), QString());
    MessageScript messages;
    const QString exact(3000, QLatin1Char('d'));
    WriteUpgradeLog(QStringLiteral("p"), exact, QString(), 0);
    WriteUpgradeLog(QString(60, QChar(u'项')), exact + QLatin1Char('x'), QString(600, QLatin1Char('t')), 1);
    EXPECT_EQ(messages.count(), 0);
    const QStringList rows = server.rows(
        QStringLiteral("AcctCtl"),
        QStringLiteral("select len(FProject), len(FDescription), len(FDetail) from AIS_UpgradeLog_Main order by FID"));
    EXPECT_EQ(rows, (QStringList{"1\t3000\t0", "50\t3000\t500"}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(1).description, exact);
    EXPECT_EQ(lines.at(1).project.size(), 50);
}

TEST_F(UpgradeLogTest, AnEntryThatCannotBeWrittenIsToldAndGivesNoLine) {
    MessageScript messages;  // no main table
    WriteUpgradeLog(QStringLiteral("p"), QStringLiteral("d"), QString(), 0);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().prompt.startsWith(QStringLiteral("写入日志出现错误。原因可能是：")));
    EXPECT_GT(messages.last().prompt.size(), QStringLiteral("写入日志出现错误。原因可能是：").size());
    EXPECT_EQ(messages.last().buttons, 48);
    EXPECT_EQ(messages.last().title, QStringLiteral("岫禾提示"));
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(UpgradeLogTest, ADetailLogWithoutCaptionsWritesNothing) {
    ASSERT_EQ(server.createMainLogTable(), QString());
    MessageScript messages;
    WriteUpgradeLog(QStringLiteral("p"), QStringLiteral("d"), QStringLiteral("详细日志"), 1,
                    detail(QStringLiteral("空"), {}, {{"x"}}));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_TRUE(mainRows().isEmpty());
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_TRUE(server
                    .rows(QStringLiteral("AcctCtl"),
                          QStringLiteral("select name from sysobjects where name like 'AIS_UpgradeLog_空%'"))
                    .isEmpty());
}

TEST_F(UpgradeLogTest, InitUpgradeLogToldWhenTheReportFolderCannotBeMade) {
    QFile blocker(UpgradeReportFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MessageScript messages;
    InitUpgradeLog();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().prompt.startsWith(QStringLiteral("不能创建日志，可能原因是：")));
    EXPECT_EQ(messages.last().buttons, 48);
    EXPECT_EQ(messages.last().title, QStringLiteral("岫禾软件"));
}

TEST_F(UpgradeLogTest, InitUpgradeLogLeavesOneEmptyTable) {
    MessageScript messages;
    InitUpgradeLog();
    WriteUpgradeLog(QStringLiteral("p"), QStringLiteral("d"), QString(), 0);
    InitUpgradeLog();
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(mainRows().isEmpty());
    EXPECT_TRUE(QFileInfo(UpgradeReportFolder()).isDir());
}

TEST_F(UpgradeLogTest, DetailTablesKeepEveryEntryOfTheRun) {
    MessageScript messages;
    InitUpgradeLog();
    WriteUpgradeLog(QStringLiteral("基础资料"), QStringLiteral("一"), QStringLiteral("详细日志"), 1,
                    detail(QStringLiteral("币别"), {"代码", "名称"}, {{"USD", "O'Neil"}}));
    WriteUpgradeLog(QStringLiteral("基础资料"), QStringLiteral("二"), QStringLiteral("详细日志"), 1,
                    detail(QStringLiteral("币别"), {"代码", "名称"}, {{"HKD", QString(600, QLatin1Char('v'))}}));
    const QString longTitle(40, QChar(u'长'));
    WriteUpgradeLog(QStringLiteral("基础资料"), QStringLiteral("三"), QStringLiteral("详细日志"), 1,
                    detail(longTitle, {"列"}, {}));
    EXPECT_EQ(messages.count(), 0);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0).link, QStringLiteral("AIS_UpgradeLog_币别"));
    EXPECT_EQ(lines.at(1).link, QStringLiteral("AIS_UpgradeLog_币别(2)"));
    EXPECT_EQ(lines.at(2).link, QStringLiteral("AIS_UpgradeLog_") + longTitle.left(35));
    EXPECT_EQ(DetailTableTitle(lines.at(1).link), QStringLiteral("币别"));
    EXPECT_EQ(
        server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select F1, F2 from [AIS_UpgradeLog_币别] order by FID")),
        (QStringList{"代码\t名称", "USD\tO'Neil"}));
    EXPECT_EQ(server.rows(QStringLiteral("AcctCtl"),
                          QStringLiteral("select F1, len(F2) from [AIS_UpgradeLog_币别(2)] order by FID")),
              (QStringList{"代码\t2", "HKD\t500"}));
}

TEST_F(UpgradeLogTest, ARowWithTheWrongNumberOfCellsStopsTheEntry) {
    MessageScript messages;
    InitUpgradeLog();
    WriteUpgradeLog(QStringLiteral("p"), QStringLiteral("d"), QStringLiteral("详细日志"), 2,
                    detail(QStringLiteral("卡片"), {"a", "b"}, {{"1", "2"}, {"1", "2", "3"}, {"4", "5"}}));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_TRUE(mainRows().isEmpty());
    EXPECT_EQ(
        server.rows(QStringLiteral("AcctCtl"), QStringLiteral("select F1 from [AIS_UpgradeLog_卡片] order by FID")),
        (QStringList{"a", "1"}));
}
