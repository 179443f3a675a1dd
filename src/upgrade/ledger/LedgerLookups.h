// The lookups the general-ledger phases make per row, each read once per
// key for one run of a phase (the mappings do not change while a phase
// runs), and the seam through which a row's item-detail combination is
// found. UI thread only.
#pragma once

#include <functional>

#include <QHash>
#include <QString>

class StepKit;

namespace ledger {

// The items of one source row, as the combination routines take them.
struct RowItems {
    QString account;  // source account code
    int itemClass = 0;
    QString item;
    QString businessUnit;
    QString department;
    QString employee;
};

// Finds or makes the FDetailID of a row's combination; -1 with message set
// when it cannot.
using ItemDetailFinder = std::function<int(StepKit &kit, const RowItems &row, QString &message)>;
// The finder the phases use (tests may replace it; an empty function
// restores the default).
ItemDetailFinder &itemDetailFinder();
// The combination of one item of one class, as the rate and profit phases
// ask for it; -1 with message set when it cannot.
using SingleItemFinder =
    std::function<int(StepKit &kit, int itemClass, const QString &item, const QString &account, QString &message)>;
SingleItemFinder &singleItemFinder();

class Lookups {
public:
    explicit Lookups(StepKit &kit) : m_kit(kit) {}

    // FZ8InterID of the staged row whose keyColumn is key; 0 when there is
    // none or it is not converted.
    int mapped(const QString &table, const QString &keyColumn, const QString &key);
    // The default measure unit of a target account; 0 for none.
    int accountUnit(int accountID);
    // The combination of a row's items (itemDetailFinder, once per set of
    // items); -1 with message when it cannot be found or made.
    int multiItemDetail(const RowItems &row, QString &message);
    int singleItemDetail(int itemClass, const QString &item, const QString &account, QString &message);

private:
    StepKit &m_kit;
    QHash<QString, int> m_values;
};

// The source's current year and period and its start year (0 for none).
int sourceCurrentYear(StepKit &kit);
int sourceCurrentPeriod(StepKit &kit);
int sourceStartYear(StepKit &kit);
// The target's general-ledger start period (0 for none).
int targetStartPeriod(StepKit &kit);
// Periods per year of the source (set by the options phase).
int periodsPerYear();

}  // namespace ledger
