// The whole upgrade on a large generated account set, as a user runs it:
// samplegen writes the set (standard edition, large size by default),
// aisbuild turns it into an .ais file, standin lays out an installation and
// upgraderun checks and upgrades it. Prints the time of every stage, the
// totals and the runner's peak memory. Goal: under 30 s and 1 GB in all.
// Every log entry of the run closes a phase: it is printed with the time
// since the entry before it and the runner's peak memory so far.
// Then the floor measured in the same run (see Floor.h), and per stage its
// time, the rows it added to the target, rows per second, its share of the
// floor (its rows at the floor's write rate; the first stage also reads the
// source) with the ratio, and the peak memory so far.
//   bench_upgrade [samplegen arguments...]   (default: --edition standard --size large)
//   bench_upgrade --scale   the large set at 1/4, 1/2, 1 and 2 times its size, and the growth
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <map>
#include <vector>

#include "Floor.h"

namespace {

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}

QString fixed(double value, int decimals = 2) { return QString::number(value, 'f', decimals); }

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

struct Stage {
    QString name;
    double seconds = 0;  // as the runner timed it
    qint64 rows = 0;     // rows it added to the target's tables (the growth of those that grew)
    qint64 peak = 0;     // the runner's peak memory when it ended, MB
};

struct RunResult {
    bool ok = false;
    double seconds = 0;
    qint64 peak = 0;
    std::vector<Stage> stages;
};

// The account set's data file in the installation ("" before it is made).
QString targetFile(const QString &installation) {
    const QDir data(installation + QStringLiteral("/data/databases"));
    const QStringList files = data.entryList({QStringLiteral("*.mdf")}, QDir::Files);
    return files.isEmpty() ? QString() : data.filePath(files.first());
}

// Runs upgraderun, printing each stage line and each log entry as a phase
// with its time and the peak memory so far; at each stage's end the
// target's rows are counted.
RunResult runUpgrade(const QStringList &arguments, const QString &installation) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/upgraderun"), arguments);
    qint64 last = 0;
    RunResult result;
    std::map<std::string, int64_t> rowsBefore;
    QString output;
    QByteArray pending;
    auto take = [&](const QString &line) {
        output += line + QLatin1Char('\n');
        const qint64 now = timer.elapsed();
        if (p.processId() > 0) result.peak = std::max(result.peak, peakMegabytes(p.processId()));
        const QStringList parts = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1String("stage\t")) || line.startsWith(QLatin1String("peak memory\t"))) {
            out() << line << Qt::endl;
            if (parts.size() >= 4 && parts.at(0) == QLatin1String("stage")) {
                // Rows added: what each table grew by (dropped staging copies do not count).
                std::map<std::string, int64_t> rows = CountRows(targetFile(installation).toStdString());
                qint64 added = 0;
                for (const auto &[table, count] : rows) added += std::max<int64_t>(0, count - rowsBefore[table]);
                result.stages.push_back(
                    {parts.at(1), parts.at(3).section(QLatin1Char(' '), 0, 0).toDouble(), added, result.peak});
                rowsBefore = std::move(rows);
            }
        } else if (parts.size() >= 3 && !line.startsWith(QLatin1String("message\t"))) {
            out() << "  phase\t" << fixed((now - last) / 1000.0) << " s\t" << result.peak << " MB\t" << parts.at(1)
                  << '\t' << parts.mid(2).join(QLatin1Char(' ')).left(60) << Qt::endl;
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
    result.seconds = timer.nsecsElapsed() / 1e9;
    // What the run wrote after its last stage (its closing entries).
    qint64 after = 0;
    for (const auto &[table, count] : CountRows(targetFile(installation).toStdString()))
        after += std::max<int64_t>(0, count - rowsBefore[table]);
    if (after > 0) result.stages.push_back({QStringLiteral("(after the stages)"), 0, after, result.peak});
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() == 2) {
        out() << "upgraderun failed:\n" << output << Qt::endl;
        return result;
    }
    out() << "check and upgrade\t" << fixed(result.seconds) << " s (goal 30 s, 1 GB)" << Qt::endl;
    result.ok = true;
    return result;
}

struct Measured {
    RunResult run;
    Floor floor;
};

// Generates, builds, lays out and upgrades one set, then measures the floor
// on its source and target and prints the stages against it.
bool measure(const QStringList &generate, Measured &m) {
    QTemporaryDir dir;
    const QString tables = dir.filePath(QStringLiteral("tables"));
    const QString source = dir.filePath(QStringLiteral("source/large.ais"));
    const QString installation = dir.filePath(QStringLiteral("inst"));
    QDir().mkpath(dir.filePath(QStringLiteral("source")));
    double seconds = 0;
    QString output;
    if (!runTool(QStringLiteral("samplegen"), generate + QStringList{tables}, &output, &seconds)) return false;
    out() << "generate\t" << fixed(seconds) << " s" << Qt::endl;
    if (!runTool(QStringLiteral("aisbuild"), {tables, source}, &output, &seconds)) return false;
    out() << "aisbuild\t" << fixed(seconds) << " s" << Qt::endl;
    if (!runTool(QStringLiteral("standin"), {installation}, &output, &seconds)) return false;

    // The numbers of the generated set's two bank accounts, as an operator
    // types them into the bank-account dialog.
    const QString answers = dir.filePath(QStringLiteral("answers.txt"));
    QFile file(answers);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QStringLiteral("bank 1002.01 人民币 = 310066001\nbank 1002.02 美元 = 310066002\n").toUtf8());
    file.close();
    m.run = runUpgrade({QStringLiteral("--standin"), installation, QStringLiteral("--source"), source,
                        QStringLiteral("--number"), QStringLiteral("Large"), QStringLiteral("--answers"), answers},
                       installation);
    if (!m.run.ok) return false;

    m.floor = MeasureFloor(source.toStdString(), targetFile(installation).toStdString(),
                           dir.filePath(QStringLiteral("floor.mdf")).toStdString());
    if (!m.floor.error.empty()) {
        out() << "floor failed: " << QString::fromStdString(m.floor.error) << Qt::endl;
        return false;
    }
    const Floor &f = m.floor;
    out() << "floor\tread " << f.sourceRows << " source rows " << fixed(f.readSeconds) << " s, write " << f.targetRows
          << " target rows " << fixed(f.writeSeconds) << " s, in all " << fixed(f.seconds()) << " s" << Qt::endl;
    const double perRow = f.targetRows > 0 ? f.writeSeconds / double(f.targetRows) : 0;
    out() << "stage\ttime s\trows\trows/s\tfloor s\tratio\tpeak MB" << Qt::endl;
    for (size_t i = 0; i < m.run.stages.size(); ++i) {
        const Stage &s = m.run.stages[i];
        const double floor = double(s.rows) * perRow + (i == 0 ? f.readSeconds : 0);
        out() << s.name << '\t' << fixed(s.seconds) << '\t' << s.rows << '\t'
              << (s.seconds > 0 ? fixed(double(s.rows) / s.seconds, 0) : QStringLiteral("-")) << '\t'
              << fixed(floor, 3) << '\t' << (floor > 0.001 ? fixed(s.seconds / floor, 1) : QStringLiteral("-")) << '\t'
              << s.peak << Qt::endl;
    }
    out() << "whole run\t" << fixed(m.run.seconds) << " s\t" << f.targetRows << " rows\tratio to the floor "
          << fixed(m.run.seconds / f.seconds(), 1) << "\tpeak " << m.run.peak << " MB" << Qt::endl;
    return true;
}

// The large set's arguments at a multiple of its size.
QStringList scaled(double factor) {
    QStringList arguments = {QStringLiteral("--edition"), QStringLiteral("standard"), QStringLiteral("--size"),
                             QStringLiteral("large")};
    const struct {
        const char *option;
        int large;
    } counts[] = {{"--vouchers", 200000}, {"--accounts", 2000}, {"--assets", 1000},
                  {"--employees", 200},   {"--customers", 300}, {"--suppliers", 100}};
    for (const auto &c : counts)
        arguments << QString::fromLatin1(c.option) << QString::number(qRound(c.large * factor));
    return arguments;
}

int scale() {
    const double factors[] = {0.25, 0.5, 1, 2};
    std::vector<Measured> runs;
    for (double factor : factors) {
        out() << "=== scale " << factor << Qt::endl;
        Measured m;
        if (!measure(scaled(factor), m)) return 1;
        runs.push_back(m);
    }
    out() << "=== growth (each size against the one before: data rows, run time, floor, peak memory; per stage time)"
          << Qt::endl;
    out() << "scale\trows\trun s\tfloor s\tratio\tpeak MB\tx rows\tx time\tx peak\tstage growth" << Qt::endl;
    for (size_t i = 0; i < runs.size(); ++i) {
        const Measured &m = runs[i];
        out() << factors[i] << '\t' << m.floor.targetRows << '\t' << fixed(m.run.seconds) << '\t'
              << fixed(m.floor.seconds()) << '\t' << fixed(m.run.seconds / m.floor.seconds(), 1) << '\t' << m.run.peak;
        if (i > 0) {
            const Measured &b = runs[i - 1];
            out() << '\t' << fixed(double(m.floor.targetRows) / double(b.floor.targetRows)) << '\t'
                  << fixed(m.run.seconds / b.run.seconds) << '\t' << fixed(double(m.run.peak) / double(b.run.peak))
                  << '\t';
            for (size_t s = 0; s < m.run.stages.size() && s < b.run.stages.size(); ++s)
                if (b.run.stages[s].seconds >= 0.05)
                    out() << m.run.stages[s].name << ' ' << fixed(m.run.stages[s].seconds / b.run.stages[s].seconds)
                          << "  ";
        }
        out() << Qt::endl;
    }
    return 0;
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList generate = app.arguments().mid(1);
    if (generate == QStringList{QStringLiteral("--scale")}) return scale();
    if (generate.isEmpty())
        generate = {QStringLiteral("--edition"), QStringLiteral("standard"), QStringLiteral("--size"),
                    QStringLiteral("large")};
    Measured m;
    return measure(generate, m) ? 0 : 1;
}
