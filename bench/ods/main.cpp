// Copies a 300,000-row voucher-like table out of a Jet file into a server
// database with SELECT * INTO through OpenDataSource, and exports the same
// table with mdb-export; prints both times and their ratio. The goal is a
// copy no slower than mdb-export.
//   ods [rows]   (default 300000)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "jet/JetWriter.h"
#include "jet/VoucherFixture.h"
#include "jet/Workgroup.h"
#include "server/Instance.h"
#include "server/Session.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char **argv) {
    namespace fs = std::filesystem;
    const size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 300000;
    const fs::path dir = fs::temp_directory_path() / ("ods-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "source.ais").string();
    const std::string mda = (dir / "system.mda").string();
    int status = 0;
    try {
        auto t = std::chrono::steady_clock::now();
        jet::JetWriter::writeFile(file, {jettest::voucherSource("GLVchDetail", rows)});
        jet::Workgroup::writeFile(mda);
        std::printf("write   %zu rows, %.1f MB: %.3f s\n", rows, fs::file_size(file) / 1048576.0, seconds(t));

        const std::string instanceDir = (dir / "instance").string();
        server::Instance::create(instanceDir, "sa", "pw");
        auto instance = server::Instance::open(instanceDir);
        {
            server::Session admin(instance, "sa", "pw", "master");
            admin.execute("CREATE DATABASE bench");
            admin.execute("exec sp_configure 'show advanced options',1 \r\nreconfigure\r\n"
                          "exec sp_configure 'Ad Hoc Distributed Queries',1\r\nreconfigure\r\n");
        }
        std::system(("cat '" + file + "' > /dev/null").c_str());

        server::Session session(instance, "sa", "pw", "bench");
        const std::string sql = "SELECT * INTO [AIS_GLVchDetail]\r\nFROM OpenDataSource( 'Microsoft.Jet.OLEDB.4.0',\r\n"
                                "'Provider= Microsoft.Jet.OLEDB.4.0;Password=" +
                                std::string(jet::Workgroup::kPassword) + " ;User ID=morningstar;Data Source=" + file +
                                ";Persist Security Info=True;Jet OLEDB:System database=" + mda + "')...[GLVchDetail]";
        t = std::chrono::steady_clock::now();
        auto r = session.execute(sql);
        const double ours = seconds(t);
        if (!r.ok()) {
            std::fprintf(stderr, "ods: %d %s\n", r.errors.front().number(), r.errors.front().text().c_str());
            status = 1;
        } else if (r.rowsAffected != int64_t(rows)) {
            std::fprintf(stderr, "ods: copied %lld of %zu rows\n", static_cast<long long>(r.rowsAffected), rows);
            status = 1;
        }

        t = std::chrono::steady_clock::now();
        const int rc = std::system(("mdb-export '" + file + "' GLVchDetail > /dev/null").c_str());
        const double theirs = seconds(t);
        if (rc != 0) {
            std::fprintf(stderr, "ods: mdb-export status %d\n", rc);
            status = 1;
        }
        std::printf("SELECT * INTO via OpenDataSource  %.3f s\n", ours);
        std::printf("mdb-export                        %.3f s\n", theirs);
        std::printf("ratio copy/mdb-export             %.2f\n", ours / theirs);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "ods: %s\n", e.what());
        status = 1;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}
