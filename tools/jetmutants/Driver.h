// The parent's side: plans the mutants, runs each in a child process of
// this program (--one) with a timeout, classifies the digests and reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jetmutants {

struct DriverOptions {
    int count = 10000;
    uint64_t seed = 1;
    int jobs = 0;  // 0: one per core
    int timeoutMs = 20000;
    std::string keep;  // folder for the mutants that crash, hang or differ detectably
    std::vector<std::string> samples;
};

// 0 when no mutant crashed, hung or read with a detectable difference.
int runDriver(const std::string &self, const DriverOptions &options);

}  // namespace jetmutants
