// The bank-account dialog: asks for the account number of every bank
// account of the source cashier data. Input: rs (FKMID, FKMdm, FKMmc, FBB);
// outputs: ResultOK and returndata (FYHZH, FKMID, FBB per row, as text).
// Only digits, Backspace and the copy and paste keys can be typed into a
// number; Enter moves on as Tab does. UI thread only.
#pragma once

#include "controls/DialogFrame.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"

class SpreadsheetGrid;
class zqbutton;

class frmSetBankAccount : public DialogFrame {
    Q_OBJECT
public:
    explicit frmSetBankAccount(QWidget *parent = nullptr);

    void setRs(const ado::Recordset &rs) { m_rs = rs; }
    bool ResultOK() const { return m_resultOK; }
    // True when every row has a number; else tells the first row without.
    bool CheckData();
    PnwList returndata() const;

    SpreadsheetGrid *fpSpread() const { return m_grid; }
    zqbutton *cmdOK() const { return m_ok; }

protected:
    void Load() override;
    void showEvent(QShowEvent *event) override;

private:
    void placeGrid();
    void onKeyPress(int *keyAscii);
    void ConfirmClose();

    ado::Recordset m_rs;
    bool m_resultOK = false;
    SpreadsheetGrid *m_grid;
    zqbutton *m_ok;
};
