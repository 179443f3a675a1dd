// Fixed-asset base data: the source's alteration modes (increase and
// decrease) with the fixed mode "在建工程转入", the card classes and the
// locations replace the target's, and the modes and classes are mapped in
// the staging copies.
#include "foundation/UpgradeLog.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

namespace {

// The modes of one kind. Each mode's account and voucher group are looked
// up afresh (reset first), so a code that maps nowhere gives 0 and never
// the previous mode's value. Texts pass through VARCHAR(40) variables,
// which cut them to 40 bytes.
QString modesBatch(bool increase) {
    const QString mode = increase ? QStringLiteral("0") : QStringLiteral("1");
    const QString prefix = increase ? QStringLiteral("'001.'") : QStringLiteral("'002.'");
    const QString parent = increase ? QStringLiteral("997") : QStringLiteral("998");
    const QString targetMode = increase ? QStringLiteral("1") : QStringLiteral("0");
    const QString explanation = increase ? QStringLiteral("ISNULL(FExp, '')") : QStringLiteral("FExp");
    FaBatch b;
    if (increase) b << QStringLiteral("DELETE FROM t_FAAlterMode WHERE FNumber NOT IN ('*', '001', '002', '003')");
    b << QStringLiteral("DECLARE @ID INT, @Name VARCHAR(40), @Exp VARCHAR(40), @Acct VARCHAR(40), @Grp VARCHAR(40)")
      << QStringLiteral("DECLARE @AcctID INT, @GrpID INT, @N INT") << QStringLiteral("SET @N = 1")
      << QStringLiteral("DECLARE curMode CURSOR FOR SELECT FAlterID, FAlterName, %1, FAcctID, FVchGroup FROM "
                        "AIS_FAAlter WHERE Fmode = %2")
             .arg(explanation, mode)
      << QStringLiteral("OPEN curMode") << QStringLiteral("FETCH NEXT FROM curMode INTO @ID, @Name, @Exp, @Acct, @Grp")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN") << QStringLiteral("    SET @AcctID = 0")
      << QStringLiteral("    IF ISNULL(@Acct, '') <> '' AND ISNULL(@Acct, '') <> '0'")
      << QStringLiteral("        SELECT @AcctID = ISNULL(FZ8InterID, 0) FROM AIS_GLAcct WHERE FAcctID = @Acct")
      << QStringLiteral("    SET @GrpID = 0")
      << QStringLiteral("    SELECT @GrpID = ISNULL(FZ8InterID, 0) FROM AIS_GLVchGroup WHERE Fgroup = @Grp")
      << QStringLiteral("    INSERT INTO t_FAAlterMode (FID, FNumber, FShortNumber, FName, FLevel, FParentId, FDetail, "
                        "FMode, FAcctID, FDetailID, FVchGroupID, FExplanation)")
      << QStringLiteral("    VALUES (@ID, %1 + RIGHT('000' + CAST(@N AS varchar), 3), RIGHT('000' + CAST(@N AS "
                        "varchar), 3), @Name, 2, %2, 1, %3, @AcctID, 0, @GrpID, @Exp)")
             .arg(prefix, parent, targetMode)
      << QStringLiteral("    SET @N = @N + 1")
      << QStringLiteral("    FETCH NEXT FROM curMode INTO @ID, @Name, @Exp, @Acct, @Grp") << QStringLiteral("END")
      << QStringLiteral("CLOSE curMode") << QStringLiteral("DEALLOCATE curMode");
    return b.text();
}

QString fixedModeBatch() {
    FaBatch b;
    b << QStringLiteral("DECLARE @FID INT, @Short INT, @AcctID INT, @GrpID INT")
      << QStringLiteral("SELECT @FID = ISNULL(MAX(FID), 0) + 1 FROM t_FAAlterMode WHERE FID < 997")
      << QStringLiteral("SELECT @Short = ISNULL(MAX(CONVERT(INTEGER, FShortNumber)), 0) + 1 FROM t_FAAlterMode "
                        "WHERE FParentId = 997")
      << QStringLiteral("SET @AcctID = 0")
      << QStringLiteral("SELECT TOP 1 @AcctID = FAccountID FROM T_Account WHERE FName = '固定资产减值准备' ORDER BY "
                        "FAccountID")
      << QStringLiteral("SET @GrpID = 0")
      << QStringLiteral("SELECT TOP 1 @GrpID = FGroupID FROM t_VoucherGroup WHERE FName = '记' ORDER BY FGroupID")
      << QStringLiteral("INSERT INTO t_FAAlterMode (FID, FNumber, FShortNumber, FName, FLevel, FParentId, FDetail, "
                        "FMode, FAcctID, FDetailID, FVchGroupID, FExplanation)")
      << QStringLiteral("VALUES (@FID, '001.' + RIGHT('000' + CAST(@Short AS varchar), 3), RIGHT('000' + CAST(@Short "
                        "AS varchar), 3), '在建工程转入', 2, 997, 1, 1, @AcctID, 0, @GrpID, N'在建工程转入固定资产')")
      // Each source mode became the target mode of its own id.
      << QStringLiteral(
             "UPDATE AIS_FAAlter SET FZ8InterID = FAlterID WHERE FAlterID IN (SELECT FID FROM t_FAAlterMode)");
    return b.text();
}

QString classesBatch() {
    FaBatch b;
    b << QStringLiteral("DELETE FROM t_fagroup WHERE FID > 0 AND FNumber <> '*'")
      << QStringLiteral("INSERT INTO t_FAGroup (FID, FNumber, FShortNumber, FName, Flevel, FParentID, FDetail, "
                        "FDefaultUnit, FDefaultLife, FDeprMethodID, FResidueRate, FMustDepr, FNoDepr)")
      << QStringLiteral(
             "SELECT FGroupID, RIGHT('000' + CAST(FGroupID AS varchar), 3), RIGHT('000' + CAST(FGroupID AS "
             "varchar), 3), FGroupName, 1, 0, 1, '', 0, CASE WHEN FDeprMethod = 2 THEN 3 WHEN FDeprMethod = 3 "
             "THEN 5 ELSE FDeprMethod END, CAST(FSalvageRate AS DECIMAL(23,10)) / 10000, 0, 0 FROM AIS_FAGroup")
      << QStringLiteral("UPDATE AIS_FAGroup SET FZ8InterID = FGroupID");
    return b.text();
}

QString locationsBatch() {
    FaBatch b;
    b << QStringLiteral("DELETE FROM t_FALocation WHERE FID > 0 AND FNumber <> '*'")
      << QStringLiteral("DECLARE @Name VARCHAR(40), @N INT") << QStringLiteral("SET @N = 1")
      << QStringLiteral("DECLARE curLoc CURSOR FOR SELECT DISTINCT FLocation FROM AIS_FACard WHERE LEN(FLocation) > 0")
      << QStringLiteral("OPEN curLoc") << QStringLiteral("FETCH NEXT FROM curLoc INTO @Name")
      << QStringLiteral("WHILE @@FETCH_STATUS = 0") << QStringLiteral("BEGIN")
      << QStringLiteral("    INSERT INTO t_FALocation (FNumber, FShortNumber, FName, FLevel, FDetail, FParentID)")
      << QStringLiteral("    VALUES (RIGHT('000' + CAST(@N AS varchar), 3), RIGHT('000' + CAST(@N AS varchar), 3), "
                        "@Name, 1, 1, 0)")
      << QStringLiteral("    SET @N = @N + 1") << QStringLiteral("    FETCH NEXT FROM curLoc INTO @Name")
      << QStringLiteral("END") << QStringLiteral("CLOSE curLoc") << QStringLiteral("DEALLOCATE curLoc");
    return b.text();
}

void countEntry(StepKit &kit, const QString &sql, const QString &project, const QString &text) {
    const QVariant count = FaCount(kit, sql);
    if (count.isNull()) return;
    WriteUpgradeLog(project, text + count.toString(), QString(), 0);
}

}  // namespace

int clsEboFa::UpgradeFABaseData(FaRun &run) {
    StepKit &kit = run.kit;
    if (!FaExecute(run, modesBatch(true), QStringLiteral("升级【固定资产-基础资料-变动方式类别-增加方式】时出错：")))
        return FaFailed;
    if (FaProgressThenCancelled(kit, 1)) return FaFailed;
    if (!FaExecute(run, modesBatch(false), QStringLiteral("升级【固定资产-基础资料-变动方式类别-减少方式】时出错：")))
        return FaFailed;
    if (FaProgressThenCancelled(kit, 2)) return FaFailed;
    if (!FaExecute(run, fixedModeBatch(),
                   QStringLiteral("升级【固定资产-基础资料-变动方式类别-在建工程转入】时出错：")))
        return FaFailed;
    countEntry(kit,
               QStringLiteral("SELECT COUNT(*) FROM t_FAAlterMode m LEFT JOIN AIS_FAAlter a ON a.FZ8InterID = m.FID "
                              "WHERE m.FID > 0"),
               QStringLiteral("固定资产变动方式类别"), QStringLiteral("升级变动方式类别成功数目："));
    if (FaProgressThenCancelled(kit, 3)) return FaFailed;
    if (!FaExecute(run, classesBatch(), QStringLiteral("升级【固定资产-基础资料-卡片类别】时出错："))) return FaFailed;
    countEntry(kit,
               QStringLiteral("SELECT COUNT(*) FROM t_fagroup g LEFT JOIN AIS_FAGroup a ON a.FZ8InterID = g.FID "
                              "INNER JOIN T_FaDeprMethod d ON d.FID = g.FDeprMethodID WHERE g.FID > 0"),
               QStringLiteral("固定资产卡片类别"), QStringLiteral("升级卡片类别成功数目："));
    if (FaProgressThenCancelled(kit, 4)) return FaFailed;
    if (!FaExecute(run, locationsBatch(), QStringLiteral("升级【固定资产-基础资料-存放地点】时出错：")))
        return FaFailed;
    countEntry(kit, QStringLiteral("SELECT COUNT(*) FROM t_FALocation WHERE FID > 0"),
               QStringLiteral("固定资产存放地点"), QStringLiteral("升级存放地点成功数目："));
    if (FaProgressThenCancelled(kit, 5)) return FaFailed;
    return FaDone;
}
