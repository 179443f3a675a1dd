#include "DialogAnswerer.h"

#include <QTreeWidget>

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "dialogs/frmBussinessUnits.h"
#include "dialogs/frmPApointDataType.h"
#include "dialogs/frmSetBankAccount.h"
#include "dialogs/frmSubLedgerNature.h"
#include "dialogs/frmUnit.h"
#include "platform/MessageBoxSeam.h"
#include "platform/PnwDictionary.h"
#include "upgrade/common/BusinessUnitTree.h"

namespace {

const QString kCustomer = QStringLiteral("客户");
const QString kSupplier = QStringLiteral("供应商");
const QString kFile = QStringLiteral("file");
const QString kDefault = QStringLiteral("default");

QString textAt(SpreadsheetGrid *grid, int col, int row) {
    grid->setCol(col);
    grid->setRow(row);
    return grid->Text().trimmed();
}

bool tickedAt(SpreadsheetGrid *grid, int col, int row) {
    grid->setCol(col);
    grid->setRow(row);
    return grid->Value().toInt() == 1;
}

// While it lives, the dialog's own questions (its confirmations) are
// answered Yes and its notices with their default button, each printed as
// the runner prints every message box.
class DialogQuestions {
public:
    explicit DialogQuestions(const DialogAnswerer::Print &print) {
        m_previous = MessageBoxSeam::setResponder([print](const MessageRequest &request) {
            const int set = request.buttons & 0x0F;
            const int reply = set == MsgBox::YesNo || set == MsgBox::YesNoCancel
                                  ? MsgBox::Yes
                                  : MessageBoxSeam::defaultResult(request.buttons);
            print({QStringLiteral("message"), request.title, request.prompt,
                   QStringLiteral("answer ") + QString::number(reply)});
            return reply;
        });
    }
    ~DialogQuestions() { MessageBoxSeam::setResponder(std::move(m_previous)); }
    DialogQuestions(const DialogQuestions &) = delete;
    DialogQuestions &operator=(const DialogQuestions &) = delete;

private:
    MessageBoxSeam::Responder m_previous;
};

// OK, and when the dialog refuses it, the close picture.
void confirmOrClose(DialogFrame &d, zqbutton *ok, bool complete) {
    if (complete) emit ok->Click();
    if (d.isVisible()) emit d.closeClicked();
}

}  // namespace

DialogAnswerer::DialogAnswerer(AnswersFile &file, Print print) : m_file(file), m_print(std::move(print)) {
    m_previous = DialogSeam::setResponder([this](QDialog &dialog) { answer(dialog); });
}

DialogAnswerer::~DialogAnswerer() { DialogSeam::setResponder(std::move(m_previous)); }

void DialogAnswerer::given(const QString &source, const QString &dialog, const QString &row, const QString &answer,
                           const QString &note) {
    m_print({QStringLiteral("answer"), source, AnswersFile::line(dialog, row, answer, note)});
}

void DialogAnswerer::unanswered(const QString &dialog, const QString &row, const QString &note) {
    m_print({QStringLiteral("unanswered"), AnswersFile::line(dialog, row, QString(), note)});
}

void DialogAnswerer::answer(QDialog &dialog) {
    DialogQuestions questions(m_print);
    if (auto *d = qobject_cast<frmSubLedgerNature *>(&dialog))
        natures(*d);
    else if (auto *d = qobject_cast<frmUnit *>(&dialog))
        units(*d);
    else if (auto *d = qobject_cast<frmBussinessUnits *>(&dialog))
        businessUnits(*d);
    else if (auto *d = qobject_cast<frmPApointDataType *>(&dialog))
        payItems(*d);
    else if (auto *d = qobject_cast<frmSetBankAccount *>(&dialog))
        bankAccounts(*d);
}

// Rows: account code, name, customer box, supplier box. A row the file does
// not answer keeps the box its name ticks.
void DialogAnswerer::natures(frmSubLedgerNature &d) {
    SpreadsheetGrid *grid = d.GridSubLedger();
    const QString dialog = QStringLiteral("nature");
    bool complete = true;
    for (int r = 1; r <= grid->MaxRows(); ++r) {
        const QString code = textAt(grid, 1, r);
        const QString name = textAt(grid, 2, r);
        if (const std::optional<QString> a = m_file.take(dialog, code)) {
            grid->setCol(*a == kCustomer ? 3 : 4);
            grid->setRow(r);
            grid->setValue(1);  // the dialog's rule clears the other box
            given(kFile, dialog, code, *a, name);
        } else if (tickedAt(grid, 3, r)) {
            given(kDefault, dialog, code, kCustomer, name);
        } else if (tickedAt(grid, 4, r)) {
            given(kDefault, dialog, code, kSupplier, name);
        } else {
            unanswered(dialog, code, name);
            complete = false;
        }
    }
    confirmOrClose(d, d.btn_OK(), complete);
}

// Rows whose only answer is the file's: the row named by rowKey, its note
// in noteCol, the answer written into answerCol. True when every row had one.
bool DialogAnswerer::fileOnlyRows(SpreadsheetGrid *grid, const QString &dialog,
                                  const std::function<QString(int)> &rowKey, int noteCol, int answerCol) {
    bool complete = true;
    for (int r = 1; r <= grid->MaxRows(); ++r) {
        const QString row = rowKey(r);
        const QString note = textAt(grid, noteCol, r);
        if (const std::optional<QString> a = m_file.take(dialog, row)) {
            grid->SetText(answerCol, r, *a);
            given(kFile, dialog, row, *a, note);
        } else {
            unanswered(dialog, row, note);
            complete = false;
        }
    }
    return complete;
}

// Rows: account code, name, unit. No unit is chosen for the operator.
void DialogAnswerer::units(frmUnit &d) {
    SpreadsheetGrid *grid = d.GridUnit();
    const bool complete =
        fileOnlyRows(grid, QStringLiteral("unit"), [grid](int r) { return textAt(grid, 1, r); }, 2, 3);
    confirmOrClose(d, d.btn_OK(), complete);
}

// The pool's units go to the customer and supplier trees as the file says,
// each side with its ">" button; OK then makes the units left over both
// kinds, as the dialog does (and with nothing moved, its close does).
void DialogAnswerer::businessUnits(frmBussinessUnits &d) {
    const QString dialog = QStringLiteral("businessunit");
    QTreeWidget *pool = d.TvBussinessUnits();
    QStringList ids, fromFile;
    QHash<QString, QString> names, answers;
    for (QTreeWidgetItemIterator it(pool); *it; ++it) {
        const QString key = frmBussinessUnits::keyOf(*it);
        if (!key.startsWith(QStringLiteral("t_"))) continue;
        const QString id = key.mid(2);
        ids << id;
        const QString text = (*it)->text(0);
        names.insert(id, text.mid(id.size() + 1).chopped(1));
        // The file names a unit by the code the tree shows.
        if (const std::optional<QString> a = m_file.take(dialog, NodeDisplayID(id))) {
            answers.insert(id, *a);
            fromFile << id;
        }
    }
    for (const bool customer : {true, false}) {
        bool any = false;
        for (const QString &id : fromFile) {
            if (!answers.value(id).contains(customer ? kCustomer : kSupplier)) continue;
            if (QTreeWidgetItem *node = d.node(pool, QStringLiteral("t_") + id)) {
                node->setCheckState(0, Qt::Checked);
                any = true;
            }
        }
        if (any) emit(customer ? d.btnCustomer(0) : d.btnSupplier(0))->Click();
    }
    emit d.btn_OK()->Click();
    if (d.isVisible()) emit d.closeClicked();
    const auto holds = [](const PnwList &list, const QString &id) {
        for (int i = 1; i <= list.Count(); ++i)
            if (list.DictionaryItem(i).Item(QStringLiteral("FObjID")).toString() == id) return true;
        return false;
    };
    const PnwList customers = d.Customer(), suppliers = d.Supplier();
    for (const QString &id : ids) {
        QStringList sides;
        if (holds(customers, id)) sides << kCustomer;
        if (holds(suppliers, id)) sides << kSupplier;
        given(fromFile.contains(id) ? kFile : kDefault, dialog, NodeDisplayID(id), sides.join(QLatin1Char(' ')),
              names.value(id));
    }
}

// Rows: item name, source type, data type. Items that are not payroll
// figures start as text; a row left without a type gives money, as the
// dialog's result does for it.
void DialogAnswerer::payItems(frmPApointDataType &d) {
    SpreadsheetGrid *grid = d.fpSpread();
    const QString dialog = QStringLiteral("payitem");
    bool complete = true;
    for (int r = 1; r <= grid->MaxRows(); ++r) {
        const QString item = textAt(grid, 1, r);
        const QString shown = textAt(grid, 3, r);
        if (const std::optional<QString> a = m_file.take(dialog, item)) {
            grid->setCol(3);
            grid->setRow(r);
            grid->setText(*a);
            given(kFile, dialog, item, *a, QString());
        } else if (!shown.isEmpty()) {
            given(kDefault, dialog, item, shown, QString());
        } else {
            given(kDefault, dialog, item, QStringLiteral("货币"), QString());
            complete = false;
        }
    }
    // OK refuses an untyped row; the dialog is then left as it stands.
    if (complete) emit d.cmdOK()->Click();
}

// Rows: ledger account id (hidden), account code, name, currency, number.
// No number is made up for the operator.
void DialogAnswerer::bankAccounts(frmSetBankAccount &d) {
    SpreadsheetGrid *grid = d.fpSpread();
    const bool complete = fileOnlyRows(
        grid, QStringLiteral("bank"),
        [grid](int r) { return textAt(grid, 2, r) + QLatin1Char(' ') + textAt(grid, 4, r); }, 3, 5);
    confirmOrClose(d, d.cmdOK(), complete);
}
