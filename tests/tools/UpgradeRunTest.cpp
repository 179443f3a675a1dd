// upgraderun as a user runs it: the real program on a stand-in installation
// laid out by the standin tool, with copies of the built samples.
#include <gtest/gtest.h>

#include "support/SampleFiles.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString kBin = QStringLiteral(PNW_BINARY_DIR "/bin/");

struct RunResult {
    int code = -1;
    QString output;
};

class UpgradeRunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        QProcess standin;
        standin.start(kBin + QStringLiteral("standin"), {s_dir->filePath(QStringLiteral("inst"))});
        ASSERT_TRUE(standin.waitForFinished(120000));
        ASSERT_EQ(standin.exitCode(), 0) << standin.readAllStandardError().toStdString();
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    // A copy of a built sample with its workgroup file, in a folder of its own.
    QString sample(const QString &set) {
        const QString copy = CopySample(set, m_dir.filePath(set), true);
        EXPECT_FALSE(copy.isEmpty());
        return copy;
    }
    static RunResult run(const QStringList &arguments) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(kBin + QStringLiteral("upgraderun"), arguments);
        RunResult r;
        if (!p.waitForFinished(300000)) return r;
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.output = QString::fromUtf8(p.readAll());
        return r;
    }
    static QStringList withInstallation(QStringList arguments) {
        return QStringList{QStringLiteral("--standin"), s_dir->filePath(QStringLiteral("inst"))} + arguments;
    }
    QTemporaryDir m_dir;
    static QTemporaryDir *s_dir;
};

QTemporaryDir *UpgradeRunTest::s_dir = nullptr;

TEST_F(UpgradeRunTest, BothSamplesRunThroughWithTheirReports) {
    struct Case {
        QString set, number;
        QStringList extra;
    } cases[] = {
        {QStringLiteral("standard"), QStringLiteral("RunStd"), {}},
        {QStringLiteral("mini"), QStringLiteral("RunMini"), {}},
    };
    for (const Case &c : cases) {
        const QString source = sample(c.set);
        const QByteArray before = FileHash(source);
        QStringList arguments{QStringLiteral("--source"), source, QStringLiteral("--number"), c.number};
        arguments += c.extra;
        const RunResult r = run(withInstallation(arguments));
        // Warnings: the base-data check always tells that the operators'
        // passwords must be set again after the upgrade.
        EXPECT_EQ(r.code, 1) << r.output.toStdString();
        EXPECT_TRUE(r.output.contains(QStringLiteral("成功\t创建目标账套\t恢复基础账套"))) << r.output.toStdString();
        EXPECT_TRUE(r.output.contains(QStringLiteral("警告\t用户组及用户设置\t升级后需要重新设置操作员密码。")))
            << r.output.toStdString();
        EXPECT_TRUE(r.output.contains(QStringLiteral("成功\t结算方式\t结算方式数目：6"))) << r.output.toStdString();
        for (const QString &which : {QStringLiteral("check report\t"), QStringLiteral("upgrade report\t")}) {
            const qsizetype at = r.output.indexOf(which);
            ASSERT_GE(at, 0) << r.output.toStdString();
            const QString path = r.output.mid(at + which.size()).section(QLatin1Char('\n'), 0, 0);
            EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        }
        EXPECT_EQ(FileHash(source), before);
    }
}

TEST_F(UpgradeRunTest, BalancesOnlyIsRefusedWhileTheCurrentPeriodHasMovements) {
    const QString source = sample(QStringLiteral("mini"));
    const RunResult r =
        run(withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("RunBal"),
                              QStringLiteral("--name"), QStringLiteral("余额"), QStringLiteral("--balances-only")}));
    EXPECT_EQ(r.code, 2) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains(QStringLiteral("科目当期有发生额，不允许只升级余额。"))) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains(QStringLiteral("upgrade report\t"))) << r.output.toStdString();
}

TEST_F(UpgradeRunTest, BalancesOnlyRunsThroughOnASetWithoutCurrentMovements) {
    const QString source = sample(QStringLiteral("mini_open"));
    const RunResult r = run(
        withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("RunOpen"),
                          QStringLiteral("--name"), QStringLiteral("期初余额"), QStringLiteral("--balances-only")}));
    EXPECT_TRUE(r.code == 0 || r.code == 1) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains(QStringLiteral("科目当期有发生额"))) << r.output.toStdString();
    // The balances are converted; the vouchers' phase does not run.
    EXPECT_TRUE(r.output.contains(QStringLiteral("成功\t科目余额"))) << r.output.toStdString();
    EXPECT_FALSE(r.output.contains(QStringLiteral("\t凭证\t"))) << r.output.toStdString();
    const qsizetype at = r.output.indexOf(QStringLiteral("upgrade report\t"));
    ASSERT_GE(at, 0) << r.output.toStdString();
    const QString path = r.output.mid(at + 15).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
}

TEST_F(UpgradeRunTest, RefusalsEndWithStatusTwoAndTheReason) {
    const QString notes = m_dir.filePath(QStringLiteral("notes.ais"));
    QFile f(notes);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not an account set\n");
    f.close();
    const QString answers = m_dir.filePath(QStringLiteral("answers.txt"));
    QFile a(answers);
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.write("# the first question\nYes\nperhaps\n");
    a.close();
    const QString source = sample(QStringLiteral("standard"));
    struct Case {
        QStringList arguments;
        QString says;
    } cases[] = {
        {{QStringLiteral("--source"), source}, QStringLiteral("--standin, --source and --number are required")},
        {withInstallation({QStringLiteral("--source"), notes, QStringLiteral("--number"), QStringLiteral("N1")}),
         QStringLiteral("不是VEQ标准版(迷你版)账套文件")},
        {withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("1A")}),
         QStringLiteral("账套号首字符不可为数字")},
        {withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("N2"),
                           QStringLiteral("--answers"), answers}),
         QStringLiteral("line 3: not a reply: perhaps")},
        {{QStringLiteral("--standin"), m_dir.filePath(QStringLiteral("none")), QStringLiteral("--source"), source,
          QStringLiteral("--number"), QStringLiteral("N3")},
         QStringLiteral("no installation at")},
    };
    for (const Case &c : cases) {
        const RunResult r = run(c.arguments);
        EXPECT_EQ(r.code, 2) << r.output.toStdString();
        EXPECT_TRUE(r.output.contains(c.says)) << r.output.toStdString();
    }
}

}  // namespace
