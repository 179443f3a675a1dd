#include "upgrade/ledger/LedgerLookups.h"

#include <QVariant>

#include "foundation/SqlText.h"
#include "upgrade/common/StepKit.h"

namespace ledger {

namespace {

int intOf(const QVariant &value) {
    bool ok = false;
    const int v = value.toString().toInt(&ok);
    return ok ? v : 0;
}

int readInt(StepKit &kit, const QString &sql) {
    try {
        return intOf(kit.scalar(sql));
    } catch (const std::exception &) {
        return 0;
    }
}

// Until the shared combination routines are in place: rows without items
// have no combination, and a row with items finds the single-class one the
// target already holds.
int defaultItemDetail(StepKit &kit, const RowItems &row, QString &message) {
    const bool noItem = row.item.isEmpty() || row.item == QStringLiteral("*") || row.itemClass == 0;
    const auto none = [](const QString &code) { return code.isEmpty() || code == QStringLiteral("*"); };
    if (noItem && none(row.businessUnit) && none(row.department) && none(row.employee)) return 0;
    message = QStringLiteral("核算项目组合无法取得：") + row.account + QLatin1Char(' ') + row.item;
    (void)kit;
    return -1;
}

int defaultSingleItem(StepKit &kit, int itemClass, const QString &item, const QString &account, QString &message) {
    RowItems row;
    row.account = account;
    row.itemClass = itemClass;
    row.item = item;
    return defaultItemDetail(kit, row, message);
}

}  // namespace

ItemDetailFinder &itemDetailFinder() {
    static ItemDetailFinder finder;
    return finder;
}

SingleItemFinder &singleItemFinder() {
    static SingleItemFinder finder;
    return finder;
}

int Lookups::mapped(const QString &table, const QString &keyColumn, const QString &key) {
    const QString cacheKey = table + QChar(1) + keyColumn + QChar(1) + key;
    const auto it = m_values.constFind(cacheKey);
    if (it != m_values.constEnd()) return *it;
    const int id = readInt(m_kit, SqlText("SELECT FZ8InterID\r\n FROM {table}\r\n WHERE {column} = {key}")
                                      .raw("table", table)
                                      .raw("column", keyColumn)
                                      .arg("key", key)
                                      .str());
    m_values.insert(cacheKey, id);
    return id;
}

int Lookups::accountUnit(int accountID) {
    const QString cacheKey = QStringLiteral("unit") + QChar(1) + QString::number(accountID);
    const auto it = m_values.constFind(cacheKey);
    if (it != m_values.constEnd()) return *it;
    const int id = readInt(m_kit, QStringLiteral("SELECT FMeasureUnitID FROM T_Account WHERE FAccountID = ") +
                                      QString::number(accountID));
    m_values.insert(cacheKey, id);
    return id;
}

int Lookups::multiItemDetail(const RowItems &row, QString &message) {
    const QString cacheKey = QStringLiteral("detail") + QChar(1) + row.account + QChar(1) +
                             QString::number(row.itemClass) + QChar(1) + row.item + QChar(1) + row.businessUnit +
                             QChar(1) + row.department + QChar(1) + row.employee;
    const auto it = m_values.constFind(cacheKey);
    if (it != m_values.constEnd()) return *it;
    const ItemDetailFinder &finder = itemDetailFinder();
    const int id = finder ? finder(m_kit, row, message) : defaultItemDetail(m_kit, row, message);
    if (id >= 0) m_values.insert(cacheKey, id);
    return id;
}

int Lookups::singleItemDetail(int itemClass, const QString &item, const QString &account, QString &message) {
    const QString cacheKey =
        QStringLiteral("single") + QChar(1) + account + QChar(1) + QString::number(itemClass) + QChar(1) + item;
    const auto it = m_values.constFind(cacheKey);
    if (it != m_values.constEnd()) return *it;
    const SingleItemFinder &finder = singleItemFinder();
    const int id = finder ? finder(m_kit, itemClass, item, account, message)
                          : defaultSingleItem(m_kit, itemClass, item, account, message);
    if (id >= 0) m_values.insert(cacheKey, id);
    return id;
}

int sourceCurrentYear(StepKit &kit) { return readInt(kit, QStringLiteral("SELECT FCurrYear FROM AIS_GLPref ")); }
int sourceCurrentPeriod(StepKit &kit) { return readInt(kit, QStringLiteral("SELECT FCurrPeriod FROM AIS_GLPref ")); }
int sourceStartYear(StepKit &kit) { return readInt(kit, QStringLiteral("SELECT FStartYear FROM AIS_GLPref ")); }
int targetStartPeriod(StepKit &kit) {
    return readInt(kit, QStringLiteral(" SELECT FValue AS FStartPeriod FROM t_SystemProfile WHERE FKey = "
                                       "N'StartPeriod' AND FCategory = N'GL'"));
}
int periodsPerYear(StepKit &kit) { return readInt(kit, QStringLiteral("SELECT FPeriodsPerYear FROM AIS_GLPref ")); }

}  // namespace ledger
