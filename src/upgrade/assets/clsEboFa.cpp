// The driver of the fixed-asset upgrade: removes the staged cards that lie
// after the current period, runs the phases of the chosen option, rewrites
// the FA keys of t_SystemProfile between them and turns a failure into one
// log entry and one message.
#include "upgrade/assets/clsEboFa.h"

#include <functional>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "upgrade/assets/FaCommon.h"
#include "upgrade/common/StepKit.h"

namespace {

const QString kProject = QStringLiteral("固定资产");

// The staged tables that hold rows of a card, in the order they are cleared.
const char *const kCardTables[] = {
    "AIS_FACard",    "AIS_FABal",        "AIS_FABalDept",    "AIS_FABalDevalue", "AIS_FABalExpense",
    "AIS_FABalFor",  "AIS_FAExtra",      "AIS_FAInitBal",    "AIS_FAJob",        "AIS_FAVch",
    "AIS_FAVchDept", "AIS_FAVchDevalue", "AIS_FAVchExpense", "AIS_FAVchFor",
};

QString keysBatchAllData() {
    FaBatch batch;
    batch << QStringLiteral("UPDATE t_SystemProfile SET FValue = (SELECT CAST(CASE WHEN FStartYear = FCurrYear THEN "
                            "FStartPeriod ELSE 1 END AS varchar) FROM AIS_GLPref) WHERE FCategory = 'FA' AND FKey = "
                            "'StartPeriod'")
          << QStringLiteral("UPDATE t_SystemProfile SET FValue = (SELECT CAST(FCurrYear AS varchar) FROM AIS_GLPref) "
                            "WHERE FCategory = 'FA' AND FKey = 'StartYear'")
          << QStringLiteral("UPDATE t_SystemProfile SET FValue = (SELECT CASE WHEN FDeprMade = 1 THEN '0' ELSE '1' "
                            "END FROM AIS_GLPref) WHERE FCategory = 'FA' AND FKey = 'withoutDepr'");
    return batch.text();
}

QString keysBatchBalancesOnly() {
    FaBatch batch;
    batch << QStringLiteral("UPDATE t_SystemProfile SET FValue = '1' WHERE FCategory = 'FA' AND FKey = 'withoutDepr'")
          << QStringLiteral("UPDATE t_SystemProfile SET FValue = (SELECT CAST(FCurrPeriod AS varchar) FROM "
                            "AIS_GLPref) WHERE FCategory = 'FA' AND FKey = 'CurrentPeriod'")
          << QStringLiteral("UPDATE t_SystemProfile SET FValue = (SELECT CAST(FCurrYear AS varchar) FROM AIS_GLPref) "
                            "WHERE FCategory = 'FA' AND FKey = 'CurrentYear'")
          << QStringLiteral("UPDATE t_SystemProfile SET FValue = (SELECT CAST(FCurrPeriod AS varchar) FROM "
                            "AIS_GLPref) WHERE FCategory = 'FA' AND FKey = 'StartPeriod'")
          << QStringLiteral("UPDATE t_SystemProfile SET FValue = (SELECT CAST(FCurrYear AS varchar) FROM AIS_GLPref) "
                            "WHERE FCategory = 'FA' AND FKey = 'StartYear'");
    return batch.text();
}

// The staging copies carry no index; the per-card and per-row statements
// key into them by card number (and period) or by asset id. An index that
// is already there (a repeated run) is left as it is.
const char *const kStagingIndexes[] = {
    "CREATE INDEX ix_AIS_FACard_Asset ON AIS_FACard (FAssetID)",
    "CREATE INDEX ix_AIS_FACard_Inter ON AIS_FACard (FZ8InterID)",
    "CREATE INDEX ix_AIS_FABal_Asset ON AIS_FABal (FAssetID, FPeriod)",
    "CREATE INDEX ix_AIS_FABal_Inter ON AIS_FABal (FZ8InterID, FPeriod)",
    "CREATE INDEX ix_AIS_FABalDept_Asset ON AIS_FABalDept (FAssetID, FPeriod)",
    "CREATE INDEX ix_AIS_FABalExpense_Asset ON AIS_FABalExpense (FAssetID, FPeriod)",
    "CREATE INDEX ix_AIS_FABalFor_Asset ON AIS_FABalFor (FAssetID, FPeriod)",
    "CREATE INDEX ix_AIS_FAVch_Asset ON AIS_FAVch (FAssetID, FPeriod)",
    "CREATE INDEX ix_AIS_FAVchDept_Asset ON AIS_FAVchDept (FAssetID)",
    "CREATE INDEX ix_AIS_FAVchExpense_Asset ON AIS_FAVchExpense (FAssetID)",
    "CREATE INDEX ix_AIS_FAVchFor_Asset ON AIS_FAVchFor (FAssetID)",
    "CREATE INDEX ix_AIS_FAExtra_Asset ON AIS_FAExtra (FAssetID)",
    "CREATE INDEX ix_AIS_FAJob_Inter ON AIS_FAJob (FZ8InterID, FPeriod)",
    "CREATE INDEX ix_AIS_GLAcct_Code ON AIS_GLAcct (FAcctID)",
    "CREATE INDEX ix_AIS_GLVch_Voucher ON AIS_GLVch (FPeriod, FGroup, FNum)",
};

}  // namespace

void clsEboFa::IndexStagingCopies(StepKit &kit, bool fixedAssetTablesOnly) {
    // The data check made some already before an upgrade.
    for (const char *sql : kStagingIndexes) {
        if (fixedAssetTablesOnly && !QString::fromLatin1(sql).contains(QLatin1String(" ON AIS_FA"))) continue;
        kit.indexStagedCopy(QString::fromLatin1(sql));
    }
}

bool clsEboFa::RemoveFutureCards(StepKit &kit) {
    auto cards = kit.query(QStringLiteral("SELECT FAssetID FROM AIS_FACard WHERE ") + FaAfterCurrentPeriod(kit));
    if (!cards) return false;
    QStringList ids;
    for (; !cards->Eof(); cards->MoveNext()) ids << cards->value(QStringLiteral("FAssetID")).toString();
    cards->Close();
    for (const QString &id : ids) {
        FaBatch batch;
        for (const char *table : kCardTables)
            batch << SqlText("DELETE FROM {table} WHERE FAssetID = {id}")
                         .raw("table", QString::fromLatin1(table))
                         .text("id", id)
                         .str();
        QString ignored;
        kit.execute(batch.text(), ignored);
    }
    return true;
}

int clsEboFa::UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    StepKit kit(PoBar, LblObject, SQLConnectString);
    FaRun run{kit, QString()};
    QString raised;
    bool failed = false;
    try {
        if (NoFixedAssetTables(kit)) {
            WriteUpgradeLog(kProject, QStringLiteral("源帐套没有固定资产数据表，跳过固定资产升级。"), QString(), 1);
            return 0;
        }
        // Without the list of cards after the current period no card can be
        // told apart: the step ends as done, and says why.
        if (!RemoveFutureCards(kit)) {
            WriteUpgradeLog(kProject,
                            QStringLiteral("无法读取入账时间大于当前期间的固定资产卡片，本次升级未处理固定资产。"),
                            QString(), 1);
            return 0;
        }
        IndexStagingCopies(kit);
        // A phase runs after its caption; anything but done is a failure.
        auto phase = [&](const QString &caption, const std::function<bool()> &body) {
            if (failed) return;
            if (!caption.isEmpty()) kit.caption(caption);
            failed = !body();
        };
        QString ignored;
        phase(QStringLiteral("正在升级固定资产-基础资料..."), [&] { return UpgradeFABaseData(run) != FaFailed; });
        phase(QStringLiteral("正在升级固定资产-初始化数据..."), [&] { return UpgradeFAInitCards(run) != FaFailed; });
        if (FaOption() == 0) {
            phase(QStringLiteral("正在升级固定资产-变动数据..."), [&] { return UpgradeFAAlterData(run) != FaFailed; });
            if (!failed) kit.execute(keysBatchAllData(), ignored);
            phase(QStringLiteral("正在调整已折旧期间数..."), [&] { return AdjustFADeprPeriods(run); });
            phase(QString(), [&] { return ReportFACards(run) != FaFailed; });
        } else {
            if (!failed) kit.execute(keysBatchBalancesOnly(), ignored);
            phase(QStringLiteral("正在升级固定资产-余额数据..."),
                  [&] { return UpgradeFABalanceData(run) != FaFailed; });
            phase(QString(), [&] { return UpdateFAAllocation(run); });
            phase(QStringLiteral("正在调整已折旧期间数..."), [&] { return AdjustFADeprPeriods(run); });
            phase(QString(), [&] { return ReportFACards(run) != FaFailed; });
        }
    } catch (const std::exception &e) {
        failed = true;
        raised = ErrorDescription(e);
    }
    if (!failed) return 0;
    if (g_CancelRequested) return 0;
    const QString text = run.errorText.isEmpty() ? raised : run.errorText;
    WriteUpgradeLog(kProject, text, QString(), 2);
    ShowMessage(text, 16, kMessageTitle);
    return 2;
}
