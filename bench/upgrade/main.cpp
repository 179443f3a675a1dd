// The whole upgrade on a large generated account set, as a user runs it:
// samplegen writes the set (standard edition, large size by default),
// aisbuild turns it into an .ais file, standin lays out an installation and
// upgraderun checks and upgrades it. Prints the time of every stage, the
// totals and the runner's peak memory. Goal: under 30 s and 1 GB in all.
// Every log entry of the run closes a phase: it is printed with the time
// since the entry before it and the runner's peak memory so far.
//   bench_upgrade [samplegen arguments...]   (default: --edition standard --size large)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}

// Runs a program of build/bin; its merged output, or none when it failed.
bool runTool(const QString &program, const QStringList &arguments, QString *output, double *seconds) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(QCoreApplication::applicationDirPath() + QLatin1Char('/') + program, arguments);
    const bool finished = p.waitForFinished(-1);
    if (seconds) *seconds = timer.nsecsElapsed() / 1e9;
    if (output) *output = QString::fromUtf8(p.readAll());
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() == 2) {
        out() << program << " failed:\n" << (output ? *output : QString()) << Qt::endl;
        return false;
    }
    return true;
}

// The peak resident memory of a running process so far, in MB (0 when unknown).
qint64 peakMegabytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong() / 1024;
    return 0;
}

// Runs upgraderun, printing each stage line and each log entry as a phase
// with its time and the peak memory so far.
bool runUpgrade(const QStringList &arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/upgraderun"), arguments);
    qint64 last = 0;
    qint64 peak = 0;
    QString output;
    QByteArray pending;
    auto take = [&](const QString &line) {
        output += line + QLatin1Char('\n');
        const qint64 now = timer.elapsed();
        if (p.processId() > 0) peak = std::max(peak, peakMegabytes(p.processId()));
        const QStringList parts = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1String("stage\t")) || line.startsWith(QLatin1String("peak memory\t"))) {
            out() << line << Qt::endl;
        } else if (parts.size() >= 3 && !line.startsWith(QLatin1String("message\t"))) {
            out() << "  phase\t" << QString::number((now - last) / 1000.0, 'f', 2) << " s\t" << peak << " MB\t"
                  << parts.at(1) << '\t' << parts.mid(2).join(QLatin1Char(' ')).left(60) << Qt::endl;
        } else {
            return;  // a continuation line does not end a phase
        }
        last = now;
    };
    while (p.state() != QProcess::NotRunning || p.bytesAvailable() > 0) {
        if (p.bytesAvailable() == 0) p.waitForReadyRead(100);
        pending += p.readAll();
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            take(QString::fromUtf8(pending.left(end)));
            pending.remove(0, end + 1);
        }
    }
    if (!pending.isEmpty()) take(QString::fromUtf8(pending));
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() == 2) {
        out() << "upgraderun failed:\n" << output << Qt::endl;
        return false;
    }
    out() << "check and upgrade\t" << QString::number(seconds, 'f', 2) << " s (goal 30 s, 1 GB)" << Qt::endl;
    return true;
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList generate = app.arguments().mid(1);
    if (generate.isEmpty())
        generate = {QStringLiteral("--edition"), QStringLiteral("standard"), QStringLiteral("--size"),
                    QStringLiteral("large")};
    QTemporaryDir dir;
    const QString tables = dir.filePath(QStringLiteral("tables"));
    const QString source = dir.filePath(QStringLiteral("source/large.ais"));
    QDir().mkpath(dir.filePath(QStringLiteral("source")));
    double seconds = 0;
    QString output;
    if (!runTool(QStringLiteral("samplegen"), generate + QStringList{tables}, &output, &seconds)) return 1;
    out() << "generate\t" << QString::number(seconds, 'f', 2) << " s" << Qt::endl;
    if (!runTool(QStringLiteral("aisbuild"), {tables, source}, &output, &seconds)) return 1;
    out() << "aisbuild\t" << QString::number(seconds, 'f', 2) << " s" << Qt::endl;
    if (!runTool(QStringLiteral("standin"), {dir.filePath(QStringLiteral("inst"))}, &output, &seconds)) return 1;

    // The numbers of the generated set's two bank accounts, as an operator
    // types them into the bank-account dialog.
    const QString answers = dir.filePath(QStringLiteral("answers.txt"));
    QFile file(answers);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(QStringLiteral("bank 1002.01 人民币 = 310066001\nbank 1002.02 美元 = 310066002\n").toUtf8());
    file.close();
    return runUpgrade({QStringLiteral("--standin"), dir.filePath(QStringLiteral("inst")), QStringLiteral("--source"),
                       source, QStringLiteral("--number"), QStringLiteral("Large"), QStringLiteral("--answers"),
                       answers})
               ? 0
               : 1;
}
