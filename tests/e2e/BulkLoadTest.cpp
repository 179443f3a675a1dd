// The upgrade run builds its account set without syncing each commit, and
// when it reports success everything is on disk: the set's files as a power
// cut leaves them as the run writes its report open sound and hold every
// row the set holds.
#include "UpgradeRunFixture.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "foundation/Globals.h"
#include "kit/PowerCut.h"
#include "server/SqlFunctions.h"
#include "wizard/StageRegistry.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardHooks.h"

namespace {

using FileContents = std::map<std::string, std::vector<std::string>>;

// Every table of a database file read straight from SQLite (by lower-case
// name), each table's
// rows sorted, every value with its storage class and exact bytes; a failure
// is kept as the table "<error>".
FileContents fileContents(const std::string &path, int flags) {
    FileContents all;
    sqlite3 *db = nullptr;
    auto fail = [&](const std::string &why) {
        all["<error>"].push_back(why + ": " + (db ? sqlite3_errmsg(db) : ""));
        sqlite3_close(db);
        return all;
    };
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) return fail("open");
    server::registerSqlFunctions(db, nullptr);  // the text collation of the indexes
    sqlite3_stmt *st = nullptr;
    std::vector<std::string> tables;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &st, nullptr) != SQLITE_OK)
        return fail("schema");
    while (sqlite3_step(st) == SQLITE_ROW) tables.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    for (const std::string &table : tables) {
        std::string key = table;
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        std::vector<std::string> &rows = all[key];
        const std::string sql = "SELECT * FROM \"" + table + "\"";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return fail(table);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                const int type = sqlite3_column_type(st, i);
                const char *bytes = static_cast<const char *>(sqlite3_column_blob(st, i));
                const std::string value(bytes ? bytes : "", size_t(sqlite3_column_bytes(st, i)));
                row += std::to_string(type) + ':' + std::to_string(value.size()) + ':' + value + '|';
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) return fail(table);
        std::sort(rows.begin(), rows.end());
    }
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        all["<integrity>"].emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return all;
}

// The tables whose rows differ, with their row counts.
std::vector<std::string> fileDifferences(const FileContents &expected, const FileContents &actual) {
    std::vector<std::string> found;
    std::map<std::string, int> names;
    for (const auto &[name, rows] : expected) ++names[name];
    for (const auto &[name, rows] : actual) ++names[name];
    for (const auto &[name, seen] : names) {
        auto want = expected.find(name);
        auto got = actual.find(name);
        if (want != expected.end() && got != actual.end() && want->second == got->second) continue;
        found.push_back(name + ": " + (got == actual.end() ? "missing" : std::to_string(got->second.size())) +
                        " rows, expected " +
                        (want == expected.end() ? "none" : std::to_string(want->second.size())));
    }
    return found;
}

class BulkLoadTest : public UpgradeRunFixture {};

TEST_F(BulkLoadTest, APowerCutRightAfterTheRunReportsSuccessLosesNothing) {
    powercut::Install();
    useSample(QStringLiteral("standard"));
    powercut::Watch(server.path().toStdString());
    std::string file;
    std::vector<int> upgradeSyncs;  // syncs of the set's files as each upgrade stage ends
    SetStageObserver([&](int code, int, double) {
        if (g_WizardStep != 3) return;
        if (file.empty())
            file = server.value(QStringLiteral("master"),
                                QStringLiteral("select filename from sysdatabases where name = '") + kTarget +
                                    QLatin1Char('\''))
                       .toStdString();
        upgradeSyncs.push_back(powercut::Syncs(file) + powercut::Syncs(file + "-wal"));
        (void)code;
    });
    // The cut comes as the run writes its report, with the set still open.
    const std::string cut = server.path().toStdString() + "/cut.mdf";
    bool cutTaken = false;
    WizardHooks::WriteHtmlReport = [&](const QString &) {
        if (g_WizardStep == 3 && !file.empty())
            cutTaken = powercut::WriteImages({{file, cut}, {file + "-wal", cut + "-wal"}});
    };
    ASSERT_EQ(checkAndUpgrade(), RunOutcome::Passed) << lines.join(QLatin1Char('\n')).toStdString();
    SetStageObserver(nullptr);
    ASSERT_FALSE(file.empty());
    ASSERT_GE(upgradeSyncs.size(), 2U);
    ASSERT_TRUE(cutTaken);

    // Nothing of the set reached the disk while the run wrote it.
    EXPECT_EQ(upgradeSyncs.front(), upgradeSyncs.back());
    const FileContents live = fileContents(file, SQLITE_OPEN_READONLY);
    ASSERT_EQ(live.count("<error>"), 0U) << live.at("<error>").front();
    ASSERT_FALSE(live.at("t_voucherentry").empty());
    const FileContents afterCut = fileContents(cut, SQLITE_OPEN_READWRITE);
    EXPECT_EQ(fileDifferences(live, afterCut), std::vector<std::string>());
    EXPECT_EQ(afterCut.count("<integrity>") ? afterCut.at("<integrity>").front() : "", "ok");
}

}  // namespace
