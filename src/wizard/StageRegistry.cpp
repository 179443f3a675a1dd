#include "wizard/StageRegistry.h"

#include "accounts/clsCreateAcct.h"
#include "foundation/Globals.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/base/clsBaseSys.h"
#include "upgrade/ledger/clsEboGL.h"
#include "upgrade/payroll_cashier/clsCn.h"
#include "upgrade/payroll_cashier/clsEboPa.h"

namespace {

// The stages built into the program. A stage joins by giving its entry a
// factory, such as [] { return std::make_unique<clsBaseSys>(); }.
QList<StageEntry> builtInStages() {
    return {
        {StageRegistry::CreateAccount, [] { return std::make_unique<clsCreateAcct>(); }},
        {StageRegistry::BaseData, [] { return std::make_unique<clsBaseSys>(); }},
        {StageRegistry::FixedAssets, [] { return std::make_unique<clsEboFa>(); }},
        {StageRegistry::GeneralLedger, [] { return std::make_unique<clsEboGL>(); }},
        {StageRegistry::Payroll, [] { return std::make_unique<clsEboPa>(); }},
        {StageRegistry::Cashier, [] { return std::make_unique<clsCn>(); }},
    };
}

std::optional<QList<StageEntry>> &overridden() {
    static std::optional<QList<StageEntry>> list;
    return list;
}

}  // namespace

QList<StageEntry> StageRegistry::stages() { return overridden() ? *overridden() : builtInStages(); }

StageEntry StageRegistry::stage(int code) {
    for (const StageEntry &entry : stages())
        if (entry.code == code) return entry;
    return StageEntry{code, nullptr};
}

StageRegistry::Override::Override(QList<StageEntry> stages) : m_previous(overridden()) {
    overridden() = std::move(stages);
}

StageRegistry::Override::~Override() { overridden() = m_previous; }
