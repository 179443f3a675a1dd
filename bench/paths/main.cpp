// The engine's per-call paths against the same work done through the
// sqlite3 C API in the same run: a single-row insert, a per-row update keyed
// by an index, a call that opens a pooled session, runs an insert and closes
// it, an insert firing a trigger, and a temporary table made, filled and
// dropped. Each call of the engine is one client call through the ADO
// stand-in with literal values, in its own transaction; the raw side binds
// the values to a prepared statement on one connection. Prints the time per
// call of both (the fastest of five rounds, the sides taking turns) and
// their ratio; the goal is a ratio within 1.5. "temploop" is one call of ten
// turns of a loop that makes a # table by SELECT INTO, uses and drops it.
//
//   bench_paths [calls] [path [side]]   (default 20000; for a profiler: path
//                                        insert, update, session, trigger, temp
//                                        or temploop alone, side engine or raw)
#include <sqlite3.h>

#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/InstanceLocator.h"
#include "server/Instance.h"
#include "server/Session.h"

namespace {

using Clock = std::chrono::steady_clock;

const QString kConnection =
    QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=Bench;User ID=sa;Password=pw");

double timed(const std::function<void()> &work) {
    auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QString q(const std::string &s) { return QString::fromStdString(s); }

std::string amount(int i) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", i % 10000, i % 100);
    return text;
}

// The raw side: one connection, set up as the engine sets up its files
// (WAL, synchronous NORMAL, temporary tables in memory).
class Raw {
public:
    explicit Raw(const std::string &file) {
        sqlite3_open(file.c_str(), &db_);
        exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA temp_store=MEMORY;");
    }
    ~Raw() {
        for (auto *st : statements_) sqlite3_finalize(st);
        sqlite3_close(db_);
    }
    void exec(const std::string &sql) {
        char *error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::fprintf(stderr, "raw: %s: %s\n", sql.c_str(), error);
            std::exit(1);
        }
    }
    sqlite3_stmt *prepare(const std::string &sql) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "raw: %s: %s\n", sql.c_str(), sqlite3_errmsg(db_));
            std::exit(1);
        }
        statements_.push_back(st);
        return st;
    }
    void step(sqlite3_stmt *st) {
        while (sqlite3_step(st) == SQLITE_ROW) {
        }
        sqlite3_reset(st);
    }

private:
    sqlite3 *db_ = nullptr;
    std::vector<sqlite3_stmt *> statements_;
};

struct Path {
    const char *name;
    std::function<void(ado::Connection &)> engineSetUp;
    std::function<void(ado::Connection &, int)> engineCall;  // opens its own session when given a closed one
    bool ownSession;
    std::function<void(Raw &)> rawSetUp;
    std::function<void(Raw &, int)> rawCall;
};

const char *kEntryTable = "(FEntryID int identity primary key, FVoucherID int, FAccountID int, FAmount money, "
                          "FExplanation nvarchar(80))";
const char *kRawEntryTable = "(FEntryID INTEGER PRIMARY KEY AUTOINCREMENT, FVoucherID INT, FAccountID INT, "
                             "FAmount REAL, FExplanation TEXT)";

std::string entryValues(int i) {
    return "values (" + std::to_string(i / 4) + "," + std::to_string(i % 2000) + "," + amount(i) + ",N'摘要" +
           std::to_string(i % 500) + "')";
}

void bindEntry(sqlite3_stmt *st, int i) {
    std::string text = "摘要" + std::to_string(i % 500);
    sqlite3_bind_int(st, 1, i / 4);
    sqlite3_bind_int(st, 2, i % 2000);
    sqlite3_bind_double(st, 3, std::atof(amount(i).c_str()));
    sqlite3_bind_text(st, 4, text.c_str(), -1, SQLITE_TRANSIENT);
}

// Inserts entry i into the table through the caller's statement, prepared on
// first use; in a transaction of its own unless the caller has one.
void rawInsertEntry(Raw &r, sqlite3_stmt *&st, const std::string &table, int i, bool ownTransaction) {
    if (!st) st = r.prepare("insert into " + table + "(FVoucherID,FAccountID,FAmount,FExplanation) values (?,?,?,?)");
    if (ownTransaction) r.exec("BEGIN");
    bindEntry(st, i);
    r.step(st);
    if (ownTransaction) r.exec("COMMIT");
}

void inTransaction(ado::Connection &cn, const std::string &sql) {
    cn.BeginTrans();
    cn.Execute(q(sql));
    cn.CommitTrans();
}

std::vector<Path> paths() {
    std::vector<Path> out;
    out.push_back(
        {"insert",
         [](ado::Connection &cn) { cn.Execute(q(std::string("create table t_PathInsert") + kEntryTable)); },
         [](ado::Connection &cn, int i) {
             inTransaction(cn, "insert into t_PathInsert(FVoucherID,FAccountID,FAmount,FExplanation) " +
                                   entryValues(i));
         },
         false,
         [](Raw &r) { r.exec(std::string("create table t_PathInsert") + kRawEntryTable); },
         [](Raw &r, int i) {
             static sqlite3_stmt *st = nullptr;
             rawInsertEntry(r, st, "t_PathInsert", i, true);
         }});
    out.push_back(
        {"update",
         [](ado::Connection &cn) {
             cn.Execute(QStringLiteral("create table t_PathBalance(FAccountID int not null, FYear int, "
                                       "FDebit money, FCredit money, FCount int)\n"
                                       "create unique index ix_PathBalance on t_PathBalance(FAccountID, FYear)"));
             cn.BeginTrans();
             for (int a = 0; a < 2000; ++a)
                 cn.Execute(q("insert into t_PathBalance values (" + std::to_string(a) + ",2018,0,0,0)"));
             cn.CommitTrans();
         },
         [](ado::Connection &cn, int i) {
             inTransaction(cn, "update t_PathBalance set FDebit = FDebit + " + amount(i) +
                                   ", FCount = FCount + 1 where FAccountID = " + std::to_string(i * 7 % 2000) +
                                   " and FYear = 2018");
         },
         false,
         [](Raw &r) {
             r.exec("create table t_PathBalance(FAccountID INT NOT NULL, FYear INT, FDebit REAL, FCredit REAL, "
                    "FCount INT);\n"
                    "create unique index ix_PathBalance on t_PathBalance(FAccountID, FYear);\n"
                    "with recursive n(a) as (select 0 union all select a + 1 from n where a < 1999) "
                    "insert into t_PathBalance select a, 2018, 0, 0, 0 from n;");
         },
         [](Raw &r, int i) {
             static sqlite3_stmt *st = nullptr;
             if (!st)
                 st = r.prepare("update t_PathBalance set FDebit = FDebit + ?1, FCount = FCount + 1 "
                                "where FAccountID = ?2 and FYear = 2018");
             r.exec("BEGIN");
             sqlite3_bind_double(st, 1, std::atof(amount(i).c_str()));
             sqlite3_bind_int(st, 2, i * 7 % 2000);
             r.step(st);
             r.exec("COMMIT");
         }});
    out.push_back(
        {"session",
         [](ado::Connection &cn) { cn.Execute(q(std::string("create table t_PathSession") + kEntryTable)); },
         [](ado::Connection &, int i) {
             ado::Connection cn;
             cn.Open(kConnection);
             cn.Execute(q("insert into t_PathSession(FVoucherID,FAccountID,FAmount,FExplanation) " + entryValues(i)));
             cn.Close();
         },
         true,
         [](Raw &r) { r.exec(std::string("create table t_PathSession") + kRawEntryTable); },
         [](Raw &r, int i) {
             static sqlite3_stmt *st = nullptr;
             rawInsertEntry(r, st, "t_PathSession", i, false);
         }});
    out.push_back(
        {"trigger",
         [](ado::Connection &cn) {
             cn.Execute(q(std::string("create table t_PathTrigger") + kEntryTable));
             cn.Execute(QStringLiteral("create table t_PathAudit(FEntryID int, FAmount money)"));
             cn.Execute(QStringLiteral("create trigger tr_PathTrigger on t_PathTrigger for insert\nas\n"
                                       "insert into t_PathAudit(FEntryID, FAmount) select FEntryID, FAmount "
                                       "from inserted"));
         },
         [](ado::Connection &cn, int i) {
             inTransaction(cn, "insert into t_PathTrigger(FVoucherID,FAccountID,FAmount,FExplanation) " +
                                   entryValues(i));
         },
         false,
         [](Raw &r) {
             r.exec(std::string("create table t_PathTrigger") + kRawEntryTable + ";\n" +
                    "create table t_PathAudit(FEntryID INT, FAmount REAL);\n"
                    "create trigger tr_PathTrigger after insert on t_PathTrigger begin "
                    "insert into t_PathAudit(FEntryID, FAmount) values (new.FEntryID, new.FAmount); end;");
         },
         [](Raw &r, int i) {
             static sqlite3_stmt *st = nullptr;
             rawInsertEntry(r, st, "t_PathTrigger", i, true);
         }});
    out.push_back(
        {"temp",
         [](ado::Connection &) {},
         [](ado::Connection &cn, int i) {
             inTransaction(cn, "create table #TPathEntry(FEntryID int, FAccountID int, FAmount money)\n"
                               "insert into #TPathEntry values (" +
                                   std::to_string(i) + "," + std::to_string(i % 2000) + "," + amount(i) +
                                   ")\n"
                                   "update #TPathEntry set FAmount = FAmount * 2 where FEntryID = " +
                                   std::to_string(i) + "\ndrop table #TPathEntry");
         },
         false,
         [](Raw &) {},
         [](Raw &r, int i) {
             r.exec("BEGIN;\ncreate temp table TPathEntry(FEntryID INT, FAccountID INT, FAmount REAL);\n"
                    "insert into TPathEntry values (" +
                    std::to_string(i) + "," + std::to_string(i % 2000) + "," + amount(i) +
                    ");\n"
                    "update TPathEntry set FAmount = FAmount * 2 where FEntryID = " +
                    std::to_string(i) + ";\ndrop table TPathEntry;\nCOMMIT;");
         }});
    out.push_back(
        {"temploop",
         [](ado::Connection &cn) {
             cn.Execute(QStringLiteral("create table t_PathSource(FID int not null primary key, FAccountID int, "
                                       "FAmount money)\n"
                                       "create table t_PathOut(FID int, FAmount money)"));
             cn.BeginTrans();
             for (int a = 0; a < 2000; ++a)
                 cn.Execute(q("insert into t_PathSource values (" + std::to_string(a) + "," +
                              std::to_string(a % 97) + "," + amount(a) + ")"));
             cn.CommitTrans();
         },
         [](ado::Connection &cn, int i) {
             // Ten turns of a loop that makes, uses and drops a # table.
             inTransaction(cn, "declare @i int, @end int\nset @i = " + std::to_string(i * 10) +
                                   "\nset @end = " + std::to_string(i * 10 + 10) +
                                   "\nwhile @i < @end\nbegin\n"
                                   "  select FID, FAccountID, FAmount into #TPathDebit from t_PathSource "
                                   "where FID = @i - @i / 2000 * 2000\n"
                                   "  update #TPathDebit set FAmount = FAmount * 2\n"
                                   "  insert into t_PathOut(FID, FAmount) select FID, FAmount from #TPathDebit\n"
                                   "  drop table #TPathDebit\n"
                                   "  set @i = @i + 1\nend");
         },
         false,
         [](Raw &r) {
             r.exec("create table t_PathSource(FID INT NOT NULL PRIMARY KEY, FAccountID INT, FAmount REAL);\n"
                    "create table t_PathOut(FID INT, FAmount REAL);\n"
                    "with recursive n(a) as (select 0 union all select a + 1 from n where a < 1999) "
                    "insert into t_PathSource select a, a % 97, a * 1.5 from n;");
         },
         [](Raw &r, int i) {
             r.exec("BEGIN");
             for (int k = i * 10; k < i * 10 + 10; ++k)
                 r.exec("create temp table TPathDebit as select FID, FAccountID, FAmount from t_PathSource "
                        "where FID = " +
                        std::to_string(k % 2000) +
                        ";\nupdate TPathDebit set FAmount = FAmount * 2;\n"
                        "insert into t_PathOut(FID, FAmount) select FID, FAmount from TPathDebit;\n"
                        "drop table TPathDebit;");
             r.exec("COMMIT");
         }});
    return out;
}

}  // namespace

int main(int argc, char **argv) {
    int calls = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::string only = argc > 2 ? argv[2] : "";
    std::string side = argc > 3 ? argv[3] : "";
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/MSSQLSERVER");
    try {
        server::Instance::create(folder.toStdString(), "sa", "pw");
        {
            server::Session admin(server::Instance::open(folder.toStdString()), "sa", "pw", "master");
            admin.execute("CREATE DATABASE Bench");
        }
        qputenv(ado::kInstanceDirVariable, folder.toLocal8Bit());
        Raw raw((dir.path() + QStringLiteral("/raw.db")).toStdString());
        std::printf("%-8s %12s %12s %7s   (%d calls)\n", "path", "engine us", "raw us", "ratio", calls);
        for (const auto &p : paths()) {
            if (!only.empty() && only != p.name) continue;
            // Both sides take turns in rounds, and the fastest round of each
            // counts: a shared machine slows some rounds down.
            constexpr int kRounds = 5;
            const int perRound = std::max(1, calls / kRounds);
            double engine = 1e30, rawTime = 1e30;
            ado::Connection cn;
            if (side != "raw") {
                cn.Open(kConnection);
                p.engineSetUp(cn);
                if (p.ownSession) cn.Close();
            }
            if (side != "engine") p.rawSetUp(raw);
            for (int round = 0, i = 0; round < kRounds; ++round, i += perRound) {
                if (side != "raw")
                    engine = std::min(engine, timed([&] {
                                          for (int k = i; k < i + perRound; ++k) p.engineCall(cn, k);
                                      }));
                if (side != "engine")
                    rawTime = std::min(rawTime, timed([&] {
                                           for (int k = i; k < i + perRound; ++k) p.rawCall(raw, k);
                                       }));
            }
            std::printf("%-8s %12.2f %12.2f %7.2f\n", p.name, engine * 1e6 / perRound, rawTime * 1e6 / perRound,
                        engine / rawTime);
            std::fflush(stdout);
        }
    } catch (const ado::AdoError &e) {
        std::fprintf(stderr, "error %d: %s\n", e.number(), e.description().toStdString().c_str());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
