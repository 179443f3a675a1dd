// A bounded mutation loop over files our writer makes: every damaged file
// must either read or fail with JetError; never crash, hang or read out of
// bounds (run it under the sanitizer build). PNW_JET_FUZZ_ITERATIONS sets a
// longer run; PNW_JET_FUZZ_KEEP=<folder> keeps the mutant being read
// (current.ais) and every one that took over a second, to find a hang.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "Jet3Fixture.h"
#include "JetTestUtil.h"
#include "WornFileFixture.h"
#include "jet/JetError.h"
#include "jet/JetMutation.h"
#include "jet/JetReader.h"
#include "jet/JetWriter.h"
#include "jet/TableText.h"

using namespace jet;
using namespace jettest;

namespace {

// Reads everything; returns false when the file was refused with JetError.
bool readEverything(const std::string &path) {
    try {
        JetReader reader(path);
        for (const auto &t : reader.tables()) {
            auto cursor = reader.openTable(t.name);
            std::vector<Value> row;
            for (int n = 0; n < 100000 && cursor->next(row); ++n) {}
        }
        return true;
    } catch (const JetError &) {
        return false;
    }
}

std::vector<std::string> seeds(const ScratchDir &dir) {
    std::vector<std::string> out;
    const std::string a = dir.file("seed-a.ais");
    JetWriter::writeFile(
        a, {parseTableText("GLAcct", "FAcctID:Text(40)!\tFName:Text(80)\tFBal:Currency\tFDate:DateTime\t"
                                     "FFlag:Boolean\tFMemo:Memo\n"
                                     "1001\t现金\t12.5\t2020-01-01\t1\t" +
                                         std::string(300, 'm') + "\n1002\tABCDEFGH银行\t\\N\t\\N\t0\t\\N\n")});
    out.push_back(readBytes(a));
    const std::string b = dir.file("seed-b.ais");
    JetWriter::writeFile(b, {parseTableText("M", "K:Long\tM:Memo\tO:OLE\n1\t" + std::string(9000, 'x') + "\t" +
                                                     std::string(600, 'A') + "\n")});
    out.push_back(readBytes(b));
    const std::string worn = dir.file("seed-worn.ais");
    writeWornFile(worn);
    out.push_back(readBytes(worn));
    const std::string c = dir.file("seed-c.mdb");
    using namespace jet::format;
    writeJet3File(
        c, "Old", {{"K", kLong, 4}, {"S", kText, 20}, {"B", kBool, 0}},
        {{std::string(4, '\1'), std::string("abc"), std::string()}, {std::nullopt, std::nullopt, std::nullopt}});
    out.push_back(readBytes(c));
    return out;
}

std::string mutate(std::string bytes, std::mt19937 &rng) {
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % (n ? n : 1)); };
    const size_t pageSize = bytes.size() > 0x14 && bytes[0x14] == 0 ? 2048 : 4096;
    const size_t pages = bytes.size() / pageSize;
    const int edits = 1 + static_cast<int>(pick(8));
    for (int e = 0; e < edits; ++e) {
        // Mostly the structural parts: page headers, row tables, row tails.
        const size_t page = pick(pages);
        size_t off;
        switch (pick(4)) {
        case 0: off = page * pageSize + pick(64); break;
        case 1: off = page * pageSize + pageSize - 1 - pick(256); break;
        case 2: off = page * pageSize + pick(pageSize); break;
        default: off = pick(bytes.size()); break;
        }
        if (off >= bytes.size()) continue;
        switch (pick(5)) {
        case 0: bytes[off] = static_cast<char>(rng()); break;
        case 1: bytes[off] = static_cast<char>(bytes[off] ^ (1 << pick(8))); break;
        case 2: bytes[off] = static_cast<char>(pick(2) ? 0xFF : 0x00); break;
        case 3:
            for (int k = 0; k < 4 && off + k < bytes.size(); ++k) bytes[off + k] = static_cast<char>(rng());
            break;
        default:
            if (off + 2 <= bytes.size()) {
                const uint16_t v = static_cast<uint16_t>(pick(3) == 0 ? 4096 + pick(8192) : pick(4096));
                bytes[off] = static_cast<char>(v & 0xFF);
                bytes[off + 1] = static_cast<char>(v >> 8);
            }
        }
    }
    if (pick(20) == 0) bytes.resize(pick(bytes.size()));
    return bytes;
}

}  // namespace

TEST(JetFuzz, DamagedFilesNeverCrash) {
    ScratchDir dir;
    const auto base = seeds(dir);
    for (const auto &s : base) {
        const std::string path = dir.file("seed.ais");
        std::ofstream(path, std::ios::binary) << s;
        ASSERT_TRUE(readEverything(path));
    }
    const char *env = std::getenv("PNW_JET_FUZZ_ITERATIONS");
    const int iterations = env ? std::atoi(env) : 1500;
    std::mt19937 rng(20261210);
    const std::string path = dir.file("mutant.ais");
    int refused = 0;
    // libmdb reports what it dislikes on stderr; keep the test log readable.
    fflush(stderr);
    const int savedErr = dup(2);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 2);
    close(devNull);
    for (int i = 0; i < iterations; ++i) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << mutate(base[i % base.size()], rng);
        }
        if (std::getenv("PNW_JET_FUZZ_KEEP"))
            std::filesystem::copy_file(path, std::string(std::getenv("PNW_JET_FUZZ_KEEP")) + "/current.ais",
                                       std::filesystem::copy_options::overwrite_existing);
        const auto t0 = std::chrono::steady_clock::now();
        if (!readEverything(path)) ++refused;
        if (std::getenv("PNW_JET_FUZZ_KEEP") && std::chrono::steady_clock::now() - t0 > std::chrono::seconds(1))
            std::filesystem::copy_file(path, std::string(std::getenv("PNW_JET_FUZZ_KEEP")) + "/slow-" +
                                                 std::to_string(i) + ".ais");
    }
    fflush(stderr);
    dup2(savedErr, 2);
    close(savedErr);
    // Most mutants hit something the checks refuse; none may crash.
    EXPECT_GT(refused, 0);
}

namespace {

// Every table's columns and row count, or the text it was refused with;
// "" for the file when it opens.
std::map<std::string, std::string> tableOutcomes(const std::string &path, std::string &file) {
    std::map<std::string, std::string> out;
    file.clear();
    try {
        JetReader reader(path);
        for (const auto &t : reader.tables()) {
            std::string columns;
            for (const auto &f : t.fields) columns += f.name + ":" + f.typeName + ":" + std::to_string(f.size) + ",";
            try {
                auto cursor = reader.openTable(t.name);
                std::vector<Value> row;
                int rows = 0;
                while (cursor->next(row)) ++rows;
                out[t.name] = columns + " rows " + std::to_string(rows);
            } catch (const JetError &e) {
                out[t.name] = std::string("refused: ") + e.what();
            }
        }
    } catch (const JetError &e) {
        file = e.what();
    }
    return out;
}

}  // namespace

// Mutants of the bundled sample account sets that once read as another
// table's columns or rows, or lost a table, kept as (kind, offset, seed):
// each must now be refused, by the table it damaged (or as a file), while
// the tables it left alone read as in the original.
TEST(JetFuzz, RecordedMutantsOfTheSamplesAreRefused) {
    using K = MutationKind;
    struct Recorded {
        const char *sample;
        Mutation mutation;
        const char *refused;  // a table that must be refused; "" for the whole file
    };
    const Recorded recorded[] = {
        {"mini", {K::PageCopy, 114688, 3262142424u}, "GLExp"},             // another table's definition copied over
        {"standard", {K::PageCopy, 73728, 3200694741u}, "FAVchExpense"},   // the same
        {"mini", {K::PageSwap, 208896, 3813000930u}, "PAItem"},            // exchanged with an empty table's
        {"mini", {K::PageSwap, 143360, 3085046105u}, "GLUnit"},            // the same
        {"mini", {K::ByteRun, 257996, 1607978198u}, ""},                   // the catalogue's own row lost
        {"mini", {K::ByteRun, 155875, 3190382673u}, "GLRecurEntry"},       // a Text column of no size
        {"mini", {K::ByteRun, 139306, 2306521499u}, "GLQtyBal"},           // rows without columns
        {"standard", {K::BitFlip, 168173, 1065459865u}, "GLTrans"},        // a Text column of 276 characters
        {"standard", {K::ByteRun, 152046, 4004369263u}, "GLRateAdjHist"},  // a column name of U+FFFF
        {"mini", {K::ByteRun, 568045, 1505789007u}, "GLVch"},              // a date far beyond the year 9999
    };
    ScratchDir dir;
    std::map<std::string, std::string> originals;
    std::map<std::string, std::map<std::string, std::string>> originalOutcomes;
    for (const char *sample : {"mini", "standard"}) {
        const std::string path = dir.file(std::string(sample) + ".ais");
        JetWriter::writeFile(path, readTableTextFolder(std::string(PNW_SOURCE_DIR) + "/samples/" + sample));
        originals[sample] = readBytes(path);
        std::string failure;
        originalOutcomes[sample] = tableOutcomes(path, failure);
        ASSERT_EQ(failure, "");
    }
    fflush(stderr);
    const int savedErr = dup(2);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 2);
    close(devNull);
    for (const Recorded &r : recorded) {
        SCOPED_TRACE(std::string(r.sample) + " " + mutationName(r.mutation.kind) + " " +
                     std::to_string(r.mutation.offset) + " " + std::to_string(r.mutation.seed));
        const std::string path = dir.file("mutant.ais");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << mutate(originals[r.sample], r.mutation);
        std::string failure;
        const auto outcomes = tableOutcomes(path, failure);
        if (!*r.refused) {
            EXPECT_NE(failure, "");
            continue;
        }
        ASSERT_EQ(failure, "");
        ASSERT_TRUE(outcomes.count(r.refused));
        EXPECT_EQ(outcomes.at(r.refused).rfind("refused: ", 0), 0u) << outcomes.at(r.refused);
        EXPECT_NE(outcomes.at(r.refused).find(std::string("\"") + r.refused + "\""), std::string::npos)
            << outcomes.at(r.refused);
        for (const auto &[name, outcome] : outcomes) {
            if (outcome.rfind("refused: ", 0) == 0) {
                EXPECT_NE(outcome.find("\"" + name + "\""), std::string::npos) << outcome;
                continue;
            }
            // What reads, reads as in the original.
            const auto &before = originalOutcomes[r.sample];
            ASSERT_TRUE(before.count(name)) << name;
            EXPECT_EQ(outcome, before.at(name)) << name;
        }
    }
    fflush(stderr);
    dup2(savedErr, 2);
    close(savedErr);
}
