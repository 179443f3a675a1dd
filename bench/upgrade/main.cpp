// The whole upgrade on a large generated account set, as a user runs it:
// samplegen writes the set (standard edition, large size by default),
// aisbuild turns it into an .ais file, standin lays out an installation and
// upgraderun checks and upgrades it. Prints the time of every stage, the
// totals and the runner's peak memory. Goal: under 30 s and 1 GB in all.
//   bench_upgrade [samplegen arguments...]   (default: --edition standard --size large)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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

    if (!runTool(QStringLiteral("upgraderun"),
                 {QStringLiteral("--standin"), dir.filePath(QStringLiteral("inst")), QStringLiteral("--source"), source,
                  QStringLiteral("--number"), QStringLiteral("Large")},
                 &output, &seconds))
        return 1;
    for (const QString &line : output.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("stage\t")) || line.startsWith(QLatin1String("peak memory\t")))
            out() << line << Qt::endl;
    out() << "check and upgrade\t" << QString::number(seconds, 'f', 2) << " s (goal 30 s, 1 GB)" << Qt::endl;
    return 0;
}
