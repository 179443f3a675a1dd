#include "Driver.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "Digest.h"
#include "ReadOne.h"
#include "jet/JetMutation.h"

namespace jetmutants {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Planned {
    size_t sample;
    jet::Mutation mutation;
};

// Mutant i: kinds in turn, samples in turn, offset and seed from one stream,
// so the plan depends on --seed and --count alone. Offsets favour the
// structural parts: page headers and row tables, and row tails.
std::vector<Planned> plan(const DriverOptions &o, const std::vector<std::string> &bytes) {
    std::mt19937_64 rng(o.seed);
    std::vector<Planned> out;
    for (int i = 0; i < o.count; ++i) {
        Planned p;
        p.sample = static_cast<size_t>(i / jet::kMutationKinds) % bytes.size();
        const std::string &b = bytes[p.sample];
        const size_t pageSize = jet::mutationPageSize(b), pages = std::max<size_t>(1, b.size() / pageSize);
        p.mutation.kind = static_cast<jet::MutationKind>(i % jet::kMutationKinds);
        const uint64_t r = rng(), page = rng() % pages, any = rng() % std::max<size_t>(1, b.size());
        p.mutation.seed = static_cast<uint32_t>(rng());
        switch (p.mutation.kind) {
        case jet::MutationKind::Truncation: p.mutation.offset = r % 4 == 0 ? any : page * pageSize; break;
        case jet::MutationKind::PageSwap:
        case jet::MutationKind::PageCopy: p.mutation.offset = page * pageSize; break;
        default:
            p.mutation.offset = r % 4 == 0   ? page * pageSize + (r >> 8) % 64
                                : r % 4 == 1 ? page * pageSize + pageSize - 1 - (r >> 8) % 256
                                             : any;
        }
        out.push_back(p);
    }
    return out;
}

struct Slot {
    pid_t pid = 0;
    size_t mutant = 0;
    Clock::time_point started;
    bool killed = false;
    std::string file, out, err, instance;
};

pid_t spawn(const std::string &self, const Slot &s, const std::string &names) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int out = open(s.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(s.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0) _exit(126);
    dup2(out, 1);
    dup2(err, 2);
    execl(self.c_str(), self.c_str(), "--one", s.file.c_str(), "--names", names.c_str(), "--instance",
          s.instance.c_str(), static_cast<char *>(nullptr));
    _exit(127);
}

std::string describe(const Planned &p, const std::vector<std::string> &samples) {
    std::ostringstream os;
    os << fs::path(samples[p.sample]).filename().string() << " " << jet::mutationName(p.mutation.kind) << " offset "
       << p.mutation.offset << " seed " << p.mutation.seed;
    return os.str();
}

std::string keptName(const Planned &p, const std::vector<std::string> &samples, const char *what) {
    std::string kind = jet::mutationName(p.mutation.kind);
    for (char &c : kind)
        if (c == ' ') c = '-';
    std::string outcome = what;
    for (char &c : outcome)
        if (c == ' ') c = '-';
    return fs::path(samples[p.sample]).stem().string() + "-" + kind + "-" + std::to_string(p.mutation.offset) + "-" +
           std::to_string(p.mutation.seed) + "-" + outcome;
}

}  // namespace

int runDriver(const std::string &self, const DriverOptions &o) {
    int jobs = o.jobs > 0 ? o.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const fs::path work = fs::temp_directory_path() / ("jetmutants-run-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    if (!o.keep.empty()) fs::create_directories(o.keep);

    std::vector<std::string> bytes;
    for (const auto &s : o.samples) {
        bytes.push_back(readFile(s));
        if (bytes.back().empty()) {
            std::fprintf(stderr, "jetmutants: cannot read %s\n", s.c_str());
            return 2;
        }
    }
    std::vector<Slot> slots(jobs);
    for (int k = 0; k < jobs; ++k) {
        Slot &s = slots[k];
        const std::string base = (work / ("slot" + std::to_string(k))).string();
        s.file = base + ".ais";
        s.out = base + ".out";
        s.err = base + ".err";
        s.instance = base + "-server";
        makeInstance(s.instance);
    }

    // The originals first: each must read whole; its table names are asked
    // of the server for every mutant of it.
    std::vector<Digest> originals;
    std::vector<std::string> namesFiles;
    for (size_t i = 0; i < o.samples.size(); ++i) {
        Slot &s = slots[0];
        writeFile(s.file, bytes[i]);
        const std::string none = (work / "none.txt").string();
        writeFile(none, "");
        const pid_t pid = spawn(self, s, none);
        int status = 0;
        waitpid(pid, &status, 0);
        Digest d = parseDigest(readFile(s.out));
        bool clean = WIFEXITED(status) && WEXITSTATUS(status) == 0 && d.ended && d.opened;
        std::string names;
        for (const auto &[name, t] : d.tables) {
            clean = clean && t.jetRead && t.serverRead;
            names += name + "\n";
        }
        if (!clean) {
            std::fprintf(stderr, "jetmutants: the original %s does not read whole\n%s", o.samples[i].c_str(),
                         readFile(s.out).c_str());
            return 2;
        }
        namesFiles.push_back((work / ("names" + std::to_string(i) + ".txt")).string());
        writeFile(namesFiles.back(), names);
        originals.push_back(std::move(d));
    }

    const std::vector<Planned> mutants = plan(o, bytes);
    std::map<Outcome, int> total;
    std::map<std::pair<int, Outcome>, int> byKind;
    std::map<std::string, int> reasons;
    int unnamed = 0;
    size_t next = 0, running = 0;
    const auto started = Clock::now();
    auto finish = [&](Slot &s, int status) {
        const Planned &p = mutants[s.mutant];
        Verdict v;
        const std::string out = readFile(s.out);
        const Digest d = parseDigest(out);
        if (s.killed)
            v.outcome = Outcome::Hang;
        else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !d.ended)
            v.outcome = Outcome::Crash;
        else
            v = compare(originals[p.sample], d);
        ++total[v.outcome];
        ++byKind[{static_cast<int>(p.mutation.kind), v.outcome}];
        if (v.unnamedError) ++unnamed;
        // Counted by what differs, once a mutant.
        for (const auto &k : std::set<std::string>(v.kinds.begin(), v.kinds.end())) ++reasons[k];
        if (v.outcome == Outcome::Crash || v.outcome == Outcome::Hang || v.outcome == Outcome::Detectable) {
            std::printf("%s: %s", outcomeName(v.outcome), describe(p, o.samples).c_str());
            if (v.outcome == Outcome::Crash)
                std::printf(" (%s %d)", WIFSIGNALED(status) ? "signal" : "exit",
                            WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
            for (const auto &r : v.reasons) std::printf("; %s", r.c_str());
            std::printf("\n");
            std::fflush(stdout);
            if (!o.keep.empty()) {
                const std::string name = keptName(p, o.samples, outcomeName(v.outcome));
                fs::copy_file(s.file, fs::path(o.keep) / (name + ".ais"), fs::copy_options::overwrite_existing);
                writeFile((fs::path(o.keep) / (name + ".digest")).string(), out + readFile(s.err));
            }
        }
        s.pid = 0;
        --running;
    };

    while (next < mutants.size() || running > 0) {
        for (Slot &s : slots) {
            if (s.pid || next >= mutants.size()) continue;
            s.mutant = next++;
            s.killed = false;
            writeFile(s.file, jet::mutate(bytes[mutants[s.mutant].sample], mutants[s.mutant].mutation));
            s.started = Clock::now();
            s.pid = spawn(self, s, namesFiles[mutants[s.mutant].sample]);
            ++running;
        }
        int status = 0;
        const pid_t done = waitpid(-1, &status, WNOHANG);
        if (done > 0) {
            for (Slot &s : slots)
                if (s.pid == done) finish(s, status);
            continue;
        }
        const auto now = Clock::now();
        for (Slot &s : slots)
            if (s.pid && !s.killed && now - s.started > std::chrono::milliseconds(o.timeoutMs)) {
                kill(s.pid, SIGKILL);
                s.killed = true;
            }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::printf("\n%zu mutants of %zu sample(s), seed %llu, %d jobs, %.0f s\n", mutants.size(), o.samples.size(),
                static_cast<unsigned long long>(o.seed), jobs, seconds);
    std::printf("%-24s", "outcome");
    for (int k = 0; k < jet::kMutationKinds; ++k)
        std::printf("%12s", jet::mutationName(static_cast<jet::MutationKind>(k)));
    std::printf("%10s\n", "all");
    for (int oc = 0; oc < kOutcomes; ++oc) {
        const auto outcome = static_cast<Outcome>(oc);
        std::printf("%-24s", outcomeName(outcome));
        for (int k = 0; k < jet::kMutationKinds; ++k) std::printf("%12d", byKind[{k, outcome}]);
        std::printf("%10d\n", total[outcome]);
    }
    for (const auto &[r, n] : reasons) std::printf("  detectable, %s: %d mutants\n", r.c_str(), n);
    std::printf("  errors not naming their table: %d\n", unnamed);
    fs::remove_all(work);
    return total[Outcome::Crash] + total[Outcome::Hang] + total[Outcome::Detectable] ? 1 : 0;
}

}  // namespace jetmutants
