#include "upgrade/base/SubLedgerNatureAsker.h"

#include "platform/PnwDictionary.h"

namespace {

PnwList recordsOf(const QVariant &data) {
    if (data.canConvert<PnwList>() && data.userType() == qMetaTypeId<PnwList>()) return data.value<PnwList>();
    PnwList list;
    if (data.userType() == qMetaTypeId<PnwDictionary>()) list.Add(data.value<PnwDictionary>());
    return list;
}

}  // namespace

SubLedgerNatureAsker &SubLedgerNatureAskerHook() {
    static SubLedgerNatureAsker asker = AcceptPreselectedNatures;
    return asker;
}

bool AcceptPreselectedNatures(const QVariant &data, PnwList &answer) {
    answer = recordsOf(data);
    bool everyAccountMarked = true;
    for (int i = 1; i <= answer.Count(); ++i) {
        PnwDictionary record = answer.DictionaryItem(i);
        const QString name = record.Item(QStringLiteral("FAcctName")).toString();
        int customer = 0, supplier = 0;
        if (name.contains(QStringLiteral("应收")) || name.contains(QStringLiteral("预收"))) customer = 1;
        // Ticking one box clears the other, and the supplier rule comes last.
        if (name.contains(QStringLiteral("应付")) || name.contains(QStringLiteral("预付"))) supplier = 1, customer = 0;
        record.setItem(QStringLiteral("FIsCustomer"), customer);
        record.setItem(QStringLiteral("FIsSupplier"), supplier);
        if (customer == 0 && supplier == 0) everyAccountMarked = false;
    }
    return everyAccountMarked;
}
