#include "upgrade/ledger/LedgerLookups.h"

#include <QVariant>

#include "upgrade/common/AccountLookups.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/ItemDetail.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/common/UpgradeGlobals.h"

namespace ledger {

namespace {

int intOf(const QVariant &value) {
    bool ok = false;
    const int v = value.toString().toInt(&ok);
    return ok ? v : 0;
}

int defaultItemDetail(StepKit &kit, const RowItems &row, QString &message) {
    return HookMultiItemDetail(kit.data(), kit.connectString(), row.account, row.itemClass, row.item, row.businessUnit,
                               row.department, row.employee, message);
}

int defaultSingleItem(StepKit &kit, int itemClass, const QString &item, const QString &account, QString &message) {
    return HookSingleItemDetail(kit.data(), kit.connectString(), itemClass, item, account, message);
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
    const int id = intOf(GetZ8InterIDByName(m_kit.data(), m_kit.connectString(), table, keyColumn, key, false));
    m_values.insert(cacheKey, id);
    return id;
}

int Lookups::accountUnit(int accountID) {
    const QString cacheKey = QStringLiteral("unit") + QChar(1) + QString::number(accountID);
    const auto it = m_values.constFind(cacheKey);
    if (it != m_values.constEnd()) return *it;
    const int id = GetAccountDefaultUnit(m_kit.data(), m_kit.connectString(), accountID);
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

int sourceCurrentYear(StepKit &kit) { return GetCurrentYear(kit.data(), kit.connectString(), 2); }
int sourceCurrentPeriod(StepKit &kit) { return GetCurrentPeriod(kit.data(), kit.connectString(), 2); }
int sourceStartYear(StepKit &kit) { return GetStartYear(kit.data(), kit.connectString(), 2); }
int targetStartPeriod(StepKit &kit) { return GetStartPeriod(kit.data(), kit.connectString(), 1); }
int periodsPerYear() { return g_PeriodsPerYear; }

}  // namespace ledger
