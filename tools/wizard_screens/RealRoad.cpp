#include "RealRoad.h"

#include "RoadDialogs.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include "controls/ProgressBar.h"
#include "controls/zqbutton.h"
#include "foundation/Globals.h"
#include "foundation/ServerFolders.h"
#include "platform/MessageScript.h"
#include "platform/PlatformSettings.h"
#include "wizard/FolderChooser.h"
#include "wizard/MappingDialogs.h"
#include "wizard/WizardHooks.h"
#include "wizard/WizardServices.h"
#include "wizard/ctlSetting.h"
#include "wizard/ctlUpgrade.h"
#include "wizard/frmMain.h"
#include "wizard/frmSelDir.h"

namespace {

void saveShot(QWidget *widget, const QString &out, const QString &name) {
    QCoreApplication::processEvents();
    widget->repaint();
    QCoreApplication::processEvents();
    const QString path = out + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!widget->grab().save(path)) QTextStream(stderr) << "cannot write " << path << "\n";
}

}  // namespace

int RunRealRoad(const QString &out, const QString &source, const QString &acctNum) {
    QDir().mkpath(out);
    ConnectWizardServices();
    WizardHooks::OpenReport = [](const QString &, const QString &) {};  // no browser under Xvfb
    MessageScript answers;  // a message box would wait for a click nobody makes
    frmMain::setQuitHook([] {});
    // The steps ask through the mapping dialogs, as in the program; each is
    // pictured with the account set's own rows and answered.
    InstallMappingDialogs();
    RoadDialogs dialogs(out);

    frmMain window;
    if (!window.Form_Load()) {
        QTextStream(stderr) << "the wizard did not start\n";
        return 1;
    }
    window.show();
    saveShot(&window, out, QStringLiteral("real0-welcome"));

    window.btnNext_Click();
    const QString dbDir = PlatformSettings::dataFolder() + QStringLiteral("/db");
    QDir().mkpath(dbDir);
    window.ctlSetting1()->txtSource()->setText(source);
    window.ctlSetting1()->txtAcctNumber()->setText(acctNum);
    window.ctlSetting1()->txtAcctName()->setText(QStringLiteral("升级账套"));
    window.ctlSetting1()->txtDBDir()->setText(dbDir);
    saveShot(&window, out, QStringLiteral("real1-settings"));

    // The server folder chooser, opened as the settings page's button does.
    bool chooserShown = false;
    SetFolderChooserResponder([&](frmSelDir &dialog) {
        dialog.show();
        saveShot(&dialog, out, QStringLiteral("real1-selectdir"));
        chooserShown = true;
        dialog.btn_Cancel_Click();
    });
    QString chosen = dbDir;
    BrowseServerPath(chosen, 0, QStringLiteral("RS"));
    SetFolderChooserResponder(nullptr);
    if (!chooserShown) {
        QTextStream(stderr) << "the folder chooser did not open\n";
        for (const MessageRequest &m : answers.requests()) QTextStream(stderr) << "message: " << m.prompt << "\n";
        return 1;
    }

    // One picture while account creation runs, taken when it lets events through.
    bool taken = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!taken && g_CurrentModule == 1 && window.PBar()->Value() > 0) {
            taken = true;
            saveShot(&window, out, QStringLiteral("real2-checking"));
        }
    });
    watcher.start(0);
    window.btnNext_Click();
    watcher.stop();
    saveShot(&window, out, QStringLiteral("real2-checked"));
    if (g_WizardStep != 2 || window.btnNext()->Caption() != QStringLiteral("下一步")) {
        QTextStream(stderr) << "the check did not pass: " << window.LBLDes()->text() << "\n";
        for (const MessageRequest &m : answers.requests()) QTextStream(stderr) << "message: " << m.prompt << "\n";
        return 1;
    }

    taken = false;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!taken && g_WizardStep == 3) {
            taken = true;
            saveShot(&window, out, QStringLiteral("real3-upgrading"));
        }
    });
    watcher.start(0);
    window.btnNext_Click();
    watcher.stop();
    saveShot(&window, out, QStringLiteral("real4-report"));
    // A run whose stages let no events through: the page's bars as the run
    // left them.
    if (!taken) window.ctlUpgrade1()->grab().save(out + QStringLiteral("/real3-upgrading.png"));
    if (g_WizardStep != 4) {
        QTextStream(stderr) << "the upgrade did not end on the report\n";
        return 1;
    }
    window.btnNext_Click();
    int missing = 0;
    for (const char *name : {"subledgernature", "unit", "bussinessunits", "papointdatatype", "datatype",
                             "setbankaccount"})
        if (!dialogs.shot().contains(QString::fromLatin1(name))) {
            QTextStream(stderr) << "not reached: the mapping dialog " << name << "\n";
            ++missing;
        }
    return missing > 0 ? 1 : 0;
}
