#include "upgrade/base/BaseDataAskers.h"

namespace {

BusinessUnitChoice bothKinds(const PnwList &undecided) {
    BusinessUnitChoice choice;
    for (int i = 1; i <= undecided.Count(); ++i) {
        choice.customers.Add(undecided.Item(i));
        choice.suppliers.Add(undecided.Item(i));
    }
    choice.warning = QStringLiteral("用户未指定往来单位的性质，因此系统将所有往来单位同时升级为客户和供应商。");
    return choice;
}

bool notConfirmed(PnwList &) { return false; }

}  // namespace

BusinessUnitAsker &BusinessUnitAskerHook() {
    static BusinessUnitAsker hook = bothKinds;
    return hook;
}

QuantityUnitAsker &QuantityUnitAskerHook() {
    static QuantityUnitAsker hook = notConfirmed;
    return hook;
}

void ResetBaseDataAskers() {
    BusinessUnitAskerHook() = bothKinds;
    QuantityUnitAskerHook() = notConfirmed;
}
