#include "EndToEndFixture.h"

#include <QDir>
#include <QLineEdit>

#include "StandinOptions.h"
#include "accounts/StagedTables.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/PlatformSettings.h"
#include "platform/dao/DBEngine.h"
#include "support/QtApp.h"
#include "support/SampleFiles.h"
#include "wizard/WizardHooks.h"
#include "wizard/WizardServices.h"
#include "wizard/ctlSetting.h"

void EndToEndTest::SetUp() {
    ensureQtApp();
    StandinOptions options;
    options.installedVersion = m_version;
    m_installation = std::make_unique<StandinServer>(options);
    PlatformSettings::setUsageServiceUrl(m_usage.url());
    PlatformSettings::setUsageTimeoutMs(3000);
    QDir().mkpath(dbFolder());
    ResetProgramState();
    ReleaseServerComponent();
    m_savedFactory = SetServerComponentFactory(nullptr);
    WizardHooks::ResetToDefaults();
    ConnectWizardServices();
    // Reports stay closed: no browser in a test.
    WizardHooks::OpenReport = [this](const QString &path, const QString &) { opened << path; };
    m_previousQuit = frmMain::setQuitHook([this] { ++quits; });
    ASSERT_TRUE(m_installation->problems().empty())
        << "the stand-in installation is incomplete: " << m_installation->problems().front();
}

void EndToEndTest::TearDown() {
    frmMain::setQuitHook(m_previousQuit);
    WizardHooks::ResetToDefaults();
    SetUpgradeLogSink(nullptr);
    ReleaseServerComponent();
    SetServerComponentFactory(m_savedFactory);
    if (!m_source.isEmpty()) {
        EXPECT_EQ(FileHash(m_source), m_sourceHash) << "the source changed";
    }
    m_installation.reset();
}

QString EndToEndTest::copySample(const QString &sample) {
    m_source = CopySample(sample, m_installation->path() + QStringLiteral("/src/") + sample, true);
    EXPECT_FALSE(m_source.isEmpty());
    m_sourceHash = FileHash(m_source);
    return m_source;
}

std::unique_ptr<frmMain> EndToEndTest::load() {
    auto window = std::make_unique<frmMain>();
    EXPECT_TRUE(window->Form_Load(m_installation->path()));
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

QStringList EndToEndTest::registeredNumbers() const {
    return m_installation->rows(QStringLiteral("AcctCtl"),
                                QStringLiteral("select FAcctNumber from t_ad_xrAccount_gl order by FAcctNumber"));
}

void EndToEndTest::expectStagedRows(const QString &target, const QString &source) const {
    std::unique_ptr<dao::Database> db = OpenSourceFile(source);
    int staged = 0;
    for (int i = 0; i < db->TableDefs().Count(); ++i) {
        const dao::TableDef &def = db->TableDefs().Item(i);
        if (!IsStagedTable(def.Name()) || def.Fields().Count() == 0) continue;
        ++staged;
        SCOPED_TRACE(def.Name().toStdString());
        const QStringList count =
            m_installation->rows(target, QStringLiteral("SELECT COUNT(*) FROM [AIS_%1]").arg(def.Name()));
        ASSERT_EQ(count.size(), 1);
        // Deleted vouchers stay behind.
        if (def.Name().compare(QLatin1String("GLVch"), Qt::CaseInsensitive) == 0)
            EXPECT_LE(count.first().toLongLong(), def.RecordCount());
        else
            EXPECT_EQ(count.first().toLongLong(), def.RecordCount());
    }
    EXPECT_GT(staged, 20);
}
