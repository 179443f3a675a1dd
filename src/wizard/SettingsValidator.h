// The rules that the settings page applies before it accepts a new
// upgrade's settings, in their fixed order; the first rule that fails ends
// the check. The account registry, the server's databases, the server
// folder and its free space are reached through lookups that tests and the
// program supply. No widgets: the page turns a verdict into focus and a
// raised error. UI thread only.
#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/PnwDictionary.h"
#include "wizard/WizardHooks.h"

// What the operator entered, as the fields hold it.
struct SettingsInput {
    QString source;
    QString acctNumber;
    QString acctName;
    QString dbDir;
    int option = 0;  // 0 upgrade all data, 1 balances only
};

enum class SettingsField { None, Source, AcctNumber, AcctName, DBDir };

struct SettingsVerdict {
    enum Kind {
        Accepted,
        Rejected,        // a rule failed: raise number 5 with the message
        FolderRejected,  // the folder check failed and has shown its message
    };
    Kind kind = Accepted;
    QString message;
    SettingsField focus = SettingsField::None;
    // For the name's forbidden character: the text to select (from 0).
    int selectStart = -1;
    int selectLength = 0;
};

class SettingsValidator {
public:
    struct Lookups {
        std::function<bool(const QString &path)> fileExists;
        // The file starts as a Jet (or ACE) database does.
        std::function<bool(const QString &path)> isJetDatabase;
        // No value: the registry cannot be read (a missing installation).
        std::function<std::optional<QList<RegisteredAccount>>()> accounts;
        std::function<QStringList()> databases;
        // Shows its own message and returns False when the folder is not
        // on the server.
        std::function<bool(const QString &path, const QString &label)> checkFolder;
        // Free megabytes of the file system holding the folder; raises
        // PnwError when it cannot tell.
        std::function<qint64(const QString &folder)> freeMegabytes;
    };

    // The program's lookups: the file system, WizardHooks, the server
    // folder services.
    static Lookups defaultLookups();

    SettingsValidator();
    explicit SettingsValidator(Lookups lookups);

    // Judges the input. Errors of a lookup or a check routine are raised
    // again as PnwError with their own number; a missing object (number 91:
    // no account registry, no server component) gets the installation hint
    // appended to its text.
    SettingsVerdict validate(const SettingsInput &input) const;

    // Database names no new account set may take: master, model, msdb,
    // tempdb and AcctCtl, in any case.
    static bool IsReservedDatabaseName(const QString &name);
    // Letters A-Z / a-z and digits only, at most 80 characters, after trimming.
    static bool IsValidAccountNumber(const QString &number);

    static constexpr qint64 MinimumFreeMegabytes = 300;

    // The settings record of accepted input (Source, AcctNum, AcctName,
    // DBDir, Option): what was judged is what is kept, the trimmed texts.
    static PnwDictionary SettingsRecord(const SettingsInput &input);

    // The account name a chosen source suggests: its file name without any
    // ".ais".
    static QString DefaultAccountName(const QString &source);

    // True when the file's header names a Jet or ACE database.
    static bool HasJetHeader(const QString &path);
    // "\r\n原因：它是…，不是普通文件。" for a FIFO, folder or device at the
    // path; "" for a regular file or nothing.
    static QString NotARegularFileReason(const QString &path);

private:
    SettingsVerdict validateRules(const SettingsInput &input) const;

    Lookups m_lookups;
};
