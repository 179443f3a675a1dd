// The file-open dialog of the wizard. show() runs a real file dialog unless
// a responder is installed (tests, unattended runs), which receives the
// request and returns the chosen file ("" for none). UI thread only.
#pragma once

#include <functional>

#include <QString>

class QWidget;

struct FileChooserRequest {
    QString title;
    QString filter;               // "description (*.ext)|*.ext"
    QString initialFile;          // the file the dialog starts on, "" for none
    bool mustExist = true;        // only an existing file can be chosen
    bool readOnlyChecked = true;  // the "以只读方式打开" box, ticked at start
};

class QFileDialog;
// The dialog show() runs when no responder is installed (not yet shown).
QFileDialog *MakeFileDialog(QWidget *parent, const FileChooserRequest &request);

class FileChooserSeam {
public:
    using Responder = std::function<QString(const FileChooserRequest &)>;

    static QString show(QWidget *parent, const FileChooserRequest &request);
    // Returns the previous responder; an empty one restores the dialog.
    static Responder setResponder(Responder responder);
};
