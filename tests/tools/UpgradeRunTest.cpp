// upgraderun as a user runs it: the real program on a stand-in installation
// laid out by the standin tool, with copies of the built samples.
#include <gtest/gtest.h>

#include "StandinLayout.h"
#include "support/SampleFiles.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString kBin = QStringLiteral(PNW_BINARY_DIR "/bin/");

struct RunResult {
    int code = -1;
    QString out;     // standard output
    QString err;     // standard error
    QString output;  // both
};

// Environment changes for one run: a name with a value sets it, with none
// removes it.
using EnvChanges = QList<QPair<QString, QString>>;

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
    // The standard sample generated with the questions its usage leaves open
    // (quantity accounts without a unit, business units nothing is booked
    // on), with its workgroup file.
    QString openQuestionsSample() {
        const QString tables = m_dir.filePath(QStringLiteral("open-tables"));
        const QString folder = m_dir.filePath(QStringLiteral("open"));
        const QString ais = folder + QStringLiteral("/open.ais");
        QDir().mkpath(folder);
        EXPECT_EQ(QProcess::execute(kBin + QStringLiteral("samplegen"),
                                    {QStringLiteral("--edition"), QStringLiteral("standard"), QStringLiteral("--size"),
                                     QStringLiteral("small"), QStringLiteral("--open-questions"), tables}),
                  0);
        EXPECT_EQ(QProcess::execute(kBin + QStringLiteral("aisbuild"), {tables, ais}), 0);
        return ais;
    }
    QString writeFile(const QString &name, const QString &text) {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return path;
    }
    static RunResult run(const QStringList &arguments, const EnvChanges &env = {}) {
        QProcess p;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] : env) {
            if (value.isNull())
                environment.remove(name);
            else
                environment.insert(name, value);
        }
        p.setProcessEnvironment(environment);
        p.start(kBin + QStringLiteral("upgraderun"), arguments);
        RunResult r;
        if (!p.waitForFinished(300000)) return r;
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        r.output = r.out + r.err;
        return r;
    }
    static QStringList withInstallation(QStringList arguments) {
        return QStringList{QStringLiteral("--standin"), s_dir->filePath(QStringLiteral("inst"))} + arguments;
    }
    static QStringList upgrade(const QString &source, const QString &number, QStringList more = {}) {
        return withInstallation(QStringList{QStringLiteral("--source"), source, QStringLiteral("--number"), number} +
                                more);
    }
    // One query on an account set of the installation's server, its rows as
    // tab-separated lines after the header.
    static QStringList query(const QString &database, const QString &sql) {
        QProcess p;
        p.start(kBin + QStringLiteral("localsql"),
                {QStringLiteral("-S"), s_dir->filePath(QStringLiteral("inst/sql/MSSQLSERVER")), QStringLiteral("-d"),
                 database, QStringLiteral("-Q"), sql});
        if (!p.waitForFinished(60000)) return {QStringLiteral("localsql did not end")};
        QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!lines.isEmpty()) lines.removeFirst();
        if (!lines.isEmpty() && lines.last().startsWith(QLatin1Char('('))) lines.removeLast();
        return lines;
    }
    QTemporaryDir m_dir;
    static QTemporaryDir *s_dir;
};

QTemporaryDir *UpgradeRunTest::s_dir = nullptr;

TEST_F(UpgradeRunTest, BothSamplesRunThroughWithTheirReports) {
    struct Case {
        QString set, number;
        QString answers;  // the standard set's cashier keeps two bank accounts
    } cases[] = {
        {QStringLiteral("standard"), QStringLiteral("RunStd"),
         QStringLiteral("bank 1002.01 人民币 = 310066\nbank 1002.02 美元 = 310088\n")},
        {QStringLiteral("mini"), QStringLiteral("RunMini"), {}},
    };
    for (const Case &c : cases) {
        const QString source = sample(c.set);
        const QByteArray before = FileHash(source);
        QStringList arguments{QStringLiteral("--source"), source, QStringLiteral("--number"), c.number};
        if (!c.answers.isEmpty())
            arguments << QStringLiteral("--answers") << writeFile(c.set + QStringLiteral(".answers"), c.answers);
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
    // A file name that gives no account name.
    const QString unnamed = QFileInfo(source).dir().filePath(QStringLiteral(".ais"));
    ASSERT_TRUE(QFile::copy(source, unnamed));
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
        {withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("N4"),
                           QStringLiteral("--answers"),
                           writeFile(QStringLiteral("types.txt"), QStringLiteral("Yes\npayitem 奖金 = 金额\n"))}),
         QStringLiteral("line 2: a data type is one of 逻辑 日期 文本 整数 实数 货币: payitem 奖金 = 金额")},
        {withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("N5"),
                           QStringLiteral("--answers"),
                           writeFile(QStringLiteral("words.txt"), QStringLiteral("banks 1002 = 1\n"))}),
         QStringLiteral("line 1: not a dialog")},
        {withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("N7"),
                           QStringLiteral("--answers"),
                           writeFile(QStringLiteral("twice.txt"), QStringLiteral("bank 1002.01 人民币 = 1\n"
                                                                                 "bank  1002.01 人民币 = 2\n"))}),
         QStringLiteral("line 2: answered twice")},
        {withInstallation({QStringLiteral("--source"), source, QStringLiteral("--number"), QStringLiteral("N8"),
                           QStringLiteral("--answers"),
                           writeFile(QStringLiteral("star.txt"), QStringLiteral("unit 14050101 = *\n"))}),
         QStringLiteral("line 1: the unit name \"*\" is reserved")},
        {withInstallation({QStringLiteral("--source"), unnamed, QStringLiteral("--number"), QStringLiteral("N9")}),
         QStringLiteral("(the name \"\" comes from the file name: give one with --name)")},
        {withInstallation({QStringLiteral("--delete"), QStringLiteral("AcctCtl")}),
         QStringLiteral("not an account number: AcctCtl")},
        {{QStringLiteral("--delete"), QStringLiteral("N6")}, QStringLiteral("--delete needs --standin")},
    };
    for (const Case &c : cases) {
        const RunResult r = run(c.arguments);
        EXPECT_EQ(r.code, 2) << r.output.toStdString();
        // A failure is told on stderr, nothing of it on stdout.
        EXPECT_TRUE(r.err.contains(c.says)) << r.output.toStdString();
        EXPECT_EQ(r.out, QString()) << c.says.toStdString();
    }
}

}  // namespace

namespace {

// The lines of a run's output that start with prefix, without it.
QStringList recordsOf(const QString &output, const QString &prefix) {
    QStringList out;
    for (const QString &line : output.split(QLatin1Char('\n')))
        if (line.startsWith(prefix)) out << line.mid(prefix.size());
    return out;
}

}  // namespace

// Every mapping dialog takes its answers from the file, row by row as the
// dialog shows them; the rest keep what the dialog itself gives, and each
// question prints where its answer came from. The target holds what was
// given.
TEST_F(UpgradeRunTest, TheAnswersFileAnswersEveryMappingDialog) {
    const QString source = openQuestionsSample();
    const QString answers = writeFile(QStringLiteral("answers.txt"), QStringLiteral(
        "# natures: the name says customer, the file says supplier\n"
        "nature 1122 = 供应商\n"
        "unit 14050101 = 条\nunit 14050102 = 块\nunit 14050103 = 套\n"
        "unit 14050201 = 台\nunit 14050202 = 箱\nunit 14050203 = 只   # a unit the target lacks\n"
        "businessunit 03.0301 = 供应商\n"
        "payitem 基本工资 = 实数\n"
        "bank 1002.01 人民币 = 6222 0202 0011 2233  # pasted with blanks\n"
        "bank 1002.02  美元 = 4563-5100-0088\n"
        "bank 9999 人民币 = 1\n"));
    const RunResult r = run(upgrade(source, QStringLiteral("RunAsk"), {QStringLiteral("--answers"), answers}));
    ASSERT_EQ(r.code, 1) << r.output.toStdString();
    const QStringList given = recordsOf(r.out, QStringLiteral("answer\t"));
    for (const QString &expected : {
             QStringLiteral("file\tnature 1122 = 供应商  # 应收账款"),
             QStringLiteral("default\tnature 1123 = 供应商  # 预付账款"),
             QStringLiteral("default\tnature 2203 = 客户  # 预收账款"),
             QStringLiteral("file\tunit 14050203 = 只  # 碎纸机"),
             QStringLiteral("file\tbusinessunit 03.0301 = 供应商  # 临时往来单位"),
             QStringLiteral("default\tbusinessunit 03 = 供应商  # 其他往来"),
             QStringLiteral("file\tpayitem 基本工资 = 实数"),
             QStringLiteral("default\tpayitem 职员姓名 = 文本"),
             QStringLiteral("default\tpayitem 岗位津贴 = 货币"),
             QStringLiteral("file\tbank 1002.01 人民币 = 6222 0202 0011 2233  # 工商银行浦东支行"),
             QStringLiteral("file\tbank 1002.02 美元 = 4563-5100-0088  # 中国银行美元户"),
         })
        EXPECT_TRUE(given.contains(expected)) << expected.toStdString() << "\n" << r.out.toStdString();
    EXPECT_TRUE(recordsOf(r.out, QStringLiteral("unanswered\t")).isEmpty()) << r.out.toStdString();
    EXPECT_EQ(recordsOf(r.out, QStringLiteral("unused\t")), QStringList({QStringLiteral("bank 9999 人民币 = 1")}));

    EXPECT_EQ(query(QStringLiteral("RunAsk"), QStringLiteral("select FBB, FYHZH from cn_Account where FKMID <> 1001 "
                                                             "order by FKMID")),
              QStringList({QStringLiteral("人民币\t6222 0202 0011 2233"), QStringLiteral("美元\t4563-5100-0088")}));
    QStringList units =
        query(QStringLiteral("RunAsk"), QStringLiteral("select FName from t_MeasureUnit where FName in (N'条', N'只')"));
    units.sort();
    EXPECT_EQ(units, QStringList({QStringLiteral("只"), QStringLiteral("条")}));
    // The unit nothing was booked on became a supplier only.
    EXPECT_EQ(query(QStringLiteral("RunAsk"),
                    QStringLiteral("select FItemClassID from t_Item where FName = N'临时往来单位'")),
              QStringList({QStringLiteral("8")}));
}

// A business unit is answered by the code its tree shows, a dot inside its
// own code included (the broad set's top unit 02.0201 beside the supplier
// 0201 under 02), and the record prints it so.
TEST_F(UpgradeRunTest, ABusinessUnitIsAnsweredByTheCodeItsTreeShows) {
    const QString answers = writeFile(QStringLiteral("units.txt"),
                                      QStringLiteral("businessunit 02.0201 = 客户\n"
                                                     "bank 1002.001 人民币 = 1\nbank 1002.002 美元 = 2\n"));
    const RunResult r = run(upgrade(sample(QStringLiteral("broad")), QStringLiteral("RunDot"),
                                    {QStringLiteral("--answers"), answers}));
    ASSERT_EQ(r.code, 1) << r.output.toStdString();
    EXPECT_TRUE(recordsOf(r.out, QStringLiteral("answer\t"))
                    .contains(QStringLiteral("file\tbusinessunit 02.0201 = 客户  # 外协加工点（待定）")))
        << r.out.toStdString();
    EXPECT_TRUE(recordsOf(r.out, QStringLiteral("unused\t")).isEmpty()) << r.out.toStdString();
    EXPECT_EQ(query(QStringLiteral("RunDot"),
                    QStringLiteral("select FItemClassID from t_Item where FName = N'外协加工点（待定）'")),
              QStringList({QStringLiteral("1")}));
}

// A question that neither the file nor the dialog answers is never given a
// made-up answer: the dialog is closed without confirming, the step fails
// as it does for an operator who closed it, the run prints the question as
// a line to fill in, and the lines filled in make the next run pass (the
// failed run left its number free).
TEST_F(UpgradeRunTest, UnansweredQuestionsArePrintedToBeFilledIn) {
    struct Case {
        QString source, number;
        QString fails;  // the step's own entry for the closed dialog
        int questions;
        QString later;  // answers to what the failed run never reached
    } cases[] = {
        {sample(QStringLiteral("standard")), QStringLiteral("RunBank"),
         QStringLiteral("错误\t银行账户设置\t必须为每个银行都指定对应的账户，您选择了关闭操作导致升级失败！"), 2, {}},
        {openQuestionsSample(), QStringLiteral("RunUnit"),
         QStringLiteral("错误\t会计科目\t发生错误：某些会计科目勾选了数量金额核算，但是未正确指定计量单位。"), 6,
         QStringLiteral("bank 1002.01 人民币 = 11\nbank 1002.02 美元 = 12\n")},
    };
    for (const Case &c : cases) {
        RunResult r = run(upgrade(c.source, c.number, {QStringLiteral("--name"), c.number}));
        EXPECT_EQ(r.code, 2) << r.output.toStdString();
        EXPECT_TRUE(r.out.contains(c.fails)) << r.output.toStdString();
        const QStringList unanswered = recordsOf(r.out, QStringLiteral("unanswered\t"));
        ASSERT_EQ(unanswered.size(), c.questions) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("account set\t") + c.number + QStringLiteral("\tdeleted")));

        QString filled;
        int n = 0;
        for (const QString &line : unanswered) {
            // "bank 1002.01 人民币 =  # 工商银行浦东支行": the answer goes before the note.
            const qsizetype note = line.indexOf(QStringLiteral(" # "));
            filled += line.left(note) + QStringLiteral(" 6") + QString::number(++n) + line.mid(note) + QLatin1Char('\n');
        }
        filled += c.later;
        const QString answers = writeFile(c.number + QStringLiteral(".answers"), filled);
        r = run(upgrade(c.source, c.number, {QStringLiteral("--name"), c.number, QStringLiteral("--answers"), answers}));
        EXPECT_EQ(r.code, 1) << filled.toStdString() << r.output.toStdString();
        EXPECT_TRUE(recordsOf(r.out, QStringLiteral("unanswered\t")).isEmpty()) << r.out.toStdString();
    }
}

// A script meets the command line as a person does: --help answers, a file
// name that is no valid account name still gives one, a passing run writes
// nothing to stderr (no notice of the platform either), and every record is
// one line, whatever line breaks its text holds.
TEST_F(UpgradeRunTest, TheCommandLineAsAScriptMeetsIt) {
    const RunResult help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: upgraderun"))) << help.output.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("bank <account code> <currency> = <bank account number>")));
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const QString standard = sample(QStringLiteral("standard"));
    const QString source = QFileInfo(standard).dir().filePath(QStringLiteral("hidden2-bo.ais"));
    ASSERT_TRUE(QFile::rename(standard, source));
    const RunResult r =
        run(upgrade(source, QStringLiteral("RunHid"), {QStringLiteral("--check-only")}),
            {{QStringLiteral("XDG_RUNTIME_DIR"), QString()}, {QStringLiteral("TMPDIR"), m_dir.path()}});
    EXPECT_EQ(r.code, 1) << r.output.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("警告\t用户组及用户设置\t升级后需要重新设置操作员密码。\\r\\n\n")))
        << r.out.toStdString();
    // A dialog's own message (a unit name too long for the server, whose
    // reason spans lines) is one record too.
    QString units;
    for (const char *account : {"14050101", "14050102", "14050103", "14050201", "14050202", "14050203"})
        units += QStringLiteral("unit %1 = %2\n").arg(QString::fromLatin1(account), QString(120, QLatin1Char('x')));
    const RunResult tooLong =
        run(upgrade(openQuestionsSample(), QStringLiteral("RunLong"),
                    {QStringLiteral("--name"), QStringLiteral("RunLong"), QStringLiteral("--answers"),
                     writeFile(QStringLiteral("long.txt"), units)}));
    EXPECT_EQ(tooLong.code, 2) << tooLong.output.toStdString();
    EXPECT_TRUE(tooLong.out.contains(
        QStringLiteral("message\t岫禾提示\t计量单位输入错误。原因：新增计量单位失败。原因：\\r\\nSQL语句执行错误：\\r\\n")))
        << tooLong.out.toStdString();
    static const QRegularExpression record(QStringLiteral(
        "^(成功|警告|错误|stage|message|answer|unanswered|unused|check report|upgrade report|account set|peak memory)\t"));
    for (const QString &line : (r.out + tooLong.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_TRUE(record.match(line).hasMatch()) << line.toStdString();
}

// No ending without a finished upgrade leaves the new account set behind:
// a check-only run frees its number for the full run; a run that was killed
// leaves its set, which --delete removes, registered or not.
TEST_F(UpgradeRunTest, NothingIsLeftBehindAndALeftSetCanBeDeleted) {
    const QString source = sample(QStringLiteral("standard"));
    const QString answers =
        writeFile(QStringLiteral("banks.txt"), QStringLiteral("bank 1002.01 人民币 = 1\nbank 1002.02 美元 = 2\n"));
    const QStringList named = {QStringLiteral("--name"), QStringLiteral("两次"), QStringLiteral("--answers"), answers};
    RunResult r = run(upgrade(source, QStringLiteral("RunTwice"), named + QStringList{QStringLiteral("--check-only")}));
    EXPECT_EQ(r.code, 1) << r.output.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("account set\tRunTwice\tdeleted"))) << r.out.toStdString();
    r = run(upgrade(source, QStringLiteral("RunTwice"), named));
    EXPECT_EQ(r.code, 1) << r.output.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("account set\t"))) << r.out.toStdString();

    for (const bool registered : {true, false}) {
        const QString number = registered ? QStringLiteral("RunKill") : QStringLiteral("RunKillNoReg");
        const QStringList arguments = upgrade(source, number, {QStringLiteral("--name"), number});
        QProcess killed;
        killed.start(kBin + QStringLiteral("upgraderun"), arguments);
        QByteArray seen;
        while (!seen.contains("check report\t") && killed.waitForReadyRead(120000)) seen += killed.readAllStandardOutput();
        ASSERT_TRUE(seen.contains("check report\t")) << seen.toStdString();
        killed.kill();
        killed.waitForFinished();
        if (!registered)
            query(QStringLiteral("AcctCtl"),
                  QStringLiteral("delete from t_ad_xrAccount_gl where FAcctNumber = '") + number + QLatin1Char('\''));

        r = run(arguments);
        EXPECT_EQ(r.code, 2) << r.output.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("账套号:") + number + QStringLiteral("已使用"))) << r.err.toStdString();
        r = run(withInstallation({QStringLiteral("--delete"), number}));
        EXPECT_EQ(r.code, 0) << r.output.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("account set\t") + number + QStringLiteral("\tdeleted")))
            << r.out.toStdString();
        r = run(arguments + QStringList{QStringLiteral("--answers"), answers});
        EXPECT_EQ(r.code, 1) << registered << r.output.toStdString();
    }
    r = run(withInstallation({QStringLiteral("--delete"), QStringLiteral("RunNone")}));
    EXPECT_EQ(r.code, 0) << r.output.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("account set\tRunNone\tnot found"))) << r.out.toStdString();
}

// A run killed while it writes the set (its commits not synced yet), its set
// deleted with --delete, then the run again: the set equals a clean run's,
// table for table.
TEST_F(UpgradeRunTest, ARunKilledWhileWritingTheSetThenRetriedEqualsACleanRun) {
    const QString source = sample(QStringLiteral("standard"));
    const QString answers =
        writeFile(QStringLiteral("banks.txt"), QStringLiteral("bank 1002.01 人民币 = 1\nbank 1002.02 美元 = 2\n"));
    const QString number = QStringLiteral("Killed");
    // A name of its own: the file's name may belong to a set another case left.
    const QStringList arguments =
        upgrade(source, number, {QStringLiteral("--name"), QStringLiteral("中断重做"), QStringLiteral("--answers"), answers});
    // The times the run writes into the set are left out.
    auto sums = [&number] {
        QStringList arguments = {QStringLiteral("-S"), s_dir->filePath(QStringLiteral("inst/sql/MSSQLSERVER")),
                                 QStringLiteral("-d"), number};
        for (const char *column : {"t_Item_3001.FModifyTime", "t_FADevice.FDate", "t_FABalDevice.FDate"})
            arguments << QStringLiteral("--ignore") << QString::fromLatin1(column);
        QProcess p;
        p.start(kBin + QStringLiteral("tablesums"), arguments);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    RunResult r = run(arguments);
    ASSERT_EQ(r.code, 1) << r.output.toStdString();
    const QString clean = sums();
    ASSERT_TRUE(clean.contains(QStringLiteral("\nT_VoucherEntry\t"))) << clean.toStdString();
    ASSERT_EQ(run(withInstallation({QStringLiteral("--delete"), number})).code, 0);

    // Killed in the ledger's stage of the upgrade run, once the base data's has ended.
    QProcess killed;
    killed.start(kBin + QStringLiteral("upgraderun"), arguments);
    QByteArray seen;
    auto upgrading = [&seen] {
        const qsizetype check = seen.indexOf("check report\t");
        return check >= 0 && seen.indexOf("\nstage\t", check) >= 0;
    };
    while (!upgrading() && killed.waitForReadyRead(120000)) seen += killed.readAllStandardOutput();
    ASSERT_TRUE(upgrading()) << seen.toStdString();
    killed.kill();
    killed.waitForFinished();
    ASSERT_FALSE(seen.contains("upgrade report\t")) << seen.toStdString();

    r = run(withInstallation({QStringLiteral("--delete"), number}));
    EXPECT_EQ(r.code, 0) << r.output.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("account set\t") + number + QStringLiteral("\tdeleted")))
        << r.out.toStdString();
    r = run(arguments);
    ASSERT_EQ(r.code, 1) << r.output.toStdString();
    const QStringList want = clean.split(QLatin1Char('\n'));
    QStringList differing;
    for (const QString &line : sums().split(QLatin1Char('\n')))
        if (!want.contains(line)) differing << line;
    EXPECT_TRUE(differing.isEmpty()) << differing.join(QLatin1Char('\n')).toStdString();
}

// The screenshots' real road on the set with open questions pictures every
// mapping dialog as the run shows it, with the set's own rows.
TEST_F(UpgradeRunTest, TheScreenshotsRoadPicturesEveryMappingDialogWithTheSetsOwnRows) {
    const QString source = openQuestionsSample();
    const QString installation = s_dir->filePath(QStringLiteral("inst"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : StandinLayout::environmentOf(installation.toStdString()))
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(environment);
    const QString out = m_dir.filePath(QStringLiteral("shots"));
    p.start(kBin + QStringLiteral("wizard_screens"), {QStringLiteral("--real"), out, source, QStringLiteral("Shots")});
    ASSERT_TRUE(p.waitForFinished(300000));
    const QString said = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << said.toStdString() << p.readAllStandardError().toStdString();
    for (const QString &expected : {
             QStringLiteral("dialog\tsubledgernature\t1122 应收账款 | 1123 预付账款"),
             QStringLiteral("dialog\tunit\t14050101 内存条 | 14050102 固态硬盘"),
             QStringLiteral("dialog\tbussinessunits\t03(其他往来) | 03.0301(临时往来单位)"),
             QStringLiteral("dialog\tpapointdatatype\t职员代码 文本 文本"),
             QStringLiteral("dialog\tdatatype\t逻辑 | 日期 | 文本 | 整数 | 实数 | 货币"),
             QStringLiteral("dialog\tsetbankaccount\t1002.01 工商银行浦东支行 人民币"),
         })
        EXPECT_TRUE(said.contains(expected)) << expected.toStdString() << "\n" << said.toStdString();
    for (const QString &name : {QStringLiteral("subledgernature"), QStringLiteral("unit"), QStringLiteral("bussinessunits"),
                                QStringLiteral("papointdatatype"), QStringLiteral("datatype"),
                                QStringLiteral("setbankaccount")})
        EXPECT_TRUE(QFile::exists(out + QStringLiteral("/real-dialog-") + name + QStringLiteral(".png"))) << name.toStdString();
}
