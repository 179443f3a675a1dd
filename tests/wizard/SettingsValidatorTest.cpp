#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "foundation/Globals.h"
#include "platform/PnwError.h"
#include "wizard/SettingsValidator.h"

namespace {

// Lookups over a fixed world: one registered account set, one further
// database, a source file that exists, a folder with a given free space.
struct World {
    QString existingFile = QStringLiteral("/data/demo.ais");
    QString notJet = QStringLiteral("/data/notes.ais");
    QList<RegisteredAccount> registry{{QStringLiteral("AIS2017"), QStringLiteral("旧账套")}};
    QStringList databases{QStringLiteral("AIS2017"), QStringLiteral("Payroll2019")};
    bool folderExists = true;
    qint64 freeMb = 1000;
    QStringList calls;

    SettingsValidator::Lookups lookups() {
        SettingsValidator::Lookups l;
        l.fileExists = [this](const QString &p) { return p == existingFile || p == notJet; };
        l.isJetDatabase = [this](const QString &p) { return p != notJet; };
        l.accounts = [this] { return std::optional<QList<RegisteredAccount>>(registry); };
        l.databases = [this] { return databases; };
        l.checkFolder = [this](const QString &p, const QString &label) {
            calls << label + QLatin1Char(':') + p;
            return folderExists;
        };
        l.freeMegabytes = [this](const QString &) { return freeMb; };
        return l;
    }
};

SettingsInput good() {
    SettingsInput in;
    in.source = QStringLiteral("/data/demo.ais");
    in.acctNumber = QStringLiteral("AIS20180327153045");
    in.acctName = QStringLiteral("演示账套");
    in.dbDir = QStringLiteral("/srv/sql");
    return in;
}

TEST(SettingsValidatorTest, RulesFailInOrderWithTheirMessages) {
    using F = SettingsField;
    const struct {
        const char *name;
        std::function<void(SettingsInput &)> change;
        const char *message;
        SettingsField focus;
    } cases[] = {
        {"no source", [](SettingsInput &i) { i.source.clear(); }, "请选择需要升级的VEQ标准版/迷你版账套！", F::Source},
        {"no source, no number",
         [](SettingsInput &i) {
             i.source.clear();
             i.acctNumber.clear();
         },
         "请选择需要升级的VEQ标准版/迷你版账套！", F::Source},
        {"no number", [](SettingsInput &i) { i.acctNumber.clear(); }, "账套号不可为空，请输入内容！", F::AcctNumber},
        {"no name", [](SettingsInput &i) { i.acctName.clear(); }, "账套名称不可为空，请输入内容！", F::AcctName},
        {"no folder", [](SettingsInput &i) { i.dbDir.clear(); }, "账套文件保存路径不可为空，请设置路径！", F::DBDir},
        {"missing file", [](SettingsInput &i) { i.source = QStringLiteral("/data/gone.ais"); },
         "你填写的VEQ标准版(迷你版)账套文件不存在！", F::Source},
        {"not a Jet file", [](SettingsInput &i) { i.source = QStringLiteral("/data/notes.ais"); },
         "文件“/data/notes.ais”不是VEQ标准版(迷你版)账套文件（Access数据库），请重新选择。", F::Source},
        {"number starts with a digit", [](SettingsInput &i) { i.acctNumber = QStringLiteral("2018AIS"); },
         "账套号首字符不可为数字，请重新输入。", F::AcctNumber},
        {"digit before underscore", [](SettingsInput &i) { i.acctNumber = QStringLiteral("1_A"); },
         "账套号首字符不可为数字，请重新输入。", F::AcctNumber},
        {"underscore", [](SettingsInput &i) { i.acctNumber = QStringLiteral("AIS_1"); },
         "账套号项输入内容不符合规范，账套号只允许英文字母和数字！", F::AcctNumber},
        {"81 characters", [](SettingsInput &i) { i.acctNumber = QStringLiteral("A").repeated(81); },
         "账套号项输入内容不符合规范，账套号只允许英文字母和数字！", F::AcctNumber},
        {"name with a dot", [](SettingsInput &i) { i.acctName = QStringLiteral("演示.账套"); },
         "账套名称项输入内容不不符合规范，请不要使用“.”、空格等特殊符号。", F::AcctName},
        {"name with a quote", [](SettingsInput &i) { i.acctName = QStringLiteral("演示'账套"); },
         "账套名称项输入内容不不符合规范，请不要使用“.”、空格等特殊符号。", F::AcctName},
        {"registered number",
         [](SettingsInput &i) {
             i.acctNumber = QStringLiteral("AIS2017");
             i.acctName = QStringLiteral("旧账套");
         },
         "账套号:AIS2017已使用，请重新输入。", F::AcctNumber},
        {"registered number in other case", [](SettingsInput &i) { i.acctNumber = QStringLiteral("ais2017"); },
         "账套号:ais2017已使用，请重新输入。", F::AcctNumber},
        {"a database of that name", [](SettingsInput &i) { i.acctNumber = QStringLiteral("Payroll2019"); },
         "账套号:Payroll2019已使用，请重新输入。", F::AcctNumber},
        {"reserved master", [](SettingsInput &i) { i.acctNumber = QStringLiteral("master"); },
         "账套号:master已使用，请重新输入。", F::AcctNumber},
        {"reserved AcctCtl", [](SettingsInput &i) { i.acctNumber = QStringLiteral("ACCTCTL"); },
         "账套号:ACCTCTL已使用，请重新输入。", F::AcctNumber},
        {"registered name", [](SettingsInput &i) { i.acctName = QStringLiteral("旧账套"); },
         "账套名称:旧账套已使用，请重新输入。", F::AcctName},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        World world;
        SettingsInput in = good();
        c.change(in);
        const SettingsVerdict v = SettingsValidator(world.lookups()).validate(in);
        EXPECT_EQ(v.kind, SettingsVerdict::Rejected);
        EXPECT_EQ(v.message, QString::fromUtf8(c.message));
        EXPECT_EQ(v.focus, c.focus);
        EXPECT_TRUE(world.calls.isEmpty());  // the folder is looked at last
    }
}

TEST(SettingsValidatorTest, FolderAndSpace) {
    World world;
    world.folderExists = false;
    SettingsVerdict v = SettingsValidator(world.lookups()).validate(good());
    EXPECT_EQ(v.kind, SettingsVerdict::FolderRejected);
    EXPECT_EQ(v.focus, SettingsField::DBDir);
    EXPECT_EQ(world.calls, QStringList{QStringLiteral("数据库文件:/srv/sql")});

    const struct {
        qint64 mb;
        bool passes;
    } spaces[] = {{300, true}, {299, false}, {1000, true}, {0, false}};
    for (const auto &s : spaces) {
        World w;
        w.freeMb = s.mb;
        v = SettingsValidator(w.lookups()).validate(good());
        EXPECT_EQ(v.kind == SettingsVerdict::Accepted, s.passes) << s.mb;
        if (!s.passes) {
            EXPECT_EQ(v.message, QStringLiteral("磁盘空间小于300M，请选择另外的磁盘。"));
        }
    }
}

TEST(SettingsValidatorTest, ErrorsOfChecksAndLookupsPassThrough) {
    World world;
    SettingsInput blanks = good();
    blanks.acctNumber = QStringLiteral("   ");
    try {
        SettingsValidator(world.lookups()).validate(blanks);
        FAIL() << "a number of blanks has no first character";
    } catch (const PnwError &e) {
        EXPECT_EQ(e.number(), 5);
    }

    SettingsValidator::Lookups noRegistry = world.lookups();
    noRegistry.accounts = [] { return std::optional<QList<RegisteredAccount>>(); };
    try {
        SettingsValidator(noRegistry).validate(good());
        FAIL() << "a missing registry must raise";
    } catch (const PnwError &e) {
        EXPECT_EQ(e.number(), 91);
        EXPECT_TRUE(e.description().endsWith(QStringLiteral("\r\n请检查是否正确安装VEQ专业版") + g_MinServerVersion +
                                             QStringLiteral("。")));
    }

    // No server component for the free-space rule: the same hint.
    SettingsValidator::Lookups noComponent = world.lookups();
    noComponent.freeMegabytes = [](const QString &) -> qint64 {
        throw PnwError(91, QStringLiteral("ctlSetting.ValidateSettings"),
                       QStringLiteral("对象变量或 With 块变量未设置"));
    };
    try {
        SettingsValidator(noComponent).validate(good());
        FAIL() << "a missing component must raise";
    } catch (const PnwError &e) {
        EXPECT_EQ(e.number(), 91);
        EXPECT_EQ(e.description(), QStringLiteral("对象变量或 With 块变量未设置\r\n请检查是否正确安装VEQ专业版") +
                                       g_MinServerVersion + QStringLiteral("。"));
    }
}

TEST(SettingsValidatorTest, OnlyAJetHeaderMakesASourceFile) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.ais"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just some notes, renamed to .ais\n");
    f.close();
    EXPECT_FALSE(SettingsValidator::HasJetHeader(text));
    EXPECT_FALSE(SettingsValidator::HasJetHeader(dir.filePath(QStringLiteral("missing.ais"))));
    // A FIFO named like a source: refused at once, never waited on.
    const QString fifo = dir.filePath(QStringLiteral("pipe.ais"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(SettingsValidator::HasJetHeader(fifo));
    EXPECT_TRUE(SettingsValidator::HasJetHeader(QStringLiteral(PNW_BINARY_DIR "/samples/standard/standard.ais")));
}

// What the program's own lookups make of a FIFO or a folder chosen as the
// source: no account-set file, with what it is, not a missing file.
TEST(SettingsValidatorTest, AFifoOrFolderSourceIsToldWhatItIs) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.ais"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.ais"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        QString path;
        const char *what;
    } cases[] = {{fifo, "命名管道（FIFO）"}, {folder, "文件夹"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        World world;
        SettingsValidator::Lookups lookups = world.lookups();
        const SettingsValidator::Lookups real = SettingsValidator::defaultLookups();
        lookups.fileExists = real.fileExists;
        lookups.isJetDatabase = real.isJetDatabase;
        SettingsInput in = good();
        in.source = c.path;
        const SettingsVerdict verdict = SettingsValidator(lookups).validate(in);
        EXPECT_EQ(verdict.kind, SettingsVerdict::Rejected);
        EXPECT_EQ(verdict.message, QStringLiteral("文件“") + c.path +
                                       QStringLiteral("”不是VEQ标准版(迷你版)账套文件（Access数据库），请重新选择。"
                                                      "\r\n原因：它是") +
                                       QString::fromUtf8(c.what) + QStringLiteral("，不是普通文件。"));
        EXPECT_EQ(verdict.focus, SettingsField::Source);
    }
}

TEST(SettingsValidatorTest, DefaultNumberAndBlanksAroundTexts) {
    World world;
    SettingsInput in = good();
    in.acctNumber = QStringLiteral("  AIS1  ");
    in.acctName = QStringLiteral(" 演示账套 ");
    EXPECT_EQ(SettingsValidator(world.lookups()).validate(in).kind, SettingsVerdict::Accepted);
    EXPECT_TRUE(SettingsValidator::IsValidAccountNumber(QStringLiteral("AIS20180327153045")));
    EXPECT_FALSE(SettingsValidator::IsValidAccountNumber(QStringLiteral("AIS 1")));
    EXPECT_TRUE(SettingsValidator::IsReservedDatabaseName(QStringLiteral(" TempDB ")));
    EXPECT_FALSE(SettingsValidator::IsReservedDatabaseName(QStringLiteral("masters")));
}

}  // namespace
