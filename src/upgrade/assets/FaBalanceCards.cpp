// The balance cards: for every balance row the card as it stood in that
// period (through the work table TempFACard) and the period's departments,
// expense allocation, foreign values, devices and item row.
#include "foundation/Globals.h"
#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaCardColumns.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

// One card state per asset and period: the period's last alteration, so a
// period with several alterations still gives one balance card. The
// devices are mapped per card and name to their device number.
QString cardWorkTableBatch() {
    FaBatch b;
    b << QStringLiteral("IF EXISTS (SELECT * FROM sysobjects WHERE id = OBJECT_ID(N'[dbo].[TempFACard]') AND "
                        "OBJECTPROPERTY(id, N'IsUserTable') = 1) DROP TABLE [dbo].[TempFACard]")
      << QStringLiteral("CREATE TABLE TempFACard (FAssetID INT NULL, FPeriod INT NULL, %1)")
             .arg(FaCardColumnDefinitions(QStringLiteral("DECIMAL(23, 6)")))
      << QStringLiteral("CREATE INDEX ix_TempFACard_Asset ON TempFACard (FAssetID, FPeriod)")
      << QStringLiteral(
             "INSERT INTO TempFACard (FAssetID, FPeriod, %1) SELECT a.FAssetID, a.FPeriod, %2 FROM t_FAAlter a "
             "INNER JOIN t_FACard c ON c.FAlterID = a.FAlterID WHERE c.FAssetNumber IS NOT NULL AND a.FAlterID = "
             "(SELECT MAX(l.FAlterID) FROM t_FAAlter l INNER JOIN t_FACard lc ON lc.FAlterID = l.FAlterID WHERE "
             "l.FAssetID = a.FAssetID AND l.FPeriod = a.FPeriod) ORDER BY a.FAssetID, a.FPeriod")
             .arg(FaCardColumns(), FaCardColumns(QStringLiteral("c.")))
      << QStringLiteral("UPDATE AIS_FAExtra SET FZ8InterID = CAST(d.FNumber AS int) FROM AIS_FAExtra x INNER JOIN "
                        "t_FACard c ON c.FAssetNumber = x.FAssetID INNER JOIN t_FADevice d ON d.FAlterID = c.FAlterID "
                        "AND d.FName = x.FName");
    return b.text();
}

QString balanceCardBatch(const ado::Recordset &rs) {
    FaBatch b;
    b << QStringLiteral("DECLARE @Asset INT, @Period INT, @BalID INT, @Number NVARCHAR(50), @ExpCls INT")
      << SqlText("SET @Asset = {a} SET @Period = {p} SET @BalID = {b}")
             .arg("a", rs.value(QStringLiteral("FAssetID")))
             .arg("p", rs.value(QStringLiteral("FPeriod")))
             .arg("b", rs.value(QStringLiteral("FBalID")))
             .str()
      << QStringLiteral("IF NOT EXISTS (SELECT 1 FROM TempFACard WHERE FAssetID = @Asset AND FPeriod = @Period)")
      << QStringLiteral(
             "    INSERT INTO TempFACard (FAssetID, FPeriod, %1) SELECT FAssetID, @Period, %1 FROM TempFACard "
             "WHERE FAssetID = @Asset AND FPeriod = (SELECT MAX(m.FPeriod) FROM TempFACard m WHERE "
             "m.FAssetID = @Asset AND m.FPeriod < @Period)")
             .arg(FaCardColumns())
      << QStringLiteral(
             "INSERT INTO t_FABalCard (FBalID, %1) SELECT @BalID, %1 FROM TempFACard WHERE FAssetID = @Asset "
             "AND FPeriod = @Period")
             .arg(FaCardColumns())
      << QStringLiteral("SELECT @Number = FAssetID FROM AIS_FACard WHERE FZ8InterID = @Asset")
      << QStringLiteral(
             "INSERT INTO t_FABalDept (FBalID, FItemClsID, FItemID, FRate, FAmount) SELECT @BalID, FDeptClsID, "
             "FZ8InterID, FRate / 100, FDepr FROM AIS_FABalDept WHERE FAssetID = @Number AND FPeriod = @Period")
      << QStringLiteral("SELECT @ExpCls = FExpenseClsID FROM AIS_FABalExpense WHERE FAssetID = @Number AND FPeriod = "
                        "@Period")
      << QStringLiteral("IF @ExpCls = 2")
      << QStringLiteral("    INSERT INTO t_FABalExpense (FBalID, FAcctID, FDetailID, FRate, FAmount, FDeptID) SELECT "
                        "@BalID, a.FZ8InterID, ISNULL(c.FDetailID, 0), a.FRate / 100, a.FDepr * b.FRate / 100, "
                        "b.FZ8InterID FROM AIS_FABalExpense a LEFT JOIN AIS_FABalDept b ON b.FAssetID = a.FAssetID AND "
                        "b.FPeriod = a.FPeriod AND b.FDeptClsID = a.FExpenseClsID AND b.FDeptObjID = a.FExpenseObjID "
                        "LEFT JOIN t_ItemDetail c ON c.FDetailCount = 1 AND c.F2 = b.FZ8InterID WHERE a.FAssetID = "
                        "@Number AND a.FPeriod = @Period")
      // Otherwise each expense row's share of the depreciation goes to each
      // department by its share.
      << QStringLiteral("ELSE")
      << QStringLiteral(
             "    INSERT INTO t_FABalExpense (FBalID, FAcctID, FDetailID, FRate, FAmount, FDeptID) SELECT "
             "DISTINCT @BalID, a.FZ8InterID, ISNULL(c.FDetailID, 0), a.FRate / 100, a.FDepr * a.FRate / 100 * "
             "b.FRate / 100, "
             "b.FZ8InterID FROM AIS_FABalExpense a LEFT JOIN AIS_FABalDept b ON b.FAssetID = a.FAssetID AND "
             "b.FPeriod = a.FPeriod LEFT JOIN t_ItemDetail c ON c.FDetailCount = 1 AND c.F2 = b.FZ8InterID "
             "WHERE a.FAssetID = @Number AND a.FPeriod = @Period")
      << QStringLiteral("INSERT INTO t_FABalOrgFor (FBalID, FCyID, FExchRate, FAmountFor, FAmount) SELECT @BalID, "
                        "FZ8InterID, FExchRate, FOrgValFor, FOrgVal FROM AIS_FABalFor WHERE FAssetID = @Number AND "
                        "FPeriod = @Period")
      // A device keeps its own number (as on the card).
      << QStringLiteral(
             "INSERT INTO t_FABalDevice (FBalID, FDeviceID, FNumber, FName, FModel, FLocationID, FDate, FUnit, "
             "FQty, FAmount, FRemark) SELECT @BalID, FZ8InterID, CASE WHEN FZ8InterID < 1000 THEN "
             "RIGHT('000' + CAST(FZ8InterID AS varchar), 3) ELSE CAST(FZ8InterID AS varchar) END, FName, "
             "FModel, 0, getdate(), FUnit, FQty, FAmount, '' FROM AIS_FAExtra WHERE FAssetID = @Number")
      << QStringLiteral("INSERT INTO t_FABalCardItem (FBalID) VALUES (@BalID)");
    return b.text();
}

QString clearedForeignValuesBatch() {
    return QStringLiteral("UPDATE t_FABalOrgFor SET FAmountFor = 0, FAmount = 0 FROM t_FABalOrgFor o INNER JOIN "
                          "t_FABalance b ON b.FBalID = o.FBalID WHERE b.FCleared = 1\r\n");
}

// The combination of a balance row's expense comes from the expense row of
// the same account and department on the asset's card state in that period
// (joined through the asset id): each department keeps its own.
QString expenseLinksBatch() {
    FaBatch b;
    b << QStringLiteral("DROP TABLE TempFACard")
      << QStringLiteral(
             "UPDATE x SET FDetailID = ISNULL((SELECT TOP 1 e.FDetailID FROM t_FAExpense e INNER JOIN t_FAAlter "
             "a ON a.FAlterID = e.FAlterID WHERE a.FAssetID = b.FAssetID AND e.FAcctID = x.FAcctID AND "
             "e.FDeptID = x.FDeptID AND a.FYear * 100 + a.FPeriod <= "
             "b.FYear * 100 + b.FPeriod ORDER BY a.FYear DESC, a.FPeriod DESC, a.FAlterID DESC), x.FDetailID) "
             "FROM t_FABalExpense x INNER JOIN t_FABalance b ON b.FBalID = x.FBalID");
    return b.text();
}

}  // namespace

int clsEboFa::BuildFABalanceCards(FaRun &run) {
    StepKit &kit = run.kit;
    const QString batch = cardWorkTableBatch();
    QString error;
    if (!kit.execute(batch, error)) {
        run.errorText = QStringLiteral("升级【固定资产-余额】时出错：") + error + batch;
        return FaFailed;
    }
    LetEventsRun();
    if (g_CancelRequested) return FaFailed;
    if (FaRowStep(
            run, QStringLiteral("SELECT FAssetID, FPeriod, FBalID FROM t_FABalance ORDER BY FBalID, FAssetID, FPeriod"),
            balanceCardBatch, QStringLiteral("升级【固定资产-变动数据】余额卡片时出错："),
            QStringLiteral("正在升级余额卡片数据("), 76, 10) == FaFailed)
        return FaFailed;
    run.errorText.clear();
    if (!FaExecute(run, clearedForeignValuesBatch(), QStringLiteral("升级【固定资产-更新清理期间卡片原值】时出错：")))
        return FaFailed;
    kit.caption(QStringLiteral("正在更新变动卡片折旧费用分配数据..."));
    if (!FaExecute(run, expenseLinksBatch(), QStringLiteral("升级【固定资产-变动卡片折旧费用分配数据】时出错：")))
        return FaFailed;
    return FaDone;
}
