// A cursor batch that walks a table and updates every row it fetches (the
// shape of the conversion loops), through the T-SQL engine inside one client
// transaction, against the same loop written directly on SQLite (rows read
// first, then one prepared update per row, one transaction). Prints both
// times and their ratio; the goal is a ratio within 10.
//
//   bench_cursor [rows]     (default 300000)
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "../BenchServer.h"
#include "server/Session.h"

namespace {

using bench::check;

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

const char *kLoop = "declare @id int, @amount money\n"
                    "declare c cursor local fast_forward for select FID, FAmount from t_Bench\n"
                    "open c\n"
                    "fetch next from c into @id, @amount\n"
                    "while @@fetch_status = 0\n"
                    "begin\n"
                    "    update t_Bench set FAmount = @amount * 2, FNote = 'done' where FID = @id\n"
                    "    fetch next from c into @id, @amount\n"
                    "end\n"
                    "close c\n"
                    "deallocate c\n";

double runEngine(const bench::ScratchServer &scratch, int rows) {
    server::Session s(scratch.instance(), "sa", "pw", "Bench");
    check(s.execute("create table t_Bench(FID int identity primary key, FAmount money, FNote varchar(20))"), "table");
    s.beginTransaction();
    check(
        s.execute("declare @i int\nset @i = 0\nwhile @i < " + std::to_string(rows) +
                  "\nbegin\n    insert into t_Bench(FAmount, FNote) values (@i / 7, 'new')\n    set @i = @i + 1\nend"),
        "fill");
    s.commit();
    auto t0 = Clock::now();
    s.beginTransaction();
    check(s.execute(kLoop), "loop");
    s.commit();
    auto t1 = Clock::now();
    auto r = s.execute("select count(*) from t_Bench where FNote = 'done'");
    check(r, "count");
    if (r.resultSets[0].rows[0][0].i != rows) {
        std::fprintf(stderr, "engine updated %lld rows\n", static_cast<long long>(r.resultSets[0].rows[0][0].i));
        std::exit(1);
    }
    return seconds(t0, t1);
}

void exec(sqlite3 *db, const char *sql) {
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", err ? err : "?");
        std::exit(1);
    }
}

double runRaw(const std::string &path, int rows) {
    sqlite3 *db = nullptr;
    sqlite3_open(path.c_str(), &db);
    exec(db, "PRAGMA journal_mode=WAL");
    exec(db, "PRAGMA synchronous=NORMAL");
    exec(db, "CREATE TABLE t_Bench(FID INTEGER PRIMARY KEY AUTOINCREMENT, FAmount REAL, FNote TEXT)");
    exec(db, "BEGIN");
    sqlite3_stmt *ins = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t_Bench(FAmount, FNote) VALUES(?1, 'new')", -1, &ins, nullptr);
    for (int i = 0; i < rows; ++i) {
        sqlite3_bind_double(ins, 1, i / 7);
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    exec(db, "COMMIT");

    auto t0 = Clock::now();
    exec(db, "BEGIN");
    std::vector<std::pair<long long, double>> fetched;
    sqlite3_stmt *sel = nullptr;
    sqlite3_prepare_v2(db, "SELECT FID, FAmount FROM t_Bench", -1, &sel, nullptr);
    while (sqlite3_step(sel) == SQLITE_ROW)
        fetched.emplace_back(sqlite3_column_int64(sel, 0), sqlite3_column_double(sel, 1));
    sqlite3_finalize(sel);
    sqlite3_stmt *up = nullptr;
    sqlite3_prepare_v2(db, "UPDATE t_Bench SET FAmount = ?1 * 2, FNote = 'done' WHERE FID = ?2", -1, &up, nullptr);
    for (const auto &[id, amount] : fetched) {
        sqlite3_bind_double(up, 1, amount);
        sqlite3_bind_int64(up, 2, id);
        sqlite3_step(up);
        sqlite3_reset(up);
    }
    sqlite3_finalize(up);
    exec(db, "COMMIT");
    auto t1 = Clock::now();
    sqlite3_close(db);
    return seconds(t0, t1);
}

}  // namespace

int main(int argc, char **argv) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 300000;
    bench::ScratchServer scratch("bench_cursor");
    double engine = runEngine(scratch, rows);
    double raw = runRaw(scratch.file("raw.db"), rows);
    std::printf("rows %d\nengine cursor loop %.3f s\nraw SQLite loop    %.3f s\nratio %.2f\n", rows, engine, raw,
                engine / raw);
    return 0;
}
