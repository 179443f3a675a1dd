// The payroll step's own log entries beyond its two findings: a phase that
// failed, and the rows a phase had to leave out. Both go under the module's
// name so the report shows them with the step.
#pragma once

#include <exception>

#include <QList>
#include <QString>
#include <QStringList>

// Project of the step's failure entries.
QString PayrollProject();

// Status 2: "升级【工资管理-<data>】时出错：" the error's text, and on a new
// line the statement that failed when there is one.
void LogPayrollFailure(const QString &data, const std::exception &error, const QString &statement);

// Rows a phase left out, gathered for one entry with a detail table.
class PayrollLeftOut {
public:
    // captions: the detail table's column captions; title: its name part.
    PayrollLeftOut(QString title, QStringList captions);
    void add(const QStringList &cells);
    bool isEmpty() const { return m_rows.isEmpty(); }
    int count() const { return static_cast<int>(m_rows.size()); }
    // Status 2 entry: description followed by the count, with the rows as
    // the detail table. Nothing when no row was added.
    void log(const QString &description) const;

private:
    QString m_title;
    QStringList m_captions;
    QList<QStringList> m_rows;
};
