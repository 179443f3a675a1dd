// Entry point: the wizard's main window does the start-up; a second copy
// brings the first to the front and ends at once.
#include <QApplication>

#include "wizard/MappingDialogs.h"
#include "wizard/QtTranslations.h"
#include "wizard/WizardServices.h"
#include "wizard/frmMain.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    InstallQtTranslations();
    ConnectWizardServices();
    InstallMappingDialogs();
    frmMain window;
    if (!window.Form_Load()) return 0;
    if (!window.ended()) window.show();
    return QApplication::exec();
}
