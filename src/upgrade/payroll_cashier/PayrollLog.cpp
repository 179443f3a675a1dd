#include "upgrade/payroll_cashier/PayrollLog.h"

#include "foundation/ErrorText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwList.h"

QString PayrollProject() { return QStringLiteral("工资管理"); }

void LogPayrollFailure(const QString &data, const std::exception &error, const QString &statement) {
    QString description =
        QStringLiteral("升级【工资管理-") + data + QStringLiteral("】时出错：") + ErrorDescription(error);
    if (!statement.isEmpty()) description += QStringLiteral("\r\n") + statement;
    WriteUpgradeLog(PayrollProject(), description, QString(), 2);
}

PayrollLeftOut::PayrollLeftOut(QString title, QStringList captions)
    : m_title(std::move(title)), m_captions(std::move(captions)) {}

void PayrollLeftOut::add(const QStringList &cells) { m_rows.append(cells); }

void PayrollLeftOut::log(const QString &description) const {
    if (m_rows.isEmpty()) return;
    clsDetailLogInfo detail;
    detail.setTitle(m_title);
    for (const QString &caption : m_captions) detail.InsertCaption(caption);
    for (const QStringList &cells : m_rows) {
        PnwList row;
        for (int i = 0; i < m_captions.size(); ++i) AddValueCell(row, i < cells.size() ? cells.at(i) : QString());
        detail.InsertSingleEntry(row);
    }
    WriteUpgradeLog(PayrollProject(), description + QString::number(m_rows.size()), QString(), 2,
                    detail.PackDetailLog());
}
