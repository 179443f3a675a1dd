// standin <folder> [options]
// Lays out a stand-in Professional installation with its server instance
// into <folder> and prints the environment a run on it needs as "export"
// lines. Problems (a batch the engine refused) go to stderr; the exit code
// is then 1, 2 for bad arguments or a folder that cannot be laid out.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "StandinLayout.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: standin <folder> [options]\n"
                         "  --version <text>         installed version (registry VEQPRODUCT/Version), default 14.1\n"
                         "  --server-version <text>  the server's @@VERSION text\n"
                         "  --providers <list>       OLE DB providers, ';' separated\n"
                         "  --instance <name>        a named instance instead of MSSQLSERVER\n"
                         "  --login <name> --password <text>   the server login, default sa / VEQ#2015sa\n"
                         "  --source <folder>        the authored stand-in files (default: the project's standin/)\n"
                         "  broken installations: --no-dbconfig --short-dbb --missing-bak --unreadable-list\n");
    return 2;
}

std::string shellQuoted(const std::string &s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

int main(int argc, char **argv) {
    StandinOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--version")
            ok = value(options.installedVersion);
        else if (arg == "--server-version")
            ok = value(options.versionText);
        else if (arg == "--providers")
            ok = value(options.providers);
        else if (arg == "--instance")
            ok = value(options.instanceName);
        else if (arg == "--login")
            ok = value(options.login);
        else if (arg == "--password")
            ok = value(options.password);
        else if (arg == "--source")
            ok = value(options.source);
        else if (arg == "--no-dbconfig")
            options.noDbConfig = true;
        else if (arg == "--short-dbb")
            options.shortDbb = true;
        else if (arg == "--missing-bak")
            options.missingBak = true;
        else if (arg == "--unreadable-list")
            options.unreadableList = true;
        else if (!arg.empty() && arg[0] != '-' && options.folder.empty())
            options.folder = arg;
        else
            ok = false;
        if (!ok) return usage();
    }
    if (options.folder.empty()) return usage();
    try {
        StandinLayout::Result r = StandinLayout::run(options);
        for (const auto &[name, value] : r.environment)
            std::printf("export %s=%s\n", name.c_str(), shellQuoted(value).c_str());
        for (const auto &p : r.problems) std::fprintf(stderr, "standin: %s\n", p.c_str());
        return r.problems.empty() ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
        return 2;
    }
}
