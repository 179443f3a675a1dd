#include <algorithm>

#include "CheckSupport.h"

namespace samples {

namespace {

const char *const kStaged[] = {
    "GLPref",         "GLPeriod",      "GLUserGroup",   "SysUsers",     "GLCy",          "GLRate",
    "GLVchGroup",     "GLSettle",      "GLUnit",        "GLAcct",       "GLEmpGroup",    "GLEmp",
    "GLDuty",         "GLDegree",      "GLCls",         "GLObj",        "GLCust",        "GLExpGroup",
    "GLExp",          "GLRateAdjHist", "GLVch",         "GLVchDetail",  "GLVchTemplate", "GLVchTemplateType",
    "GLVchTemplate1", "GLRecur",       "GLRecurEntry",  "GLPnl",        "GLBal",         "GLQtyBal",
    "GLTrans",        "FACard",        "FABal",         "FABalExpense", "FABalDept",     "FABalDeValue",
    "FABalFor",       "FAExtra",       "FAInitBal",     "FAJob",        "FAVch",         "FAVchExpense",
    "FAVchDept",      "FAVchDeValue",  "FAVchFor",      "FAAlter",      "FAGroup",       "PAItem",
    "PAFormula",      "PAData",        "TRBankAccount", "TRBankJnlBal", "TRBankJnl",     "TRCashJnl",
    "TRBankChkBal",   "TRBankChkNote"};

const char *const kFixedAssetTables[] = {
    "FACard", "FABal", "FABalExpense", "FABalDept", "FABalDeValue", "FABalFor", "FAExtra", "FAInitBal",
    "FAJob",  "FAVch", "FAVchExpense", "FAVchDept", "FAVchDeValue", "FAVchFor", "FAAlter", "FAGroup"};
const char *const kCashierTables[] = {"TRBankAccount", "TRBankJnlBal", "TRBankJnl",
                                      "TRCashJnl",     "TRBankChkBal", "TRBankChkNote"};

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

}  // namespace

Problems checkLayout(const SampleSet &s) {
    Report r;
    for (const char *t : kStaged) r.expect(s.has(t), std::string("missing table ") + t);
    for (const auto &[name, table] : s.tables()) {
        const bool listed = std::find(std::begin(kStaged), std::end(kStaged), name) != std::end(kStaged);
        r.expect(listed || upper(name).find("CSTM_") != std::string::npos, "table " + name + " is never staged");
        for (const auto &c : table.text().columns) {
            r.expect(c.name != "FZ8InterID" && c.name != "FZ8InterID_2" && c.name != "FInterID",
                     name + "." + c.name + " is a column the upgrade adds itself");
            // Custom properties are copied as values, never compared.
            const bool custom = upper(name).find("CSTM_") != std::string::npos;
            r.expect(c.type != jet::ColumnType::Memo || custom || (name == "PAFormula" && c.name == "FFormula"),
                     name + "." + c.name + " is Memo where the steps compare it");
            if (name == "GLUnit") r.expect(!c.required || c.name == "FUnit", "GLUnit." + c.name + " is Required");
        }
    }
    if (s.has("GLPref")) {
        r.expect(s["GLPref"].column("FPeriodByMonth").type == jet::ColumnType::Integer,
                 "FPeriodByMonth is not Integer");
        r.expect(s["GLPref"].column("FBaseCy").type == jet::ColumnType::Text, "FBaseCy is not Text");
    }
    return r.take();
}

Problems checkOptions(const SampleSet &s) {
    Report r;
    const Table &p = s["GLPref"];
    r.expect(p.size() == 1, "GLPref holds " + std::to_string(p.size()) + " rows");
    if (p.size() == 0) return r.take();
    for (const char *c : {"FProgramVersion", "FDBVersion", "FCurrPeriod", "FCurrYear", "FDaysPerPeriod", "FBaseCy",
                          "FStartYear", "FStartPeriod", "FAcctYearBeginDay", "FAcctYearBeginMonth", "LastAppWriterID",
                          "FClosed", "FICClosed", "FPeriodsPerYear", "FPhone", "FAddress", "FCompany"})
        r.expect(p.has(c), std::string("GLPref lacks ") + c);
    const int64_t version = p.integer(0, "FProgramVersion");
    r.expect(version == 1 || version == 15, "FProgramVersion " + std::to_string(version));
    r.expect(p.isNull(0, "LastAppWriterID") || p.integer(0, "LastAppWriterID") >= 201300129, "LastAppWriterID too old");
    r.expect(p.flag(0, "FClosed") || p.flag(0, "FICClosed"), "initialisation not finished");
    const int64_t perYear = p.integer(0, "FPeriodsPerYear");
    r.expect(!p.isNull(0, "FPeriodsPerYear") && (perYear == 12 || perYear == 13), "FPeriodsPerYear not 12 or 13");
    r.expect(p.integer(0, "FPeriodByMonth") == -1, "periods are not calendar months");
    r.expect(p.integer(0, "FAcctYearBeginMonth") == 1 && p.integer(0, "FAcctYearBeginDay") == 1,
             "year does not begin on 1 January");
    const Options o = readOptions(s);
    // The books hold the whole current year: a set started within it started
    // in its period 1; one started in an earlier year may have started in
    // any period of that year.
    r.expect((o.startYear == o.year && o.startPeriod == 1) || (o.startYear < o.year && o.startPeriod >= 1),
             "the set starts after period 1 of its current year");
    r.expect(o.period >= 1 && o.period <= perYear, "current period out of range");
    r.expect(!o.lengths.empty() && o.lengths.size() <= 10, "FACLevels out of range");
    for (size_t i = 1; i < o.lengths.size(); ++i) r.expect(o.lengths[i] > o.lengths[i - 1], "FACLen not growing");
    for (int i = static_cast<int>(o.lengths.size()) + 1; i <= 10; ++i)
        r.expect(p.integer(0, "FACLen" + std::to_string(i)) == 0, "FACLen above FACLevels not 0");
    bool base = false;
    const Table &cy = s["GLCy"];
    for (size_t i = 0; i < cy.size(); ++i) base = base || cy.str(i, "FCyID") == o.baseCy;
    r.expect(base, "base currency " + o.baseCy + " not in GLCy");
    const auto accounts = accountRows(s);
    for (const char *c : {"FCashAc", "FBankAc"}) {
        const std::string code = p.str(0, c);
        r.expect(accounts.count(code) && !o.lengths.empty() && code.size() == o.lengths[0],
                 std::string(c) + " is not a first-level account");
    }
    if (o.bankCheck)
        r.expect(p.str(0, "FTRClosedDate") >= dateOf(o.startYear, o.startPeriod, monthDays(o.startYear, o.startPeriod)),
                 "cashier in use but FTRClosedDate before the end of the start month");
    return r.take();
}

Problems checkEdition(const SampleSet &s) {
    Report r;
    const Options o = readOptions(s);
    const Table &p = s["GLPref"];
    if (o.programVersion == 1) {
        for (const char *t : kFixedAssetTables) r.expect(s[t].size() == 0, std::string("Mini set holds rows in ") + t);
        for (const char *t : kCashierTables) r.expect(s[t].size() == 0, std::string("Mini set holds rows in ") + t);
        r.expect(!o.bankCheck && p.isNull(0, "FTRClosedDate"), "Mini set uses the cashier");
        r.expect(p.flag(0, "FClosed") && !p.flag(0, "FICClosed"), "Mini set closes the business modules");
        r.expect(!o.deprMade, "Mini set made depreciation");
    } else {
        r.expect(s["FACard"].size() > 0 && s["TRBankJnl"].size() > 0, "Standard set without fixed assets or cashier");
    }
    // One base-currency balance row per account, item and period.
    std::set<std::tuple<std::string, int64_t, std::string, int64_t>> seen;
    const Table &b = s["GLBal"];
    for (size_t i = 0; i < b.size(); ++i) {
        if (b.str(i, "FCyID") != o.baseCy) continue;
        r.expect(!b.flag(i, "FBase"), "base-currency GLBal row with FBase 1 for " + b.str(i, "FAcctID"));
        r.expect(seen.insert({b.str(i, "FAcctID"), b.integer(i, "FClsID"), b.str(i, "FObjID"), b.integer(i, "FPeriod")})
                     .second,
                 "two base-currency GLBal rows for " + b.str(i, "FAcctID"));
    }
    return r.take();
}

const std::vector<Check> &allChecks() {
    static const std::vector<Check> checks = {
        {"Layout", checkLayout},
        {"Options", checkOptions},
        {"Edition", checkEdition},
        {"Chart", checkChart},
        {"Items", checkItems},
        {"Vouchers", checkVouchers},
        {"Balances", checkBalances},
        {"ProfitAndLoss", checkProfitAndLoss},
        {"Transactions", checkTransactions},
        {"RateAdjustments", checkRateAdjustments},
        {"FixedAssets", checkFixedAssets},
        {"Payroll", checkPayroll},
        {"Cashier", checkCashier},
        {"Templates", checkTemplates},
        {"Texts", checkTexts},
        {"Users", checkUsers},
    };
    return checks;
}

}  // namespace samples
