#include "RoadDialogs.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTextStream>
#include <QTreeWidget>

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "dialogs/frmBussinessUnits.h"
#include "dialogs/frmDataType.h"
#include "dialogs/frmPApointDataType.h"
#include "dialogs/frmSetBankAccount.h"
#include "dialogs/frmSubLedgerNature.h"
#include "dialogs/frmUnit.h"
#include "platform/MessageBoxSeam.h"

namespace {

QString cell(SpreadsheetGrid *grid, int col, int row) {
    grid->setCol(col);
    grid->setRow(row);
    return grid->Text();
}

// The grid's rows as the dialog shows them, the given columns of a row
// joined by blanks and the rows by " | ".
QString gridRows(SpreadsheetGrid *grid, std::initializer_list<int> cols) {
    QStringList rows;
    for (int r = 1; r <= grid->MaxRows(); ++r) {
        QStringList cells;
        for (const int c : cols) cells << cell(grid, c, r);
        rows << cells.join(QLatin1Char(' '));
    }
    return rows.join(QStringLiteral(" | "));
}

// The dialogs' confirmations are answered Yes while one is answered.
class YesToQuestions {
public:
    YesToQuestions() {
        m_previous = MessageBoxSeam::setResponder([](const MessageRequest &request) {
            const int set = request.buttons & 0x0F;
            return set == MsgBox::YesNo || set == MsgBox::YesNoCancel ? MsgBox::Yes
                                                                      : MessageBoxSeam::defaultResult(request.buttons);
        });
    }
    ~YesToQuestions() { MessageBoxSeam::setResponder(std::move(m_previous)); }
    YesToQuestions(const YesToQuestions &) = delete;
    YesToQuestions &operator=(const YesToQuestions &) = delete;

private:
    MessageBoxSeam::Responder m_previous;
};

}  // namespace

RoadDialogs::RoadDialogs(const QString &out) : m_out(out) {
    m_previous = DialogSeam::setResponder([this](QDialog &dialog) { answer(dialog); });
}

RoadDialogs::~RoadDialogs() { DialogSeam::setResponder(std::move(m_previous)); }

void RoadDialogs::shoot(QDialog &dialog, const QString &name, const QString &rows) {
    dialog.raise();
    QCoreApplication::processEvents();
    dialog.repaint();
    QCoreApplication::processEvents();
    const QString path = m_out + QStringLiteral("/real-dialog-") + name + QStringLiteral(".png");
    if (!dialog.grab().save(path)) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return;
    }
    m_shot.insert(name);
    QTextStream(stdout) << "dialog\t" << name << '\t' << rows << Qt::endl;
}

void RoadDialogs::answer(QDialog &dialog) {
    YesToQuestions yes;
    if (auto *d = qobject_cast<frmSubLedgerNature *>(&dialog)) {
        SpreadsheetGrid *grid = d->GridSubLedger();
        shoot(dialog, QStringLiteral("subledgernature"), gridRows(grid, {1, 2}));
        for (int r = 1; r <= grid->MaxRows(); ++r) {
            grid->setRow(r);
            grid->setCol(4);
            const bool supplier = grid->Value().toInt() == 1;
            grid->setCol(3);
            if (!supplier && grid->Value().toInt() == 0) grid->setValue(1);
        }
        emit d->btn_OK()->Click();
    } else if (auto *d = qobject_cast<frmUnit *>(&dialog)) {
        SpreadsheetGrid *grid = d->GridUnit();
        shoot(dialog, QStringLiteral("unit"), gridRows(grid, {1, 2}));
        // One unit typed into the first row, then the batch fill.
        grid->SetText(3, 1, QStringLiteral("件"));
        emit d->btnBatchEdit()->Click();
        emit d->btn_OK()->Click();
    } else if (auto *d = qobject_cast<frmBussinessUnits *>(&dialog)) {
        QStringList units;
        for (QTreeWidgetItemIterator it(d->TvBussinessUnits()); *it; ++it)
            if ((*it)->parent()) units << (*it)->text(0);
        // The first unit moved to the customers before the picture.
        if (QTreeWidgetItem *root = d->node(d->TvBussinessUnits(), QStringLiteral("root"));
            root && root->childCount() > 0) {
            root->child(0)->setCheckState(0, Qt::Checked);
            emit d->btnCustomer(0)->Click();
        }
        shoot(dialog, QStringLiteral("bussinessunits"), units.join(QStringLiteral(" | ")));
        emit d->btn_OK()->Click();
    } else if (auto *d = qobject_cast<frmPApointDataType *>(&dialog)) {
        shoot(dialog, QStringLiteral("papointdatatype"), gridRows(d->fpSpread(), {1, 2, 3}));
        emit d->cmdBatedit()->Click();  // the type picker, pictured below
        emit d->cmdOK()->Click();
    } else if (auto *d = qobject_cast<frmDataType *>(&dialog)) {
        QStringList types;
        for (int i = 0; i < d->listEntry()->count(); ++i) types << d->listEntry()->item(i)->text();
        shoot(dialog, QStringLiteral("datatype"), types.join(QStringLiteral(" | ")));
        d->listEntry()->setCurrentRow(d->listEntry()->count() - 1);  // 货币
        emit d->cmdOK()->Click();
    } else if (auto *d = qobject_cast<frmSetBankAccount *>(&dialog)) {
        SpreadsheetGrid *grid = d->fpSpread();
        for (int r = 1; r <= grid->MaxRows(); ++r)
            grid->SetText(5, r, QStringLiteral("62220200%1").arg(r, 4, 10, QLatin1Char('0')));
        shoot(dialog, QStringLiteral("setbankaccount"), gridRows(grid, {2, 3, 4, 5}));
        emit d->cmdOK()->Click();
    }
}
