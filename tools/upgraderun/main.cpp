// upgraderun: the wizard's data check and upgrade run without a window, on
// a stand-in installation laid out by the standin tool. It goes through the
// same start-up, settings rules, stage registry, log, reports and mapping
// dialogs as the wizard; message boxes are answered from the answers file,
// then with their default button, and the dialogs' questions from the same
// file (see DialogAnswerer). Every log entry is printed as it is written
// ("status <tab> project <tab> description"), then the report paths.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTextStream>

#include "AnswersFile.h"
#include "DialogAnswerer.h"
#include "RunnerOptions.h"
#include "StandinLayout.h"
#include "accounts/CXRAc.h"
#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/MessageBoxSeam.h"
#include "platform/PnwError.h"
#include "wizard/MappingDialogs.h"
#include "wizard/SettingsValidator.h"
#include "wizard/StartUp.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardHooks.h"
#include "wizard/WizardServices.h"

namespace {

constexpr int kDone = 0, kWarnings = 1, kFailed = 2;

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}

// A field of an output record: tabs and line breaks escaped, so that every
// record stays one line.
QString field(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return text;
}

// The run's exit status, after the peak memory the process needed.
int finish(int status) {
    struct rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0) out() << "peak memory\t" << usage.ru_maxrss / 1024 << " MB" << Qt::endl;
    return status;
}

int fail(const QString &why) {
    out().flush();
    QTextStream(stderr) << "upgraderun: " << why << Qt::endl;
    return kFailed;
}

// A folder of the user's own for the window system's run-time files, as the
// platform would choose it, so that it need not warn about a missing one.
void ensureRuntimeDir() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const QString dir = QDir::temp().filePath(QStringLiteral("runtime-") + QString::number(getuid()));
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
}

// The offscreen platform cannot round the dialogs' corners and says so for
// every dialog; that notice is no failure of the run.
QtMessageHandler g_qtHandler = nullptr;
void quietPlatformNotices(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (message == QLatin1String("This plugin does not support setting window masks")) return;
    if (g_qtHandler) g_qtHandler(type, context, message);
}

// Deletes the run's new account set when it exists; says so.
void deleteNewAccount(const QString &number) {
    if (!WizardHooks::ExistAcct(number)) return;
    const bool deleted = WizardHooks::DeleteAcct(number);
    out() << "account set\t" << field(number) << '\t' << (deleted ? "deleted" : "could not be deleted") << Qt::endl;
}

// --delete: an account set a killed run left, through the administration
// calls the wizard deletes its own with.
int deleteLeftAccount(const QString &number) {
    auto server = ServerAdmin();
    if (!server || !server->AdoptAccount(number)) return fail(QStringLiteral("not an account number: ") + number);
    // The login account creation logs on with.
    if (!server->CheckRight(g_ServerUser, g_ServerPassword, server->GetDomainName().toUpper(), false))
        return fail(QStringLiteral("cannot log on to the server: ") + server->strMsg);
    if (!WizardHooks::ExistAcct(number)) {
        out() << "account set\t" << field(number) << "\tnot found" << Qt::endl;
        return kDone;
    }
    if (!WizardHooks::DeleteAcct(number))
        return fail(QStringLiteral("the account set could not be deleted: ") + number);
    out() << "account set\t" << field(number) << "\tdeleted" << Qt::endl;
    return kDone;
}

}  // namespace

int main(int argc, char *argv[]) {
    // A headless run by default; a display is used only when asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeDir();
    g_qtHandler = qInstallMessageHandler(quietPlatformNotices);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<RunnerOptions> options = RunnerOptions::parse(arguments, error);
    if (!options) {
        std::fputs(qPrintable(error + QLatin1Char('\n') + RunnerOptions::usage()), stderr);
        return kFailed;
    }
    if (options->help) {
        out() << RunnerOptions::usage() << Qt::flush;
        return kDone;
    }
    if (!QFileInfo(options->standin).isDir()) return fail(QStringLiteral("no installation at ") + options->standin);
    for (const auto &[name, value] : StandinLayout::environmentOf(options->standin.toStdString()))
        qputenv(name.c_str(), QByteArray::fromStdString(value));

    AnswersFile answers;
    if (!options->answers.isEmpty()) {
        QFile file(options->answers);
        if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read ") + options->answers);
        std::optional<AnswersFile> read = AnswersFile::parse(QString::fromUtf8(file.readAll()), error);
        if (!read) return fail(options->answers + QStringLiteral(": ") + error);
        answers = *read;
    }

    QApplication app(argc, argv);
    ConnectWizardServices();
    bool warned = false;
    SetUpgradeLogSink([&warned](const UpgradeLogLine &line) {
        if (line.status == GetStatusName(1)) warned = true;
        out() << field(line.status) << '\t' << field(line.project) << '\t' << field(line.description) << Qt::endl;
    });
    MessageBoxSeam::setResponder([&answers](const MessageRequest &request) {
        const int reply =
            answers.replies.isEmpty() ? MessageBoxSeam::defaultResult(request.buttons) : answers.replies.takeFirst();
        out() << "message\t" << field(request.title) << '\t' << field(request.prompt) << "\tanswer " << reply
              << Qt::endl;
        return reply;
    });
    // The steps ask through the same dialogs as in the wizard; the answers
    // file answers them.
    InstallMappingDialogs();
    DialogAnswerer dialogs(answers, [](const QStringList &fields) {
        QStringList escaped;
        for (const QString &f : fields) escaped << field(f);
        out() << escaped.join(QLatin1Char('\t')) << Qt::endl;
    });

    SetStageObserver([](int code, int result, double seconds) {
        out() << "stage\t" << GetStepName(code) << '\t' << result << '\t' << QString::number(seconds, 'f', 2) << " s"
              << Qt::endl;
    });

    ApplyProgramDefaults();
    if (!PassVersionGate()) return fail(QStringLiteral("no Professional installation of version 13.0 or later"));
    if (!options->deleteNumber.isEmpty()) return deleteLeftAccount(options->deleteNumber);

    SettingsInput in;
    in.source = QFileInfo(options->source).absoluteFilePath();
    in.acctNumber = options->number;
    in.acctName = options->name.isEmpty() ? RunnerOptions::defaultName(in.source) : options->name;
    in.dbDir = QDir(options->standin).absoluteFilePath(QStringLiteral("data/databases"));
    in.option = options->balancesOnly ? 1 : 0;
    QDir().mkpath(in.dbDir);
    try {
        const SettingsVerdict verdict = SettingsValidator().validate(in);
        if (verdict.kind == SettingsVerdict::Rejected) {
            const bool nameFromFile = options->name.isEmpty() && verdict.focus == SettingsField::AcctName;
            return fail(verdict.message + (nameFromFile ? QStringLiteral(" (the name \"") + in.acctName +
                                                              QStringLiteral("\" comes from the file name: give one "
                                                                             "with --name)")
                                                        : QString()));
        }
        if (verdict.kind == SettingsVerdict::FolderRejected)
            return fail(QStringLiteral("the server folder was refused"));
    } catch (const PnwError &e) {
        return fail(e.description());
    }
    g_UpgradeSettings = PnwList();
    g_UpgradeSettings.Add(SettingsValidator::SettingsRecord(in));
    const auto unused = [&answers] {
        for (const QString &line : answers.unused()) out() << "unused\t" << field(line) << Qt::endl;
    };

    // Nothing shows them, but each step still draws them: at the size of the
    // wizard's bars, not the 640x480 of an unsized widget.
    const QSize barSize(400, 40);
    ProgressBar checkBar;
    checkBar.resize(barSize);
    QLabel label;
    g_WizardStep = 2;
    const RunOutcome check = RunDataCheck(&checkBar, &label);
    out() << "check report\t" << field(g_CheckReportPath) << Qt::endl;
    if (check != RunOutcome::Passed || options->checkOnly) {
        // Nothing is left behind that was not upgraded: the number stays free.
        deleteNewAccount(in.acctNumber);
        unused();
        return finish(check != RunOutcome::Passed ? kFailed : warned ? kWarnings : kDone);
    }

    UpgradeBars bars{};
    std::vector<std::unique_ptr<ProgressBar>> owned;
    for (ProgressBar *&bar : bars) {
        bar = owned.emplace_back(std::make_unique<ProgressBar>()).get();
        bar->resize(barSize);
    }
    g_WizardStep = 3;
    const RunOutcome upgrade = RunUpgrade(bars, &label);
    out() << "upgrade report\t" << field(g_UpgradeReportPath) << Qt::endl;
    unused();

    if (upgrade != RunOutcome::Passed) {
        deleteNewAccount(in.acctNumber);
        return finish(kFailed);
    }
    return finish(warned ? kWarnings : kDone);
}
