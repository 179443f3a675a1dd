#include "platform/DesktopOpener.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// Long enough for a handler that fails to say so, short enough that the
// window does not seem to hang while a browser comes up.
constexpr int kFailureWaitMs = 3000;

QString handlerProgram() {
    const QString custom = qEnvironmentVariable("PNW_DESKTOP_OPENER");
    return custom.isEmpty() ? QStringLiteral("xdg-open") : custom;
}

}  // namespace

bool OpenWithDesktop(const QUrl &url, QString &error) {
    const QString program = handlerProgram();
    if (QStandardPaths::findExecutable(program).isEmpty() && !program.contains(QLatin1Char('/'))) {
        error = QStringLiteral("没有找到打开文件的程序（%1）").arg(program);
        return false;
    }
    // The process outlives this call when the handler keeps running; it
    // deletes itself once it ends.
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start();
    if (!process->waitForStarted(kFailureWaitMs)) {
        error = process->errorString();
        delete process;
        return false;
    }
    if (!process->waitForFinished(kFailureWaitMs)) return true;
    if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0) return true;
    const QString output = QString::fromLocal8Bit(process->readAll()).trimmed();
    error = output.isEmpty() ? QStringLiteral("%1 退出码 %2").arg(program).arg(process->exitCode()) : output;
    return false;
}
