// Third to fifth cashier phases: the bank account numbers asked of the
// operator, and the journal and statement opening balances.
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"
#include "platform/ado/Connection.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/payroll_cashier/CashierBankAccountAsker.h"
#include "upgrade/payroll_cashier/CashierSql.h"
#include "upgrade/payroll_cashier/clsCn.h"

namespace {

const QString kBankAccounts = QStringLiteral("select FKMID,FKMdm,FKMmc,FBBID,FBB from cn_Account  where Fiscash=0");

ado::Recordset bankAccounts(ado::Connection &own) {
    ado::Recordset rs;
    rs.Open(kBankAccounts, own);
    return rs;
}

// The opening balance of every cashier account from a balance table's row
// of its code (without points) and currency at the table's lowest period.
QString openingBalance(const QString &table, const QString &assignments) {
    return QStringLiteral("UPDATE a SET ") + assignments +
           QStringLiteral("\r\nFROM cn_Account a INNER JOIN t_Currency c ON c.FCurrencyID = a.FBbID\r\n"
                          "INNER JOIN ") +
           table +
           QStringLiteral(" b ON b.FAcctID = replace(a.FKmdm,'.','') AND b.FCyID = c.FNumber\r\n"
                          "WHERE b.FPeriod = (select min(FPeriod) from ") +
           table + QStringLiteral(")\r\n");
}

}  // namespace

int clsCn::UpgradeCnBankAccounts(StepKit &kit, QString &strErr) {
    (void)strErr;
    try {
        ado::Connection own;
        own.CursorLocation = ado::adUseClient;
        own.Open(kit.connectString());
        PnwList answer;
        {
            ado::Recordset rs = bankAccounts(own);
            if (rs.RecordCount() >= 1) {
                CashierBankAccountAnswer asked = CashierBankAccountAsk()(rs);
                if (!asked.ResultOK) {
                    WriteUpgradeLog(QStringLiteral("银行账户设置"),
                                    QStringLiteral("必须为每个银行都指定对应的账户，您选择了关闭操作导致升级失败！"),
                                    QString(), 2);
                    return 2;
                }
                answer = asked.returndata;
            }
        }
        int count = 0;
        ado::Recordset rs = bankAccounts(own);
        if (rs.RecordCount() > 0) {
            for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
                const QVariant accountId = rs.value(QStringLiteral("FKMID"));
                const QString currency = rs.value(QStringLiteral("FBB")).toString().trimmed();
                for (int i = 1; i <= answer.Count(); ++i) {
                    const PnwDictionary record = answer.DictionaryItem(i);
                    if (record.Item(QStringLiteral("FKMID")).toString().trimmed() != accountId.toString().trimmed() ||
                        record.Item(QStringLiteral("FBB")).toString().trimmed() != currency)
                        continue;
                    // The number and the currency name are stored as typed,
                    // whatever quotes they hold.
                    own.Execute(
                        SqlText("update cn_Account set FYHZH = {number} where FKMID = {account} and FBB = "
                                "{currency}")
                            .arg(QStringLiteral("number"), record.Item(QStringLiteral("FYHZH")).toString())
                            .arg(QStringLiteral("account"), accountId.toInt())
                            .arg(QStringLiteral("currency"), record.Item(QStringLiteral("FBB")).toString().trimmed())
                            .str());
                    ++count;
                }
            }
        }
        rs.Close();
        own.Close();
        WriteUpgradeLog(QStringLiteral("出纳管理银行账号升级"),
                        QStringLiteral("升级银行账号成功数目：") + QString::number(count), QString(), 0);
        return 0;
    } catch (const std::exception &e) {
        NoteRaised(e);
        return 2;
    }
}

int clsCn::UpgradeCnJournalBalance(StepKit &kit, QString &strErr) {
    const QString sql = openingBalance(QStringLiteral("AIS_TRBankJnlBal"),
                                       QStringLiteral("a.FYe = b.FBegBal, a.FYeB = ") +
                                           JournalBaseOpening(QStringLiteral("b"), QStringLiteral("c")));
    if (!Run(kit, sql, QStringLiteral("升级【出纳管理升级日记账（包含现金和银行）】的时候出错："), strErr)) return 2;
    ReportUnconvertible(
        kit,
        QStringLiteral("SELECT a.FID, NULL, a.FKmdm, c.FName FROM cn_Account a INNER JOIN t_Currency c ON "
                       "c.FCurrencyID = a.FBbID WHERE c.FOperator = '/' AND ISNULL(c.FExchangeRate, 0) "
                       "= 0 ORDER BY a.FID"),
        QStringLiteral("出纳科目"));
    return 0;
}

int clsCn::UpgradeCnStatementBalance(StepKit &kit, QString &strErr) {
    // Statement balances start at their own table's lowest period.
    const QString sql = openingBalance(QStringLiteral("AIS_TRBankChkBal"), QStringLiteral("a.FYhdzdYe = b.FBegBal"));
    return Run(kit, sql, QStringLiteral("升级【出纳管理升级对账单（包含银行）】的时候出错："), strErr) ? 0 : 2;
}
