// Answers the mapping dialogs of an upgraderun run from the answers file,
// acting on each real dialog as its operator would: it fills the rows the
// file answers, keeps what the dialog itself starts with for the others,
// and confirms with OK. A question that neither the file nor the dialog
// answers leaves the dialog closed without confirming (its close picture,
// the confirmation answered Yes), which the step then reports as it does
// for an operator who closed it. One record is printed per question:
//   "answer <tab> file|default <tab> <answers-file line>"
//   "unanswered <tab> <answers-file line with an empty answer>"
// A record is handed over as its fields; the printer escapes them.
// While it lives it is the dialog seam's responder. UI thread only.
#pragma once

#include <functional>

#include <QStringList>

#include "AnswersFile.h"
#include "dialogs/DialogSeam.h"

class frmBussinessUnits;
class frmPApointDataType;
class frmSetBankAccount;
class frmSubLedgerNature;
class frmUnit;
class QDialog;
class SpreadsheetGrid;

class DialogAnswerer {
public:
    using Print = std::function<void(const QStringList &fields)>;

    DialogAnswerer(AnswersFile &file, Print print);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer &) = delete;
    DialogAnswerer &operator=(const DialogAnswerer &) = delete;

private:
    void answer(QDialog &dialog);
    void natures(frmSubLedgerNature &d);
    void units(frmUnit &d);
    void businessUnits(frmBussinessUnits &d);
    void payItems(frmPApointDataType &d);
    void bankAccounts(frmSetBankAccount &d);
    bool fileOnlyRows(SpreadsheetGrid *grid, const QString &dialog, const std::function<QString(int)> &rowKey,
                      int noteCol, int answerCol);
    void given(const QString &source, const QString &dialog, const QString &row, const QString &answer,
               const QString &note);
    void unanswered(const QString &dialog, const QString &row, const QString &note);

    AnswersFile &m_file;
    Print m_print;
    DialogSeam::Responder m_previous;
};
