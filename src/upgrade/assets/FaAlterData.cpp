// The alteration history (option "all data"): the staged detail rows are
// mapped, earlier alteration cards removed, the alteration cards built, the
// clearing records written, the period balances and balance cards built,
// and the multi-alteration tables filled.
#include "foundation/ErrorText.h"
#include "foundation/UpgradeLog.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaCardColumns.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

// Departments are matched by their code without points, as base data
// stores them.
QString mappingBatch() {
    FaBatch b;
    b << QStringLiteral("UPDATE AIS_FABalDept SET FZ8InterID = i.FItemID FROM AIS_FABalDept d INNER JOIN t_Item i ON "
                        "i.FItemClassID = 2 AND i.FShortNumber = REPLACE(d.FDeptObjID, '.', '')")
      << QStringLiteral("UPDATE AIS_FABalExpense SET FZ8InterID = a.FZ8InterID FROM AIS_FABalExpense e INNER JOIN "
                        "AIS_GLAcct a ON a.FAcctID = e.FExpenseAcctID")
      << QStringLiteral(
             "UPDATE AIS_FABalFor SET FZ8InterID = c.FZ8InterID FROM AIS_FABalFor f INNER JOIN AIS_GLCy c ON "
             "c.FCyID = f.FCyID");
    return b.text();
}

QString removalBatch() {
    FaBatch b;
    b << QStringLiteral("TRUNCATE TABLE t_FAVoucher");
    for (const char *table : {"t_FADept", "t_FAExpense", "t_FAOrgFor", "t_FACardItem", "t_FACard", "t_FADevice"})
        b << QStringLiteral(
                 "DELETE FROM %1 WHERE FAlterID IN (SELECT FAlterID FROM t_FAAlter WHERE FNew = 0 AND FCleared "
                 "= 0)")
                 .arg(QString::fromLatin1(table));
    b << QStringLiteral("DELETE FROM t_FAAlter WHERE FNew = 0 AND FCleared = 0")
      << QStringLiteral("TRUNCATE TABLE t_FAClear");
    return b.text();
}

const QString kClearColumns = QStringLiteral(
    "FAssetID, FYear, FPeriod, FDate, FAlterModeID, FNumCleared, FExpense, FResidueEarn, FExplanation, FPreparer, "
    "FChecker, FAlterID");

// One clearing record per clearing alteration, pointing at that clearing
// record (not at another alteration of the same period).
QString clearingRecordsBatch() {
    FaBatch b;
    b << QStringLiteral("INSERT INTO t_FAClear (%1)").arg(kClearColumns)
      << QStringLiteral(
             "SELECT t.FAssetID, t.FYear, ais.FPeriod, ais.FDate, c.FAlterModeID, 1, 0, 0, '', "
             "ais.FPreparer, ISNULL(ais.FChecker, ''), t.FAlterID FROM AIS_FAVch ais INNER JOIN t_FACard c ON "
             "c.FAssetNumber = ais.FAssetID INNER JOIN t_FAAlter t ON t.FAlterID = c.FAlterID AND t.FPeriod "
             "= ais.FPeriod WHERE ais.FType = 10 AND t.FNew = 0 AND t.FCleared = 1");
    return b.text();
}

// Cards cleared in an earlier year (a cleared balance, no voucher row): one
// record each, on their clearing record.
QString earlierClearingsBatch() {
    FaBatch b;
    b << QStringLiteral("INSERT INTO t_FAClear (%1)").arg(kClearColumns)
      << QStringLiteral(
             "SELECT DISTINCT a.FAssetID, a.FYear, a.FPeriod, a.FDate, (SELECT TOP 1 m.FID FROM t_FAAlterMode "
             "m WHERE m.FName = '其他减少' ORDER BY m.FID), 1, 0, 0, '', '', '', a.FAlterID FROM AIS_FABal bal "
             "INNER JOIN t_FACard c ON c.FAssetNumber = bal.FAssetID INNER JOIN t_FAAlter a ON a.FAlterID = "
             "c.FAlterID WHERE bal.FPost = 2 AND a.FCleared = 1 AND NOT EXISTS (SELECT 1 FROM AIS_FAVch v "
             "WHERE v.FAssetID = bal.FAssetID)");
    return b.text();
}

QString multiAlterationBatch() {
    FaBatch b;
    b << QStringLiteral("DECLARE @Asset INT, @Period INT, @AlterID INT")
      << QStringLiteral(
             "DECLARE curMul CURSOR FOR SELECT v.FZ8InterID, v.FPeriod FROM AIS_FAVch v WHERE v.FType = 2 AND "
             "NOT EXISTS (SELECT 1 FROM AIS_FAVch a INNER JOIN AIS_FAVch o ON o.FAssetID = a.FAssetID AND "
             "o.FPeriod = a.FPeriod WHERE a.FType = 0 AND o.FType = 2 AND a.FAssetID = v.FAssetID AND "
             "a.FPeriod = v.FPeriod) ORDER BY v.FZ8InterID, v.FPeriod")
      << QStringLiteral("OPEN curMul") << QStringLiteral("FETCH NEXT FROM curMul INTO @Asset, @Period")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral("    SET @AlterID = NULL")
      << QStringLiteral("    SELECT @AlterID = FAlterID FROM t_FAAlter WHERE FAssetID = @Asset AND FPeriod = @Period")
      << QStringLiteral(
             "    INSERT INTO t_FACardMulAlter (FAMulAlterClassID, FAlterID, FYear, FPeriod, FDate, FPreparer, "
             "FExplanation, FDeprPeriods, FDeprAlter, FAccumDeprAlter, FOrgValAlter, FDecPreAlter, "
             "FAIsOldPeriod, %1)")
             .arg(FaCardColumns())
      << QStringLiteral(
             "    SELECT TOP 1 1, @AlterID, a.FYear, a.FPeriod, a.FDate, a.FPreparer, '', b.FDeprPeriods, "
             "b.FAccumDeprInc + b.FAccumDeprDec, b.FAccumDeprInc + b.FAccumDeprDec, c.FOrgVal, "
             "b.FYtdDecPreInc + b.FYtdDecPreDec, 0, %1 FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID "
             "= c.FAlterID INNER JOIN t_FABalance b ON b.FAssetID = a.FAssetID AND b.FYear = a.FYear AND "
             "b.FPeriod = a.FPeriod WHERE a.FAssetID = @Asset AND a.FPeriod < @Period ORDER BY a.FPeriod DESC")
             .arg(FaCardColumns(QStringLiteral("c.")))
      << QStringLiteral("    FETCH NEXT FROM curMul INTO @Asset, @Period") << QStringLiteral("END")
      << QStringLiteral("CLOSE curMul") << QStringLiteral("DEALLOCATE curMul");
    struct Child {
        const char *target;
        const char *source;
        const char *columns;
    };
    const Child children[] = {
        {"t_FADeptMulAlter", "t_FADept", "FAlterID, FItemClsID, FItemID, FRate"},
        {"t_FADeviceMulAlter", "t_FADevice",
         "FAlterID, FNumber, FName, FModel, FLocationID, FDate, FUnit, FQty, FAmount, FRemark"},
        {"t_FAExpenseMulAlter", "t_FAExpense", "FAlterID, FAcctID, FDetailID, FRate, FDeptID"},
        {"t_FAOrgForMulAlter", "t_FAOrgFor", "FAlterID, FCyID, FExchRate, FAmountFor, FAmount"},
    };
    for (const Child &child : children) {
        const QString columns = QString::fromLatin1(child.columns);
        QString prefixed = QStringLiteral("d.") + columns;
        prefixed.replace(QStringLiteral(", "), QStringLiteral(", d."));
        b << QStringLiteral("TRUNCATE TABLE %1").arg(QString::fromLatin1(child.target))
          << QStringLiteral(
                 "INSERT INTO %1 (FAMulAlterClassID, %2) SELECT m.FAMulAlterClassID, %3 FROM t_FACardMulAlter "
                 "m INNER JOIN %4 d ON d.FAlterID = m.FAlterID")
                 .arg(QString::fromLatin1(child.target), columns, prefixed, QString::fromLatin1(child.source));
    }
    return b.text();
}

void warnExpensesWithoutDepartment(StepKit &kit) {
    try {
        auto rs = kit.query(QStringLiteral("SELECT FAlterID FROM t_FAExpense WHERE FDeptID = 0 GROUP BY FAlterID"));
        if (!rs || rs->Eof()) return;
        QStringList ids;
        for (; !rs->Eof(); rs->MoveNext()) ids << rs->value(QStringLiteral("FAlterID")).toString();
        WriteUpgradeLog(
            QStringLiteral("固定资产卡片"),
            QStringLiteral("卡片 ") + ids.join(QStringLiteral("、")) +
                QStringLiteral(" 需要指定折旧费用分配，请升级完成后在VEQ专业版中使用固定资产的进行卡片调整"),
            QString(), 1);
    } catch (const std::exception &) {
        // The warning is an aid; the phase goes on.
    }
}

}  // namespace

int clsEboFa::UpgradeFAAlterData(FaRun &run) {
    StepKit &kit = run.kit;
    if (!FaExecute(run, mappingBatch(), QStringLiteral("升级【固定资产-变动数据】时出错："))) return FaFailed;
    if (!FaExecute(run, removalBatch(), QStringLiteral("升级【固定资产-清空固定资产变动卡片】时出错：")))
        return FaFailed;
    try {
        if (UpgradeFAAlterCards(run) == FaFailed) return FaFailed;
    } catch (const std::exception &e) {
        // The raised error's own text is the reason the driver logs.
        if (run.errorText.isEmpty())
            run.errorText = QStringLiteral("升级【固定资产-变动卡片】时出错：") + ErrorDescription(e);
        return FaFailed;
    }
    if (!FaExecute(run, clearingRecordsBatch(), QStringLiteral("升级【固定资产-固定资产变动信息】时出错：")))
        return FaFailed;
    warnExpensesWithoutDepartment(kit);
    if (BuildFABalances(run) == FaFailed) return FaFailed;
    if (BuildFABalanceCards(run) == FaFailed) return FaFailed;
    kit.caption(QStringLiteral("正在更新处理情况表数据..."));
    if (!FaExecute(run, earlierClearingsBatch(), QStringLiteral("升级【固定资产-处理情况】时出错："))) return FaFailed;
    kit.progress(90);
    kit.caption(QStringLiteral("正在更新变动历史数据..."));
    if (!FaExecute(run, multiAlterationBatch(), QStringLiteral("升级【固定资产-变动历史】时出错："))) return FaFailed;
    return FaDone;
}
