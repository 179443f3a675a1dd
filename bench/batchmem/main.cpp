// One batch of many single-row statements (the shape of a generated data
// script) run through the T-SQL engine. Prints the batch text size, the time
// and the peak memory the process gained while running it; memory should
// grow with the text, not with a plan held per statement.
//
//   bench_batchmem [statements]     (default 100000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../BenchServer.h"
#include "server/Session.h"

namespace {

using bench::check;

// A /proc/self/status figure in kB (VmRSS, VmHWM).
long statusKb(const std::string &field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    return 0;
}

// Starts the peak (VmHWM) over from the current resident size.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace

int main(int argc, char **argv) {
    int statements = argc > 1 ? std::atoi(argv[1]) : 100000;
    bench::ScratchServer scratch("bench_batchmem");
    double secs = 0;
    long before = 0, peak = 0;
    size_t textBytes = 0;
    {
        server::Session s(scratch.instance(), "sa", "pw", "Bench");
        check(s.execute("create table t_Rows(FID int primary key, FName varchar(40), FAmount money)"), "table");
        std::string batch;
        for (int i = 0; i < statements; ++i)
            batch += "insert into t_Rows(FID, FName, FAmount) values (" + std::to_string(i) + ", 'row " +
                     std::to_string(i) + "', " + std::to_string(i % 1000) + ".25)\n";
        textBytes = batch.size();
        before = statusKb("VmRSS");
        resetPeak();
        auto t0 = std::chrono::steady_clock::now();
        s.beginTransaction();
        check(s.execute(batch), "batch");
        s.commit();
        secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        peak = statusKb("VmHWM");
        auto r = s.execute("select count(*) from t_Rows");
        check(r, "count");
        if (r.resultSets[0].rows[0][0].i != statements) {
            std::fprintf(stderr, "batch inserted %lld rows\n", static_cast<long long>(r.resultSets[0].rows[0][0].i));
            std::exit(1);
        }
    }
    long grown = peak - before;
    std::printf(
        "statements %d\nbatch text %.1f MB\ntime %.3f s\npeak memory gained %.1f MB (%.0f bytes per statement)\n",
        statements, textBytes / 1048576.0, secs, grown / 1024.0, grown * 1024.0 / statements);
    return 0;
}
