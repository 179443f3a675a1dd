#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "samples/SampleChecks.h"

namespace fs = std::filesystem;
using namespace samples;

namespace {

std::string sampleDir(const std::string &edition) { return std::string(PNW_SOURCE_DIR) + "/samples/" + edition; }

const SampleSet &committed(const std::string &edition) {
    static std::map<std::string, SampleSet> cache;
    auto it = cache.find(edition);
    if (it == cache.end()) it = cache.emplace(edition, SampleSet::load(sampleDir(edition))).first;
    return it->second;
}

std::string joined(const Problems &p) {
    std::string out;
    for (const auto &x : p) out += "\n  " + x;
    return out;
}

// A fresh folder under the temporary directory, removed with the object.
class TempDir {
public:
    explicit TempDir(const std::string &name)
        : path_(fs::temp_directory_path() / ("pnw-samples-" + std::to_string(::getpid()) + "-" + name)) {
        fs::remove_all(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string str() const { return path_.string(); }

private:
    fs::path path_;
};

int runGenerator(const std::string &args) {
    const std::string cmd = "\"" + std::string(PNW_BINARY_DIR) + "/bin/samplegen\" " + args + " 2>/dev/null";
    return std::system(cmd.c_str());
}

std::string readFile(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

class CommittedSample : public ::testing::TestWithParam<std::tuple<const char *, size_t>> {};

TEST_P(CommittedSample, KeepsInvariant) {
    const auto [edition, index] = GetParam();
    const Check &check = allChecks()[index];
    const Problems problems = check.run(committed(edition));
    EXPECT_TRUE(problems.empty()) << edition << " " << check.name << ":" << joined(problems);
}

INSTANTIATE_TEST_SUITE_P(Samples, CommittedSample,
                         ::testing::Combine(::testing::Values("standard", "mini", "broad"),
                                            ::testing::Range<size_t>(0, allChecks().size())),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param)) + "_" +
                                    allChecks()[std::get<1>(info.param)].name;
                         });

TEST(Samples, EditionsAreWhatTheirFoldersSay) {
    EXPECT_EQ(committed("standard")["GLPref"].integer(0, "FProgramVersion"), 15);
    EXPECT_EQ(committed("mini")["GLPref"].integer(0, "FProgramVersion"), 1);
    EXPECT_EQ(committed("broad")["GLPref"].integer(0, "FProgramVersion"), 15);
    // The standard set exercises what the upgrade must carry.
    const SampleSet &s = committed("standard");
    bool quoteInExplanation = false, noGroup = false, emptyGroup = false, deleted = false, foreign = false,
         quantity = false;
    const Table &v = s["GLVch"];
    for (size_t i = 0; i < v.size(); ++i) {
        quoteInExplanation = quoteInExplanation || v.str(i, "FExp").find('\'') != std::string::npos;
        noGroup = noGroup || v.isNull(i, "FGroup");
        emptyGroup = emptyGroup || (!v.isNull(i, "FGroup") && v.str(i, "FGroup").empty());
        deleted = deleted || v.flag(i, "FDeleted");
        foreign = foreign || v.str(i, "FCyID") == "USD";
        quantity = quantity || !v.isNull(i, "FQty");
    }
    EXPECT_TRUE(quoteInExplanation && noGroup && emptyGroup && deleted && foreign && quantity);
    EXPECT_GT(s["GLRateAdjHist"].size(), 0u);
    EXPECT_GT(s["FAVch"].size(), 0u);
    EXPECT_GT(s["PAData"].size(), 0u);
    EXPECT_GT(s["TRBankChkNote"].size(), 0u);
    EXPECT_TRUE(s.has("CSTM_Project"));
}

// The broad set carries the fixed-asset shapes the other sets lack.
TEST(Samples, BroadCarriesTheFixedAssetShapes) {
    const SampleSet &s = committed("broad");
    std::map<std::tuple<std::string, int64_t>, int> alterations, additions;
    const Table &v = s["FAVch"];
    for (size_t i = 0; i < v.size(); ++i) {
        auto key = std::make_tuple(v.str(i, "FAssetID"), v.integer(i, "FPeriod"));
        (v.integer(i, "FType") == 0 ? additions : alterations)[key] += 1;
    }
    bool twoInOnePeriod = false, inAdditionPeriod = false;
    for (const auto &[key, n] : alterations) {
        twoInOnePeriod = twoInOnePeriod || n > 1;
        inAdditionPeriod = inAdditionPeriod || additions.count(key) != 0;
    }
    EXPECT_TRUE(twoInOnePeriod && inAdditionPeriod);
    bool clearedEarlier = false, twoAccounts = false, twoDepartments = false;
    for (size_t i = 0; i < s["FABal"].size(); ++i) clearedEarlier = clearedEarlier || s["FABal"].integer(i, "FPost") == 2;
    std::map<std::tuple<std::string, int64_t>, std::set<std::string>> accounts, departments;
    const Table &e = s["FABalExpense"];
    for (size_t i = 0; i < e.size(); ++i)
        accounts[{e.str(i, "FAssetID"), e.integer(i, "FPeriod")}].insert(e.str(i, "FExpenseAcctID"));
    const Table &d = s["FABalDept"];
    for (size_t i = 0; i < d.size(); ++i)
        departments[{d.str(i, "FAssetID"), d.integer(i, "FPeriod")}].insert(d.str(i, "FDeptObjID"));
    for (const auto &[key, set] : accounts) twoAccounts = twoAccounts || set.size() > 1;
    for (const auto &[key, set] : departments) twoDepartments = twoDepartments || set.size() > 1;
    EXPECT_TRUE(clearedEarlier && twoAccounts && twoDepartments);
    EXPECT_GT(s["FAJob"].size(), 0u);
    // A card whose depreciation is done: its accumulated depreciation all year
    // leaves only the salvage.
    bool fullyDepreciated = false;
    const Table &b = s["FABal"];
    for (size_t i = 0; i < b.size(); ++i)
        fullyDepreciated = fullyDepreciated || (b.cents(i, "FOrgVal") > 0 && b.integer(i, "FPeriods") >= b.integer(i, "FLife"));
    EXPECT_TRUE(fullyDepreciated);
}

// Each committed set and the arguments that write it.
struct Generated {
    const char *set, *args;
};

class Regeneration : public ::testing::TestWithParam<Generated> {};

TEST_P(Regeneration, GeneratorReproducesTheCommittedText) {
    const std::string edition = GetParam().set;
    TempDir out("regen-" + edition);
    ASSERT_EQ(runGenerator(std::string(GetParam().args) + " " + out.str()), 0);
    std::set<std::string> committedFiles, generated;
    for (const auto &e : fs::directory_iterator(sampleDir(edition)))
        if (e.path().extension() == ".tsv") committedFiles.insert(e.path().filename().string());
    for (const auto &e : fs::directory_iterator(out.str())) generated.insert(e.path().filename().string());
    EXPECT_EQ(generated, committedFiles);
    for (const auto &name : committedFiles)
        EXPECT_TRUE(readFile(fs::path(sampleDir(edition)) / name) == readFile(fs::path(out.str()) / name))
            << name << " differs from what samplegen writes";
}

INSTANTIATE_TEST_SUITE_P(Samples, Regeneration,
                         ::testing::Values(Generated{"standard", "--edition standard --size small"},
                                           Generated{"mini", "--edition mini --size small"},
                                           Generated{"mini_open", "--edition mini --size small --empty-current"},
                                           Generated{"broad", "--edition standard --size small --broad"},
                                           Generated{"broad_open",
                                                     "--edition standard --size small --broad --empty-current"}),
                         [](const auto &info) { return std::string(info.param.set); });

TEST(Samples, GeneratingOverAnotherSetLeavesNoStaleTable) {
    TempDir out("over");
    ASSERT_EQ(runGenerator("--edition standard --size small " + out.str()), 0);
    ASSERT_TRUE(fs::exists(fs::path(out.str()) / "CSTM_Project.tsv"));
    std::ofstream(fs::path(out.str()) / "notes.txt") << "kept";
    ASSERT_EQ(runGenerator("--edition mini --size small " + out.str()), 0);
    EXPECT_FALSE(fs::exists(fs::path(out.str()) / "CSTM_Project.tsv"));
    EXPECT_TRUE(fs::exists(fs::path(out.str()) / "notes.txt"));
    EXPECT_EQ(SampleSet::load(out.str())["GLPref"].integer(0, "FProgramVersion"), 1);
}

// A reduced large set by default; PNW_LARGE_SAMPLE_ARGS checks another one
// (for example "--edition standard --size large" for the full benchmark set).
TEST(Samples, LargeSetKeepsTheInvariants) {
    TempDir out("large");
    const char *custom = std::getenv("PNW_LARGE_SAMPLE_ARGS");
    const std::string args =
        custom ? custom
               : "--edition standard --size large --vouchers 4000 --years 2 --accounts 200 --assets 80 "
                 "--employees 24 --customers 30 --suppliers 12";
    ASSERT_EQ(runGenerator(args + " " + out.str()), 0);
    const SampleSet s = SampleSet::load(out.str());
    if (!custom) {
        EXPECT_GE(s["GLVch"].size(), 4000u);
        EXPECT_GE(s["GLAcct"].size(), 200u);
        EXPECT_EQ(s["FACard"].size(), 80u);
    }
    for (const auto &check : allChecks()) {
        const Problems problems = check.run(s);
        EXPECT_TRUE(problems.empty()) << check.name << ":" << joined(problems);
    }
}

TEST(Samples, GeneratorRefusesBadArguments) {
    TempDir out("bad");
    for (const char *args : {"--edition pro --size small", "--edition mini --size huge",
                             "--edition mini --size small --vouchers x", "--edition mini --size small --employees 2",
                             "--edition mini --size small --broad", "--edition standard --size large --broad",
                             "--edition standard --size small --empty-current"})
        EXPECT_NE(runGenerator(std::string(args) + " " + out.str()), 0) << args;
    EXPECT_NE(runGenerator("--edition mini --size small"), 0);
}

// The checks themselves find a broken set, so a passing sample means something.
TEST(Samples, ChecksFindBrokenSets) {
    struct Case {
        const char *table, *column;
        size_t row;
        const char *value;
        Problems (*check)(const SampleSet &);
    };
    const Case cases[] = {
        {"GLVch", "FDebit", 0, "1.00", checkVouchers},
        {"GLVch", "FObjID", 0, "*", checkVouchers},
        {"GLBal", "FDebit", 5, "12345.67", checkBalances},
        {"GLPref", "FPeriodsPerYear", 0, "24", checkOptions},
        {"GLPref", "LastAppWriterID", 0, "201300128", checkOptions},
        {"GLAcct", "FAcctName", 0, "库存'现金'", checkChart},
        {"GLObj", "FFullPath", 5, "1*99", checkItems},
        {"PAData", "FData", 0, "\\N", checkPayroll},
        {"FABal", "FOrgVal", 0, "1.00", checkFixedAssets},
        {"TRBankJnlBal", "FDebit", 0, "1.00", checkCashier},
        {"GLCust", "FContact", 0, "王'经理", checkTexts},
        {"GLSettle", "FSettCode", 0, "现金支付方式名称超过二十个字符的结算方式名称示例", checkTexts},
        {"GLVchTemplate1", "FIndex", 1, "5", checkTemplates},
        {"SysUsers", "FUserGroupID", 1, "9", checkUsers},
        {"GLPnl", "FAmt", 0, "1.00", checkProfitAndLoss},
        {"GLTrans", "FBal", 0, "1.00", checkTransactions},
        {"GLRateAdjHist", "FBalAdj", 0, "1.00", checkRateAdjustments},
    };
    for (const auto &c : cases) {
        SampleSet s = committed("standard");
        Table &t = s.edit(c.table);
        t.row(c.row)[t.index(c.column)] = std::string(c.value) == "\\N" ? jet::Cell() : jet::Cell(c.value);
        EXPECT_FALSE(c.check(s).empty()) << c.table << "." << c.column;
    }
    SampleSet s = committed("standard");
    s.edit("GLPref").row(0)[s["GLPref"].index("FClosed")] = "0";
    s.edit("GLPref").row(0)[s["GLPref"].index("FICClosed")] = "0";
    EXPECT_FALSE(checkOptions(s).empty());
}
