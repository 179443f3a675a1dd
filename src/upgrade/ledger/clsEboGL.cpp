#include "upgrade/ledger/clsEboGL.h"

#include <QVariant>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/ledger/LedgerSql.h"

namespace {

// The work tables a run may leave behind when it stops early.
const char *const kDropMultItem = " IF EXISTS(SELECT [NAME] FROM SysObjects WHERE [NAME] = 'Tmp_Mult_Item' AND "
                                  "[TYPE] = 'U') \r\n DROP TABLE Tmp_Mult_Item ";

void dropWorkTables(StepKit &kit) {
    QString ignored;
    kit.execute(QString::fromUtf8(kDropMultItem), ignored);
    kit.execute(ledger::dropIfExists(QStringLiteral("AIS_TempMultiItemAmtBal")), ignored);
}

}  // namespace

bool clsEboGL::ReadBalanceOnly() {
    if (g_UpgradeSettings.Count() < 1) return false;
    const QVariant item = g_UpgradeSettings.Item(1);
    if (!item.canConvert<PnwDictionary>()) return false;
    bool ok = false;
    const double option = item.value<PnwDictionary>().Item(QStringLiteral("Option")).toDouble(&ok);
    return ok && option == 1;
}

int clsEboGL::CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    (void)PoBar, (void)LblObject;
    StepKit kit(nullptr, nullptr, SQLConnectString);
    BalanceOnly = ReadBalanceOnly();
    bool warned = false;
    int state = CheckAccountPeriod(kit, warned) ? 0 : 2;
    if (state == 0 && !CheckQtyAccountPeriod(kit, warned)) state = 2;
    if (state == 0 && !CheckGLTrans(kit, warned)) state = 2;
    if (state == 0 && !CheckRateAdjust(kit, warned)) state = 2;
    if (!BalanceOnly) {
        // Reloaded whatever the state: only a start value of 0 asks for it.
        if (g_StdVoucherGroupID == 0) ledger::loadStandardVoucherGroup(kit);
        if (state == 0 && !CheckVoucherTemplateGroup(kit, warned)) state = 2;
        if (state == 0 && !CheckAutoTransferGroup(kit, warned)) state = 2;
        if (state == 0 && !CheckVoucherGroup(kit, warned)) state = 2;
    }
    if (state == 2) return 2;
    return warned ? 1 : 0;
}

int clsEboGL::UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    StepKit kit(PoBar, LblObject, SQLConnectString);
    try {
        kit.caption(QStringLiteral("开始升级账务资料..."));
        kit.progress(5);
        BalanceOnly = ReadBalanceOnly();

        // Every phase of the mode shows its caption, also when an earlier
        // failure skips it; only a phase that ran moves the bar.
        struct Phase {
            const char *caption;
            int progress;
            bool inBalanceOnly;
            int (clsEboGL::*run)(StepKit &);
        };
        static const Phase phases[] = {
            {"升级模式凭证...", 5, false, &clsEboGL::UpgradeVoucherTemplate},
            {"升级自动转账凭证...", 10, false, &clsEboGL::UpgradeAutoTransfer},
            {"升级凭证...", 20, true, &clsEboGL::UpgradeVoucher},
            {"升级科目余额表...", 25, true, &clsEboGL::UpgradeGLBalance},
            {"升级损益类科目实际发生额...", 50, false, &clsEboGL::UpgradeProfitAndLoss},
            {"升级期末调汇记录...", 80, false, &clsEboGL::UpgradeExRateAdjustment},
            {"升级往来业务...", 100, false, &clsEboGL::UpgradeTransaction},
        };
        for (const Phase &phase : phases) {
            if (BalanceOnly && !phase.inBalanceOnly) continue;
            const QString caption = QString::fromUtf8(phase.caption);
            kit.caption(caption);
            kit.runPhase(
                QString(), phase.progress, [&] { return (this->*phase.run)(kit); }, GetStepName(4));
        }
        dropWorkTables(kit);
        kit.caption(QString());
        kit.progress(100);
        return kit.result();
    } catch (const std::exception &e) {
        // A failure of the driver itself is told and leaves no work table.
        WriteUpgradeLog(GetStepName(4), QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        dropWorkTables(kit);
        kit.caption(QString());
        return 2;
    }
}

int clsEboGL::GetVoucherPeriod(int year, int period, int currentYear, int periodsPerYear) {
    const int yearsAhead = year - currentYear;
    if (yearsAhead <= 0) return period;
    return period - yearsAhead * periodsPerYear;
}
