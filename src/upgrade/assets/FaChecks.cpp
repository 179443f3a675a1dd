// The fixed-asset checks of the data-check run: the staged tables' columns
// and the cards' accounts (fatal), the repair of NULL alteration modes, and
// four warnings (future service dates, expense allocation, cards cleared in
// an earlier year, cards added in the current period).
#include <optional>

#include "foundation/ErrorText.h"
#include "foundation/Messages.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "platform/ado/AdoError.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/FaDetailLog.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

struct SourceTable {
    const char *label;
    const char *columns;
};

// The staged tables and the columns the conversion reads, in probe order.
const SourceTable kSourceTables[] = {
    {"FACard",
     "FAssetID, FAssetName, FModel, FUse, FLocation, FRemark, FAlterID, FServiceDate, FOrgValService, FDeprService, "
     "FUseBeforeService, FBeginUseDate, FPeriodsBeforeService, FJobUnit, FDeprAll, FFormularyType, FAssetAcID, "
     "FDeprAcID, FTaxAmount, FProduceFactory, FProduceDate, FDevalueService, FDevalueAcID, FZ8InterID"},
    {"FABal",
     "FPeriod, FAssetID, FDebitOrg, FCreditOrg, FDebitDepr, FCreditDepr, FDepr, FYtdDebitOrg, FYtdCreditOrg, "
     "FYtdDebitDepr, FYtdCreditDepr, FYtdDepr, FGroupID, FStatus, FDeprMethod, FLife, FPeriods, FOrgVal, FAccumDepr, "
     "FSalvage, FLifeA, FPeriodsA, FOrgValA, FAccumDeprA, FDeprPerPeriod, FPost, FService, FTaxAmount, FDevalue, "
     "FDebitDevalue, FCreditDevalue, FYtdDebitDevalue, FYtdCreditDevalue, FYtdDevalue, FYtdDevalue2, FAccumDevalue, "
     "FAccumDevalue2, FPreDevalue, FFormularyType, FZ8InterID"},
    {"FABalExpense", "FPeriod, FAssetID, FExpenseAcctID, FExpenseClsID, FExpenseObjID, FRate, FDepr, FZ8InterID"},
    {"FABalDept", "FPeriod, FAssetID, FDeptClsID, FDeptObjID, FRate, FDepr, FDevalueRate, FDevalue, FZ8InterID"},
    {"FABalDevalue", "FPeriod, FAssetID, FDevAcctID, FDevClsID, FDevObjID, FRate, FDevalue, FZ8InterID"},
    {"FABalFor", "FPeriod, FAssetID, FCyID, FExchRate, FOrgValFor, FOrgVal, FZ8InterID"},
    {"FAExtra", "FAssetID, FRowID, FName, FModel, FUnit, FQty, FAmount, FZ8InterID"},
    {"FAInitBal", "FAssetID, FDebitOrg, FCreditOrg, FDebitDepr, FCreditDepr, FYtdDepr, FYtdDevalue, FZ8InterID"},
    {"FAJob", "FPeriod, FAssetID, FJob, FZ8InterID"},
    {"FAVch", "FSerial, FDate, FPeriod, FType, FTypeNum, FAssetID, FGroup, FNum, FGroupID, FAlterID, FStatus, FOrgVal, "
              "FAccumDepr, FSalvage, FDeprMethod, FLife, FAdjType, FAdjAccumDepr, FEnterDeprAlter, FPosted, FPreparer, "
              "FChecker, FPoster, FTaxAmount, FAccumDevalue, FZ8InterID"},
    {"FAVchExpense",
     "FPeriod, FType, FTypeNum, FAssetID, FExpenseAcctID, FExpenseClsID, FExpenseObjID, FRate, FZ8InterID"},
    {"FAVchDept", "FPeriod, FType, FTypeNum, FAssetID, FDeptClsID, FDeptObjID, FRate, FDevalueRate, FZ8InterID"},
    {"FAVchDevalue", "FPeriod, FType, FTypeNum, FAssetID, FDevAcctID, FDevClsID, FDevObjID, FRate, FZ8InterID"},
    {"FAVchFor", "FPeriod, FType, FTypeNum, FAssetID, FCyID, FExchRate, FOrgValFor, FOrgVal, FZ8InterID"},
    {"FAAlter", "FAlterID, FAlterName, FMode, FAcctID, FVchGroup, FExp, FZ8InterID"},
    {"FAGroup", "FGroupID, FGroupName, FDeprMethod, FSalvageRate, FZ8InterID"},
};

constexpr quint32 kNameMissing = 0x80040E14u;
const QString kDetail = QStringLiteral("详细信息");

// A warning's query; a failing one is logged with its reason and gives no
// warning.
std::optional<ado::Recordset> warningQuery(StepKit &kit, const QString &sql, const QString &project) {
    try {
        return kit.query(sql);
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("检测时出错：") + ErrorDescription(e), QString(), 1);
        return std::nullopt;
    }
}

// One warning: a detail table of the rows, their card list in the
// description between prefix and suffix. False when the query gave no
// recordset (the check ends).
bool cardWarning(StepKit &kit, const QString &sql, const QString &title, const QStringList &captions,
                 const QStringList &columns, const QString &project, const QString &prefix, const QString &suffix) {
    auto rs = warningQuery(kit, sql, project);
    if (!rs) return false;
    if (rs->Eof()) return true;
    FaDetailLog detail(title, captions);
    FaCardList cards;
    for (; !rs->Eof(); rs->MoveNext()) {
        detail.addRow(FaDetailLog::cells(*rs, columns));
        cards.add(rs->value(QStringLiteral("FAssetID")).toString());
    }
    const QString description = prefix.isNull() ? suffix : prefix + cards.text() + suffix;
    WriteUpgradeLog(project, description, kDetail, 1, detail.list());
    return true;
}

// Check 3: NULL alteration modes take the card's own mode. True when a
// repair took place (the warnings are then not made); raises when the
// alteration query fails.
std::optional<bool> repairAlterationModes(StepKit &kit) {
    auto rs = kit.query(QStringLiteral(
        "SELECT FAssetID, FPeriod, CASE WHEN FType = 2 THEN '其他' WHEN FType = 10 THEN '减少' ELSE '增加' END AS "
        "FTypeText FROM AIS_FAVch WHERE FAlterID IS NULL"));
    if (!rs) return std::nullopt;
    if (rs->Eof()) return false;
    FaDetailLog detail(QStringLiteral("固定资产变动方式检测"),
                       {QStringLiteral("固定资产代码"), QStringLiteral("变动期间"), QStringLiteral("变动方式类别"),
                        QStringLiteral("修复后变动方式")});
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList cells = FaDetailLog::cells(
            *rs, {QStringLiteral("FAssetID"), QStringLiteral("FPeriod"), QStringLiteral("FTypeText")});
        const QString code = rs->value(QStringLiteral("FAssetID")).toString();
        QString modeName;
        try {
            auto mode = kit.query(SqlText("SELECT c.FAlterID, a.FAlterName FROM AIS_FACard c INNER JOIN AIS_FAAlter a "
                                          "ON c.FAlterID = a.FAlterID WHERE c.FAssetID = {code}")
                                      .text("code", code));
            if (mode && !mode->Eof()) {
                modeName = mode->value(QStringLiteral("FAlterName")).toString();
                QString ignored;
                kit.execute(SqlText("UPDATE AIS_FAVch SET FAlterID={mode} where FAssetID={code} AND FAlterID is null")
                                .arg("mode", mode->value(QStringLiteral("FAlterID")))
                                .text("code", code),
                            ignored);
            }
        } catch (const std::exception &) {
            // The card's mode cannot be read: the row stays unrepaired.
        }
        cells << modeName;
        detail.addRow(cells);
    }
    WriteUpgradeLog(QStringLiteral("固定资产变动方式检测"),
                    QStringLiteral("固定资产变动方式存在不合法的NULL值，默认修复为原始卡片的变动方式。"), kDetail, 1,
                    detail.list());
    return true;
}

}  // namespace

bool clsEboFa::NoFixedAssetTables(StepKit &kit) {
    QStringList names;
    for (const SourceTable &table : kSourceTables) names << SqlString(QStringLiteral("AIS_") + table.label);
    const QVariant count = kit.scalar(
        SqlText("SELECT COUNT(*) FROM sysobjects WHERE name IN ({names})").raw("names", names.join(QLatin1Char(','))));
    return count.toInt() == 0;
}

bool clsEboFa::CheckFASourceTables(StepKit &kit) {
    try {
        for (const SourceTable &table : kSourceTables) {
            const QString probe = QStringLiteral("SELECT top 0 ") + QString::fromLatin1(table.columns) +
                                  QStringLiteral(" FROM AIS_") + QString::fromLatin1(table.label);
            try {
                kit.query(probe);
            } catch (const ado::AdoError &e) {
                const QString text =
                    QStringLiteral("源帐套数据表") + QString::fromLatin1(table.label) + e.description();
                if (e.providerCode() != kNameMissing) {
                    // The table has its columns as far as the probe can
                    // tell; the reason it failed is kept.
                    WriteUpgradeLog(QStringLiteral("固定资产数据检测"), text, QString(), 1);
                    continue;
                }
                WriteUpgradeLog(QStringLiteral("固定资产数据检测"), text, QString(), 2);
                ShowMessage(text, 16, kMessageTitle);
                return false;
            } catch (const std::exception &e) {
                WriteUpgradeLog(QStringLiteral("固定资产数据检测"),
                                QStringLiteral("源帐套数据表") + QString::fromLatin1(table.label) +
                                    ErrorDescription(e),
                                QString(), 1);
            }
        }
        return true;
    } catch (const std::exception &e) {
        WriteUpgradeLog(QStringLiteral("固定资产数据检测"), QStringLiteral("检测时出错：") + ErrorDescription(e),
                        QString(), 2);
        return false;
    }
}

bool clsEboFa::CheckFAAccounts(StepKit &kit) {
    const QString project = QStringLiteral("固定资产会计科目设置检测");
    try {
        auto rs = kit.query(QStringLiteral(
            "SELECT DISTINCT FAssetID AS FAssetNumber, FAssetName, ISNULL(FAssetAcID, '<空>') AS FAssetAcctID, "
            "ISNULL(FDeprAcID, '<空>') AS FDeprAcctID FROM AIS_FACard WHERE FAssetAcID IS NULL OR FDeprAcID IS NULL "
            "ORDER BY FAssetNumber"));
        if (!rs || rs->Eof()) return true;
        FaDetailLog detail(project, {QStringLiteral("固定资产编码"), QStringLiteral("固定资产名称"),
                                     QStringLiteral("资产科目"), QStringLiteral("折旧科目")});
        for (; !rs->Eof(); rs->MoveNext())
            detail.addRow(FaDetailLog::cells(*rs, {QStringLiteral("FAssetNumber"), QStringLiteral("FAssetName"),
                                                   QStringLiteral("FAssetAcctID"), QStringLiteral("FDeprAcctID")}));
        WriteUpgradeLog(project, QStringLiteral("固定资产相关科目缺失，请更正后再重新升级。"), kDetail, 2,
                        detail.list());
        return false;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("检测时出错：") + ErrorDescription(e), QString(), 2);
        return false;
    }
}

int clsEboFa::CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    (void)PoBar, (void)LblObject;
    StepKit kit(nullptr, nullptr, SQLConnectString);
    if (NoFixedAssetTables(kit)) {
        WriteUpgradeLog(QStringLiteral("固定资产数据检测"),
                        QStringLiteral("源帐套没有固定资产数据表，跳过固定资产检测。"), QString(), 1);
        return 0;
    }
    if (!CheckFASourceTables(kit)) return 2;
    if (!CheckFAAccounts(kit)) return 2;
    // The warnings below look up each card's rows.
    IndexStagingCopies(kit, true);

    // Alteration rows of a card that the source does not hold have nothing
    // to alter: the upgrade leaves them out, and says so here first.
    cardWarning(kit,
                QStringLiteral("SELECT v.FAssetID, v.FPeriod, CASE WHEN v.FType = 2 THEN '其他' WHEN v.FType = 10 THEN "
                               "'减少' ELSE '增加' END AS FTypeText FROM AIS_FAVch v WHERE NOT EXISTS (SELECT 1 FROM "
                               "AIS_FACard c WHERE c.FAssetID = v.FAssetID) ORDER BY v.FAssetID, v.FPeriod"),
                QStringLiteral("固定资产变动记录没有对应卡片"),
                {QStringLiteral("固定资产代码"), QStringLiteral("变动期间"), QStringLiteral("变动方式类别")},
                {QStringLiteral("FAssetID"), QStringLiteral("FPeriod"), QStringLiteral("FTypeText")},
                QStringLiteral("固定资产变动记录检测"), QStringLiteral("固定资产"),
                QStringLiteral("的变动记录没有对应的固定资产卡片，本次升级将不处理这些变动记录。"));

    const std::optional<bool> repaired = repairAlterationModes(kit);
    if (!repaired || *repaired) return 0;

    {
        const QString sql = QStringLiteral("SELECT FAssetID, FAssetName, CONVERT(varchar(100), FServiceDate, 23) AS "
                                           "FServiceDate FROM AIS_FACard WHERE ") +
                            FaAfterCurrentPeriod(kit);
        if (!cardWarning(kit, sql, QStringLiteral("固定资产入账日期检测"),
                         {QStringLiteral("固定资产代码"), QStringLiteral("固定资产名称"), QStringLiteral("入账日期")},
                         {QStringLiteral("FAssetID"), QStringLiteral("FAssetName"), QStringLiteral("FServiceDate")},
                         QStringLiteral("固定资产入账日期检测"), QString(),
                         QStringLiteral("固定资产存在入账时间大于当前期间的数据，本次升级将不会处理。如果需要升级，请在"
                                        "标准版把入账时间修改正确。")))
            return 0;
    }

    if (!cardWarning(
            kit,
            QStringLiteral(
                "SELECT e.FAssetID, c.FAssetName, e.FExpenseAcctID, a.FAcctName, e.FExpenseObjID, o.FObjName, "
                "CAST(e.FRate AS varchar) + '%' AS FRateText FROM AIS_FABalExpense e "
                "LEFT JOIN AIS_FACard c ON c.FAssetID = e.FAssetID "
                "LEFT JOIN AIS_GLAcct a ON a.FAcctID = e.FExpenseAcctID "
                "LEFT JOIN AIS_GLObj o ON o.FObjID = e.FExpenseObjID AND o.FClsID = e.FExpenseClsID "
                "WHERE e.FPeriod = (SELECT MAX(m.FPeriod) FROM AIS_FABalExpense m WHERE m.FAssetID = e.FAssetID) "
                "AND EXISTS (SELECT 1 FROM AIS_FABalExpense x WHERE x.FAssetID = e.FAssetID AND x.FRate <> 100 "
                "AND x.FExpenseClsID <> 2) "
                "AND NOT EXISTS (SELECT 1 FROM AIS_FAVch v WHERE v.FAssetID = e.FAssetID AND v.FType = 10) "
                "ORDER BY e.FAssetID"),
            QStringLiteral("固定资产折旧费用分配需要整理"),
            {QStringLiteral("固定资产代码"), QStringLiteral("固定资产名称"), QStringLiteral("折旧费用分配科目代码"),
             QStringLiteral("折旧费用分配科目名称"), QStringLiteral("核算项目代码"), QStringLiteral("核算项目名称"),
             QStringLiteral("折旧费用分配比例")},
            {QStringLiteral("FAssetID"), QStringLiteral("FAssetName"), QStringLiteral("FExpenseAcctID"),
             QStringLiteral("FAcctName"), QStringLiteral("FExpenseObjID"), QStringLiteral("FObjName"),
             QStringLiteral("FRateText")},
            QStringLiteral("固定资产折旧费用分配需要整理"), QStringLiteral("固定资产"),
            QStringLiteral("使用部门与折旧费用科目无法一一对应，不符合专业版规则，请升级后在固定资产中进行调整。")))
        return 0;

    if (!cardWarning(kit,
                     QStringLiteral("SELECT b.FAssetID, c.FAssetName FROM AIS_FABal b INNER JOIN AIS_FACard c ON "
                                    "c.FAssetID = b.FAssetID WHERE b.FPost = 2 AND NOT EXISTS (SELECT 1 FROM AIS_FAVch "
                                    "v WHERE v.FAssetID = c.FAssetID)"),
                     QStringLiteral("固定资产以前年度清理的卡片不升级"),
                     {QStringLiteral("固定资产代码"), QStringLiteral("固定资产名称")},
                     {QStringLiteral("FAssetID"), QStringLiteral("FAssetName")},
                     QStringLiteral("固定资产以前年度清理的卡片"), QStringLiteral("固定资产"),
                     QStringLiteral("是以前年度期间进行清理的，本次升级将不处理。")))
        return 0;

    if (FaOption() == 0) return 0;

    cardWarning(kit,
                QStringLiteral("SELECT c.FAssetID, c.FAssetName, CONVERT(varchar(100), c.FServiceDate, 23) AS "
                               "FServiceDate FROM AIS_FACard c WHERE EXISTS (SELECT 1 FROM AIS_FAVch v INNER JOIN "
                               "AIS_GLPref r ON v.FPeriod = r.FCurrPeriod WHERE v.FAssetID = c.FAssetID AND "
                               "v.FType = 0)"),
                QStringLiteral("固定资产只升级余额不处理卡片"),
                {QStringLiteral("固定资产代码"), QStringLiteral("固定资产名称"), QStringLiteral("入账日期")},
                {QStringLiteral("FAssetID"), QStringLiteral("FAssetName"), QStringLiteral("FServiceDate")},
                QStringLiteral("固定资产只升级余额不处理卡片"), QStringLiteral("固定资产"),
                QStringLiteral("在当前期间增加，在本次升级中不进行处理。"));
    return 0;
}
