// The base-data step's driver: the order of the checks and of the
// conversion phases, the fold of their results, captions and progress, and
// the driver's own two statements (the base-currency fix-up and the failure
// entry of the intelligent-closing defaults).
#include "upgrade/base/clsBaseSys.h"

#include <exception>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/common/UpgradeGlobals.h"

int clsBaseSys::CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    (void)PoBar, (void)LblObject;
    const QString cs = SQLConnectString.isEmpty() ? g_TargetConnectString : SQLConnectString;
    clsDataInfo dataInfo;
    // Natures answered in an earlier check run of this process are not
    // carried into this one.
    g_SubLedgerNatures = PnwDictionary();
    int state = 0;
    if (!CheckAccountPeriod(dataInfo, cs)) state = 2;
    if (state < 2 && !CheckUser(dataInfo, cs)) state = 1;
    if (state < 2) {
        // All three run whatever each gives: the length check fills the
        // account structure the upgrade reads.
        const bool trans = CheckTransAccounts(dataInfo, cs);
        const bool quotes = CheckAccountNameQuote(dataInfo, cs);
        const bool lengths = CheckGLAccountLength(dataInfo, cs);
        if (!(trans && quotes && lengths))
            state = 2;
        else if (!CheckSubledgerNature(dataInfo, cs))
            state = 2;
    }
    if (state < 2 && !CheckSubledger(dataInfo, cs)) state = 1;
    if (state < 2 && !CheckDepartment(dataInfo, cs)) state = 1;
    if (state < 2 && !CheckCustomizeItem(dataInfo, cs)) state = 1;
    return state;
}

int clsBaseSys::UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    StepKit kit(PoBar, LblObject, SQLConnectString);
    try {
        kit.caption(QStringLiteral("开始升级基础资料..."));
        kit.initProgress(100);
        clsDataInfo &d = kit.data();
        const QString cs = kit.connectString();

        int startYear = 0, yearBeginMonth = 0, yearBeginDay = 0, periodByMonth = 0, periodsPerYear = 0,
            daysPerPeriod = 0, currentPeriod = 0;
        QString baseCurrency;
        int currencyResult = 2;

        kit.runPhase(QStringLiteral("升级账套选项..."), 5, [&] {
            return UpgradeOptions(d, cs, startYear, yearBeginMonth, yearBeginDay, periodByMonth, periodsPerYear,
                                  daysPerPeriod, currentPeriod, baseCurrency);
        });
        kit.runPhase(QStringLiteral("升级会计期间.."), 10, [&] {
            return UpgradePeriods(startYear, periodsPerYear, periodByMonth, yearBeginMonth, yearBeginDay, daysPerPeriod,
                                  d, cs);
        });
        kit.runPhase(QStringLiteral("升级用户资料..."), 15, [&] { return UpgradeUsers(d, cs); });
        kit.runPhase(QStringLiteral("升级货币资料..."), 20, [&] {
            currencyResult = UpgradeCurrency(d, cs, currentPeriod, baseCurrency);
            return currencyResult;
        });

        // The base currency's code in GL/FBWB becomes its target identifier.
        if (!kit.failed() && currencyResult == 0) {
            const QString fixUp = QStringLiteral(
                "UPDATE t_SystemProfile SET FValue = T2.FCurrencyID FROM t_SystemProfile T1 INNER JOIN T_Currency T2 "
                "ON T1.FValue = T2.FNumber WHERE T1.FKey = N'FBWB' AND T1.FCategory = N'GL'");
            QString error;
            if (!d.ExecuteSQL(cs, fixUp, error)) {
                WriteUpgradeLog(QStringLiteral("更新系统参数-本位币ID"),
                                QStringLiteral("发生错误: ") + fixUp + QStringLiteral("\r\n") + error, QString(), 2);
                kit.fold(2);
            }
        }

        using Phase = int (clsBaseSys::*)(clsDataInfo &, const QString &);
        struct Row {
            const char *caption;
            int progress;
            Phase phase;
        };
        // The phases after the currencies, in order.
        const Row rows[] = {
            {"升级凭证字...", 22, &clsBaseSys::UpgradeVoucherGroups},
            {"升级常用摘要...", 25, &clsBaseSys::UpgradeVoucherExplanations},
            {"升级结算方式...", 28, &clsBaseSys::UpgradeSettlements},
            {"升级计量单位...", 30, &clsBaseSys::UpgradeMeteringUnit},
            {"升级职员类别...", 32, &clsBaseSys::UpgradeEmpGroups},
            {"升级职员职务...", 35, &clsBaseSys::UpgradeDuties},
            {"升级文化程度...", 38, &clsBaseSys::UpgradeDegrees},
            {"检查校正核算项目信息...", 40, &clsBaseSys::RepairItemFullPath},
            {"升级部门...", 42, &clsBaseSys::UpgradeDepartment},
            {"升级职员...", 45, &clsBaseSys::UpgradeEmployee},
            {"升级往来单位...", 50, &clsBaseSys::UpgradeBusinessUnits},
            {"升级自定义核算项目...", 60, &clsBaseSys::UpgradeCustomItems},
        };
        for (const Row &row : rows)
            kit.runPhase(QString::fromUtf8(row.caption), row.progress, [&] { return (this->*row.phase)(d, cs); });

        const bool withIntelTransfer = g_InstalledVersion >= QStringLiteral("14.1");
        kit.runPhase(QStringLiteral("升级会计科目..."), withIntelTransfer ? 95 : 100,
                     [&] { return UpgradeAccounts(d, cs, PoBar, LblObject); });

        if (withIntelTransfer) {
            kit.runPhase(QStringLiteral("设置智能结账默认参数..."), 100, [&] {
                QString errorText;
                if (SetIntelTransferDefaults(d, cs, PoBar, LblObject, errorText)) return 0;
                WriteUpgradeLog(QStringLiteral("智能结账参数"), errorText, QString(), 2);
                return 2;
            });
        }
        kit.caption(QString());
        kit.progress(100);
        return kit.result();
    } catch (const std::exception &e) {
        WriteUpgradeLog(QStringLiteral("基础资料"), QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        kit.caption(QString());
        return 2;
    }
}
