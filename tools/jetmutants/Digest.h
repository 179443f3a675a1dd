// What a child tells of one file, and how a mutant's digest compares with
// its original's. Lines, tab-separated after the first word:
//   R open <version> | R refused <message>        the Jet reader's open
//   T <name> <system> <stored row count> <columns> one per table listed
//   J ok <name> <rows> <hash> | J err <name> <message>
//   S ok <name> <rows> <hash> <columns> | S err <name> <message>
//   END                                            the child finished
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace jetmutants {

struct TableDigest {
    bool listed = false;  // among the reader's tables
    bool system = false;
    int64_t stored = 0;
    std::string columns;
    bool jetRead = false, jetFailed = false;
    int64_t jetRows = 0;
    std::string jetHash, jetError;
    bool serverRead = false, serverFailed = false;
    int64_t serverRows = 0;
    std::string serverHash, serverColumns, serverError;
};

struct Digest {
    bool opened = false, refused = false, ended = false;
    std::string refusal;
    std::map<std::string, TableDigest> tables;
};

Digest parseDigest(const std::string &text);

enum class Outcome { Faithful, CleanError, Detectable, ValuesOnly, Crash, Hang };
constexpr int kOutcomes = 6;
const char *outcomeName(Outcome o);

struct Verdict {
    Outcome outcome = Outcome::Faithful;
    std::vector<std::string> reasons;  // for a detectable difference: what differs, where
    std::vector<std::string> kinds;    // the same without table or figures
    bool unnamedError = false;         // a reader error that does not name its table
};

// A finished child's digest against the original's.
Verdict compare(const Digest &original, const Digest &mutant);

}  // namespace jetmutants
