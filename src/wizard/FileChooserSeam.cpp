#include "wizard/FileChooserSeam.h"

#include <QFileDialog>

namespace {
FileChooserSeam::Responder &responder() {
    static FileChooserSeam::Responder r;
    return r;
}
}  // namespace

QString FileChooserSeam::show(QWidget *parent, const FileChooserRequest &request) {
    if (responder()) return responder()(request);
    // "description (*.ext)|*.ext": Qt wants only the part before "|".
    const QString filter = request.filter.section(QLatin1Char('|'), 0, 0);
    return QFileDialog::getOpenFileName(parent, request.title, request.initialFile, filter);
}

FileChooserSeam::Responder FileChooserSeam::setResponder(Responder r) {
    Responder previous = std::move(responder());
    responder() = std::move(r);
    return previous;
}
