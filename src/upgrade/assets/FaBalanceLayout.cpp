#include "upgrade/assets/FaBalanceLayout.h"

#include <QStringList>

namespace {

struct BalanceColumn {
    const char *name;
    const char *type;
};

const BalanceColumn kColumns[] = {
    {"FAssetID", "INT NOT NULL"},
    {"FYear", "INT NOT NULL"},
    {"FPeriod", "INT NOT NULL"},
    {"FBalID", "INT NOT NULL identity"},
    {"FDate", "DATETIME NOT NULL"},
    {"FCleared", "bit NOT NULL"},
    {"FDeprPeriods", "DECIMAL(23, 10) NULL"},
    {"FWorkload", "DECIMAL(23, 10) NULL"},
    {"FOrgValP", "MONEY NOT NULL"},
    {"FOrgValInc", "MONEY NOT NULL"},
    {"FOrgValDec", "MONEY NOT NULL"},
    {"FNumP", "DECIMAL(16, 6) NOT NULL default 0"},
    {"FNumAlter", "DECIMAL(16, 6) NOT NULL"},
    {"FAccumDeprP", "MONEY NOT NULL"},
    {"FAccumDeprInc", "MONEY NOT NULL"},
    {"FAccumDeprDec", "MONEY NOT NULL"},
    {"FDeprShould", "MONEY NOT NULL"},
    {"FDepr", "MONEY NOT NULL"},
    {"FDeprRate", "float NOT NULL default 0"},
    {"FDeprShouldLP", "MONEY NOT NULL default 0"},
    {"FDeprRemain", "MONEY NOT NULL default 0"},
    {"FYtdOrgValInc", "MONEY NOT NULL"},
    {"FYtdOrgValDec", "MONEY NOT NULL"},
    {"FYtdDeprInc", "MONEY NOT NULL"},
    {"FYtdDeprDec", "MONEY NOT NULL"},
    {"FHasDepr", "bit NOT NULL default 0"},
    {"FDecPreP", "MONEY NOT NULL default 0"},
    {"FDecPreInc", "MONEY NOT NULL default 0"},
    {"FDecPreDec", "MONEY NOT NULL default 0"},
    {"FYtdDecPreInc", "MONEY NOT NULL default 0"},
    {"FYtdDecPreDec", "MONEY NOT NULL default 0"},
    {"FAltDate", "DATETIME NULL"},
};

}  // namespace

QString FaBalanceColumns() {
    QStringList names;
    for (const BalanceColumn &column : kColumns) names << QString::fromLatin1(column.name);
    return names.join(QStringLiteral(", "));
}

QString FaBalanceDefinitions() {
    QStringList definitions;
    for (const BalanceColumn &column : kColumns)
        definitions << QString::fromLatin1(column.name) + QLatin1Char(' ') + QString::fromLatin1(column.type);
    return definitions.join(QStringLiteral(", "));
}
