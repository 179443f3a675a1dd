// Deterministic damage to the bytes of a Jet file, for the fuzz driver and
// the tests that keep the mutants it found: one edit named by its kind, the
// byte offset it starts at and a seed for the rest (bit, run bytes, other
// page), so a mutant is reproduced from those three numbers alone.
#pragma once

#include <cstdint>
#include <string>

namespace jet {

enum class MutationKind { BitFlip, ByteRun, Truncation, PageSwap, PageCopy };
constexpr int kMutationKinds = 5;

struct Mutation {
    MutationKind kind = MutationKind::BitFlip;
    uint64_t offset = 0;
    uint32_t seed = 0;
};

const char *mutationName(MutationKind kind);
// Jet 3 pages are 2048 bytes, Jet 4 pages 4096: told by the version byte.
size_t mutationPageSize(const std::string &bytes);
// The damaged bytes. An offset beyond the file leaves them as they are.
std::string mutate(std::string bytes, const Mutation &m);

}  // namespace jet
