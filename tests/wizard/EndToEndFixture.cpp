#include "EndToEndFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>

#include "StandinLayout.h"
#include "accounts/StagedTables.h"
#include "accounts/clsCreateAcct.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/PlatformSettings.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/dao/DBEngine.h"
#include "support/QtApp.h"
#include "wizard/WizardHooks.h"
#include "wizard/WizardServices.h"
#include "wizard/ctlSetting.h"

namespace {

const QString kLogin =
    QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Password=VEQ#2015sa;Data Source=.;Initial Catalog=");

}  // namespace

void EndToEndTest::SetUp() {
    ensureQtApp();
    ASSERT_TRUE(m_dir.isValid());
    StandinOptions options;
    options.folder = (m_dir.path() + QStringLiteral("/installation")).toStdString();
    options.installedVersion = m_version;
    const StandinLayout::Result layout = StandinLayout::run(options);
    for (const auto &[name, value] : layout.environment) {
        m_savedEnvironment.append({QByteArray::fromStdString(name), qgetenv(name.c_str())});
        qputenv(name.c_str(), QByteArray::fromStdString(value));
    }
    PlatformSettings::resetToEnvironment();
    PlatformSettings::setUsageServiceUrl(m_usage.url());
    PlatformSettings::setUsageTimeoutMs(3000);
    m_dataFolder = QString::fromStdString(layout.dataFolder);
    QDir().mkpath(dbFolder());
    ResetProgramState();
    ReleaseServerComponent();
    m_savedFactory = SetServerComponentFactory(nullptr);
    WizardHooks::ResetToDefaults();
    ConnectWizardServices();
    // Reports stay closed: no browser in a test.
    WizardHooks::OpenReport = [this](const QString &path, const QString &) { opened << path; };
    m_previousQuit = frmMain::setQuitHook([this] { ++quits; });
    ASSERT_TRUE(layout.problems.empty()) << "the stand-in installation is incomplete: " << layout.problems.front();
}

void EndToEndTest::TearDown() {
    frmMain::setQuitHook(m_previousQuit);
    WizardHooks::ResetToDefaults();
    SetUpgradeLogSink(nullptr);
    ReleaseServerComponent();
    SetServerComponentFactory(m_savedFactory);
    ResetProgramState();
    for (const auto &[name, value] : m_savedEnvironment) {
        if (value.isEmpty())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
    PlatformSettings::resetToEnvironment();
    if (!m_source.isEmpty()) {
        EXPECT_EQ(fileHash(m_source), m_sourceHash) << "the source changed";
    }
}

QString EndToEndTest::copySample(const QString &sample) {
    const QString folder = m_dir.path() + QStringLiteral("/src/") + sample;
    QDir().mkpath(folder);
    const QString from = QStringLiteral(PNW_BINARY_DIR "/samples/") + sample + QLatin1Char('/');
    m_source = folder + QLatin1Char('/') + sample + QStringLiteral(".ais");
    EXPECT_TRUE(QFile::copy(from + sample + QStringLiteral(".ais"), m_source));
    QFile::copy(from + QStringLiteral("system.mda"), folder + QStringLiteral("/system.mda"));
    m_sourceHash = fileHash(m_source);
    return m_source;
}

std::unique_ptr<frmMain> EndToEndTest::load() {
    auto window = std::make_unique<frmMain>();
    EXPECT_TRUE(window->Form_Load(m_dir.path()));
    return window;
}

void EndToEndTest::fillSettings(frmMain &w, const QString &source, const QString &number) {
    if (g_WizardStep == 0) w.btnNext_Click();
    ASSERT_EQ(g_WizardStep, 1);
    ctlSetting *s = w.ctlSetting1();
    s->txtSource()->setText(source);
    s->txtAcctNumber()->setText(number);
    s->txtAcctName()->setText(QStringLiteral("升级账套") + number);
    s->txtDBDir()->setText(dbFolder());
}

QString EndToEndTest::run(const QString &database, const QString &sql) const {
    try {
        ado::Connection c;
        c.Open(kLogin + database);
        c.Execute(sql);
        return QString();
    } catch (const ado::AdoError &e) {
        return e.description();
    }
}

QStringList EndToEndTest::rows(const QString &database, const QString &sql) const {
    QStringList out;
    try {
        ado::Connection c;
        c.Open(kLogin + database);
        ado::Recordset rs = c.Execute(sql);
        if (rs.State() != 1) return out;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.fieldCount(); ++i) cells.append(rs.Fields(i).Value.toString());
            out.append(cells.join(QLatin1Char('\t')));
        }
    } catch (const ado::AdoError &e) {
        out.append(QStringLiteral("<error> ") + e.description());
    }
    return out;
}

bool EndToEndTest::databaseExists(const QString &name) const {
    return !rows(QStringLiteral("master"),
                 QStringLiteral("select name from master.dbo.sysdatabases where name='%1'").arg(name))
                .isEmpty();
}

QStringList EndToEndTest::registeredNumbers() const {
    return rows(QStringLiteral("AcctCtl"),
                QStringLiteral("select FAcctNumber from t_ad_xrAccount_gl order by FAcctNumber"));
}

void EndToEndTest::expectStagedRows(const QString &target, const QString &source) const {
    dao::DBEngine engine;
    engine.SystemDB = clsCreateAcct::WorkgroupFile(source);
    engine.DefaultUser = QStringLiteral("morningstar");
    engine.DefaultPassword = QStringLiteral("tqlarnvezmbhko");
    std::unique_ptr<dao::Database> db = engine.OpenDatabase(source);
    int staged = 0;
    for (int i = 0; i < db->TableDefs().Count(); ++i) {
        const dao::TableDef &def = db->TableDefs().Item(i);
        if (!IsStagedTable(def.Name()) || def.Fields().Count() == 0) continue;
        ++staged;
        SCOPED_TRACE(def.Name().toStdString());
        const QStringList count = rows(target, QStringLiteral("SELECT COUNT(*) FROM [AIS_%1]").arg(def.Name()));
        ASSERT_EQ(count.size(), 1);
        // Deleted vouchers stay behind.
        if (def.Name().compare(QLatin1String("GLVch"), Qt::CaseInsensitive) == 0)
            EXPECT_LE(count.first().toLongLong(), def.RecordCount());
        else
            EXPECT_EQ(count.first().toLongLong(), def.RecordCount());
    }
    EXPECT_GT(staged, 20);
}

QByteArray EndToEndTest::fileHash(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
