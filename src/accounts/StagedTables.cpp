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

QStringList MissingSourceTables(const QSet<QString> &staged) {
    const auto groupOf = [](const QString &name) -> QString {
        for (const char *prefix : {"FA", "TR"})
            if (name.startsWith(QLatin1String(prefix))) return QString::fromLatin1(prefix);
        return QString();
    };
    QSet<QString> groupsKept;
    for (const QString &name : StagedTableNames())
        if (!groupOf(name).isEmpty() && staged.contains(name.toUpper())) groupsKept.insert(groupOf(name));
    QStringList missing;
    for (const QString &name : StagedTableNames()) {
        if (name == QLatin1String("GLVchDetail") || name.startsWith(QLatin1String("PA"))) continue;
        const QString group = groupOf(name);
        if (!group.isEmpty() && !groupsKept.contains(group)) continue;
        if (!staged.contains(name.toUpper())) missing.append(name);
    }
    return missing;
}
