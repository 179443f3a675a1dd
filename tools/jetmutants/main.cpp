// jetmutants [--count N] [--seed S] [--jobs J] [--timeout-ms T] [--keep DIR] <sample.ais>...
// Reads deterministic mutants of Jet files, each in a child process, through
// the Jet reader and the server's OpenDataSource, and classifies each read
// against the original's. Exit 1 when a mutant crashed, hung or read with a
// difference the format lets a reader detect.
//   jetmutants --one <file> [--names <list>] [--instance <folder>]
// is the child: it prints the digest of one file.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Driver.h"
#include "ReadOne.h"
#include "server/SqlError.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: jetmutants [--count N] [--seed S] [--jobs J] [--timeout-ms T] [--keep DIR] <sample.ais>...\n"
                 "       jetmutants --one <file> [--names <list>] [--instance <folder>]\n");
    return 2;
}

std::string selfPath(const char *argv0) {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return argv0;
    return std::string(buf, static_cast<size_t>(n));
}

}  // namespace

int main(int argc, char **argv) {
    jetmutants::DriverOptions o;
    std::string one, names, instance;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
        const char *v = nullptr;
        if (a == "--one" && (v = value()))
            one = v;
        else if (a == "--names" && (v = value()))
            names = v;
        else if (a == "--instance" && (v = value()))
            instance = v;
        else if (a == "--count" && (v = value()))
            o.count = std::atoi(v);
        else if (a == "--seed" && (v = value()))
            o.seed = std::strtoull(v, nullptr, 10);
        else if (a == "--jobs" && (v = value()))
            o.jobs = std::atoi(v);
        else if (a == "--timeout-ms" && (v = value()))
            o.timeoutMs = std::atoi(v);
        else if (a == "--keep" && (v = value()))
            o.keep = v;
        else if (!a.empty() && a[0] != '-')
            o.samples.push_back(a);
        else
            return usage();
    }
    try {
        if (!one.empty()) return jetmutants::readOne(one, names, instance);
        if (o.samples.empty() || o.count < 0 || o.timeoutMs <= 0) return usage();
        return jetmutants::runDriver(selfPath(argv[0]), o);
    } catch (const server::SqlError &e) {
        std::fprintf(stderr, "jetmutants: the server cannot run: %s\n", e.text().c_str());
        return 2;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "jetmutants: %s\n", e.what());
        return 2;
    }
}
