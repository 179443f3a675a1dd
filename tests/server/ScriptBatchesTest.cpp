#include <gtest/gtest.h>

#include "server/ScriptBatches.h"

namespace {

TEST(ScriptBatches, SplitsAtGoLines) {
    struct Row {
        const char *script;
        std::vector<std::string> batches;
    } rows[] = {
        {"select 1\r\ngo\r\nselect 2\r\n", {"select 1\r\n", "select 2\r\n"}},
        {"select 1\n\t GO \ngo\n\nselect 2", {"select 1\n", "\nselect 2"}},
        {"select 'go'\ngoto x\n", {"select 'go'\ngoto x\n"}},
        {"go\n\n", {}},
    };
    for (const auto &r : rows) EXPECT_EQ(server::splitGoBatches(r.script), r.batches) << r.script;
}

}  // namespace
