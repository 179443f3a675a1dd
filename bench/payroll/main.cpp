// The payroll step on a large generated account set: samplegen writes the
// set (standard edition, large size: 200 employees, a year of pay history),
// aisbuild makes the .ais file, standin lays out an installation; then, in
// this process, the data check creates the target, the base rows the step
// reads are seeded from the staging copies, and the payroll upgrade runs.
// Prints its time, the pay-history values per second and the peak memory.
//   bench_payroll [samplegen arguments...]   (default: --edition standard --size large)
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "PayrollBaseSeed.h"
#include "StandinLayout.h"
#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDataInfo.h"
#include "platform/MessageBoxSeam.h"
#include "upgrade/payroll_cashier/clsEboPa.h"
#include "wizard/SettingsValidator.h"
#include "wizard/StartUp.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardServices.h"

namespace {

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}

// Runs a program of build/bin (the folder of this one).
bool runTool(const QString &binDir, const QString &program, const QStringList &arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(binDir + QLatin1Char('/') + program, arguments);
    const bool finished = p.waitForFinished(-1);
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        out() << program << " failed:\n" << QString::fromUtf8(p.readAll()) << Qt::endl;
        return false;
    }
    return true;
}

QString scalar(const QString &sql) {
    QString error;
    auto rs = clsDataInfo().GetRs(g_TargetConnectString, sql, true, error);
    return rs && !rs->Eof() ? rs->Fields(0).Value.toString() : QString();
}

}  // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    QStringList generate;
    for (int i = 1; i < argc; ++i) generate << QString::fromLocal8Bit(argv[i]);
    if (generate.isEmpty())
        generate = {QStringLiteral("--edition"), QStringLiteral("standard"), QStringLiteral("--size"),
                    QStringLiteral("large")};
    const QString tables = dir.filePath(QStringLiteral("tables"));
    const QString source = dir.filePath(QStringLiteral("source/large.ais"));
    const QString inst = dir.filePath(QStringLiteral("inst"));
    QDir().mkpath(dir.filePath(QStringLiteral("source")));
    const QString binDir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    if (!runTool(binDir, QStringLiteral("samplegen"), generate + QStringList{tables})) return 1;
    if (!runTool(binDir, QStringLiteral("aisbuild"), {tables, source})) return 1;
    if (!runTool(binDir, QStringLiteral("standin"), {inst})) return 1;
    for (const auto &[name, value] : StandinLayout::environmentOf(inst.toStdString()))
        qputenv(name.c_str(), QByteArray::fromStdString(value));

    QApplication app(argc, argv);
    ConnectWizardServices();
    int failures = 0;
    SetUpgradeLogSink([&failures](const UpgradeLogLine &line) {
        if (line.status == GetStatusName(2)) ++failures;
        out() << "log\t" << line.status << '\t' << line.project << '\t' << line.description.left(200) << Qt::endl;
    });
    MessageBoxSeam::setResponder(
        [](const MessageRequest &request) { return MessageBoxSeam::defaultResult(request.buttons); });
    ApplyProgramDefaults();
    if (!PassVersionGate()) return 1;

    SettingsInput in;
    in.source = source;
    in.acctNumber = QStringLiteral("Large");
    in.acctName = SettingsValidator::DefaultAccountName(in.source);
    in.dbDir = QDir(inst).absoluteFilePath(QStringLiteral("data/databases"));
    in.option = 0;
    QDir().mkpath(in.dbDir);
    if (SettingsValidator().validate(in).kind != SettingsVerdict::Accepted) {
        out() << "settings refused" << Qt::endl;
        return 1;
    }
    g_UpgradeSettings = PnwList();
    g_UpgradeSettings.Add(SettingsValidator::SettingsRecord(in));
    ProgressBar bar;
    QLabel label;
    g_WizardStep = 2;
    if (RunDataCheck(&bar, &label) != RunOutcome::Passed) {
        out() << "the data check failed" << Qt::endl;
        return 1;
    }
    QString error;
    if (!clsDataInfo().ExecuteSQL(g_TargetConnectString, PayrollBaseSeedSql(), error)) {
        out() << "seeding failed: " << error << Qt::endl;
        return 1;
    }
    const int values = scalar(QStringLiteral("select count(*) from AIS_PAData")).toInt();
    const QString employees = scalar(QStringLiteral("select count(*) from t_Emp"));

    g_WizardStep = 3;
    QElapsedTimer timer;
    timer.start();
    const int result = clsEboPa().UpgradeData(&bar, &label, QString());
    const double seconds = timer.nsecsElapsed() / 1e9;
    const QString written = scalar(QStringLiteral("select count(*) from t_PANewData where FPutNo=1"));

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    out() << "employees\t" << employees << "\nvalues\t" << values << "\nhistory rows\t" << written << "\nresult\t"
          << result << "\nfailures logged\t" << failures << "\npayroll\t" << QString::number(seconds, 'f', 2) << " s\t"
          << QString::number(values / seconds, 'f', 0) << " values/s\npeak memory\t" << usage.ru_maxrss / 1024 << " MB"
          << Qt::endl;
    return result == 0 ? 0 : 1;
}
