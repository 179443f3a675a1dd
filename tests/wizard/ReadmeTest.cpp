// What the README tells a newcomer matches what the program shows and what
// scripts/run lays out: the settings page's captions as the README quotes
// them, the tools it names built by scripts/run, the balances-only sample
// copied where it says, and its two set-up commands.
#include <QFile>
#include <QRadioButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "controls/zqbutton.h"
#include "support/QtApp.h"
#include "wizard/ctlSetting.h"

namespace {

QString readText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(Readme, NamesWhatTheSettingsPageShowsAndWhatScriptsRunLaysOut) {
    ensureQtApp();
    const QString readme = readText(QStringLiteral(PNW_SOURCE_DIR "/README.md"));
    const QString run = readText(QStringLiteral(PNW_SOURCE_DIR "/scripts/run"));
    ASSERT_FALSE(readme.isEmpty());
    ASSERT_FALSE(run.isEmpty());

    ctlSetting page(nullptr, QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
    const QString button = QLatin1Char('"') + page.btnPath()->Caption() + QStringLiteral("\" button");
    EXPECT_TRUE(readme.contains(button)) << button.toStdString();
    const QString balances = QLatin1Char('"') + page.Option1(1)->text() + QLatin1Char('"');
    const qsizetype at = readme.indexOf(balances);
    ASSERT_GE(at, 0) << balances.toStdString();
    EXPECT_TRUE(readme.mid(at, 400).contains(QStringLiteral("build/run/samples/mini_open/mini_open.ais")));

    // Every sample the README sends the reader to under build/run/samples is copied there.
    static const QRegularExpression copied(QStringLiteral("for set in ([a-z_ ]+); do"));
    const QStringList sets = copied.match(run).captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    static const QRegularExpression named(QStringLiteral("build/run/samples/([a-z_]+)/"));
    for (auto m = named.globalMatch(readme); m.hasNext();) {
        const QString set = m.next().captured(1);
        EXPECT_TRUE(sets.contains(set)) << set.toStdString();
    }
    // The tools the README says scripts/run builds are among its targets.
    static const QRegularExpression targets(QStringLiteral("PNW_TARGETS=\"([^\"]+)\""));
    const QStringList built = targets.match(run).captured(1).split(QLatin1Char(' '));
    for (const QString &tool : {QStringLiteral("upgraderun"), QStringLiteral("localsql"), QStringLiteral("samplegen")}) {
        EXPECT_TRUE(built.contains(tool)) << tool.toStdString();
        EXPECT_TRUE(readme.contains(QLatin1Char('`') + tool + QLatin1Char('`'))) << tool.toStdString();
    }

    // A newcomer's set-up is two commands, each a code line of its own.
    const QString start = readme.section(QStringLiteral("## Start here"), 1).section(QStringLiteral("\n## "), 0, 0);
    static const QRegularExpression codeLine(QStringLiteral("(?m)^    (\\S.*)$"));
    QStringList commands;
    for (auto m = codeLine.globalMatch(start); m.hasNext();) commands << m.next().captured(1);
    EXPECT_EQ(commands, QStringList({QStringLiteral("scripts/run"), QStringLiteral("scripts/test")}));
}

}  // namespace
