#include "jet/JetMutation.h"

#include <random>
#include <utility>

namespace jet {

const char *mutationName(MutationKind kind) {
    switch (kind) {
    case MutationKind::BitFlip: return "bit flip";
    case MutationKind::ByteRun: return "byte run";
    case MutationKind::Truncation: return "truncation";
    case MutationKind::PageSwap: return "page swap";
    case MutationKind::PageCopy: return "page copy";
    }
    return "?";
}

size_t mutationPageSize(const std::string &bytes) { return bytes.size() > 0x14 && bytes[0x14] == 0 ? 2048 : 4096; }

std::string mutate(std::string bytes, const Mutation &m) {
    if (m.offset >= bytes.size()) return bytes;
    const size_t at = static_cast<size_t>(m.offset);
    const size_t pageSize = mutationPageSize(bytes);
    const size_t pages = bytes.size() / pageSize;
    switch (m.kind) {
    case MutationKind::BitFlip: bytes[at] = static_cast<char>(bytes[at] ^ (1 << (m.seed % 8))); break;
    case MutationKind::ByteRun: {
        // 1 to 16 bytes of zeros, of 0xFF or of noise.
        const size_t len = 1 + (m.seed >> 3) % 16;
        std::mt19937 rng(m.seed);
        const unsigned mode = (m.seed >> 8) % 3;
        for (size_t k = 0; k < len && at + k < bytes.size(); ++k)
            bytes[at + k] = static_cast<char>(mode == 0 ? 0x00 : mode == 1 ? 0xFF : rng() & 0xFF);
        break;
    }
    case MutationKind::Truncation: bytes.resize(at); break;
    case MutationKind::PageSwap:
    case MutationKind::PageCopy: {
        if (pages < 2) break;
        const size_t a = at / pageSize;
        size_t b = m.seed % pages;
        if (b == a) b = (b + 1) % pages;
        if (a >= pages) break;
        if (m.kind == MutationKind::PageSwap)
            for (size_t k = 0; k < pageSize; ++k) std::swap(bytes[a * pageSize + k], bytes[b * pageSize + k]);
        else
            bytes.replace(a * pageSize, pageSize, bytes, b * pageSize, pageSize);
        break;
    }
    }
    return bytes;
}

}  // namespace jet
