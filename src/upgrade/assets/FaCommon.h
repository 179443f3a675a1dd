// Small pieces every fixed-asset phase uses: the run's option, the current
// period's end, the per-row progress and the cancel test, and the batch
// builder whose lines end with CR LF.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>
#include <QVariant>

class StepKit;
struct FaRun;

// "Option" of the settings record: 0 all data, anything else balances only.
int FaOption();

// The first day after the source's current period, read from the staged
// period table (or the target's period dates), so a source with thirteen
// periods or periods that are not calendar months is judged by its own
// calendar. Null when neither table knows the period.
QVariant FaDayAfterCurrentPeriod(StepKit &kit);
// The condition on a card's FServiceDate for a card in service after the
// current period: on or after that day, or, when no period table knows the
// period, in a calendar month after the current period taken as a month of
// the current year.
QString FaAfterCurrentPeriod(StepKit &kit);

// The status label shows caption + "i / n)" and the bar base + span * i / n
// rounded half to even; pending events run.
void FaRowProgress(StepKit &kit, const QString &caption, int row, int count, int base, int span);
// The bar at value, pending events run, then the cancel flag.
bool FaProgressThenCancelled(StepKit &kit, int value);

// Sends one batch; on failure the run's error text becomes prefix + the
// server's error and the result is false.
bool FaExecute(FaRun &run, const QString &batch, const QString &prefix);
// A count query's first value, or Null when the query fails (no count
// entry then).
QVariant FaCount(StepKit &kit, const QString &sql);

// A row step: reads its rows (a failing or empty query does nothing), sends
// one batch per row, then moves caption and bar (base + span * i / n) and
// tests the cancel flag. 2 on a failing batch (error text = prefix + the
// server's error) or a cancel, else 0.
namespace ado {
class Recordset;
}
int FaRowStep(FaRun &run, const QString &query, const std::function<QString(const ado::Recordset &)> &batch,
              const QString &prefix, const QString &caption, int base, int span);

// The expense rows of a card state from the staged expense rows of one
// card number and period, as the original cards have them: a row with an
// item names the item as its department and takes the item's single-item
// combination; a row without item names the period's first department when
// it is the card's only row (rate its own share), else none. The arguments
// are the batch's variables (or literals) of the alteration, the card
// number, the period and the count of the period's expense rows. Columns:
// FAlterID, FAcctID, FDetailID, FRate, FDeptID.
QString FaCardExpenseRows(const QString &alterId, const QString &number, const QString &period,
                          const QString &count);

// Alteration rows whose card the source does not hold are left out by both
// options; one warning names their cards.
void FaReportAlterationsWithoutCard(StepKit &kit);

// A batch built line by line; every line ends with CR LF.
class FaBatch {
public:
    FaBatch &operator<<(const QString &line) {
        m_text += line;
        m_text += QStringLiteral("\r\n");
        return *this;
    }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};
