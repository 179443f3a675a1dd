// A cursor batch that walks a table and updates every row it fetches, run
// on a table without a trigger, on a table whose update trigger reads
// `inserted` and writes an audit row, and without a trigger but with the
// audit insert written in the loop (the trigger's own work). Prints the times
// and the ratios of the trigger loop to the other two; the goal is a ratio
// within 1.5.
//
//   bench_trigger [rows] [only]     (default 20000; only: plain, inline or
//                                   trigger runs that loop alone, for a profiler)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../BenchServer.h"
#include "server/Session.h"

namespace {

using bench::check;

using Clock = std::chrono::steady_clock;

const char *kAudit = "    insert into t_Audit(FID, FAmount) select FID, FAmount from t_Bench where FID = @id\n";

std::string loop(bool audit) {
    std::string text = "declare @id int, @amount money\n"
                       "declare c cursor local fast_forward for select FID, FAmount from t_Bench\n"
                       "open c\n"
                       "fetch next from c into @id, @amount\n"
                       "while @@fetch_status = 0\n"
                       "begin\n"
                       "    update t_Bench set FAmount = @amount * 2, FNote = 'done' where FID = @id\n";
    if (audit) text += kAudit;
    return text + "    fetch next from c into @id, @amount\n"
                  "end\n"
                  "close c\n"
                  "deallocate c\n";
}

long long count(server::Session &s, const char *sql) {
    auto r = s.execute(sql);
    check(r, sql);
    return static_cast<long long>(r.resultSets[0].rows[0][0].i);
}

double runLoop(server::Session &s, int rows, bool trigger, bool audit) {
    check(s.execute("if object_id('t_Bench') is not null drop table t_Bench"), "drop");
    check(s.execute("create table t_Bench(FID int identity primary key, FAmount money, FNote varchar(20))"), "table");
    if (trigger)
        check(s.execute("create trigger tr_Bench on t_Bench for update\nas\n"
                        "insert into t_Audit(FID, FAmount) select FID, FAmount from inserted"),
              "trigger");
    s.beginTransaction();
    check(
        s.execute("declare @i int\nset @i = 0\nwhile @i < " + std::to_string(rows) +
                  "\nbegin\n    insert into t_Bench(FAmount, FNote) values (@i / 7, 'new')\n    set @i = @i + 1\nend"),
        "fill");
    s.commit();
    auto t0 = Clock::now();
    s.beginTransaction();
    check(s.execute(loop(audit)), "loop");
    s.commit();
    auto t1 = Clock::now();
    if (count(s, "select count(*) from t_Bench where FNote = 'done'") != rows) {
        std::fprintf(stderr, "loop missed rows\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(t1 - t0).count();
}

}  // namespace

int main(int argc, char **argv) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::string only = argc > 2 ? argv[2] : "";
    bench::ScratchServer scratch("bench_trigger");
    if (!only.empty()) {
        server::Session s(scratch.instance(), "sa", "pw", "Bench");
        check(s.execute("create table t_Audit(FID int, FAmount money)"), "audit");
        double t = runLoop(s, rows, only == "trigger", only == "inline");
        std::printf("rows %d\nloop (%s) %.3f s\n", rows, only.c_str(), t);
        return 0;
    }
    double plain = 0, fired = 0, inline_ = 0;
    {
        server::Session s(scratch.instance(), "sa", "pw", "Bench");
        check(s.execute("create table t_Audit(FID int, FAmount money)"), "audit");
        plain = runLoop(s, rows, false, false);
        inline_ = runLoop(s, rows, false, true);
        fired = runLoop(s, rows, true, false);
        if (count(s, "select count(*) from t_Audit") != 2 * rows) {
            std::fprintf(stderr, "trigger missed rows\n");
            std::exit(1);
        }
    }
    std::printf("rows %d\nloop without trigger         %.3f s\nloop with audit insert inline %.3f s\n"
                "loop with trigger            %.3f s\nratio to plain loop  %.2f\nratio to inline audit %.2f\n",
                rows, plain, inline_, fired, fired / plain, fired / inline_);
    return 0;
}
