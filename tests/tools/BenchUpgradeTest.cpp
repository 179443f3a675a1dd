// bench_upgrade on a small set: after the run it measures the floor (the
// source read, the target written) and prints every stage against it.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

TEST(BenchUpgradeTest, EveryStageIsPrintedAgainstTheFloorMeasuredInTheSameRun) {
    const QString program = QStringLiteral(PNW_BINARY_DIR "/bin/bench_upgrade");
    if (!QFileInfo::exists(program)) GTEST_SKIP() << "built without the benchmarks";
    QProcess p;
    p.start(program,
            {QStringLiteral("--edition"), QStringLiteral("standard"), QStringLiteral("--size"), QStringLiteral("small")});
    ASSERT_TRUE(p.waitForFinished(600000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    ASSERT_EQ(p.exitCode(), 0) << out.toStdString();
    const QRegularExpressionMatch floor =
        QRegularExpression(QStringLiteral("\nfloor\tread (\\d+) source rows [0-9.]+ s, write (\\d+) target rows [0-9.]+ s"))
            .match(out);
    ASSERT_TRUE(floor.hasMatch()) << out.toStdString();
    EXPECT_GT(floor.captured(1).toLongLong(), 1000);
    EXPECT_GT(floor.captured(2).toLongLong(), floor.captured(1).toLongLong());
    // Check and upgrade: every stage once per run (and what was written after
    // them), each with time, rows, rows per second, floor, ratio and peak memory.
    const QString table = out.section(QStringLiteral("stage\ttime s\trows\trows/s\tfloor s\tratio\tpeak MB\n"), 1);
    const QStringList rows = table.section(QStringLiteral("whole run\t"), 0, 0).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_GE(rows.size(), 11) << out.toStdString();
    static const QRegularExpression row(
        QStringLiteral("^[^\t]+\t[0-9.]+\t\\d+\t(\\d+|-)\t[0-9.]+\t([0-9.]+|-)\t[1-9]\\d*$"));
    qint64 added = 0;
    for (const QString &line : rows) {
        EXPECT_TRUE(row.match(line).hasMatch()) << line.toStdString();
        added += line.section(QLatin1Char('\t'), 2, 2).toLongLong();
    }
    EXPECT_GE(added, floor.captured(2).toLongLong());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\nwhole run\t[0-9.]+ s\t\\d+ rows\tratio to the floor [0-9.]+\tpeak "
                                                  "[1-9]\\d* MB\n"))
                    .match(out)
                    .hasMatch())
        << out.toStdString();
}

}  // namespace
