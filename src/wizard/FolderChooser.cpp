#include "wizard/FolderChooser.h"

#include "foundation/ServerFolders.h"
#include "wizard/frmSelDir.h"

namespace {

FolderChooserResponder &chooserResponder() {
    static FolderChooserResponder responder;
    return responder;
}

QString runChooser(const ServerFolderRequest &request) {
    frmSelDir dialog;
    dialog.CurrFullPath = request.CurrFullPath;
    dialog.CurrServer = request.CurrServer;
    dialog.JustExtName = request.JustExtName;
    dialog.CurrExtName = request.CurrExtName;
    dialog.lOperType = request.lOperType;
    dialog.HandleFlag = request.HandleFlag;
    if (chooserResponder())
        chooserResponder()(dialog);
    else
        dialog.exec();
    return dialog.CurrFullPath;
}

}  // namespace

void InstallFolderChooser() { SetServerFolderChooser(&runChooser); }

FolderChooserResponder SetFolderChooserResponder(FolderChooserResponder responder) {
    InstallFolderChooser();
    FolderChooserResponder previous = std::move(chooserResponder());
    chooserResponder() = std::move(responder);
    return previous;
}
