// The fixed-asset stage on a large generated account set: samplegen writes
// the set (standard edition, large size by default), aisbuild turns it into
// an .ais file, standin lays out an installation; then the data check and
// the upgrade run in this process with three stages: account creation, the
// base-data mappings the fixed assets read (seeded by statements, as the
// tests do) and the fixed assets. Prints the stage times, the cards and
// balance rows per second and the peak memory.
//   bench_assets [--balances-only] [samplegen arguments...]
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "StandinLayout.h"
#include "accounts/clsCreateAcct.h"
#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDataInfo.h"
#include "platform/MessageBoxSeam.h"
#include "upgrade/assets/clsEboFa.h"
#include "wizard/SettingsValidator.h"
#include "wizard/StageRegistry.h"
#include "wizard/StartUp.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardServices.h"

#include "FaSeed.h"

namespace {

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}

bool runTool(const QString &program, const QStringList &arguments, double *seconds) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(QCoreApplication::applicationDirPath() + QLatin1Char('/') + program, arguments);
    const bool finished = p.waitForFinished(-1);
    *seconds = timer.nsecsElapsed() / 1e9;
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        out() << program << " failed:\n" << QString::fromUtf8(p.readAll()) << Qt::endl;
        return false;
    }
    return true;
}

// Stands in for the base-data step: the mappings the fixed assets read.
class SeedMappings : public interface {
public:
    int UpgradeData(ProgressBar *, QLabel *, QString) override {
        clsDataInfo data;
        QString error;
        if (data.ExecuteSQL(g_TargetConnectString, FaBaseSeed(), error)) return 0;
        WriteUpgradeLog(QStringLiteral("bench"), error, QString(), 2);
        return 2;
    }
};

QString count(const QString &sql) {
    clsDataInfo data;
    QString error;
    auto rs = data.GetRs(g_TargetConnectString, sql, true, error);
    return rs && !rs->Eof() ? rs->Fields(0).Value.toString() : QStringLiteral("?");
}

}  // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList generate = app.arguments().mid(1);
    const bool balancesOnly = generate.removeAll(QStringLiteral("--balances-only")) > 0;
    if (generate.isEmpty())
        generate = {QStringLiteral("--edition"), QStringLiteral("standard"), QStringLiteral("--size"),
                    QStringLiteral("large")};
    QTemporaryDir dir;
    const QString tables = dir.filePath(QStringLiteral("tables"));
    const QString source = dir.filePath(QStringLiteral("source/large.ais"));
    const QString standin = dir.filePath(QStringLiteral("inst"));
    QDir().mkpath(dir.filePath(QStringLiteral("source")));
    double seconds = 0;
    if (!runTool(QStringLiteral("samplegen"), generate + QStringList{tables}, &seconds)) return 1;
    if (!runTool(QStringLiteral("aisbuild"), {tables, source}, &seconds)) return 1;
    if (!runTool(QStringLiteral("standin"), {standin}, &seconds)) return 1;
    for (const auto &[name, value] : StandinLayout::environmentOf(standin.toStdString()))
        qputenv(name.c_str(), QByteArray::fromStdString(value));

    ConnectWizardServices();
    int failures = 0;
    SetUpgradeLogSink([&failures](const UpgradeLogLine &line) {
        if (line.status == GetStatusName(2)) {
            ++failures;
            out() << line.project << '\t' << line.description << Qt::endl;
        }
    });
    MessageBoxSeam::setResponder(
        [](const MessageRequest &request) { return MessageBoxSeam::defaultResult(request.buttons); });
    double assetSeconds = 0;
    SetStageObserver([&assetSeconds](int code, int result, double stageSeconds) {
        out() << "stage\t" << GetStepName(code) << '\t' << result << '\t' << QString::number(stageSeconds, 'f', 2)
              << " s" << Qt::endl;
        if (code == StageRegistry::FixedAssets) assetSeconds = stageSeconds;
    });
    ApplyProgramDefaults();
    if (!PassVersionGate()) return 1;

    SettingsInput in;
    in.source = QFileInfo(source).absoluteFilePath();
    in.acctNumber = QStringLiteral("Large");
    in.acctName = SettingsValidator::DefaultAccountName(in.source);
    in.dbDir = QDir(standin).absoluteFilePath(QStringLiteral("data/databases"));
    in.option = balancesOnly ? 1 : 0;
    QDir().mkpath(in.dbDir);
    if (SettingsValidator().validate(in).kind != SettingsVerdict::Accepted) return 1;
    g_UpgradeSettings = PnwList();
    g_UpgradeSettings.Add(SettingsValidator::SettingsRecord(in));

    StageRegistry::Override stages({
        {StageRegistry::CreateAccount, [] { return std::make_unique<clsCreateAcct>(); }},
        {StageRegistry::BaseData, [] { return std::make_unique<SeedMappings>(); }},
        {StageRegistry::FixedAssets, [] { return std::make_unique<clsEboFa>(); }},
    });
    ProgressBar checkBar;
    QLabel label;
    g_WizardStep = 2;
    if (RunDataCheck(&checkBar, &label) != RunOutcome::Passed) return 1;
    UpgradeBars bars{};
    std::vector<std::unique_ptr<ProgressBar>> owned;
    for (ProgressBar *&bar : bars) bar = owned.emplace_back(std::make_unique<ProgressBar>()).get();
    g_WizardStep = 3;
    const RunOutcome upgrade = RunUpgrade(bars, &label);

    const QString cards = count(QStringLiteral("SELECT COUNT(*) FROM AIS_FACard"));
    const QString balances = count(QStringLiteral("SELECT COUNT(*) FROM t_FABalance"));
    out() << "option\t" << (balancesOnly ? "balances only" : "all data") << Qt::endl;
    out() << "cards\t" << cards << "\tbalance rows\t" << balances << Qt::endl;
    if (assetSeconds > 0)
        out() << "fixed assets\t" << QString::number(assetSeconds, 'f', 2) << " s\t"
              << QString::number(cards.toDouble() / assetSeconds, 'f', 1) << " cards/s\t"
              << QString::number(balances.toDouble() / assetSeconds, 'f', 1) << " balance rows/s" << Qt::endl;
    struct rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0) out() << "peak memory\t" << usage.ru_maxrss / 1024 << " MB" << Qt::endl;
    return upgrade == RunOutcome::Passed && failures == 0 ? 0 : 1;
}
