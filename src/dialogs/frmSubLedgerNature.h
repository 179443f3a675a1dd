// The account-nature dialog: lists the accounts that keep business units as
// their item and has the operator mark each as customer or supplier (the
// target edition keeps the two apart). Exactly one of a row's two boxes is
// ticked after any change of the row. Inputs: Data (records with FAcctID,
// FAcctName, FIsCustomer, FIsSupplier); outputs: ResultOK and Data with the
// natures as the operator left them. Shown through DialogSeam; OK hides it
// once every account has a nature, closing hides it after a confirmation.
// UI thread only.
#pragma once

#include <QVariant>

#include "controls/DialogFrame.h"
#include "dialogs/DialogRecords.h"

class QLabel;
class SpreadsheetGrid;
class zqbutton;

class frmSubLedgerNature : public DialogFrame {
    Q_OBJECT
public:
    explicit frmSubLedgerNature(QWidget *parent = nullptr);
    ~frmSubLedgerNature() override;

    // A PnwList becomes Data itself; a PnwDictionary is wrapped into a new
    // list of one record; anything else is ignored.
    void setData(const QVariant &objData) { m_data.set(objData); }
    PnwList Data() const { return m_data.list(); }
    bool ResultOK() const { return m_resultOK; }

    SpreadsheetGrid *GridSubLedger() const { return m_grid; }
    QLabel *lblInstruction() const { return m_instruction; }
    zqbutton *btn_SelectAllCS() const { return m_selectAllCS; }
    zqbutton *btn_UnSelectAllCS() const { return m_unselectAllCS; }
    zqbutton *btn_SelectAllSP() const { return m_selectAllSP; }
    zqbutton *btn_UnSelectAllSP() const { return m_unselectAllSP; }
    zqbutton *btn_OK() const { return m_ok; }
    zqbutton *btn_Cancel() const { return m_cancel; }

protected:
    void Load() override;

private:
    void FillGrid();
    void AcceptInput();
    void ConfirmClose();
    // The first record with neither nature; 0 when every record has one.
    int FindUnassignedRow() const;
    void SetColumnChecks(bool value, bool customerColumn);
    void onCheckChanged(int col, int row);

    DialogRecords m_data;
    bool m_resultOK = false;
    bool m_inCheckRule = false;

    SpreadsheetGrid *m_grid;
    QLabel *m_instruction;
    zqbutton *m_selectAllCS;
    zqbutton *m_unselectAllCS;
    zqbutton *m_selectAllSP;
    zqbutton *m_unselectAllSP;
    zqbutton *m_ok;
    zqbutton *m_cancel;
};
