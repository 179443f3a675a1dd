// The closing phases: a card's single expense row spread over its
// departments (balances only), the depreciated periods of the balance rows
// settled, and the entry that counts and lists the cards.
#include "foundation/ErrorText.h"
#include "foundation/UpgradeLog.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/FaDetailLog.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

QString allocationBatch() {
    FaBatch b;
    b << QStringLiteral("DECLARE @A VARCHAR(255), @X BIGINT, @K BIGINT, @D BIGINT, @R DECIMAL(10, 2), @T BIGINT, @B "
                        "BIGINT, @M DECIMAL(28, 2), @Cur INT")
      << QStringLiteral("SELECT @Cur = FValue FROM t_SystemProfile WHERE FCategory = 'FA' AND FKey = 'CurrentPeriod'")
      << QStringLiteral(
             "DECLARE curAlloc CURSOR FOR SELECT d.FAlterID FROM (SELECT FAlterID, COUNT(*) AS FCount FROM "
             "t_FADept GROUP BY FAlterID) d INNER JOIN (SELECT FAlterID, COUNT(*) AS FCount FROM t_FAExpense "
             "GROUP BY FAlterID) e ON e.FAlterID = d.FAlterID WHERE d.FCount > 1 AND e.FCount = 1")
      << QStringLiteral("OPEN curAlloc") << QStringLiteral("FETCH NEXT FROM curAlloc INTO @A")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral("    SELECT @X = FAcctID FROM t_FAExpense WHERE FAlterID = @A")
      << QStringLiteral("    DECLARE curDept CURSOR FOR SELECT FItemClsID, FItemID, FRate FROM t_FADept WHERE FAlterID "
                        "= @A ORDER BY FItemClsID, FItemID")
      << QStringLiteral("    OPEN curDept") << QStringLiteral("    FETCH NEXT FROM curDept INTO @K, @D, @R")
      << QStringLiteral("    WHILE @@FETCH_STATUS = 0") << QStringLiteral("    BEGIN")
      << QStringLiteral("        IF EXISTS (SELECT 1 FROM t_FAExpense WHERE FAlterID = @A AND FDeptID = @D)")
      << QStringLiteral("            UPDATE t_FAExpense SET FRate = @R WHERE FAlterID = @A AND FDeptID = @D")
      << QStringLiteral("        ELSE") << QStringLiteral("        BEGIN")
      << QStringLiteral("            SET @T = NULL")
      << QStringLiteral("            SELECT @T = FDetailID FROM t_ItemDetailV WHERE FItemClassID = @K AND FItemID = @D")
      << QStringLiteral(
             "            INSERT INTO t_FAExpense (FAlterID, FAcctID, FDetailID, FRate, FDeptID) VALUES (@A, "
             "@X, @T, @R, @D)")
      << QStringLiteral("        END") << QStringLiteral("        FETCH NEXT FROM curDept INTO @K, @D, @R")
      << QStringLiteral("    END") << QStringLiteral("    CLOSE curDept") << QStringLiteral("    DEALLOCATE curDept")
      << QStringLiteral(
             "    DECLARE curBal CURSOR FOR SELECT d.FBalID FROM (SELECT FBalID, COUNT(*) AS FCount FROM "
             "t_FABalDept GROUP BY FBalID) d INNER JOIN (SELECT FBalID, COUNT(*) AS FCount FROM "
             "t_FABalExpense GROUP BY FBalID) e ON e.FBalID = d.FBalID INNER JOIN t_FABalance l ON l.FBalID = "
             "d.FBalID WHERE d.FCount > 1 AND e.FCount = 1 AND l.FPeriod = @Cur AND l.FAssetID = (SELECT "
             "FAssetID FROM t_FAAlter WHERE FAlterID = @A)")
      << QStringLiteral("    OPEN curBal") << QStringLiteral("    FETCH NEXT FROM curBal INTO @B")
      << QStringLiteral("    WHILE @@FETCH_STATUS = 0") << QStringLiteral("    BEGIN")
      << QStringLiteral("        DECLARE curBalDept CURSOR FOR SELECT FItemClsID, FItemID, FRate, FAmount FROM "
                        "t_FABalDept WHERE FBalID = @B")
      << QStringLiteral("        OPEN curBalDept")
      << QStringLiteral("        FETCH NEXT FROM curBalDept INTO @K, @D, @R, @M")
      << QStringLiteral("        WHILE @@FETCH_STATUS = 0") << QStringLiteral("        BEGIN")
      << QStringLiteral("            IF EXISTS (SELECT 1 FROM t_FABalExpense WHERE FBalID = @B AND FDeptID = @D)")
      << QStringLiteral(
             "                UPDATE t_FABalExpense SET FRate = @R, FAmount = @M WHERE FBalID = @B AND FDeptID "
             "= @D")
      << QStringLiteral("            ELSE") << QStringLiteral("            BEGIN")
      << QStringLiteral("                SET @T = NULL")
      << QStringLiteral(
             "                SELECT @T = FDetailID FROM t_ItemDetailV WHERE FItemClassID = @K AND FItemID = "
             "@D")
      << QStringLiteral(
             "                INSERT INTO t_FABalExpense (FBalID, FAcctID, FDetailID, FRate, FAmount, FDeptID) "
             "VALUES (@B, @X, @T, @R, @M, @D)")
      << QStringLiteral("            END")
      << QStringLiteral("            FETCH NEXT FROM curBalDept INTO @K, @D, @R, @M") << QStringLiteral("        END")
      << QStringLiteral("        CLOSE curBalDept") << QStringLiteral("        DEALLOCATE curBalDept")
      << QStringLiteral("        FETCH NEXT FROM curBal INTO @B") << QStringLiteral("    END")
      << QStringLiteral("    CLOSE curBal") << QStringLiteral("    DEALLOCATE curBal")
      << QStringLiteral("    FETCH NEXT FROM curAlloc INTO @A") << QStringLiteral("END")
      << QStringLiteral("CLOSE curAlloc") << QStringLiteral("DEALLOCATE curAlloc");
    return b.text();
}

// A key without its row leaves its variable NULL, so the statements that
// depend on it change nothing.
QString deprPeriodsBatch() {
    FaBatch b;
    b << QStringLiteral("DECLARE @S INT, @C INT")
      << QStringLiteral("SELECT @S = ISNULL(FValue, 1) FROM t_SystemProfile WHERE FCategory = 'FA' AND FKey = "
                        "'StartPeriod'")
      << QStringLiteral("SELECT @C = ISNULL(FValue, 1) FROM t_SystemProfile WHERE FCategory = 'FA' AND FKey = "
                        "'CurrentPeriod'")
      << QStringLiteral("UPDATE t_FABalance SET FDeprPeriods = FDeprPeriods + 1 WHERE FHasDepr = 1 AND FPeriod > 0 AND "
                        "FPeriod <> @C")
      << QStringLiteral("IF @C > 1")
      << QStringLiteral("    UPDATE t SET FDeprPeriods = p.FDeprPeriods FROM t_FABalance t INNER JOIN t_FABalance p ON "
                        "p.FAssetID = t.FAssetID AND p.FYear = t.FYear AND p.FPeriod = @C - 1 WHERE t.FPeriod = @C")
      << QStringLiteral("IF @C > @S")
      << QStringLiteral(
             "    UPDATE t SET FDeprPeriods = CASE WHEN p.FDeprPeriods - 1 < 0 THEN 0 ELSE p.FDeprPeriods - 1 "
             "END FROM t_FABalance t INNER JOIN t_FABalance p ON p.FAssetID = t.FAssetID AND p.FYear = "
             "t.FYear AND p.FPeriod = @S WHERE t.FPeriod = 0");
    return b.text();
}

bool closingBatch(FaRun &run, const QString &batch, const QString &prefix) {
    try {
        return FaExecute(run, batch, prefix);
    } catch (const std::exception &e) {
        run.errorText = prefix + ErrorDescription(e);
        return false;
    }
}

const QStringList kReportCaptions = {
    QStringLiteral("卡片代码"),       QStringLiteral("卡片名称"), QStringLiteral("规格型号"),
    QStringLiteral("资产类别"),       QStringLiteral("使用状况"), QStringLiteral("入账日期"),
    QStringLiteral("变动方式"),       QStringLiteral("经济用途"), QStringLiteral("折旧方法"),
    QStringLiteral("预计使用期间数"), QStringLiteral("存放地点")};
const QStringList kReportColumns = {
    QStringLiteral("FAssetNumber"), QStringLiteral("FAssetName"),  QStringLiteral("FModel"),
    QStringLiteral("FCroupName"),   QStringLiteral("FStatus"),     QStringLiteral("FBeginUseDate"),
    QStringLiteral("FAAlterMode"),  QStringLiteral("FEconomyUse"), QStringLiteral("FDeprMethod"),
    QStringLiteral("FLifePeriods"), QStringLiteral("FLocation")};

}  // namespace

bool clsEboFa::UpdateFAAllocation(FaRun &run) {
    return closingBatch(run, allocationBatch(), QStringLiteral("更新【固定资产-分配表】时出错："));
}

bool clsEboFa::AdjustFADeprPeriods(FaRun &run) {
    return closingBatch(run, deprPeriodsBatch(), QStringLiteral("更新【固定资产-调整已折旧期间数】时出错："));
}

int clsEboFa::ReportFACards(FaRun &run) {
    StepKit &kit = run.kit;
    int count = 0;
    PnwList detail;
    try {
        auto rs = kit.query(QStringLiteral(
            "SELECT c.FAssetNumber, c.FAssetName, c.FModel, g.FName AS FCroupName, s.FName AS FStatus, "
            "CONVERT(varchar(100), c.FBeginUseDate, 23) AS FBeginUseDate, m.FName AS FAAlterMode, '经营用' AS "
            "FEconomyUse, d.FName AS FDeprMethod, c.FLifePeriods, CASE WHEN l.FName = '*' THEN '' ELSE l.FName END AS "
            "FLocation FROM t_FACard c LEFT OUTER JOIN t_FAGroup g ON g.FID = c.FGroupID LEFT OUTER JOIN t_FAStatus s "
            "ON s.FID = c.FStatusID LEFT OUTER JOIN t_FAAlterMode m ON m.FID = c.FAlterModeID LEFT OUTER JOIN "
            "T_FaDeprMethod d ON d.FID = c.FDeprMethodID LEFT OUTER JOIN t_FaLocation l ON l.FID = c.FLocationID"));
        if (rs && !rs->Eof()) {
            FaDetailLog log(QStringLiteral("固定资产卡片"), kReportCaptions);
            for (; !rs->Eof(); rs->MoveNext()) {
                log.addRow(FaDetailLog::cells(*rs, kReportColumns));
                ++count;
            }
            detail = log.list();
        }
    } catch (const std::exception &) {
        // The entry is still written, with what was read.
    }
    WriteUpgradeLog(QStringLiteral("固定资产卡片"),
                    QStringLiteral("升级固定资产卡片成功数目：") + QString::number(count),
                    count > 0 ? QStringLiteral("查看详细") : QString(), 0, detail);
    kit.progress(100);
    return FaDone;
}
