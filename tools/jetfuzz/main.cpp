// libFuzzer entry: any bytes given as a Jet file must read or fail with
// JetError, never crash.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "jet/JetError.h"
#include "jet/JetReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string path = "/tmp/jetfuzz-" + std::to_string(getpid()) + ".ais";
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    try {
        jet::JetReader reader(path);
        for (const auto &t : reader.tables()) {
            auto cursor = reader.openTable(t.name);
            std::vector<jet::Value> row;
            for (int n = 0; n < 10000 && cursor->next(row); ++n) {}
        }
    } catch (const jet::JetError &) {}
    return 0;
}
