#include "wizard/FileChooserSeam.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>

namespace {
FileChooserSeam::Responder &responder() {
    static FileChooserSeam::Responder r;
    return r;
}
}  // namespace

QFileDialog *MakeFileDialog(QWidget *parent, const FileChooserRequest &request) {
    // Qt's own dialog (not the desktop's), so the read-only box can join it.
    auto *dialog = new QFileDialog(parent, request.title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // "description (*.ext)|*.ext": Qt wants only the part before "|".
    dialog->setNameFilter(request.filter.section(QLatin1Char('|'), 0, 0));
    if (!request.initialFile.isEmpty()) dialog->selectFile(request.initialFile);
    auto *readOnly = new QCheckBox(QStringLiteral("以只读方式打开"), dialog);
    readOnly->setObjectName(QStringLiteral("readOnlyBox"));
    readOnly->setChecked(request.readOnlyChecked);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog->layout()))
        grid->addWidget(readOnly, grid->rowCount(), 0, 1, grid->columnCount());
    return dialog;
}

QString FileChooserSeam::show(QWidget *parent, const FileChooserRequest &request) {
    if (responder()) return responder()(request);
    QFileDialog *dialog = MakeFileDialog(parent, request);
    const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    const QString file = chosen ? dialog->selectedFiles().constFirst() : QString();
    delete dialog;
    return file;
}

FileChooserSeam::Responder FileChooserSeam::setResponder(Responder r) {
    Responder previous = std::move(responder());
    responder() = std::move(r);
    return previous;
}
