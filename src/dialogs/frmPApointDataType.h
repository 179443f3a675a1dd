// The payroll data-type dialog: the payroll items the payroll step has just
// added, each with the data type the operator gives it (non-payroll items
// start as text). Input: rs (FitemName, FIsPayrollData); output: returndata
// (FDataType, FItemName per row). OK and the close picture hide it only
// once every row has a type. UI thread only.
#pragma once

#include "controls/DialogFrame.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"

class QLabel;
class QLineEdit;
class SpreadsheetGrid;
class zqbutton;

class frmPApointDataType : public DialogFrame {
    Q_OBJECT
public:
    explicit frmPApointDataType(QWidget *parent = nullptr);

    void setRs(const ado::Recordset &rs) { m_rs = rs; }
    PnwList returndata() const;
    // True when every row has a type (nothing is missing); else tells the
    // first row without one.
    bool IsEmpty();

    SpreadsheetGrid *fpSpread() const { return m_grid; }
    QLineEdit *txtAcctName() const { return m_acctName; }
    zqbutton *cmdOK() const { return m_ok; }
    zqbutton *cmdBatedit() const { return m_batchEdit; }

protected:
    void Load() override;
    void showEvent(QShowEvent *event) override;

private:
    void placeGrid();
    void accept_();
    void BatchEdit();

    ado::Recordset m_rs;
    SpreadsheetGrid *m_grid;
    QLabel *m_label1;
    QLineEdit *m_acctName;
    zqbutton *m_ok;
    zqbutton *m_batchEdit;
};
