#include "Codes.h"

#include <set>

namespace samplegen {

std::string wideCode(const std::string &code) {
    // Levels 2 and 3 grow from two digits to three; level 4 keeps its two.
    std::string out = code.substr(0, 4);
    for (size_t at = 4; at < code.size(); at += 2) out += (at < 8 ? "0" : "") + code.substr(at, 2);
    return out;
}

void widenAccountCodes(TableSet &set) {
    std::set<std::string> codes;
    const jet::TableText &chart = set.table("GLAcct");
    for (size_t c = 0; c < chart.columns.size(); ++c)
        if (chart.columns[c].name == "FAcctID")
            for (const auto &row : chart.rows)
                if (row[c]) codes.insert(*row[c]);
    // Every column that holds an account code; first-level codes keep their
    // four digits, so the options' cash and bank accounts stay as they are.
    const std::set<std::string> columns = {
        "FAcctID",     "FAcctIDSide", "FExpenseAcctID", "FDevAcctID", "FAssetAcID", "FDeprAcID", "FDevalueAcID",
        "FCashAc",     "FBankAc",     "FDRange",        "FCRange",    "FDCRange",   "FNDRange",  "FNCRange",
        "FNDCRange"};
    set.changeColumns(columns, [&](const jet::Cell &cell) -> jet::Cell {
        if (!cell || !codes.count(*cell)) return cell;
        return wideCode(*cell);
    });
}

}  // namespace samplegen
