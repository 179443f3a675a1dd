// Walks the wizard through every step with demonstration stages and saves a
// picture of the window at each step (and of the folder chooser and the
// mapping dialogs) into the
// folder given as the only argument. Runs on any Qt platform; under Xvfb it
// shows the real window. Uses a registry store and data folder of its own.
//   wizard_screens --real <folder> <source.ais> [account number]
// instead walks the real road on the stand-in installation the environment
// points at (see scripts/screenshots.sh). Either walk fails when a step it
// wanted was not reached.
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include "DialogShots.h"
#include "RealRoad.h"
#include "accounts/ServerDrives.h"
#include "accounts/interface.h"
#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "foundation/Progress.h"
#include "foundation/ServerFolders.h"
#include "foundation/UpgradeLog.h"
#include "platform/MessageScript.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwReg.h"
#include "wizard/FolderChooser.h"
#include "wizard/StageRegistry.h"
#include "wizard/WizardHooks.h"
#include "wizard/ctlSetting.h"
#include "wizard/frmMain.h"
#include "wizard/frmSelDir.h"

namespace {

QString g_out;
std::function<void(const QString &)> g_shotDuring;

void save(QWidget *widget, const QString &name) {
    QCoreApplication::processEvents();
    widget->repaint();
    QCoreApplication::processEvents();
    const QString path = g_out + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!widget->grab().save(path)) QTextStream(stderr) << "cannot write " << path << "\n";
}

// A stage that shows progress, logs what a real one would, and lets the
// tool take a picture half-way.
class DemoStage : public interface {
public:
    explicit DemoStage(int code) : m_code(code) {}
    int CheckData(ProgressBar *bar, QLabel *label, QString) override { return work(bar, label, true); }
    int UpgradeData(ProgressBar *bar, QLabel *label, QString) override { return work(bar, label, false); }

private:
    int work(ProgressBar *bar, QLabel *label, bool check) {
        const QString name = GetStepName(m_code);
        if (label)
            SetStatusCaption(label, (check ? QStringLiteral("正在检测") : QStringLiteral("正在升级")) + name + "...");
        InitProgress(bar, 100, true);
        for (int v = 10; v <= 100; v += 10) {
            SetProgress(bar, v);
            DelayWithEvents(15);
            if (v == 60 && g_shotDuring) g_shotDuring(name);
        }
        if (m_code == StageRegistry::BaseData)
            WizardHooks::WriteUpgradeLog(name, QStringLiteral("币别“美元”没有设置汇率|将按1.0升级"),
                                         QStringLiteral("详细日志"), 1);
        WizardHooks::WriteUpgradeLog(name, name + (check ? QStringLiteral("检测通过") : QStringLiteral("升级完成")),
                                     QString(), 0);
        return StepDone;
    }
    int m_code;
};

// A step the walk wanted was not reached: say which and why, and fail.
int notReached(const QString &what, const MessageScript &answers) {
    QTextStream(stderr) << "not reached: " << what << "\n";
    for (const MessageRequest &m : answers.requests()) QTextStream(stderr) << "message: " << m.prompt << "\n";
    return 1;
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc > 3 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--real"))
        return RunRealRoad(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                           argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("A01"));
    g_out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(g_out);

    QTemporaryDir work;
    PlatformSettings::setRegistryFile(work.filePath(QStringLiteral("registry.txt")));
    PlatformSettings::setDataFolder(work.filePath(QStringLiteral("data")));
    PlatformSettings::setUsageServiceUrl(QString());
    PnwReg().SetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantora\\VEQPRODUCT"), QStringLiteral("Version"),
                         QStringLiteral("14.1"));
    QDir(work.path()).mkpath(QStringLiteral("sql/DATA"));
    const QString ais = work.filePath(QStringLiteral("演示账套.ais"));
    {
        // The settings page looks only at the Jet header of the source.
        QFile file(ais);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(QByteArray("\0\1\0\0Standard Jet DB\0", 20));
    }

    WizardHooks::GetServerConnectionTemplate = [](QString &user, QString &password) {
        user = QStringLiteral("sa");
        password = QString();
        return QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=[AcctNo];User ID=sa;Password=");
    };
    WizardHooks::PurgeAndListAccounts = [] {
        return std::optional<QList<RegisteredAccount>>(QList<RegisteredAccount>{});
    };
    WizardHooks::WriteUpgradeLog = [](const QString &project, const QString &description, const QString &detail,
                                      int status) {
        const char *const names[] = {"成功", "警告", "错误"};
        ShowUpgradeLogLine({QString::fromUtf8(names[qBound(0, status, 2)]),
                            QDateTime::currentDateTime().toString(QStringLiteral("yyyy/M/d H:mm:ss")), project,
                            description, detail, detail.isEmpty() ? QString() : QStringLiteral("AIS_UpgradeLog_币别")});
    };
    QList<StageEntry> stages;
    for (int code = 1; code <= 6; ++code) stages.append({code, [code] { return std::make_unique<DemoStage>(code); }});
    StageRegistry::Override demo(stages);
    // The folder checks and the chooser ask the server's drives: this machine's.
    SetServerComponentFactory([] { return std::make_shared<ServerDrives>(); });
    g_SourceEdition = QStringLiteral("标准版");
    MessageScript answers;
    frmMain::setQuitHook([] {});

    frmMain window;
    if (!window.Form_Load(work.path())) return 1;
    window.show();
    save(&window, QStringLiteral("step0-welcome"));

    window.btnNext_Click();
    window.ctlSetting1()->txtSource()->setText(ais);
    window.ctlSetting1()->txtAcctName()->setText(QStringLiteral("演示账套"));
    window.ctlSetting1()->txtDBDir()->setText(work.filePath(QStringLiteral("sql")));
    save(&window, QStringLiteral("step1-settings"));

    g_shotDuring = [&window](const QString &stage) {
        if (stage == GetStepName(StageRegistry::GeneralLedger))
            save(&window, g_WizardStep == 2 ? QStringLiteral("step2-checking") : QStringLiteral("step3-upgrading"));
    };
    window.btnNext_Click();
    g_shotDuring = nullptr;
    save(&window, QStringLiteral("step2-checked"));
    if (g_WizardStep != 2) return notReached(QStringLiteral("the data check"), answers);

    g_shotDuring = [&window](const QString &stage) {
        if (stage == GetStepName(StageRegistry::GeneralLedger)) save(&window, QStringLiteral("step3-upgrading"));
    };
    window.btnNext_Click();
    g_shotDuring = nullptr;
    save(&window, QStringLiteral("step4-report"));
    if (g_WizardStep != 4) return notReached(QStringLiteral("the report"), answers);

    bool chooserShown = false;
    SetFolderChooserResponder([&chooserShown](frmSelDir &dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        save(&dialog, QStringLiteral("selectdir"));
        chooserShown = true;
        dialog.btn_Cancel_Click();
    });
    QString path = work.filePath(QStringLiteral("sql"));
    BrowseServerPath(path, 0, QStringLiteral("RS"));
    if (!chooserShown) return notReached(QStringLiteral("the folder chooser"), answers);
    if (SaveDialogShots(g_out) > 0) return 1;

    QTextStream(stdout) << "screenshots in " << g_out << "\n";
    return 0;
}
