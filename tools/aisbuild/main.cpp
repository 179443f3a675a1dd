// aisbuild <folder of .tsv> <out.ais> [--no-workgroup | --workgroup <path>]
// Builds a Jet 4 account-set file from the table text files of a folder and
// writes the workgroup file "system.mda" beside it (or where told).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "jet/JetError.h"
#include "jet/JetWriter.h"
#include "jet/TableText.h"
#include "jet/Workgroup.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: aisbuild <folder of .tsv> <out.ais> [--no-workgroup | --workgroup <path>]\n"
                         "  Builds the Jet file and its workgroup file (default: system.mda beside it).\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) return usage();
    const std::string folder = argv[1], out = argv[2];
    std::string workgroup = (std::filesystem::path(out).parent_path() / "system.mda").string();
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--no-workgroup"))
            workgroup.clear();
        else if (!std::strcmp(argv[i], "--workgroup") && i + 1 < argc)
            workgroup = argv[++i];
        else
            return usage();
    }
    try {
        if (!std::filesystem::is_directory(folder)) {
            std::fprintf(stderr, "aisbuild: %s is not a folder\n", folder.c_str());
            return 1;
        }
        const auto tables = jet::readTableTextFolder(folder);
        if (tables.empty()) {
            std::fprintf(stderr, "aisbuild: no .tsv files in %s\n", folder.c_str());
            return 1;
        }
        jet::JetWriter::writeFile(out, tables);
        if (!workgroup.empty()) jet::Workgroup::writeFile(workgroup);
    } catch (const jet::TableTextError &e) {
        std::fprintf(stderr, "aisbuild: %s\n", e.what());
        return 1;
    } catch (const jet::JetError &e) {
        std::fprintf(stderr, "aisbuild: %s\n", e.what());
        return 1;
    }
    return 0;
}
