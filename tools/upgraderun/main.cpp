// upgraderun: the wizard's data check and upgrade run without a window, on
// a stand-in installation laid out by the standin tool. It goes through the
// same start-up, settings rules, stage registry, log and reports as the
// wizard; message boxes are answered from the answers file, then with their
// default button. Every log entry is printed as it is written ("status
// <tab> project <tab> description"), then the report paths.
#include <sys/resource.h>

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTextStream>

#include "RunnerOptions.h"
#include "StandinLayout.h"
#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/MessageBoxSeam.h"
#include "platform/MessageScript.h"
#include "platform/PnwError.h"
#include "wizard/SettingsValidator.h"
#include "wizard/StartUp.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardServices.h"

namespace {

constexpr int kDone = 0, kWarnings = 1, kFailed = 2;

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}

// The run's exit status, after the peak memory the process needed.
int finish(int status) {
    struct rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0) out() << "peak memory\t" << usage.ru_maxrss / 1024 << " MB" << Qt::endl;
    return status;
}

int fail(const QString &why) {
    out() << "upgraderun: " << why << Qt::endl;
    return kFailed;
}

}  // namespace

int main(int argc, char *argv[]) {
    // A headless run by default; a display is used only when asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<RunnerOptions> options = RunnerOptions::parse(arguments, error);
    if (!options) {
        std::fputs(qPrintable(error + QLatin1Char('\n') + RunnerOptions::usage()), stderr);
        return kFailed;
    }
    if (!QFileInfo(options->standin).isDir()) return fail(QStringLiteral("no installation at ") + options->standin);
    for (const auto &[name, value] : StandinLayout::environmentOf(options->standin.toStdString()))
        qputenv(name.c_str(), QByteArray::fromStdString(value));

    QList<int> replies;
    if (!options->answers.isEmpty()) {
        QFile file(options->answers);
        if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read ") + options->answers);
        replies = MessageScript::parseReplies(QString::fromUtf8(file.readAll()), &error);
        if (!error.isEmpty()) return fail(options->answers + QStringLiteral(": ") + error);
    }

    QApplication app(argc, argv);
    ConnectWizardServices();
    bool warned = false;
    SetUpgradeLogSink([&warned](const UpgradeLogLine &line) {
        if (line.status == GetStatusName(1)) warned = true;
        out() << line.status << '\t' << line.project << '\t' << line.description << Qt::endl;
    });
    MessageBoxSeam::setResponder([&replies](const MessageRequest &request) {
        const int reply = replies.isEmpty() ? MessageBoxSeam::defaultResult(request.buttons) : replies.takeFirst();
        out() << "message\t" << request.title << '\t' << request.prompt << "\tanswer " << reply << Qt::endl;
        return reply;
    });

    SetStageObserver([](int code, int result, double seconds) {
        out() << "stage\t" << GetStepName(code) << '\t' << result << '\t' << QString::number(seconds, 'f', 2) << " s"
              << Qt::endl;
    });

    ApplyProgramDefaults();
    if (!PassVersionGate()) return fail(QStringLiteral("no Professional installation of version 13.0 or later"));

    SettingsInput in;
    in.source = QFileInfo(options->source).absoluteFilePath();
    in.acctNumber = options->number;
    in.acctName = options->name.isEmpty() ? SettingsValidator::DefaultAccountName(in.source) : options->name;
    in.dbDir = QDir(options->standin).absoluteFilePath(QStringLiteral("data/databases"));
    in.option = options->balancesOnly ? 1 : 0;
    QDir().mkpath(in.dbDir);
    try {
        const SettingsVerdict verdict = SettingsValidator().validate(in);
        if (verdict.kind == SettingsVerdict::Rejected) return fail(verdict.message);
        if (verdict.kind == SettingsVerdict::FolderRejected)
            return fail(QStringLiteral("the server folder was refused"));
    } catch (const PnwError &e) {
        return fail(e.description());
    }
    g_UpgradeSettings = PnwList();
    g_UpgradeSettings.Add(SettingsValidator::SettingsRecord(in));

    ProgressBar checkBar;
    QLabel label;
    g_WizardStep = 2;
    const RunOutcome check = RunDataCheck(&checkBar, &label);
    out() << "check report\t" << g_CheckReportPath << Qt::endl;
    if (check != RunOutcome::Passed) return finish(kFailed);
    if (options->checkOnly) return finish(warned ? kWarnings : kDone);

    UpgradeBars bars{};
    std::vector<std::unique_ptr<ProgressBar>> owned;
    for (ProgressBar *&bar : bars) bar = owned.emplace_back(std::make_unique<ProgressBar>()).get();
    g_WizardStep = 3;
    const RunOutcome upgrade = RunUpgrade(bars, &label);
    out() << "upgrade report\t" << g_UpgradeReportPath << Qt::endl;

    if (upgrade != RunOutcome::Passed) return finish(kFailed);
    return finish(warned ? kWarnings : kDone);
}
