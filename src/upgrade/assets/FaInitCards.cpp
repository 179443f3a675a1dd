// Original cards: every staged card becomes an original alteration record
// (t_FAAlter), a card state (t_FACard) and a card item, one batch per card;
// a completion batch folds the opening values and same-period alterations
// in and writes each card's asset id back into AIS_FACard; the card details
// follow.
#include <QDateTime>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

const QString kCardQuery = QStringLiteral(
    "SELECT c.FAssetID, c.FAssetName, c.FAssetAcID, c.FDeprAcID, ISNULL(c.FModel, '') AS FModel, c.FServiceDate, "
    "ISNULL(c.FBEGINUseDate, c.FServiceDate) AS FBEGINUseDate, ISNULL(b.FFormularyType, c.FFormularyType) AS "
    "FFormularyType, ISNULL(c.FJobUnit, '') AS FJobUnit, c.FAlterID, ISNULL(c.FOrgValService, 0) AS FOrgValService, "
    "ISNULL(c.FDeprService, 0) AS FDeprService, CASE WHEN ISNULL(c.FLocation, '') = '' THEN '*' ELSE c.FLocation END "
    "AS FLocation, ISNULL(c.FProduceFactory, '') AS FProduceFactory, ISNULL(c.FRemark, '') AS FRemark, "
    "ISNULL(c.FTaxAmount, 0) AS FTaxAmount, ISNULL(c.FPeriodsBeforeService, 0) AS FPeriodsBeforeService "
    "FROM AIS_FACard c LEFT JOIN AIS_FABal b ON b.FAssetID = c.FAssetID AND b.FPeriod = 0");

// The card's batch. Every value of the card is a literal (texts quoted with
// their quotes doubled, Null as NULL); the fixed-width variables cut texts
// as the target's columns expect. The location is looked up through the
// same VARCHAR(40) cut its name was stored with.
QString cardBatch(const ado::Recordset &rs, int position, bool allData) {
    auto v = [&](const char *column) { return rs.value(QString::fromLatin1(column)); };
    FaBatch b;
    b << QStringLiteral("DECLARE @AssetNumber NVARCHAR(20), @AssetName NVARCHAR(40), @AssetAc NVARCHAR(16), @DeprAc "
                        "NVARCHAR(16), @Model NVARCHAR(60)")
      << QStringLiteral("DECLARE @ServiceDate DATETIME, @BeginUseDate DATETIME, @FormularyType SMALLINT, @JobUnit "
                        "NVARCHAR(60), @SrcAlterID INT")
      << QStringLiteral("DECLARE @OrgVal MONEY, @DeprService MONEY, @Location NVARCHAR(20), @LocationName VARCHAR(40), "
                        "@Factory NVARCHAR(40), @Remark NVARCHAR(60)")
      << QStringLiteral("DECLARE @Tax MONEY, @PeriodsUsed DECIMAL(28,10), @AssetID INT, @GroupID INT, @Status TINYINT, "
                        "@LocationID INT, @DeprMethod INT")
      << QStringLiteral("DECLARE @Life DECIMAL(28,10), @AccumDepr MONEY, @AccumDevalue MONEY, @Salvage MONEY, @Year "
                        "INT, @AssetAcctID INT, @DeprAcctID INT")
      << QStringLiteral("DECLARE @AlterModeID INT, @Cleared INT, @AlterID INT")
      << SqlText("SET @AssetNumber = {v}").arg("v", v("FAssetID")).str()
      << SqlText("SET @AssetName = {v}").arg("v", v("FAssetName")).str()
      << SqlText("SET @AssetAc = {v}").arg("v", v("FAssetAcID")).str()
      << SqlText("SET @DeprAc = {v}").arg("v", v("FDeprAcID")).str()
      << SqlText("SET @Model = {v}").arg("v", v("FModel")).str()
      << SqlText("SET @ServiceDate = {v}").arg("v", v("FServiceDate")).str()
      << SqlText("SET @BeginUseDate = {v}").arg("v", v("FBEGINUseDate")).str()
      << SqlText("SET @FormularyType = {v}").arg("v", v("FFormularyType")).str()
      << SqlText("SET @JobUnit = {v}").arg("v", v("FJobUnit")).str()
      << SqlText("SET @SrcAlterID = {v}").arg("v", v("FAlterID")).str()
      << SqlText("SET @OrgVal = {v}").arg("v", v("FOrgValService")).str()
      << SqlText("SET @DeprService = {v}").arg("v", v("FDeprService")).str()
      << SqlText("SET @Location = {v}").arg("v", v("FLocation")).str()
      << QStringLiteral("SET @LocationName = @Location")
      << SqlText("SET @Factory = {v}").arg("v", v("FProduceFactory")).str()
      << SqlText("SET @Remark = {v}").arg("v", v("FRemark")).str()
      << SqlText("SET @Tax = {v}").arg("v", v("FTaxAmount")).str()
      << SqlText("SET @PeriodsUsed = {v}").arg("v", v("FPeriodsBeforeService")).str()
      << SqlText("SET @AssetID = {v}").arg("v", position).str()
      // Class and status: the addition voucher's, else the earliest balance's.
      << QStringLiteral("IF EXISTS (SELECT 1 FROM AIS_FAVch v INNER JOIN AIS_FAGroup g ON g.FGroupID = v.FGroupID "
                        "WHERE v.FAssetID = @AssetNumber AND v.FType = 0)")
      << QStringLiteral("    SELECT TOP 1 @GroupID = g.FZ8InterID, @Status = v.Fstatus FROM AIS_FAVch v INNER JOIN "
                        "AIS_FAGroup g ON g.FGroupID = v.FGroupID WHERE v.FAssetID = @AssetNumber AND v.FType = 0 "
                        "ORDER BY v.FPeriod")
      << QStringLiteral("ELSE")
      << QStringLiteral("    SELECT TOP 1 @GroupID = g.FZ8InterID, @Status = b.Fstatus FROM AIS_FABal b LEFT JOIN "
                        "AIS_FAGroup g ON g.FGroupID = b.FGroupID WHERE b.FAssetID = @AssetNumber ORDER BY b.FPeriod")
      << QStringLiteral("SET @Status = CASE WHEN @Status = 1 THEN 2 WHEN @Status = 2 THEN 7 WHEN @Status = 3 THEN 8 "
                        "ELSE @Status END")
      << QStringLiteral("SELECT @LocationID = FID FROM t_FALocation WHERE FName = @LocationName")
      // Depreciation values: the addition voucher's, else the earliest balance's.
      << QStringLiteral("IF EXISTS (SELECT 1 FROM AIS_FAVch WHERE FAssetID = @AssetNumber AND FType = 0)")
      << QStringLiteral("    SELECT TOP 1 @DeprMethod = FDeprMethod, @Life = FLife, @AccumDepr = FAccumDepr, "
                        "@AccumDevalue = FAccumDevalue, @Salvage = FSalvage FROM AIS_FAVch WHERE FAssetID = "
                        "@AssetNumber AND FType = 0 ORDER BY FPeriod")
      << QStringLiteral("ELSE")
      << QStringLiteral("    SELECT TOP 1 @DeprMethod = FDeprMethod, @Life = FLife, @AccumDepr = %1, @AccumDevalue = "
                        "FAccumDevalue, @Salvage = FSalvage FROM AIS_FABal WHERE FAssetID = @AssetNumber ORDER BY "
                        "FPeriod")
             .arg(allData ? QStringLiteral("@DeprService") : QStringLiteral("@DeprService + FAccumDepr"))
      << QStringLiteral("IF @DeprMethod = 0 SET @Status = 7")
      << QStringLiteral("SET @DeprMethod = CASE WHEN @DeprMethod = 2 THEN 9 WHEN @DeprMethod = 3 THEN 5 WHEN "
                        "@DeprMethod = 1 THEN CASE WHEN @FormularyType = 0 THEN 1 ELSE @FormularyType END WHEN "
                        "@DeprMethod = 0 THEN 1 ELSE @DeprMethod END")
      << QStringLiteral("SELECT @Year = FCurrYear FROM AIS_GLPref")
      << QStringLiteral("SELECT @AssetAcctID = FZ8InterID FROM AIS_GLAcct WHERE FAcctID = @AssetAc")
      << QStringLiteral("SELECT @DeprAcctID = FZ8InterID FROM AIS_GLAcct WHERE FAcctID = @DeprAc")
      << QStringLiteral("SELECT @AlterModeID = FZ8InterID FROM AIS_FAAlter WHERE FAlterID = @SrcAlterID")
      << QStringLiteral("WHILE EXISTS (SELECT 1 FROM t_FAAlter WHERE FAssetID = @AssetID AND FYear = @Year AND "
                        "FPeriod = 0 AND FAlterNum = 0) SET @AssetID = @AssetID + 1")
      << QStringLiteral("SET @Cleared = 0")
      << QStringLiteral("IF EXISTS (SELECT 1 FROM AIS_FABal WHERE FAssetID = @AssetNumber AND FPost = 2) AND NOT "
                        "EXISTS (SELECT 1 FROM AIS_FAVch WHERE FAssetID = @AssetNumber) SET @Cleared = 1")
      << QStringLiteral("INSERT INTO t_FAAlter (FAssetID, FYear, FPeriod, FAlterNum, FDate, FNeedVoucher, "
                        "FExplanation, FCleared, FNew, FOtherAlter, FPreparer, FChecker)")
      << QStringLiteral("VALUES (@AssetID, @Year, 0, 0, @ServiceDate, 1 - @Cleared, CASE WHEN @Cleared = 1 THEN "
                        "'/*此变动由清理功能生成*/' ELSE @Remark END, @Cleared, 1 - @Cleared, 0, ' ', ' ')")
      << QStringLiteral("SELECT @AlterID = FAlterID FROM t_FAAlter WHERE FAssetID = @AssetID AND FYear = @Year AND "
                        "FPeriod = 0 AND FAlterNum = 0")
      << QStringLiteral("IF @Cleared = 1 SET @OrgVal = 0")
      << QStringLiteral("INSERT INTO t_FACard (FAlterID, FAssetNumber, FAssetName, FAssetAcctID, FDeprAcctID, FModel, "
                        "FGroupID, FStatusID, FUnit, FNum, FOrgVal, FJobUnit, FBeginUseDate, FAlterModeID, FOrgValBuy, "
                        "FAccumDeprBuy, FEconomyUseID, FLocationID, FManufacturer, FProductingArea, FVender, "
                        "FDeprMethodID, FLifePeriods, FAccumDepr, FAMiuValueRead, FResidueVal, FPeriodsUsed, FModule, "
                        "FBuildVoucher, FAdjustOldDepr, FAXRZKVal)")
      << QStringLiteral("VALUES (@AlterID, @AssetNumber, @AssetName, @AssetAcctID, @DeprAcctID, @Model, @GroupID, "
                        "@Status, '', 1, @OrgVal, @JobUnit, @BeginUseDate, @AlterModeID, @OrgVal, @DeprService, '001', "
                        "@LocationID, @Factory, '', '', @DeprMethod, @Life, @AccumDepr, ISNULL(@AccumDevalue, 0), "
                        "@Salvage, @PeriodsUsed, '', 1, 0, ISNULL(@Tax, 0))")
      << QStringLiteral("IF NOT EXISTS (SELECT 1 FROM t_FACardItem WHERE FAlterID = @AlterID) INSERT INTO t_FACardItem "
                        "VALUES (@AlterID, 0)");
    return b.text();
}

// Opening values of earlier years' cards, the alterations of the addition
// period (all of them, summed) and the identity write-back.
QString completionBatch() {
    FaBatch b;
    b << QStringLiteral(
             "UPDATE t_FACard SET FOrgVal = b.FOrgVal FROM t_FACard c INNER JOIN t_FAAlter a ON a.FAlterID = "
             "c.FAlterID INNER JOIN AIS_FACard s ON s.FAssetID = c.FAssetNumber INNER JOIN AIS_FABal b ON "
             "b.FAssetID = s.FAssetID AND b.FPeriod = 0 INNER JOIN AIS_GLPref r ON YEAR(s.FServiceDate) <> "
             "r.FCurrYear WHERE a.FPeriod = 0")
      << QStringLiteral("UPDATE t_FACard SET FOrgVal = c.FOrgVal + x.FOrgVal, FOrgValBuy = c.FOrgValBuy + x.FOrgVal, "
                        "FResidueVal = c.FResidueVal + x.FSalvage, FAccumDepr = c.FAccumDepr + x.FAccumDepr, "
                        "FAccumDeprBuy = c.FAccumDeprBuy + x.FAccumDepr, FLifePeriods = c.FLifePeriods + x.FLife")
      << QStringLiteral(
             "FROM t_FACard c INNER JOIN (SELECT b.FAssetID, SUM(ISNULL(b.FOrgVal, 0)) AS FOrgVal, "
             "SUM(ISNULL(b.FSalvage, 0)) AS FSalvage, SUM(ISNULL(b.FAccumDepr, 0)) AS FAccumDepr, "
             "SUM(ISNULL(b.FLife, 0)) AS FLife FROM AIS_FAVch b WHERE b.FType <> 0 AND EXISTS (SELECT 1 FROM "
             "AIS_FAVch a WHERE a.FAssetID = b.FAssetID AND a.FPeriod = b.FPeriod AND a.FType = 0) GROUP BY "
             "b.FAssetID) x ON x.FAssetID = c.FAssetNumber")
      << QStringLiteral("UPDATE AIS_FACard SET FZ8InterID = a.FAssetID FROM AIS_FACard s INNER JOIN t_FACard c ON "
                        "c.FAssetNumber = s.FAssetID INNER JOIN t_FAAlter a ON a.FAlterID = c.FAlterID");
    return b.text();
}

}  // namespace

int clsEboFa::UpgradeFAInitCards(FaRun &run) {
    StepKit &kit = run.kit;
    QString ignored;
    kit.execute(QStringLiteral("TRUNCATE TABLE t_FACard\r\nTRUNCATE TABLE t_FACardItem\r\nDELETE FROM t_FAAlter\r\n"),
                ignored);
    std::optional<ado::Recordset> cards;
    try {
        cards = kit.query(kCardQuery);
    } catch (const std::exception &e) {
        run.errorText = QStringLiteral("升级【固定资产-原始卡片-基本入账信息】时出错：") + ErrorDescription(e);
        return FaFailed;
    }
    const bool allData = FaOption() == 0;
    if (cards) {
        const int count = cards->RecordCount();
        int position = 0;
        for (; !cards->Eof(); cards->MoveNext()) {
            ++position;
            const QString code = cards->value(QStringLiteral("FAssetID")).toString();
            QString error;
            if (!kit.execute(cardBatch(*cards, position, allData), error)) {
                run.errorText = QStringLiteral("升级【固定资产-原始卡片-基本入账信息】时出错：") + error +
                                QStringLiteral("（固定资产代码：") + code + QStringLiteral("）");
                return FaFailed;
            }
            FaRowProgress(kit, QStringLiteral("正在升级固定资产原始卡片("), position, count, 5, 10);
            if (g_CancelRequested) return FaFailed;
        }
    }
    if (!FaExecute(run, completionBatch(), QStringLiteral("升级【固定资产-原始卡片-基本入账信息】时出错：")))
        return FaFailed;
    return UpgradeFACardDetails(run);
}
