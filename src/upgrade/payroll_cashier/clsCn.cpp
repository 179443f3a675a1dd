// The cashier step's driver and its data check.
#include "upgrade/payroll_cashier/clsCn.h"

#include <QDate>

#include "foundation/Progress.h"
#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/payroll_cashier/CashierSettings.h"

namespace {

const QString kProject = QStringLiteral("出纳管理");
const QString kCheckProject = QStringLiteral("出纳管理检测");

struct CheckedTable {
    const char *table;
    const char *finding;
};

// Bank statement first, then the two journals.
const CheckedTable kCheckedTables[] = {
    {"AIS_TRBankChkNote",
     "检测出纳管理当期有银行对账单表记录，不能升级。选择只升级余额的方式当期不允许有银行对账单表记录"},
    {"AIS_TRBankJnl",
     "检测出纳管理当期有银行存款日记账记录，不能升级。选择只升级余额的方式当期不允许有银行存款日记账记录"},
    {"AIS_TRCashJnl", "检测出纳管理当期有现金日记账记录，不能升级。选择只升级余额的方式当期不允许有现金日记账记录"},
};

// "the sum of the column-wise maxima of the absolute values" of a table.
QString measureQuery(const QString &table, const QStringList &columns) {
    QStringList terms;
    for (const QString &column : columns) terms << QStringLiteral("ISNULL(MAX(ABS(") + column + QStringLiteral(")),0)");
    return QStringLiteral("select ") + terms.join(QStringLiteral("+")) + QStringLiteral(" as MAXData from ") + table;
}

// The staged cashier tables; a source that has none of them (an edition
// or a set made without the cashier) has no cashier to convert.
const char *const kCashierTables[] = {"AIS_TRCashJnl",     "AIS_TRBankJnl",    "AIS_TRBankChkNote",
                                      "AIS_TRBankAccount", "AIS_TRBankJnlBal", "AIS_TRBankChkBal"};

bool noCashierTables(StepKit &kit) {
    QStringList names;
    for (const char *table : kCashierTables)
        names << QLatin1Char('\'') + QString::fromLatin1(table) + QLatin1Char('\'');
    return kit.scalar(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name IN (") + names.join(QLatin1Char(',')) +
                      QLatin1Char(')'))
               .toInt() == 0;
}

bool tableExists(StepKit &kit, const QString &table) {
    return !kit.scalar(QStringLiteral("SELECT OBJECT_ID(N'") + table + QStringLiteral("')")).isNull();
}

}  // namespace

int clsCn::CheckData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    StepKit kit(PoBar, LblObject, SQLConnectString);
    if (!CashierBalancesOnly()) return 0;
    for (const CheckedTable &checked : kCheckedTables) {
        const QString table = QString::fromLatin1(checked.table);
        const QString sql = QStringLiteral("select * from ") + table + QStringLiteral(" where Year(FDate)=") +
                            QString::number(g_SourceCurrYear) + QStringLiteral(" and Fperiod=") +
                            QString::number(g_SourceCurrPeriod);
        QString error;
        bool found = false;
        if (kit.execute(sql, error)) {
            auto rs = kit.query(sql);
            found = rs && rs->RecordCount() >= 1;
        } else if (tableExists(kit, table)) {
            // A table that is there but cannot be read is told as such, not
            // as rows of the current period.
            WriteUpgradeLog(kCheckProject,
                            QStringLiteral("检测出纳管理表") + table + QStringLiteral("时出错：") + error, QString(),
                            2);
            return 2;
        }
        // A staged table that is missing holds no rows of the current period.
        if (found) {
            WriteUpgradeLog(kCheckProject, QString::fromUtf8(checked.finding), QString(), 2);
            return 2;
        }
        LetEventsRun();
        if (g_CancelRequested) return 2;
    }
    return 0;
}

bool clsCn::CashierInUse(StepKit &kit) {
    const QString closedAfterStartMonth = QStringLiteral(
        "declare @StartDate datetime\r\n"
        "declare @EndDate datetime\r\n"
        "select @StartDate = convert(datetime, cast(FStartYear as varchar(10)) + '-' + cast(FStartPeriod as "
        "varchar(10)) + '-01') from AIS_GLPref\r\n"
        "set @EndDate = dateadd(month, datediff(month, '19991231', @StartDate), '19991231')\r\n"
        "select case when FTRClosedDate >= @EndDate then 1 else 0 end as returndata from AIS_GLPref\r\n");
    if (kit.scalar(closedAfterStartMonth).toDouble() > 0) return true;
    if (auto rs = kit.query(QStringLiteral("select * from AIS_TRBankAccount")); rs && rs->RecordCount() > 0)
        return true;
    const QStringList journalColumns = {QStringLiteral("FBalance"), QStringLiteral("FBalanceBase"),
                                        QStringLiteral("FCredit"),  QStringLiteral("FCreditBase"),
                                        QStringLiteral("FDebit"),   QStringLiteral("FDebitBase")};
    const QList<QPair<QString, QStringList>> measures = {
        {QStringLiteral("AIS_TRBankJnlBal"),
         {QStringLiteral("FBegBal"), QStringLiteral("FBegBalBase"), QStringLiteral("FCredit"),
          QStringLiteral("FCreditBase"), QStringLiteral("FDebit"), QStringLiteral("FDebitBase"),
          QStringLiteral("FEndBal"), QStringLiteral("FEndBalBase"), QStringLiteral("FYtdCredit"),
          QStringLiteral("FYtdCreditBase"), QStringLiteral("FYtdDebit"), QStringLiteral("FYtdDebitBase")}},
        {QStringLiteral("AIS_TRBankJnl"), journalColumns},
        {QStringLiteral("AIS_TRCashJnl"), journalColumns},
        {QStringLiteral("AIS_TRBankChkBal"),
         {QStringLiteral("FBegBal"), QStringLiteral("FCredit"), QStringLiteral("FDebit"), QStringLiteral("FEndBal"),
          QStringLiteral("FYtdCredit"), QStringLiteral("FYtdDebit")}},
    };
    for (const auto &[table, columns] : measures)
        if (kit.scalar(measureQuery(table, columns)).toDouble() > 0) return true;
    return false;
}

int clsCn::UpgradeData(ProgressBar *PoBar, QLabel *LblObject, QString SQLConnectString) {
    StepKit kit(PoBar, LblObject, SQLConnectString);
    QString strErr;
    int status = 0;
    try {
        kit.caption(QStringLiteral("正在升级出纳管理..."));
        kit.progress(0);
        if (noCashierTables(kit)) {
            WriteUpgradeLog(kProject, QStringLiteral("源帐套没有出纳管理数据表，跳过出纳管理升级。"), QString(), 1);
            return 0;
        }
        if (!CashierInUse(kit)) {
            strErr = QStringLiteral("未启用出纳管理模块，不升级出纳管理");
            WriteUpgradeLog(kProject, strErr, QString(), 1);
            return 0;
        }
        struct Phase {
            const char *caption;
            int (clsCn::*run)(StepKit &, QString &);
            int progressAfter;  // -1: none
        };
        const Phase phases[] = {
            {"正在升级出纳管理 - 更新出纳系统信息 ...", &clsCn::UpgradeCnProfile, 10},
            {"正在升级出纳管理 - 现金 ...", &clsCn::UpgradeCnJournals, 20},
            {"正在升级出纳管理 - 银行存款 ...", &clsCn::UpgradeCnBankAccounts, 40},
            {"正在升级出纳管理 - 日记账 ...", &clsCn::UpgradeCnJournalBalance, 60},
            {"正在升级出纳管理 - 银行对账单 ...", &clsCn::UpgradeCnStatementBalance, 80},
            {"正在升级出纳管理 - 更新合计金额 ...", &clsCn::UpgradeCnTotals, -1},
        };
        for (const Phase &phase : phases) {
            kit.caption(QString::fromUtf8(phase.caption));
            status = (this->*phase.run)(kit, strErr);
            if (status == 2) break;
            if (phase.progressAfter >= 0) kit.progress(phase.progressAfter);
        }
        if (status != 2) {
            if (CashierBalancesOnly()) {
                kit.caption(QStringLiteral("正在升级出纳管理--更新出纳系统余额信息"));
                status = UpdateCNInfo(kit, strErr);
            }
            if (status != 2) kit.progress(100);
        }
    } catch (const std::exception &e) {
        m_lastRaised = ErrorDescription(e);
        strErr.clear();
        status = 2;
    }
    if (status == 2) {
        QString description = strErr.isEmpty() ? m_lastRaised : strErr;
        if (description.isEmpty()) description = QStringLiteral("升级出纳管理没有完成。");
        WriteUpgradeLog(kProject, description, QString(), 2);
        return 2;
    }
    return m_warned ? 1 : 0;
}

bool clsCn::Run(StepKit &kit, const QString &sql, const QString &message, QString &strErr) {
    QString error;
    if (kit.execute(sql, error)) return true;
    m_lastRaised = error;
    // The statement as the message names it, then the server's reason.
    strErr = message + sql + QStringLiteral("\r\n") + error;
    return false;
}

void clsCn::NoteRaised(const std::exception &e) { m_lastRaised = ErrorDescription(e); }

bool clsCn::ReportUnconvertible(StepKit &kit, const QString &sql, const QString &what) {
    return ReportRows(kit, sql, what + QStringLiteral("汇率为零"), QStringLiteral("FID"),
                      what + QStringLiteral("有%1行的汇率为零或为空，这些行的本位币金额没有按汇率折算。"));
}

bool clsCn::ReportRows(StepKit &kit, const QString &sql, const QString &title, const QString &firstCaption,
                       const QString &finding) {
    auto rs = kit.query(sql);
    if (!rs || rs->RecordCount() == 0) return true;
    clsDetailLogInfo detail;
    detail.setTitle(title);
    detail.InsertCaption(firstCaption);
    for (const char *caption : {"日期", "摘要", "币别"}) detail.InsertCaption(QString::fromUtf8(caption));
    const int count = rs->RecordCount();
    for (; !rs->Eof(); rs->MoveNext()) {
        PnwList row;
        AddValueCell(row, rs->Fields(0).Value.toString());
        const QVariant date = rs->Fields(1).Value;
        AddValueCell(row, date.isNull() ? QString() : date.toDate().toString(QStringLiteral("yyyy-MM-dd")));
        AddValueCell(row, rs->Fields(2).Value.toString());
        AddValueCell(row, rs->Fields(3).Value.toString());
        detail.InsertSingleEntry(row);
    }
    WriteUpgradeLog(kProject, finding.arg(count), QString(), 1, detail.PackDetailLog());
    m_warned = true;
    return false;
}
