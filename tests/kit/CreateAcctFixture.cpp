#include "kit/CreateAcctFixture.h"

#include "accounts/clsCreateAcct.h"
#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "support/QtApp.h"
#include "support/SampleFiles.h"

void CreateAcctFixture::SetUp() {
    ensureQtApp();
    bar = new ProgressBar;
    // The size of the wizard's bars: an unsized widget would draw 640x480
    // pixels at every step of the run.
    bar->resize(400, 40);
    label = new QLabel;
    ASSERT_EQ(server.createMainLogTable(), QString());
}

void CreateAcctFixture::TearDown() {
    delete bar;
    delete label;
    if (!source.isEmpty() && !sourceHash.isEmpty()) {
        EXPECT_EQ(FileHash(source), sourceHash) << "the source changed";
    }
}

QString CreateAcctFixture::copySample(const QString &sample, bool workgroup) {
    source = CopySample(sample, server.path() + QStringLiteral("/src"), workgroup);
    EXPECT_FALSE(source.isEmpty()) << "the sample cannot be copied";
    sourceHash = FileHash(source);
    return source;
}

void CreateAcctFixture::useSettings(const QString &src, const QString &acctNum) {
    PnwDictionary item;
    item.setItem(QStringLiteral("Source"), src);
    item.setItem(QStringLiteral("AcctNum"), acctNum);
    item.setItem(QStringLiteral("AcctName"), QStringLiteral("升级账套"));
    item.setItem(QStringLiteral("DBDir"), QStringLiteral(" ") + server.dbFolder() + QStringLiteral(" "));
    item.setItem(QStringLiteral("Option"), 0);
    g_UpgradeSettings = PnwList();
    g_UpgradeSettings.Add(item);
}

int CreateAcctFixture::runCreation() {
    clsCreateAcct step;
    return step.UpgradeData(bar, label, QStringLiteral("ignored"));
}

QStringList CreateAcctFixture::logRows() const {
    return server.rows(QStringLiteral("AcctCtl"),
                       QStringLiteral("select FStatus, FProject, FDescription from AIS_UpgradeLog_Main order by FID"));
}

QStringList CreateAcctFixture::registryRows() const {
    return server.rows(QStringLiteral("AcctCtl"),
                       QStringLiteral("select FAcctNumber from t_ad_xrAccount_gl order by FAcctNumber"));
}

QString CreateAcctFixture::layOutBase() {
    QString e = server.run(QStringLiteral("master"), QStringLiteral("CREATE DATABASE VEQBase"));
    if (!e.isEmpty()) e = QStringLiteral("CREATE: ") + e;
    for (const char *file : {"10_tables.sql", "20_objects.sql", "30_rows.sql"}) {
        if (!e.isEmpty()) break;
        e = server.runScript(QStringLiteral("VEQBase"),
                             QStringLiteral(PNW_SOURCE_DIR "/standin/base/") + QLatin1String(file));
        if (!e.isEmpty()) e = QLatin1String(file) + QStringLiteral(": ") + e;
    }
    for (const char *bak : {"SQLDBBack.bak", "SQLDBBack_2008.bak"}) {
        if (!e.isEmpty()) break;
        e = server.run(QStringLiteral("master"),
                       QStringLiteral("BACKUP DATABASE VEQBase TO DISK = '%1' WITH INIT")
                           .arg(server.commonFolder() + QStringLiteral("SQLDB/") + QLatin1String(bak)));
        if (!e.isEmpty()) e = QStringLiteral("BACKUP: ") + e;
    }
    if (e.isEmpty()) {
        e = server.run(QStringLiteral("master"), QStringLiteral("DROP DATABASE VEQBase"));
        if (!e.isEmpty()) e = QStringLiteral("DROP: ") + e;
    }
    if (!e.isEmpty()) return QStringLiteral("the stand-in base account set cannot be laid out: ") + e;
    const QString probe = copySample(QStringLiteral("standard"), true);
    const QString adHoc = QStringLiteral("exec sp_configure 'show advanced options', 1\r\nreconfigure\r\n"
                                         "exec sp_configure 'Ad Hoc Distributed Queries', %1\r\nreconfigure\r\n");
    server.run(QStringLiteral("master"), adHoc.arg(1));
    e = server.run(QStringLiteral("master"),
                   QStringLiteral("SELECT 1 FROM OpenDataSource( 'Microsoft.Jet.OLEDB.4.0','") +
                       clsCreateAcct::SourceConnection(QStringLiteral("Microsoft.Jet.OLEDB.4.0"), probe) +
                       QStringLiteral("')...GLpref"));
    // Off again: account creation switches the option on itself.
    server.run(QStringLiteral("master"), adHoc.arg(0));
    if (!e.isEmpty()) return QStringLiteral("the server cannot read a source yet: ") + e;
    return QString();
}
