// Entry point: the wizard's main window does the start-up; a second copy
// brings the first to the front and ends at once.
#include <QApplication>

#include "accounts/CXRAc.h"
#include "wizard/WizardHooks.h"
#include "wizard/frmMain.h"

namespace {

// The server component behind the wizard's account-set hooks.
void connectServerAdministration() {
    InstallServerAdministration();
    WizardHooks::ExistAcct = [](const QString &acctNum) {
        auto server = ServerAdmin();
        return server && server->ExistAcct(acctNum);
    };
    WizardHooks::DeleteAcct = [](const QString &acctNum) {
        auto server = ServerAdmin();
        return server && server->DeleteAcct(acctNum);
    };
    WizardHooks::GetConnectString = [](const QString &acctNum) {
        auto server = ServerAdmin();
        return server ? server->GetConnectString(acctNum, QString()) : QString();
    };
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    connectServerAdministration();
    frmMain window;
    if (!window.Form_Load()) return 0;
    if (!window.ended()) window.show();
    return QApplication::exec();
}
