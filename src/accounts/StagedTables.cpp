#include "accounts/StagedTables.h"

const QStringList &StagedTableNames() {
    static const QStringList names = {
        "GLPref",         "GLPeriod",      "GLUserGroup",   "SysUsers",     "GLCy",          "GLRate",
        "GLVchGroup",     "GLSettle",      "GLUnit",        "GLAcct",       "GLEmpGroup",    "GLEmp",
        "GLDuty",         "GLDegree",      "GLCls",         "GLObj",        "GLCust",        "GLExpGroup",
        "GLExp",          "GLRateAdjHist", "GLVch",         "GLVchDetail",  "GLVchTemplate", "GLVchTemplateType",
        "GLVchTemplate1", "GLRecur",       "GLRecurEntry",  "GLPnl",        "GLBal",         "GLQtyBal",
        "GLTrans",        "FACard",        "FABal",         "FABalExpense", "FABalDept",     "FABalDeValue",
        "FABalFor",       "FAExtra",       "FAInitBal",     "FAJob",        "FAVch",         "FAVchExpense",
        "FAVchDept",      "FAVchDeValue",  "FAVchFor",      "FAAlter",      "FAGroup",       "PAItem",
        "PAFormula",      "PAData",        "TRBankAccount", "TRBankJnlBal", "TRBankJnl",     "TRCashJnl",
        "TRBankChkBal",   "TRBankChkNote",
    };
    return names;
}

bool IsStagedTable(const QString &name) {
    const QString upper = name.toUpper();
    if (upper.contains(QStringLiteral("CSTM_"))) return true;
    for (const QString &listed : StagedTableNames())
        if (listed.toUpper() == upper) return true;
    return false;
}

QStringList RequiredSourceTables() {
    QStringList out;
    for (const QString &name : StagedTableNames())
        if (name != QLatin1String("GLVchDetail") && !name.startsWith(QLatin1String("PA")) &&
            !name.startsWith(QLatin1String("TR")))
            out.append(name);
    return out;
}
