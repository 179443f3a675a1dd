#include "upgrade/assets/FaCardColumns.h"

#include <QStringList>

namespace {

struct CardColumn {
    const char *name;
    const char *type;
};

const CardColumn kColumns[] = {
    {"FAssetNumber", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FAssetName", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FEconomyUseID", "INT NOT NULL"},
    {"FLocationID", "INT NOT NULL"},
    {"FGroupID", "INT NOT NULL"},
    {"FAlterModeID", "INT NOT NULL"},
    {"FStatusID", "INT NOT NULL"},
    {"FUnit", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FModel", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FManufacturer", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FProductingArea", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FVender", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FBeginUseDate", "DATETIME NOT NULL"},
    {"FNum", nullptr},
    {"FOrgVal", "MONEY NOT NULL"},
    {"FOrgValBuy", "MONEY NOT NULL DEFAULT 0"},
    {"FResidueVal", "MONEY NOT NULL"},
    {"FDeprMethodID", "INT NOT NULL"},
    {"FAccumDepr", "MONEY NOT NULL"},
    {"FAccumDeprBuy", "MONEY NOT NULL DEFAULT 0"},
    {"FLifePeriods", "DECIMAL(28, 10) NOT NULL"},
    {"FPeriodsUsed", "DECIMAL(28, 10) NOT NULL"},
    {"FJobUnit", "VARCHAR(80) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FAssetAcctID", "INT NOT NULL"},
    {"FDeprAcctID", "INT NOT NULL"},
    {"FModule", "VARCHAR(10) COLLATE Chinese_PRC_CI_AS NOT NULL"},
    {"FBuildVoucher", "BIT NOT NULL"},
    {"FAdjustOldDepr", "BIT NOT NULL"},
    {"FAMiuValueRead", "MONEY NOT NULL DEFAULT 0"},
    {"FAXRZKVal", "DECIMAL(23, 10) NOT NULL DEFAULT 0"},
};

}  // namespace

QString FaCardColumns(const QString &prefix) {
    QStringList names;
    for (const CardColumn &column : kColumns) names << prefix + QString::fromLatin1(column.name);
    return names.join(QStringLiteral(", "));
}

QString FaCardColumnDefinitions(const QString &numType) {
    QStringList definitions;
    for (const CardColumn &column : kColumns)
        definitions << QString::fromLatin1(column.name) + QLatin1Char(' ') +
                           (column.type ? QString::fromLatin1(column.type) : numType + QStringLiteral(" NOT NULL"));
    return definitions.join(QStringLiteral(", "));
}
