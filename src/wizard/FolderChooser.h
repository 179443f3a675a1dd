// The server folder chooser as the foundation's BrowseServerPath opens it:
// the dialog runs modally unless a test installed a responder that works it.
// UI thread only.
#pragma once

#include <functional>

class frmSelDir;

// Makes frmSelDir the chooser of BrowseServerPath; repeated calls are
// harmless. The settings page installs it when it is created.
void InstallFolderChooser();

// How the chooser is shown: the default runs it modally. Tests install a
// responder that works the dialog and returns; the dialog is already
// filled, and activation has not run yet. Installs the chooser as well.
using FolderChooserResponder = std::function<void(frmSelDir &dialog)>;
// Returns the previous responder; an empty one restores the default.
FolderChooserResponder SetFolderChooserResponder(FolderChooserResponder responder);
