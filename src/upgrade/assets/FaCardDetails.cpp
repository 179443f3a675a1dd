// The original cards' details: departments, depreciation-expense accounts,
// foreign-currency original values and devices, each one batch that empties
// its table and walks the staged rows of the cards' addition (or of their
// first balance period). Every lookup is reset for each row, so a code that
// maps nowhere gives NULL (reported afterwards), never the previous row's
// value.
#include "foundation/UpgradeLog.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/FaDetailLog.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

// The rows of the cards' additions, else of the table's first period above
// 0, else (assets with no later balance) all their balance rows.
QString selection(const QString &voucher, const QString &balance, const QString &columns, bool withThird) {
    QString sql =
        QStringLiteral("SELECT %1 FROM %2 v WHERE v.FType = 0").arg(QString(columns).replace("#", "v"), voucher);
    sql += QStringLiteral(" UNION ALL SELECT %1 FROM %2 b WHERE b.FPeriod = (SELECT MIN(m.FPeriod) FROM %2 m WHERE "
                          "m.FPeriod > 0) AND NOT EXISTS (SELECT 1 FROM %3 v WHERE v.FAssetID = b.FAssetID AND "
                          "v.FType = 0)")
               .arg(QString(columns).replace("#", "b"), balance, voucher);
    if (withThird)
        sql += QStringLiteral(" UNION ALL SELECT %1 FROM %2 b WHERE NOT EXISTS (SELECT 1 FROM %3 v WHERE v.FAssetID = "
                              "b.FAssetID AND v.FType = 0) AND NOT EXISTS (SELECT 1 FROM %2 p WHERE p.FAssetID = "
                              "b.FAssetID AND p.FPeriod > 0)")
                   .arg(QString(columns).replace("#", "b"), balance, voucher);
    return sql;
}

QString departmentsBatch() {
    FaBatch b;
    b << QStringLiteral("TRUNCATE TABLE t_FADept")
      << QStringLiteral("DECLARE @Asset NVARCHAR(20), @Dept NVARCHAR(40), @Rate FLOAT, @AlterID INT, @ItemID INT")
      << QStringLiteral("DECLARE curDept CURSOR FOR ") +
             selection(QStringLiteral("AIS_FAVchDept"), QStringLiteral("AIS_FABalDept"),
                       QStringLiteral("#.FAssetID, #.FDeptObjID, #.FRate"), true)
      << QStringLiteral("OPEN curDept") << QStringLiteral("FETCH NEXT FROM curDept INTO @Asset, @Dept, @Rate")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral("    SET @AlterID = NULL")
      << QStringLiteral("    SELECT @AlterID = FAlterID FROM t_FACard WHERE FAssetNumber = @Asset")
      << QStringLiteral("    IF @AlterID IS NOT NULL") << QStringLiteral("    BEGIN")
      << QStringLiteral("        SET @ItemID = NULL")
      << QStringLiteral("        SELECT @ItemID = FItemID FROM t_Item WHERE FItemClassID = 2 AND FShortNumber = "
                        "REPLACE(@Dept, '.', '')")
      << QStringLiteral("        INSERT INTO t_FADept (FAlterID, FItemClsID, FItemID, FRate) VALUES (@AlterID, 2, "
                        "@ItemID, @Rate / 100)")
      << QStringLiteral("    END") << QStringLiteral("    FETCH NEXT FROM curDept INTO @Asset, @Dept, @Rate")
      << QStringLiteral("END") << QStringLiteral("CLOSE curDept") << QStringLiteral("DEALLOCATE curDept");
    return b.text();
}

QString expensesBatch() {
    FaBatch b;
    b << QStringLiteral("TRUNCATE TABLE t_FAExpense")
      << QStringLiteral("DECLARE @Asset NVARCHAR(20), @Acct NVARCHAR(40), @Cls INT, @Obj NVARCHAR(40), @Rate FLOAT")
      << QStringLiteral("DECLARE @AlterID INT, @AcctID INT, @DetailID INT, @DeptID INT")
      << QStringLiteral("DECLARE curExp CURSOR FOR ") +
             selection(QStringLiteral("AIS_FAVchExpense"), QStringLiteral("AIS_FABalExpense"),
                       QStringLiteral("#.FAssetID, #.FExpenseAcctID, #.FExpenseClsID, #.FExpenseObjID, #.FRate"), true)
      << QStringLiteral("OPEN curExp") << QStringLiteral("FETCH NEXT FROM curExp INTO @Asset, @Acct, @Cls, @Obj, @Rate")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral("    SET @AlterID = NULL")
      << QStringLiteral("    SELECT @AlterID = FAlterID FROM t_FACard WHERE FAssetNumber = @Asset")
      << QStringLiteral("    IF @AlterID IS NOT NULL") << QStringLiteral("    BEGIN")
      << QStringLiteral("        SET @AcctID = NULL")
      << QStringLiteral("        SELECT @AcctID = FZ8InterID FROM AIS_GLAcct WHERE FAcctID = @Acct")
      << QStringLiteral("        SET @DetailID = 0") << QStringLiteral("        SET @DeptID = 0")
      << QStringLiteral("        IF ISNULL(@Cls, 0) = 0") << QStringLiteral("        BEGIN")
      << QStringLiteral("            IF @Rate = 100 SELECT TOP 1 @DeptID = ISNULL(FItemID, 0) FROM t_FADept WHERE "
                        "FAlterID = @AlterID")
      << QStringLiteral("        END") << QStringLiteral("        ELSE") << QStringLiteral("        BEGIN")
      << QStringLiteral("            SET @DeptID = NULL")
      << QStringLiteral("            SELECT @DeptID = FZ8InterID FROM AIS_GLObj WHERE FClsID = @Cls AND FObjID = @Obj")
      << QStringLiteral("            SET @DeptID = ISNULL(@DeptID, 0)")
      << QStringLiteral(
             "            SELECT TOP 1 @DetailID = v.FDetailID FROM t_ItemDetailV v INNER JOIN t_ItemDetail d "
             "ON d.FDetailID = v.FDetailID WHERE d.FDetailCount = 1 AND v.FItemID = @DeptID")
      << QStringLiteral("        END")
      << QStringLiteral("        INSERT INTO t_FAExpense (FAlterID, FAcctID, FDetailID, FRate, fdeptid) VALUES "
                        "(@AlterID, @AcctID, @DetailID, 1, @DeptID)")
      << QStringLiteral("    END") << QStringLiteral("    FETCH NEXT FROM curExp INTO @Asset, @Acct, @Cls, @Obj, @Rate")
      << QStringLiteral("END") << QStringLiteral("CLOSE curExp") << QStringLiteral("DEALLOCATE curExp");
    return b.text();
}

QString foreignValuesBatch() {
    FaBatch b;
    b << QStringLiteral("TRUNCATE TABLE t_FAOrgFor")
      << QStringLiteral("DECLARE @Asset NVARCHAR(20), @Cy NVARCHAR(10), @Rate FLOAT, @AmountFor MONEY, @Amount MONEY")
      << QStringLiteral("DECLARE @AlterID INT, @CyID INT")
      << QStringLiteral("DECLARE curFor CURSOR FOR ") +
             selection(QStringLiteral("AIS_FAVchFor"), QStringLiteral("AIS_FABalFor"),
                       QStringLiteral("#.FAssetID, #.FCyID, #.FExchRate, #.FOrgValFor, #.FOrgVal"), false)
      << QStringLiteral("OPEN curFor")
      << QStringLiteral("FETCH NEXT FROM curFor INTO @Asset, @Cy, @Rate, @AmountFor, @Amount")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral("    SET @AlterID = NULL")
      << QStringLiteral("    SELECT @AlterID = FAlterID FROM t_FACard WHERE FAssetNumber = @Asset")
      << QStringLiteral("    IF @AlterID IS NOT NULL") << QStringLiteral("    BEGIN")
      << QStringLiteral("        SET @CyID = NULL")
      << QStringLiteral("        SELECT @CyID = FZ8InterID FROM AIS_GLCy WHERE FCyID = @Cy")
      << QStringLiteral("        INSERT INTO t_FAOrgFor VALUES (@AlterID, @CyID, @Rate, @AmountFor, @Amount)")
      << QStringLiteral("    END")
      << QStringLiteral("    FETCH NEXT FROM curFor INTO @Asset, @Cy, @Rate, @AmountFor, @Amount")
      << QStringLiteral("END") << QStringLiteral("CLOSE curFor")
      << QStringLiteral("DEALLOCATE curFor")
      // Every alteration of the addition period adds its foreign value once.
      << QStringLiteral("UPDATE t_FAOrgFor SET FAmountFor = o.FAmountFor + x.FOrgValFor, FAmount = o.FAmount + "
                        "x.FOrgVal FROM t_FAOrgFor o INNER JOIN t_FACard c ON c.FAlterID = o.FAlterID INNER JOIN "
                        "(SELECT b.FAssetID, SUM(ISNULL(b.FOrgValFor, 0)) AS FOrgValFor, SUM(ISNULL(b.FOrgVal, 0)) AS "
                        "FOrgVal FROM AIS_FAVchFor b WHERE b.FType <> 0 AND EXISTS (SELECT 1 FROM AIS_FAVchFor a WHERE "
                        "a.FAssetID = b.FAssetID AND a.FPeriod = b.FPeriod AND a.FType = 0) GROUP BY b.FAssetID) x ON "
                        "x.FAssetID = c.FAssetNumber");
    return b.text();
}

// Devices are numbered per card: "001", "002", ... and on past "999".
QString devicesBatch() {
    FaBatch b;
    b << QStringLiteral("TRUNCATE TABLE t_FADevice")
      << QStringLiteral("DECLARE @Asset NVARCHAR(20), @Name NVARCHAR(255), @Model NVARCHAR(255), @Unit NVARCHAR(255)")
      << QStringLiteral("DECLARE @Qty FLOAT, @Amount MONEY, @AlterID INT, @N INT")
      << QStringLiteral(
             "DECLARE curDev CURSOR FOR SELECT FAssetID, FName, FModel, FUnit, Fqty, FAmount FROM AIS_FAExtra")
      << QStringLiteral("OPEN curDev")
      << QStringLiteral("FETCH NEXT FROM curDev INTO @Asset, @Name, @Model, @Unit, @Qty, @Amount")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral("    SET @AlterID = NULL")
      << QStringLiteral("    SELECT @AlterID = FAlterID FROM t_FACard WHERE FAssetNumber = @Asset")
      << QStringLiteral("    IF @AlterID IS NOT NULL") << QStringLiteral("    BEGIN")
      << QStringLiteral("        SELECT @N = COUNT(*) + 1 FROM t_FADevice WHERE FAlterID = @AlterID")
      << QStringLiteral("        INSERT INTO t_FADevice (FAlterID, FNumber, FName, FModel, FLocationID, FDate, FUnit, "
                        "FQty, FAmount, FRemark)")
      << QStringLiteral("        VALUES (@AlterID, CASE WHEN @N < 1000 THEN RIGHT('000' + CAST(@N AS varchar), 3) ELSE "
                        "CAST(@N AS varchar) END, @Name, @Model, 0, getdate(), @Unit, @Qty, @Amount, '')")
      << QStringLiteral("    END")
      << QStringLiteral("    FETCH NEXT FROM curDev INTO @Asset, @Name, @Model, @Unit, @Qty, @Amount")
      << QStringLiteral("END") << QStringLiteral("CLOSE curDev") << QStringLiteral("DEALLOCATE curDev");
    return b.text();
}

// Detail rows whose code found no target row: one warning naming them.
void reportUnmapped(StepKit &kit) {
    const QString sql =
        QStringLiteral(
            "SELECT d.FAssetID, '使用部门' AS FKind, d.FDeptObjID AS FCode FROM (%1) d WHERE EXISTS (SELECT 1 FROM "
            "t_FACard "
            "c WHERE c.FAssetNumber = d.FAssetID) AND NOT EXISTS (SELECT 1 FROM t_Item i WHERE i.FItemClassID = 2 AND "
            "i.FShortNumber = REPLACE(d.FDeptObjID, '.', ''))"
            " UNION ALL SELECT e.FAssetID, '折旧费用科目', e.FExpenseAcctID FROM (%2) e WHERE EXISTS (SELECT 1 FROM "
            "t_FACard c WHERE c.FAssetNumber = e.FAssetID) AND NOT EXISTS (SELECT 1 FROM AIS_GLAcct a WHERE a.FAcctID "
            "= "
            "e.FExpenseAcctID AND a.FZ8InterID IS NOT NULL)"
            " UNION ALL SELECT f.FAssetID, '币别', f.FCyID FROM (%3) f WHERE EXISTS (SELECT 1 FROM t_FACard c WHERE "
            "c.FAssetNumber = f.FAssetID) AND NOT EXISTS (SELECT 1 FROM AIS_GLCy y WHERE y.FCyID = f.FCyID AND "
            "y.FZ8InterID IS NOT NULL)")
            .arg(selection(QStringLiteral("AIS_FAVchDept"), QStringLiteral("AIS_FABalDept"),
                           QStringLiteral("#.FAssetID, #.FDeptObjID"), true),
                 selection(QStringLiteral("AIS_FAVchExpense"), QStringLiteral("AIS_FABalExpense"),
                           QStringLiteral("#.FAssetID, #.FExpenseAcctID"), true),
                 selection(QStringLiteral("AIS_FAVchFor"), QStringLiteral("AIS_FABalFor"),
                           QStringLiteral("#.FAssetID, #.FCyID"), false));
    try {
        auto rs = kit.query(sql);
        if (!rs || rs->Eof()) return;
        FaDetailLog detail(QStringLiteral("固定资产卡片明细未对应"),
                           {QStringLiteral("固定资产代码"), QStringLiteral("明细"), QStringLiteral("代码")});
        FaCardList cards;
        for (; !rs->Eof(); rs->MoveNext()) {
            detail.addRow(FaDetailLog::cells(
                *rs, {QStringLiteral("FAssetID"), QStringLiteral("FKind"), QStringLiteral("FCode")}));
            cards.add(rs->value(QStringLiteral("FAssetID")).toString());
        }
        WriteUpgradeLog(QStringLiteral("固定资产"),
                        QStringLiteral("固定资产") + cards.text() +
                            QStringLiteral("的使用部门、折旧费用科目或币别在新账套中没有对应项目，已留空，请升级后在"
                                           "固定资产中补充。"),
                        QStringLiteral("详细信息"), 1, detail.list());
    } catch (const std::exception &) {
        // The report is an aid; the cards are converted either way.
    }
}

}  // namespace

int clsEboFa::UpgradeFACardDetails(FaRun &run) {
    StepKit &kit = run.kit;
    struct DetailBatch {
        QString caption;
        QString batch;
        QString prefix;
        int progress;
    };
    const DetailBatch batches[] = {
        {QStringLiteral("正在更新原始卡片使用部门..."), departmentsBatch(),
         QStringLiteral("升级【固定资产-初始化数据-使用部门】时出错："), 20},
        {QStringLiteral("正在更新原始卡片折旧费用..."), expensesBatch(),
         QStringLiteral("升级【固定资产-初始化数据-折旧费用】时出错："), 24},
        {QStringLiteral("正在更新原始卡片原值..."), foreignValuesBatch(),
         QStringLiteral("升级【固定资产-初始化数据-原值】时出错："), 30},
        {QStringLiteral("正在更新原始卡片附属设备..."), devicesBatch(),
         QStringLiteral("升级【固定资产-初始化数据-附属设备】时出错："), 35},
    };
    for (const DetailBatch &detail : batches) {
        kit.caption(detail.caption);
        if (!FaExecute(run, detail.batch, detail.prefix)) return FaFailed;
        if (FaProgressThenCancelled(kit, detail.progress)) return FaFailed;
    }
    reportUnmapped(kit);
    return FaDone;
}
