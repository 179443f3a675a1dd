// Reads a 300,000-row voucher-like table (about 30 MB) with JetReader and
// with mdb-export, and prints both times and their ratio. The goal is a
// reader no slower than mdb-export.
//   jetread [rows] [file]   (default 300000 rows in a scratch file)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "jet/CellValue.h"
#include "jet/JetReader.h"
#include "jet/JetWriter.h"
#include "jet/VoucherFixture.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char **argv) {
    const size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 300000;
    const std::string file =
        argc > 2 ? argv[2]
                 : (std::filesystem::temp_directory_path() / ("jetread-" + std::to_string(getpid()) + ".ais")).string();

    auto t = std::chrono::steady_clock::now();
    jet::JetWriter::writeFile(file, {jettest::voucherSource("GLVchDetail", rows)});
    std::printf("write   %zu rows, %.1f MB: %.3f s\n", rows, std::filesystem::file_size(file) / 1048576.0, seconds(t));

    // Warm the page cache so that both readers start alike.
    std::system(("cat '" + file + "' > /dev/null").c_str());

    t = std::chrono::steady_clock::now();
    size_t n = 0, bytes = 0;
    {
        jet::JetReader reader(file);
        auto cursor = reader.openTable("GLVchDetail");
        std::vector<jet::Value> row;
        while (cursor->next(row)) {
            ++n;
            for (const auto &v : row) bytes += v.bytes.size();
        }
    }
    const double ours = seconds(t);

    t = std::chrono::steady_clock::now();
    size_t textBytes = 0;
    {
        jet::JetReader reader(file);
        auto cursor = reader.openTable("GLVchDetail");
        std::vector<jet::Value> row;
        while (cursor->next(row))
            for (const auto &v : row) textBytes += jet::cellFromValue(v).value_or("").size();
    }
    const double oursText = seconds(t);

    t = std::chrono::steady_clock::now();
    const int rc = std::system(("mdb-export '" + file + "' GLVchDetail > /dev/null").c_str());
    const double theirs = seconds(t);
    std::filesystem::remove(file);

    if (n != rows || rc != 0) {
        std::fprintf(stderr, "jetread: read %zu of %zu rows, mdb-export status %d\n", n, rows, rc);
        return 1;
    }
    std::printf("JetReader (values)          %.3f s\n", ours);
    std::printf("JetReader (values as text)  %.3f s\n", oursText);
    std::printf("mdb-export                  %.3f s\n", theirs);
    std::printf("ratio reader/mdb-export     %.2f (values), %.2f (as text)\n", ours / theirs, oursText / theirs);
    (void)bytes;
    (void)textBytes;
    return 0;
}
