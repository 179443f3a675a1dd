// Single-row INSERT statements with literal values, each in its own
// transaction (the way a client runs one batch per call), through the ADO
// stand-in and the T-SQL engine, against the same rows through a raw SQLite
// prepared insert with the same per-row transactions. Prints both times and
// their ratio; the goal is a ratio within 10.
//
//   bench_insert [rows]     (default 300000)
#include <sqlite3.h>

#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/InstanceLocator.h"
#include "server/Instance.h"
#include "server/Session.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

struct Row {
    std::string name;
    double amount;
    int qty;
    std::string date;
    std::string note;
};

Row rowAt(int i) {
    char date[32];
    std::snprintf(date, sizeof date, "2018/%d/%d", 1 + i % 12, 1 + i % 28);
    char amount[32];
    std::snprintf(amount, sizeof amount, "%d.%02d", i % 100000, i % 100);
    return Row{"凭证" + std::to_string(i), std::atof(amount), i % 7, date, "note " + std::to_string(i % 1000)};
}

std::string insertText(int i) {
    Row r = rowAt(i);
    char amount[32];
    std::snprintf(amount, sizeof amount, "%.2f", r.amount);
    return "insert into T_VoucherEntry(FName,FAmount,FQty,FDate,FNote) values (N'" + r.name + "'," + amount + "," +
           std::to_string(r.qty) + ",'" + r.date + "','" + r.note + "')";
}

double runEngine(const QString &folder, int rows) {
    qputenv(ado::kInstanceDirVariable, folder.toLocal8Bit());
    ado::Connection cn;
    cn.Open(QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=Bench;User ID=sa;Password=pw"));
    cn.Execute(QStringLiteral("create table T_VoucherEntry(FEntryID int identity, FName nvarchar(50), FAmount money, "
                              "FQty int, FDate datetime, FNote varchar(80))"));
    auto start = Clock::now();
    for (int i = 0; i < rows; ++i) {
        cn.BeginTrans();
        cn.Execute(QString::fromStdString(insertText(i)));
        cn.CommitTrans();
    }
    auto end = Clock::now();
    ado::Recordset rs = cn.Execute(QStringLiteral("select count(*), sum(FAmount) from T_VoucherEntry"));
    std::printf("engine rows: %d, sum %.2f\n", rs.Fields(0).Value.toInt(), rs.Fields(1).Value.toDouble());
    return seconds(start, end);
}

// One connection per statement, as a gateway that opens its own connection per call.
double runEngineConnectionPerCall(int rows) {
    auto start = Clock::now();
    for (int i = 0; i < rows; ++i) {
        ado::Connection cn;
        cn.CursorLocation = ado::adUseClient;
        cn.Open(QStringLiteral("Provider=SQLOLEDB.1;Data Source=.;Initial Catalog=Bench;User ID=sa;Password=pw"));
        cn.BeginTrans();
        cn.Execute(QString::fromStdString(insertText(i)));
        cn.CommitTrans();
        cn.Close();
    }
    return seconds(start, Clock::now());
}

double runRaw(const std::string &file, int rows) {
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "create table T_VoucherEntry(FEntryID INTEGER PRIMARY KEY AUTOINCREMENT, FName TEXT, FAmount REAL, "
                 "FQty INT, FDate TEXT, FNote TEXT)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *ins = nullptr;
    sqlite3_prepare_v2(db, "insert into T_VoucherEntry(FName,FAmount,FQty,FDate,FNote) values (?,?,?,?,?)", -1, &ins,
                       nullptr);
    auto start = Clock::now();
    for (int i = 0; i < rows; ++i) {
        Row r = rowAt(i);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_bind_text(ins, 1, r.name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(ins, 2, r.amount);
        sqlite3_bind_int(ins, 3, r.qty);
        sqlite3_bind_text(ins, 4, r.date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 5, r.note.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(ins);
        sqlite3_reset(ins);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    auto end = Clock::now();
    sqlite3_finalize(ins);
    sqlite3_close(db);
    return seconds(start, end);
}

}  // namespace

int main(int argc, char **argv) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 300000;
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/MSSQLSERVER");
    try {
        server::Instance::create(folder.toStdString(), "sa", "pw");
        {
            server::Session admin(server::Instance::open(folder.toStdString()), "sa", "pw", "master");
            admin.execute("CREATE DATABASE Bench");
        }
        double engine = runEngine(folder, rows);
        int perCallRows = rows / 10;
        double perCall = runEngineConnectionPerCall(perCallRows);
        std::printf("engine with a new connection per statement: %.1f us/statement (%d statements)\n",
                    perCall * 1e6 / perCallRows, perCallRows);
        double raw = runRaw((dir.path() + QStringLiteral("/raw.db")).toStdString(), rows);
        std::printf("rows: %d\nengine: %.3f s (%.1f us/statement)\nraw sqlite: %.3f s (%.1f us/row)\nratio: %.2f\n",
                    rows, engine, engine * 1e6 / rows, raw, raw * 1e6 / rows, engine / raw);
    } catch (const ado::AdoError &e) {
        std::fprintf(stderr, "error %d: %s\n", e.number(), e.description().toStdString().c_str());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
