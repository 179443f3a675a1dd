#include "upgrade/payroll_cashier/PayrollDataTypeAsker.h"

#include "dialogs/DialogSeam.h"
#include "dialogs/frmPApointDataType.h"
#include "platform/PnwDictionary.h"

namespace {

constexpr int kTextType = 200;
constexpr int kMoneyType = 6;

PayrollDataTypeAsker &installed() {
    static PayrollDataTypeAsker asker;
    return asker;
}

}  // namespace

PayrollDataTypeAsker SetPayrollDataTypeAsker(PayrollDataTypeAsker asker) {
    PayrollDataTypeAsker previous = std::move(installed());
    installed() = std::move(asker);
    return previous;
}

PnwList AskPayrollDataTypes(ado::Recordset &items) {
    if (installed()) return installed()(items);
    return DefaultPayrollDataTypes(items);
}

PnwList DefaultPayrollDataTypes(ado::Recordset &items) {
    PnwList answer;
    if (items.RecordCount() == 0) return answer;
    for (items.MoveFirst(); !items.Eof(); items.MoveNext()) {
        PnwDictionary record;
        record.setItem(QStringLiteral("FItemName"), items.value(QStringLiteral("FitemName")).toString());
        const bool payrollData = items.value(QStringLiteral("FIsPayrollData")).toBool();
        record.setItem(QStringLiteral("FDataType"), payrollData ? kMoneyType : kTextType);
        answer.Add(record);
    }
    return answer;
}

PnwList AskPayrollDataTypesInDialog(ado::Recordset &items) {
    frmPApointDataType dialog;
    dialog.setRs(items);
    DialogSeam::showModal(dialog);
    return dialog.returndata();
}
