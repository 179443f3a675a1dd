// The one list of upgrade stages the two runs call: account creation first,
// then base data, fixed assets, general ledger, payroll and cashier, each
// with its step code and a factory that makes a new stage object per call.
// A stage not built into the program yet has no factory, and the runs pass
// over it. Tests put their own stages in place for a scope. UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QList>
#include <QString>

#include "accounts/interface.h"

struct StageEntry {
    int code = 0;  // g_CurrentModule while the stage runs
    std::function<std::unique_ptr<interface>()> create;
};

class StageRegistry {
public:
    // Step codes.
    static constexpr int CreateAccount = 1;
    static constexpr int BaseData = 2;
    static constexpr int FixedAssets = 3;
    static constexpr int GeneralLedger = 4;
    static constexpr int Payroll = 5;
    static constexpr int Cashier = 6;

    // Every stage in the order of the check run (codes 1 to 6).
    static QList<StageEntry> stages();
    // The entry of a code; one without factory when the code is unknown.
    static StageEntry stage(int code);

    // Replaces the list while it lives; scopes nest.
    class Override {
    public:
        explicit Override(QList<StageEntry> stages);
        ~Override();
        Override(const Override &) = delete;
        Override &operator=(const Override &) = delete;

    private:
        std::optional<QList<StageEntry>> m_previous;
    };
};
