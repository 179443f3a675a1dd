// Account creation on the whole stand-in installation: the base account set
// restored from its backup, options, service packs and staging copies of the
// standard and mini samples. Skipped while the server cannot back up,
// restore or read a source through OpenDataSource.
#include <algorithm>
#include <functional>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>

#include "kit/CreateAcctFixture.h"
#include "accounts/CXRAc.h"
#include "accounts/StagedTables.h"
#include "accounts/clsCreateAcct.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/MessageScript.h"
#include "platform/PnwDictionary.h"
#include "platform/dao/DBEngine.h"
#include "server/FaultInjection.h"
#include "support/SampleFiles.h"
#include "support/SampleVariant.h"

namespace {

const QString kNumber = QStringLiteral("A01");

}  // namespace

class CreateAcctEndToEnd : public CreateAcctFixture {
protected:
    void SetUp() override {
        CreateAcctFixture::SetUp();
        const QString why = layOutBase();
        ASSERT_TRUE(why.isEmpty()) << why.toStdString();
    }

    QString sourceSelect(const QString &table) const {
        return QStringLiteral("SELECT * FROM OpenDataSource( 'Microsoft.Jet.OLEDB.4.0','") +
               clsCreateAcct::SourceConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"), source) +
               QStringLiteral("')...[") + table + QStringLiteral("]");
    }

    QString one(const QString &database, const QString &sql) const { return server.value(database, sql); }

    // What a retry does first: the set a failed creation left is deleted.
    void dropIfCreated() {
        auto admin = ServerAdmin();
        if (admin->ExistAcct(kNumber)) {
            EXPECT_TRUE(admin->DeleteAcct(kNumber));
        }
    }

    // Every staged table against its source table.
    void checkStaging() {
        std::unique_ptr<dao::Database> db = OpenSourceFile(source);
        int staged = 0;
        for (int i = 0; i < db->TableDefs().Count(); ++i) {
            const dao::TableDef &def = db->TableDefs().Item(i);
            const QString t = def.Name();
            const QString copy = QStringLiteral("AIS_") + t;
            if (!IsStagedTable(t) || def.Fields().Count() == 0) {
                EXPECT_NE(server.run(kNumber, QStringLiteral("SELECT 1 FROM [%1]").arg(copy)), QString())
                    << t.toStdString();
                continue;
            }
            SCOPED_TRACE(t.toStdString());
            ++staged;
            QStringList columns;
            for (int f = 0; f < def.Fields().Count(); ++f) columns.append(def.Fields().Item(f).Name());
            columns.append(QStringLiteral("FZ8InterID"));
            EXPECT_EQ(server.rows(kNumber, QStringLiteral("select c.name from syscolumns c inner join sysobjects o on "
                                                          "c.id = o.id where o.name = '%1' order by c.colid")
                                               .arg(copy)),
                      columns);
            EXPECT_EQ(one(kNumber, QStringLiteral("SELECT COUNT(*) FROM [%1] WHERE FZ8InterID IS NOT NULL").arg(copy)),
                      QStringLiteral("0"));
            QStringList expected = server.rows(QStringLiteral("master"), sourceSelect(t));
            if (t.compare(QLatin1String("GLVch"), Qt::CaseInsensitive) == 0)
                expected =
                    server.rows(QStringLiteral("master"), sourceSelect(t) + QStringLiteral(" WHERE NOT (FDeleted=1)"));
            QStringList actual;
            for (const QString &row : server.rows(kNumber, QStringLiteral("SELECT * FROM [%1]").arg(copy)))
                actual.append(row.left(row.lastIndexOf(QLatin1Char('\t'))));
            if (t.compare(QLatin1String("GLAcct"), Qt::CaseInsensitive) == 0) {
                EXPECT_EQ(actual.size(), expected.size());
                EXPECT_EQ(one(kNumber, QStringLiteral("SELECT COUNT(*) FROM AIS_GLAcct WHERE Fbank=1 AND Fiscash<>0")),
                          QStringLiteral("0"));
            } else {
                EXPECT_EQ(actual.size(), expected.size());
                std::sort(actual.begin(), actual.end());
                std::sort(expected.begin(), expected.end());
                EXPECT_EQ(actual, expected);
            }
        }
        EXPECT_GT(staged, 20);
    }
};

TEST_F(CreateAcctEndToEnd, CreatesTheAccountSetFromEachSample) {
    struct Case {
        const char *sample;
        const char *edition;
    };
    for (const Case &c : {Case{"standard", "标准版"}, Case{"mini", "迷你版"}}) {
        SCOPED_TRACE(c.sample);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        useSettings(copySample(QString::fromUtf8(c.sample), false), kNumber);
        ASSERT_EQ(runCreation(), 0) << logRows().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(g_SourceEdition, QString::fromUtf8(c.edition));
        EXPECT_EQ(logRows(), (QStringList{QStringLiteral("成功\t创建目标账套\t获取标准版（迷你版）的账套信息"),
                                          QStringLiteral("成功\t创建目标账套\t恢复基础账套"),
                                          QStringLiteral("成功\t创建目标账套\t执行账套升级脚本"),
                                          QStringLiteral("成功\t创建临时表\t创建临时表")}));
        EXPECT_TRUE(server.databaseExists(kNumber));
        EXPECT_TRUE(QFileInfo::exists(server.dbFolder() + QStringLiteral("/A01_Data.mdf")));
        EXPECT_TRUE(QFileInfo::exists(server.dbFolder() + QStringLiteral("/A01_log.ldf")));
        EXPECT_EQ(one(QStringLiteral("AcctCtl"), QStringLiteral("select FAcctNumber, FAcctName, FDBName, FVersion, "
                                                                "FServer from t_ad_xrAccount_gl")),
                  QStringLiteral("A01\t升级账套\tA01\tSP002\tVEQSERVER"));
        EXPECT_EQ(
            one(QStringLiteral("master"), QStringLiteral("select cacc_name, cdbname, cDBVersion from t_XRAccount_gl "
                                                         "where cdbname='A01'")),
            QStringLiteral("升级账套\tA01\t14.1"));
        const QString company =
            one(QStringLiteral("master"), sourceSelect(QStringLiteral("GLpref"))
                                              .replace(QStringLiteral("SELECT *"), QStringLiteral("SELECT FCompany")));
        struct Option {
            const char *category, *key;
            QString value;
        };
        const Option options[] = {
            {"General", "CompanyName", company},
            {"General", "CompanyType", QStringLiteral("1")},
            {"General", "Description",
             QStringLiteral("本账套由") + QString::fromUtf8(c.edition) + QStringLiteral("账套升级生成")},
            {"IC", "UnderStock", QStringLiteral("0")},
            {"IC", "UPSTOCKWHENSAVE", QStringLiteral("0")},
            {"FA", "FALinkedGL", QStringLiteral("1")},
            {"Base", "ServicePack", QStringLiteral("SP002")},
        };
        for (const Option &o : options)
            EXPECT_EQ(
                one(kNumber, QStringLiteral("select FValue from t_SystemProfile where FCategory='%1' and FKey='%2'")
                                 .arg(QLatin1String(o.category), QLatin1String(o.key))),
                o.value)
                << o.key;
        EXPECT_EQ(one(kNumber, QStringLiteral("select count(*) from t_SPHistory")), QStringLiteral("5"));
        checkStaging();
        auto admin = ServerAdmin();
        EXPECT_EQ(g_TargetConnectString, admin->GetConnectString(kNumber, QString()));
        EXPECT_EQ(bar->Value(), 90);
        // What a retry does first.
        EXPECT_TRUE(admin->DeleteAcct(kNumber));
        EXPECT_FALSE(server.databaseExists(kNumber));
        EXPECT_TRUE(registryRows().isEmpty());
    }
}

TEST_F(CreateAcctEndToEnd, ACancelAtEachPointLeavesNothingOnceDeleted) {
    struct Case {
        const char *point;
        QString afterEntry;  // the log entry on which the operator cancels
        int entries;
    };
    const Case cases[] = {
        {"before the restore", QStringLiteral("获取标准版（迷你版）的账套信息"), 1},
        {"after the restore", QStringLiteral("恢复基础账套"), 2},
        {"after the scripts", QStringLiteral("执行账套升级脚本"), 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.point);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        useSettings(copySample(QStringLiteral("standard"), true), kNumber);
        const QString trigger = c.afterEntry;
        UpgradeLogSink previous = SetUpgradeLogSink([trigger](const UpgradeLogLine &line) {
            if (line.description == trigger) g_CancelRequested = true;
        });
        EXPECT_EQ(runCreation(), 2);
        SetUpgradeLogSink(previous);
        EXPECT_EQ(logRows().size(), c.entries);
        auto admin = ServerAdmin();
        if (admin->ExistAcct(kNumber)) admin->DeleteAcct(kNumber);
        g_CancelRequested = false;
        EXPECT_FALSE(server.databaseExists(kNumber));
        EXPECT_TRUE(registryRows().isEmpty());
    }
}

TEST_F(CreateAcctEndToEnd, ACancelWhileStagingIsNoSuccess) {
    useSettings(copySample(QStringLiteral("standard"), true), kNumber);
    QObject::connect(bar, &ProgressBar::propertyChanged, bar, [this](const QString &) {
        if (label->text() == QStringLiteral("正在创建临时表...") && bar->Value() > 5) g_CancelRequested = true;
    });
    EXPECT_EQ(runCreation(), 2);
    EXPECT_EQ(logRows().size(), 3);  // no staging entry
    auto admin = ServerAdmin();
    EXPECT_TRUE(admin->DeleteAcct(kNumber));
    g_CancelRequested = false;
    EXPECT_FALSE(server.databaseExists(kNumber));
    EXPECT_TRUE(registryRows().isEmpty());
}

// The server opens the source anew for every staged table: a source
// replaced or rewritten between two of them fails the creation naming the
// file, instead of staging a mix of two files.
TEST_F(CreateAcctEndToEnd, ASourceChangedBetweenTwoStagedTablesFailsTheCreation) {
    struct Case {
        const char *what;
        std::function<bool(const QString &source, const QString &other)> change;
    };
    const Case cases[] = {
        {"another file renamed over it",
         [](const QString &source, const QString &other) {
             return ::rename(QFile::encodeName(other).constData(), QFile::encodeName(source).constData()) == 0;
         }},
        {"rewritten in place",
         [](const QString &source, const QString &other) {
             QFile from(other), to(source);
             if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::ReadWrite)) return false;
             return to.write(from.readAll()) > 0;
         }},
        {"rewritten past its header page, its modification time put back",
         [](const QString &source, const QString &other) {
             const QByteArray name = QFile::encodeName(source);
             struct stat before {};
             QFile from(other), to(source);
             if (::stat(name.constData(), &before) != 0 || !from.open(QIODevice::ReadOnly) ||
                 !to.open(QIODevice::ReadWrite) || from.size() != to.size() || !from.seek(4096) || !to.seek(4096))
                 return false;
             if (to.write(from.readAll()) <= 0) return false;
             to.close();
             const struct timespec times[2] = {before.st_atim, before.st_mtim};
             return ::utimensat(AT_FDCWD, name.constData(), times, 0) == 0;
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        const QString standard = copySample(QStringLiteral("standard"), true);
        // The same tables with other data: nothing else would tell the mix.
        const QString other =
            BuildSampleVariant(server.path() + QStringLiteral("/other"), {{"FCompany", "另一家公司"}});
        ASSERT_FALSE(other.isEmpty());
        useSettings(standard, kNumber);
        bool changed = false;
        const QMetaObject::Connection hook =
            QObject::connect(bar, &ProgressBar::propertyChanged, bar, [&, this](const QString &) {
                if (!changed && label->text() == QStringLiteral("正在创建临时表...") && bar->Value() > 5)
                    changed = c.change(standard, other);
            });
        EXPECT_EQ(runCreation(), 2);
        QObject::disconnect(hook);
        EXPECT_TRUE(changed);
        const QStringList log = logRows();
        ASSERT_FALSE(log.isEmpty());
        EXPECT_TRUE(log.last().startsWith(QStringLiteral("错误\t创建目标账套\t创建临时表发生错误：")))
            << log.last().toStdString();
        EXPECT_TRUE(log.last().contains(standard + QStringLiteral("在创建账套的过程中被替换或改动")))
            << log.last().toStdString();
        sourceHash = FileHash(standard);  // the test changed it, not the creation
        dropIfCreated();
    }
}

TEST_F(CreateAcctEndToEnd, MissingBackupsAndBadNumbersFailBeforeAnyRegistration) {
    struct Case {
        const char *what;
        QString number;
        QStringList remove;         // files of the installation removed first
        QString description;        // how the last log entry ends, or its first line
        QString reason;             // what the entry and the message say after it, or ""
        bool fileAsFolder = false;  // the server folder is a file: nothing can be made in it
    };
    const QString sqldb = server.commonFolder() + QStringLiteral("SQLDB/");
    const QString restoreFailed = QStringLiteral("恢复基础账套出现错误，升级账套中止。");
    // In this order: each case leaves the files it removed missing.
    const Case cases[] = {
        {"bad number", QStringLiteral("a-b"), {}, QStringLiteral("恢复基础账套发生错误：非法的账套号！"), QString()},
        {"a server folder the server cannot write", kNumber, {}, restoreFailed, QStringLiteral("错误描述:"), true},
        {"missing backup",
         kNumber,
         {sqldb + QStringLiteral("SQLDBBack.bak"), sqldb + QStringLiteral("SQLDBBack_2008.bak")},
         restoreFailed,
         QStringLiteral("用于恢复的数据文件")},
        {"missing description file",
         kNumber,
         {sqldb + QStringLiteral("SQLDBBack.dbb"), sqldb + QStringLiteral("SQLDBBack_2008.dbb")},
         QString(),
         QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        for (const QString &file : c.remove) QFile::remove(file);
        useSettings(copySample(QStringLiteral("standard"), true), c.number);
        if (c.fileAsFolder) {
            const QString notAFolder = server.path() + QStringLiteral("/not-a-folder");
            QFile f(notAFolder);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            PnwDictionary record = g_UpgradeSettings.DictionaryItem(1);
            record.setItem(QStringLiteral("DBDir"), notAFolder);
        }
        MessageScript script;
        EXPECT_EQ(runCreation(), 2);
        const QStringList log = logRows();
        ASSERT_FALSE(log.isEmpty());
        if (!c.reason.isEmpty()) {
            // The server's or the system's reason follows the entry's text,
            // in the log and in the message.
            const QString entry = log.last();
            EXPECT_TRUE(entry.contains(c.description + QStringLiteral("\r\n") + c.reason)) << entry.toStdString();
            ASSERT_EQ(script.count(), 1);
            EXPECT_TRUE(
                script.last().prompt.startsWith(QStringLiteral("【发生错误】恢复基础账套出现错误。\r\n") + c.reason))
                << script.last().prompt.toStdString();
        } else if (!c.description.isEmpty()) {
            EXPECT_TRUE(log.last().endsWith(c.description)) << log.last().toStdString();
        } else {
            EXPECT_TRUE(log.last().contains(QStringLiteral("在读服务器端的备份说明文件时出错，找不到文件：")));
        }
        EXPECT_TRUE(registryRows().isEmpty());
        EXPECT_FALSE(server.databaseExists(c.number));
    }
}

TEST_F(CreateAcctEndToEnd, TheOptionsRowDecidesWhetherTheSourceCanBeUpgraded) {
    const QString phase = QStringLiteral("获取标准版（迷你版）的账套信息发生错误：");
    struct Case {
        const char *what;
        QList<QPair<QString, QString>> changes;
        QString failure;  // "" when the creation succeeds
    };
    const Case cases[] = {
        {"edition 2", {{"FProgramVersion", "2"}}, phase + QStringLiteral("你要升级账套不是标准版（迷你版）。")},
        {"writer one below",
         {{"LastAppWriterID", "201300128"}},
         phase + QStringLiteral("你要升级的标准版低于9.1SP1，请升级到9.1SP1或以上版本后升级。")},
        {"writer at the limit", {{"LastAppWriterID", "201300129"}}, QString()},
        {"initialisation open",
         {{"FClosed", "0"}, {"FICClosed", "0"}},
         phase + QStringLiteral("您所选择的标准版账套还没有结束初始化，不能升级。")},
        {"ledger closed only", {{"FClosed", "1"}, {"FICClosed", "0"}}, QString()},
        {"24 periods",
         {{"FPeriodsPerYear", "24"}},
         phase + QStringLiteral("你要升级的标准版年度会计期间总数不是12期或者13期，不支持升级到VEQ专业版。")},
        {"13 periods", {{"FPeriodsPerYear", "13"}}, QString()},
        {"quotes in the company texts",
         {{"FCompany", "O'Neil's 公司"}, {"FPhone", "'010'"}, {"FAddress", "街道'"}},
         QString()},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        const QString ais =
            BuildSampleVariant(server.path() + QStringLiteral("/variant") + QString::number(++n), c.changes);
        ASSERT_FALSE(ais.isEmpty());
        source = ais;
        sourceHash = FileHash(ais);
        useSettings(ais, kNumber);
        const int result = runCreation();
        const QStringList log = logRows();
        if (!c.failure.isEmpty()) {
            EXPECT_EQ(result, 2);
            EXPECT_EQ(log, QStringList{QStringLiteral("错误\t创建目标账套\t") + c.failure});
            EXPECT_FALSE(server.databaseExists(kNumber));
        } else {
            EXPECT_EQ(result, 0) << log.join(QLatin1Char('\n')).toStdString();
            for (const auto &change : c.changes) {
                if (change.first == QLatin1String("FCompany")) {
                    EXPECT_EQ(
                        one(kNumber, QStringLiteral("select FValue from t_SystemProfile where FCategory='General' "
                                                    "and FKey='CompanyName'")),
                        change.second);
                }
                if (change.first == QLatin1String("FAddress")) {
                    EXPECT_EQ(
                        one(kNumber, QStringLiteral("select FValue from t_SystemProfile where FCategory='General' "
                                                    "and FKey='CompanyAddress'")),
                        change.second);
                }
            }
            EXPECT_TRUE(ServerAdmin()->DeleteAcct(kNumber));
        }
        EXPECT_EQ(FileHash(ais), sourceHash);
        EXPECT_TRUE(registryRows().isEmpty());
    }
}

// The source's columns may be wider than the option's column of the new set:
// the value is stored cut to 255 characters and the cut is logged.
TEST_F(CreateAcctEndToEnd, AnOverlongPhoneOrAddressIsStoredCutAndLogged) {
    struct Case {
        const char *column;
        const char *key;
        QString field;
        QString value;
    };
    const QString digits = QStringLiteral("0123456789").repeated(30);
    const QString street = QStringLiteral("浦东新区张江路").repeated(43).left(300);
    const Case cases[] = {
        {"FPhone", "CompanyPhone", QStringLiteral("公司电话"), digits},
        {"FAddress", "CompanyAddress", QStringLiteral("公司地址"), street},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.column);
        ASSERT_EQ(c.value.size(), 300);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        const QString ais = BuildSampleVariant(server.path() + QStringLiteral("/long") + QString::number(++n),
                                               {{QLatin1String(c.column), c.value}});
        ASSERT_FALSE(ais.isEmpty());
        source = ais;
        sourceHash = FileHash(ais);
        useSettings(ais, kNumber);
        EXPECT_EQ(runCreation(), 0);
        EXPECT_EQ(one(kNumber, QStringLiteral("select FValue from t_SystemProfile where FCategory='General' "
                                              "and FKey='%1'")
                                   .arg(QLatin1String(c.key))),
                  c.value.left(255));
        const QString warning =
            QStringLiteral("警告\t创建目标账套\t") + c.field + QStringLiteral("超过255个字符，已截断为前255个字符");
        EXPECT_EQ(logRows().count(warning), 1) << logRows().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(ServerAdmin()->DeleteAcct(kNumber));
    }
}

TEST_F(CreateAcctEndToEnd, TheServerDecidesTheProviderAndTheBackup) {
    const QString jet = QStringLiteral("Microsoft.Jet.OLEDB.4.0"), ace = QStringLiteral("Microsoft.ACE.OLEDB.12.0");
    struct Case {
        const char *what;
        QString providers, version;
        QString provider;  // the provider the options row is read with
        bool useAce;
        bool ok;
    };
    const Case cases[] = {
        {"Jet missing", ace, QStringLiteral("Microsoft SQL Server 2014 - 12.0.2000.8 (X64)"), ace, false, true},
        {"64-bit 2008 R2", jet + QLatin1Char(';') + ace,
         QStringLiteral("Microsoft SQL Server 2008 R2 (SP2) - 10.50.4000.0 (X64)"), jet, true, true},
        {"32-bit 2012", jet + QLatin1Char(';') + ace,
         QStringLiteral("Microsoft SQL Server 2012 - 11.0.2100.60 (Intel X86)"), jet, false, true},
        {"64-bit 2008 without ACE", jet, QStringLiteral("Microsoft SQL Server 2008 (SP3) - 10.0.5500.0 (X64)"), jet,
         true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        server.setServerSetting(QStringLiteral("providers"), c.providers);
        if (!c.version.isEmpty()) server.setServerSetting(QStringLiteral("version"), c.version);
        useSettings(copySample(QStringLiteral("mini"), true), kNumber);
        clsCreateAcct step;
        const int result = step.UpgradeData(bar, label, QString());
        EXPECT_EQ(step.provider(), c.provider);
        EXPECT_EQ(step.usesAce(), c.useAce);
        const QStringList log = logRows();
        if (c.ok) {
            EXPECT_EQ(result, 0) << log.join(QLatin1Char('\n')).toStdString();
            EXPECT_EQ(one(kNumber, QStringLiteral("SELECT COUNT(*) FROM AIS_GLPref")), QStringLiteral("1"));
        } else {
            EXPECT_EQ(result, 2);
            ASSERT_FALSE(log.isEmpty());
            // The copy names the missing ACE provider, which the log tells
            // as a source too old for it.
            EXPECT_EQ(log.last(),
                      QStringLiteral("错误\t创建目标账套\t创建临时表发生错误：源帐套是Access2007以下版本数据库，请手动"
                                     "使用Access2007及以上版本先对源帐套数据库进行升级后重试！"));
        }
        dropIfCreated();
        EXPECT_TRUE(registryRows().isEmpty());
    }
}

TEST_F(CreateAcctEndToEnd, AnUnreadableSourceIsReported) {
    struct Case {
        const char *what;
        QString providers;
        QString ending;  // how the logged description ends
    };
    const Case cases[] = {
        {"through Jet", QStringLiteral("Microsoft.Jet.OLEDB.4.0;Microsoft.ACE.OLEDB.12.0"), QString()},
        {"through ACE only", QStringLiteral("Microsoft.ACE.OLEDB.12.0"),
         QStringLiteral(
             "源帐套是Access2007以下版本数据库，请手动使用Access2007及以上版本先对源帐套数据库进行升级后重试！")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        server.setServerSetting(QStringLiteral("providers"), c.providers);
        const QString broken = copySample(QStringLiteral("mini"), true);
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(4096, 'x'));
        f.close();
        sourceHash = FileHash(broken);
        useSettings(broken, kNumber);
        EXPECT_EQ(runCreation(), 2);
        const QStringList log = logRows();
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(
            log.first().startsWith(QStringLiteral("错误\t创建目标账套\t获取标准版（迷你版）的账套信息发生错误：")))
            << log.first().toStdString();
        if (!c.ending.isEmpty()) {
            EXPECT_TRUE(log.first().endsWith(c.ending)) << log.first().toStdString();
        }
        EXPECT_FALSE(server.databaseExists(kNumber));
    }
}

// A staged table whose rows differ from the count its definition records,
// and a source cut short (a copy that stopped half way): the creation stops
// saying the source file is damaged, naming the table, with the server's
// reason, whichever provider read it, never advising a newer Access.
TEST_F(CreateAcctEndToEnd, ADamagedTableStopsTheCreationAsADamagedFile) {
    struct Case {
        const char *what;
        std::function<void(QByteArray &bytes)> damage;
        QString told;  // what the entry says besides the damaged-file message
    };
    const Case cases[] = {
        {"rows unlike the definition's count",
         [](QByteArray &bytes) {
             // GLCls's definition page: the one naming its column FObjTableName.
             const QByteArray column = QByteArray("F\0O\0b\0j\0T\0a\0b\0l\0e\0N\0a\0m\0e\0", 26);
             for (qsizetype page = 0; page + 4096 <= bytes.size(); page += 4096)
                 if (bytes[page] == 0x02 && bytes.mid(page, 4096).contains(column)) {
                     bytes[page + 16] = static_cast<char>(bytes[page + 16] + 1);
                     return;
                 }
             ADD_FAILURE() << "no definition of GLCls";
         },
         QStringLiteral("GLCls")},
        {"cut short", [](QByteArray &bytes) { bytes.truncate(bytes.size() / 2 / 4096 * 4096); },
         QStringLiteral("已损坏或不完整")},
    };
    for (const Case &c : cases)
        for (const QString &providers : {QStringLiteral("Microsoft.Jet.OLEDB.4.0;Microsoft.ACE.OLEDB.12.0"),
                                         QStringLiteral("Microsoft.ACE.OLEDB.12.0")}) {
            SCOPED_TRACE(c.what + std::string(" ") + providers.toStdString());
            server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
            server.setServerSetting(QStringLiteral("providers"), providers);
            const QString damaged = copySample(QStringLiteral("standard"), true);
            QFile f(damaged);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            QByteArray bytes = f.readAll();
            c.damage(bytes);
            ASSERT_TRUE(f.resize(0));
            f.seek(0);
            f.write(bytes);
            f.close();
            sourceHash = FileHash(damaged);
            useSettings(damaged, kNumber);
            EXPECT_EQ(runCreation(), 2);
            const QString log = logRows().join(QLatin1Char('\n'));
            EXPECT_TRUE(log.contains(QStringLiteral("源账套文件已损坏，无法读取表"))) << log.toStdString();
            EXPECT_TRUE(log.contains(c.told)) << log.toStdString();
            EXPECT_FALSE(log.contains(QStringLiteral("Access2007"))) << log.toStdString();
            // The wizard deletes a set whose creation failed before a retry.
            dropIfCreated();
        }
}

// A table the steps read that the file cannot give, because its catalogue
// entry or its definition is damaged: the creation stops saying the source
// file is damaged and naming the table, instead of staging without it.
TEST_F(CreateAcctEndToEnd, ARequiredTableTheFileCannotGiveStopsTheCreationAsADamagedFile) {
    struct Case {
        const char *what;
        jet::JetWriter::Options options;
        QByteArray definitionColumn;  // names the definition whose column count is damaged, or empty
        QString table;
    };
    jet::JetWriter::Options droppedPeriods;
    droppedPeriods.droppedTables = {"GLPeriod"};
    const Case cases[] = {
        {"catalogue entry flagged deleted", droppedPeriods, QByteArray(), QStringLiteral("GLPeriod")},
        {"definition damaged", jet::JetWriter::Options(), QByteArray("F\0S\0e\0t\0t\0C\0o\0d\0e\0", 18),
         QStringLiteral("GLSettle")},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        const QString ais =
            BuildSampleVariant(server.path() + QStringLiteral("/damaged") + QString::number(++n), {}, c.options);
        ASSERT_FALSE(ais.isEmpty());
        if (!c.definitionColumn.isEmpty()) {
            QFile f(ais);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            QByteArray bytes = f.readAll();
            qsizetype tdef = -1;
            for (qsizetype page = 0; page + 4096 <= bytes.size() && tdef < 0; page += 4096)
                if (bytes[page] == 0x02 && bytes.mid(page, 4096).contains(c.definitionColumn)) tdef = page;
            ASSERT_GE(tdef, 0);
            bytes[tdef + 45] = char(0xFF);  // the column count, beyond any definition
            bytes[tdef + 46] = char(0xFF);
            f.seek(0);
            f.write(bytes);
        }
        source = ais;
        sourceHash = FileHash(ais);
        useSettings(ais, kNumber);
        EXPECT_EQ(runCreation(), 2);
        const QStringList log = logRows();
        ASSERT_FALSE(log.isEmpty());
        EXPECT_TRUE(
            log.last().endsWith(QStringLiteral("源账套文件已损坏，无法读取表") + c.table + QStringLiteral("。")))
            << log.last().toStdString();
        dropIfCreated();
    }
}

// The service-pack list and the scripts it names, broken one way at a time.
TEST_F(CreateAcctEndToEnd, ABrokenServicePackEndsTheCreationWithItsEntryAndMessage) {
    const QString folder = server.commonFolder() + QStringLiteral("SqlSrv/");
    const auto rewrite = [](const QString &path, const std::function<QByteArray(QByteArray)> &change) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return false;
        const QByteArray changed = change(f.readAll());
        f.close();
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(changed) == changed.size();
    };
    struct Case {
        const char *what;
        QString file;
        std::function<QByteArray(QByteArray)> change;
        QString entry;
        QString message;         // "" for none
        QString reason;          // the server's words after the entry and the message, or ""
        bool diskFills = false;  // the first history row of the scripts finds the disk full
    };
    const QString scriptFailed = QStringLiteral("错误\t创建目标账套\t执行升级脚本发生错误，升级账套中止。");
    const QString scriptMessage = QStringLiteral("【发生错误】执行升级脚本发生错误。");
    const Case cases[] = {
        {"no version in the list", QStringLiteral("PitchUptVEQ.lst"),
         [](QByteArray text) { return text.replace("Version=SP002", ""); },
         QStringLiteral("错误\t创建目标账套\t执行账套升级脚本发生错误：服务包列表没有给出版本（ServicePack_Industry/"
                        "Version）。"),
         QString(), QString()},
        {"a failing script", QStringLiteral("SP002_Base.sql"),
         [](QByteArray text) { return "SELECT FValue FROM no_such_table\r\nGO\r\n" + text; }, scriptFailed,
         scriptMessage, QStringLiteral("对象名 'no_such_table' 无效。")},
        {"the disk fills during a script", QStringLiteral("PitchUptVEQ.lst"), [](QByteArray text) { return text; },
         scriptFailed, scriptMessage, QStringLiteral("文件组已满"), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = folder + c.file;
        QFile original(path);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        const QByteArray saved = original.readAll();
        original.close();
        ASSERT_TRUE(rewrite(path, c.change));
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        useSettings(copySample(QStringLiteral("standard"), true), kNumber);
        MessageScript script;
        if (c.diskFills)
            server::FailStatementWhen([](std::string_view sql) { return server::WritesTable(sql, "t_SPHistory"); },
                                      1105);
        EXPECT_EQ(runCreation(), 2);
        if (c.diskFills) {
            EXPECT_TRUE(server::FaultFired());
        }
        server::ResetFaults();
        const QStringList log = logRows();
        ASSERT_FALSE(log.isEmpty());
        if (c.reason.isEmpty()) {
            EXPECT_EQ(log.last(), c.entry);
        } else {
            EXPECT_TRUE(log.last().startsWith(c.entry + QStringLiteral("\r\n"))) << log.last().toStdString();
            EXPECT_TRUE(log.last().contains(c.reason)) << log.last().toStdString();
        }
        if (c.message.isEmpty()) {
            EXPECT_EQ(script.count(), 0);
        } else {
            ASSERT_EQ(script.count(), 1);
            EXPECT_TRUE(
                script.last().prompt.startsWith(c.reason.isEmpty() ? c.message : c.message + QStringLiteral("\r\n")))
                << script.last().prompt.toStdString();
            EXPECT_TRUE(script.last().prompt.contains(c.reason)) << script.last().prompt.toStdString();
            EXPECT_EQ(script.last().buttons, 16);
        }
        ASSERT_TRUE(rewrite(path, [&](QByteArray) { return saved; }));
        dropIfCreated();
    }
}

// Quotes, ";" and blanks in the source's folder reach OpenDataSource intact
// (the provider's text quotes such a value), and a quote in the server
// folder reaches RESTORE's MOVE.
TEST_F(CreateAcctEndToEnd, QuotesAndSeparatorsInTheSourceAndServerFoldersAreKept) {
    const QString folders[] = {QStringLiteral("/O'Neil 账套"), QStringLiteral("/a;b 'c\" d ;e"),
                               QStringLiteral("/ lead;\"")};
    int n = 0;
    for (const QString &folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        const QString sourceFolder = server.path() + folder;
        const QString dbFolder = server.path() + QStringLiteral("/db'files") + QString::number(++n);
        ASSERT_TRUE(QDir().mkpath(sourceFolder));
        ASSERT_TRUE(QDir().mkpath(dbFolder));
        source = CopySample(QStringLiteral("standard"), sourceFolder, true);
        ASSERT_FALSE(source.isEmpty());
        sourceHash = FileHash(source);
        useSettings(source, kNumber);
        PnwDictionary record = g_UpgradeSettings.DictionaryItem(1);
        record.setItem(QStringLiteral("DBDir"), dbFolder);
        EXPECT_EQ(runCreation(), 0) << logRows().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(QFileInfo::exists(dbFolder + QStringLiteral("/") + kNumber + QStringLiteral("_Data.mdf")))
            << QDir(dbFolder).entryList().join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(one(kNumber, QStringLiteral("SELECT COUNT(*) FROM AIS_GLPref")), QStringLiteral("1"));
        EXPECT_EQ(
            one(kNumber, QStringLiteral("SELECT COUNT(*) FROM AIS_GLVchDetail")),
            one(QStringLiteral("master"), sourceSelect(QStringLiteral("GLVchDetail"))
                                              .replace(QStringLiteral("SELECT *"), QStringLiteral("SELECT COUNT(*)"))));
        dropIfCreated();
    }
}

// A set that cannot be dropped (here: the login no longer works) is told,
// and stays for a later try.
TEST_F(CreateAcctEndToEnd, ADropThatFailsIsToldAndTheSetStays) {
    useSettings(copySample(QStringLiteral("mini"), true), kNumber);
    ASSERT_EQ(runCreation(), 0) << logRows().join(QLatin1Char('\n')).toStdString();
    auto admin = ServerAdmin();
    EXPECT_FALSE(admin->CheckRight(QStringLiteral("sa"), QStringLiteral("wrong"), QStringLiteral("."), false));
    {
        MessageScript script;
        EXPECT_FALSE(admin->DeleteAcct(kNumber));
        ASSERT_EQ(script.count(), 1);
        EXPECT_EQ(script.last().prompt, QStringLiteral("创建的数据库删除不成功，请手动删除。"));
        EXPECT_EQ(script.last().buttons, 16);
    }
    EXPECT_TRUE(server.databaseExists(kNumber));
    EXPECT_TRUE(admin->CheckRight(QStringLiteral("sa"), QStringLiteral("pw"), QStringLiteral("."), false));
    EXPECT_TRUE(admin->DeleteAcct(kNumber));
    EXPECT_FALSE(server.databaseExists(kNumber));
}

// Two description files: the one for the server's version is read. Here the
// plain one names a data file the backup lacks, so only a restore through
// the 2008 description can succeed.
TEST_F(CreateAcctEndToEnd, TheDescriptionFileOfTheServersVersionIsRead) {
    const QString plain = server.commonFolder() + QStringLiteral("SQLDB/SQLDBBack.dbb");
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = f.readAll().split('\n');
    f.close();
    ASSERT_GT(lines.size(), 3);
    lines[2] = lines[2].left(lines[2].indexOf(':') + 1) + "NoSuchFile\r";
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(lines.join('\n'));
    f.close();
    struct Case {
        QString version;
        int result;
    } cases[] = {
        {QStringLiteral("Microsoft SQL Server 2008 R2 (SP2) - 10.50.4000.0 (X64)"), 0},
        {QStringLiteral("Microsoft SQL Server 2016 (SP1) - 13.0.4001.0 (X64)"), 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.version.toStdString());
        server.run(QStringLiteral("AcctCtl"), QStringLiteral("delete from AIS_UpgradeLog_Main"));
        server.setServerSetting(QStringLiteral("version"), c.version);
        useSettings(copySample(QStringLiteral("mini"), true), kNumber);
        MessageScript script;
        EXPECT_EQ(runCreation(), c.result) << logRows().join(QLatin1Char('\n')).toStdString();
        dropIfCreated();
    }
}
