// Alteration cards: each staged fixed-asset voucher row becomes part of the
// target's alteration history. An addition ties the original card to its
// period and voucher; any other alteration gets a new record and card state
// (built on the asset's latest card) with its departments, expenses,
// foreign values and voucher link; an alteration in the addition's period
// is marked as folded into the original card.
#include "foundation/SqlText.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaCardColumns.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

const QString kPrefix = QStringLiteral("升级【固定资产-变动卡片】时出错：");

const QString kVoucherQuery = QStringLiteral(
    "SELECT FAssetID, FDate, FPreparer, FChecker, FPeriod, FAlterID, FGroupID, FStatus, FLife, FOrgVal, FSalvage, "
    "ISNULL(FDeprMethod, 0) AS FDeprMethod, FAccumDepr, FAdjType, FType, FGroup, FNum FROM AIS_FAVch v WHERE EXISTS "
    "(SELECT 1 FROM AIS_FACard c WHERE c.FAssetID = v.FAssetID) ORDER BY FAssetID, FPeriod, FType");

// The row's values as batch variables: every value a literal (quotes
// doubled, Null as NULL); a missing preparer or checker is an empty text.
void declareRow(FaBatch &b, const ado::Recordset &rs) {
    auto v = [&](const char *column) { return rs.value(QString::fromLatin1(column)); };
    auto text = [&](const char *column) {
        const QVariant value = v(column);
        return value.isNull() ? QVariant(QString(QLatin1String(""))) : value;
    };
    b << QStringLiteral("DECLARE @AssetNumber VARCHAR(40), @Date DATETIME, @Preparer VARCHAR(80), @Checker VARCHAR(50)")
      << QStringLiteral("DECLARE @Period INT, @Mode INT, @GroupID INT, @Status INT, @Life INT, @OrgVal MONEY, @Salvage "
                        "MONEY, @DeprMethod INT, @AccumDepr MONEY")
      << QStringLiteral("DECLARE @AdjType TINYINT, @Type TINYINT, @VchGroup NVARCHAR(10), @VchNum INT")
      << QStringLiteral("DECLARE @AlterID INT, @VoucherID INT, @AssetID INT, @ModeID INT, @LifeA FLOAT, @LatestID INT, "
                        "@ExpCount INT")
      << SqlText("SET @AssetNumber = {v}").arg("v", v("FAssetID")).str()
      << SqlText("SET @Date = {v}").arg("v", v("FDate")).str()
      << SqlText("SET @Preparer = {v}").arg("v", text("FPreparer")).str()
      << SqlText("SET @Checker = {v}").arg("v", text("FChecker")).str()
      << SqlText("SET @Period = {v}").arg("v", v("FPeriod")).str()
      << SqlText("SET @Mode = {v}").arg("v", v("FAlterID")).str()
      << SqlText("SET @GroupID = {v}").arg("v", v("FGroupID")).str()
      << SqlText("SET @Status = {v}").arg("v", v("FStatus")).str()
      << SqlText("SET @Life = {v}").arg("v", v("FLife")).str()
      << SqlText("SET @OrgVal = {v}").arg("v", v("FOrgVal")).str()
      << SqlText("SET @Salvage = {v}").arg("v", v("FSalvage")).str()
      << SqlText("SET @DeprMethod = {v}").arg("v", v("FDeprMethod")).str()
      << SqlText("SET @AccumDepr = {v}").arg("v", v("FAccumDepr")).str()
      << SqlText("SET @AdjType = {v}").arg("v", v("FAdjType")).str()
      << SqlText("SET @Type = {v}").arg("v", v("FType")).str()
      << SqlText("SET @VchGroup = {v}").arg("v", v("FGroup")).str()
      << SqlText("SET @VchNum = {v}").arg("v", v("FNum")).str();
}

const QString kSameRows =
    QStringLiteral("FAssetID = @AssetNumber AND YEAR(FDate) = YEAR(@Date) AND FPeriod = @Period AND FType = @Type");

void voucherLink(FaBatch &b, const QString &alterId) {
    b << QStringLiteral("SET @VoucherID = NULL")
      << QStringLiteral("SELECT TOP 1 @VoucherID = FZ8InterID FROM AIS_GLVch WHERE FPeriod = @Period AND FGroup = "
                        "@VchGroup AND FNum = @VchNum")
      << QStringLiteral("INSERT INTO t_FAVoucher (FAlterID, FVoucherID, FUserModified) VALUES (%1, @VoucherID, 0)")
             .arg(alterId);
}

QString additionBatch(const ado::Recordset &rs) {
    FaBatch b;
    declareRow(b, rs);
    b << QStringLiteral(
             "SELECT @AlterID = a.FAlterID FROM t_FAAlter a INNER JOIN t_FACard c ON c.FAlterID = a.FAlterID "
             "WHERE a.FPeriod = 0 AND c.FAssetNumber = @AssetNumber")
      << QStringLiteral("UPDATE t_FACard SET FAccumDeprBuy = 0 WHERE FAlterID = @AlterID")
      << QStringLiteral("UPDATE t_FAAlter SET FPeriod = @Period, FPreparer = @Preparer WHERE FAlterID = @AlterID")
      << QStringLiteral("UPDATE AIS_FAVch SET FZ8InterID = @AlterID WHERE ") + kSameRows;
    voucherLink(b, QStringLiteral("@AlterID"));
    return b.text();
}

QString alterationBatch(const ado::Recordset &rs) {
    FaBatch b;
    declareRow(b, rs);
    b << QStringLiteral("IF EXISTS (SELECT 1 FROM AIS_FAVch WHERE FAssetID = @AssetNumber AND FPeriod = @Period AND "
                        "FType = 0)")
      << QStringLiteral("    UPDATE AIS_FAVch SET FZ8InterID = -1 WHERE ") + kSameRows << QStringLiteral("ELSE")
      << QStringLiteral("BEGIN") << QStringLiteral("SELECT @AlterID = ISNULL(MAX(FAlterID), 0) + 1 FROM t_FAAlter")
      << QStringLiteral("SELECT @AssetID = FZ8InterID FROM AIS_FACard WHERE FAssetID = @AssetNumber")
      << QStringLiteral("SET IDENTITY_INSERT t_FAAlter ON")
      << QStringLiteral("INSERT INTO t_FAAlter (FAlterID, FAssetID, FYear, FPeriod, FAlterNum, FDate, FNeedVoucher, "
                        "FExplanation, FCleared, FNew, FOtherAlter, FPreparer, FChecker)")
      << QStringLiteral(
             "VALUES (@AlterID, @AssetID, YEAR(@Date), @Period, 0, @Date, 0, '', CASE WHEN @Type = 10 THEN 1 "
             "ELSE 0 END, 0, 1, @Preparer, @Checker)")
      << QStringLiteral("SET IDENTITY_INSERT t_FAAlter OFF")
      << QStringLiteral("IF NOT EXISTS (SELECT 1 FROM t_FACardItem WHERE FAlterID = @AlterID)")
      << QStringLiteral("BEGIN") << QStringLiteral("    INSERT INTO t_FACardItem VALUES (@AlterID, 0)")
      << QStringLiteral("    IF @Type <> 10 INSERT INTO t_FACardItem VALUES (@AlterID, 1)") << QStringLiteral("END")
      << QStringLiteral("UPDATE AIS_FAVch SET FZ8InterID = @AssetID WHERE ") + kSameRows
      << QStringLiteral("IF EXISTS (SELECT 1 FROM AIS_FAGroup WHERE FGroupID = @GroupID)") << QStringLiteral("BEGIN")
      << QStringLiteral("    SELECT @GroupID = FZ8InterID FROM AIS_FAGroup WHERE FGroupID = @GroupID")
      << QStringLiteral(
             "    SET @Status = CASE WHEN @Status = 1 THEN 2 WHEN @Status = 2 THEN 7 WHEN @Status = 3 THEN 8 "
             "ELSE @Status END")
      << QStringLiteral("END") << QStringLiteral("SELECT @ModeID = FZ8InterID FROM AIS_FAAlter WHERE FAlterID = @Mode")
      << QStringLiteral("IF @DeprMethod = 0 SET @Status = 7")
      << QStringLiteral(
             "SET @DeprMethod = CASE WHEN @DeprMethod = 2 THEN 9 WHEN @DeprMethod = 3 THEN CASE WHEN @AdjType "
             "> 1 THEN 5 ELSE 7 END WHEN @DeprMethod = 1 THEN CASE WHEN @AdjType > 1 THEN 1 ELSE 6 END WHEN "
             "@DeprMethod = 4 THEN CASE WHEN @AdjType > 1 THEN 4 ELSE 8 END WHEN @DeprMethod = 0 THEN 1 ELSE "
             "@DeprMethod END")
      // The life of the next period's balance, else this period's, else the
      // latest one's; the INT variable cuts a fraction.
      << QStringLiteral("IF EXISTS (SELECT 1 FROM AIS_FABal WHERE FAssetID = @AssetNumber AND FPeriod = @Period + 1)")
      << QStringLiteral(
             "    SELECT @LifeA = FLifeA FROM AIS_FABal WHERE FAssetID = @AssetNumber AND FPeriod = @Period + 1")
      << QStringLiteral("ELSE IF EXISTS (SELECT 1 FROM AIS_FABal WHERE FAssetID = @AssetNumber AND FPeriod = @Period)")
      << QStringLiteral("    SELECT @LifeA = FLifeA FROM AIS_FABal WHERE FAssetID = @AssetNumber AND FPeriod = @Period")
      << QStringLiteral("ELSE")
      << QStringLiteral(
             "    SELECT TOP 1 @LifeA = FLifeA FROM AIS_FABal WHERE FAssetID = @AssetNumber ORDER BY FPeriod "
             "DESC")
      << QStringLiteral("SET @Life = @LifeA")
      << QStringLiteral("SELECT @LatestID = MAX(FAlterID) FROM t_FACard WHERE FAssetNumber = @AssetNumber")
      << QStringLiteral("INSERT INTO t_FACard (FAlterID, %1)").arg(FaCardColumns())
      << QStringLiteral("SELECT @AlterID, @AssetNumber, FAssetName, FEconomyUseID, FLocationID, @GroupID, @ModeID, "
                        "@Status, FUnit, FModel, FManufacturer, FProductingArea, FVender, FBeginUseDate, FNum, FOrgVal "
                        "+ @OrgVal, FOrgValBuy, FResidueVal + @Salvage, @DeprMethod, FAccumDepr + @AccumDepr, "
                        "FAccumDeprBuy, @Life, FPeriodsUsed, FJobUnit, FAssetAcctID, FDeprAcctID, FModule, "
                        "FBuildVoucher, FAdjustOldDepr, FAMiuValueRead, FAXRZKVal FROM t_FACard WHERE FAlterID = "
                        "@LatestID")
      << QStringLiteral("INSERT INTO t_FADept (FAlterID, FItemClsID, FItemID, FRate) SELECT @AlterID, 2, FZ8InterID, "
                        "FRate / 100 FROM AIS_FABalDept WHERE FAssetID = @AssetNumber AND FPeriod = @Period")
      << QStringLiteral("SELECT @ExpCount = COUNT(*) FROM AIS_FABalExpense WHERE FAssetID = @AssetNumber AND FPeriod = "
                        "@Period")
      << QStringLiteral("INSERT INTO t_FAExpense (FAlterID, FAcctID, FDetailID, FRate, fdeptid) ") +
             FaCardExpenseRows(QStringLiteral("@AlterID"), QStringLiteral("@AssetNumber"), QStringLiteral("@Period"),
                               QStringLiteral("@ExpCount"))
      << QStringLiteral("INSERT INTO t_FAOrgFor SELECT @AlterID, FZ8InterID, FExchRate, FOrgValFor, FOrgVal FROM "
                        "AIS_FABalFor WHERE FAssetID = @AssetNumber AND FPeriod = @Period");
    voucherLink(b, QStringLiteral("@AlterID"));
    b << QStringLiteral("END");
    return b.text();
}

// A card cleared in an earlier year (its clearing record stands in for the
// original card) asks for no voucher: that year is closed.
QString voucherFlagsBatch() {
    FaBatch b;
    b << QStringLiteral(
        "UPDATE t_FAAlter SET FNeedVoucher = 1 FROM t_FAAlter a LEFT JOIN t_FAVoucher v ON v.FAlterID = "
        "a.FAlterID WHERE a.FNew = 0 AND v.FVoucherID IS NULL AND a.FAssetID NOT IN (SELECT r.FAssetID "
        "FROM t_FAAlter r INNER JOIN t_FAVoucher w ON w.FAlterID = r.FAlterID) AND NOT (a.FCleared = 1 AND "
        "a.FOtherAlter = 0)");
    return b.text();
}

QString clearedValuesBatch() {
    FaBatch b;
    b << QStringLiteral("UPDATE t_FAOrgFor SET FAmount = 0, FAmountFor = 0 FROM t_FAOrgFor o INNER JOIN t_FAAlter a ON "
                        "a.FAlterID = o.FAlterID WHERE a.FCleared = 1")
      << QStringLiteral("UPDATE t_FACard SET FResidueVal = 0, FNum = 0 FROM t_FACard c INNER JOIN t_FAAlter a ON "
                        "a.FAlterID = c.FAlterID WHERE a.FCleared = 1");
    return b.text();
}

}  // namespace

int clsEboFa::UpgradeFAAlterCards(FaRun &run) {
    StepKit &kit = run.kit;
    FaReportAlterationsWithoutCard(kit);
    auto rows = kit.query(kVoucherQuery);
    if (!rows || rows->Eof()) return FaDone;
    const int count = rows->RecordCount();
    int position = 0;
    for (; !rows->Eof(); rows->MoveNext()) {
        ++position;
        const int type = rows->value(QStringLiteral("FType")).toInt();
        const bool isAddition = !rows->value(QStringLiteral("FType")).isNull() && type == 0;
        const QString batch = isAddition ? additionBatch(*rows) : alterationBatch(*rows);
        FaRowProgress(kit, QStringLiteral("正在升级固定资产变动卡片("), position, count, 35, 10);
        if (!FaExecute(run, batch, kPrefix)) return FaFailed;
    }
    if (!FaExecute(run, voucherFlagsBatch(), kPrefix)) return FaFailed;
    if (!FaExecute(run, clearedValuesBatch(), kPrefix)) return FaFailed;
    return FaDone;
}
