// The command line of upgraderun:
//   upgraderun --standin <installation folder> --source <file.ais>
//              --number <account number> [--name <account name>]
//              [--balances-only] [--check-only] [--answers <file>]
//   upgraderun --standin <installation folder> --delete <account number>
//   upgraderun --help
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

struct RunnerOptions {
    QString standin;
    QString source;
    QString number;
    QString name;  // "" takes the name the source file suggests
    bool balancesOnly = false;
    bool checkOnly = false;
    QString answers;  // "" answers every box with its default button
    QString deleteNumber;  // the account set to delete instead of a run
    bool help = false;

    // The options, or none with the reason in error.
    static std::optional<RunnerOptions> parse(const QStringList &arguments, QString &error);
    static QString usage();
    // The account name the source file suggests, with every character the
    // name rules refuse turned into "_" ("" when nothing is left).
    static QString defaultName(const QString &source);
};
