// The measure-unit dialog: asks for the unit of every quantity account that
// has none. The operator picks a unit of the target or types a new name; OK
// resolves every name to a target unit, creating the units the target lacks,
// and writes FUnitName (the name without outer blanks) and FUnit (the unit
// id) into each record. Inputs: Data (records with FAcctID, FAcctName,
// FUnit, FUnitName); outputs: ResultOK and Data. UI thread only.
#pragma once

#include <QVariant>

#include "controls/DialogFrame.h"
#include "dialogs/DialogRecords.h"

class QLabel;
class SpreadsheetGrid;
class zqbutton;

class frmUnit : public DialogFrame {
    Q_OBJECT
public:
    explicit frmUnit(QWidget *parent = nullptr);
    ~frmUnit() override;

    // As the nature dialog: a list is shared, a record wrapped, anything
    // else ignored.
    void setData(const QVariant &objData) { m_data.set(objData); }
    PnwList Data() const { return m_data.list(); }
    bool ResultOK() const { return m_resultOK; }

    SpreadsheetGrid *GridUnit() const { return m_grid; }
    QLabel *lblInstruction() const { return m_instruction; }
    zqbutton *btnBatchEdit() const { return m_batchEdit; }
    zqbutton *btn_OK() const { return m_ok; }
    zqbutton *btn_Cancel() const { return m_cancel; }

protected:
    void Load() override;

private:
    void FillGrid();
    void BatchEdit();
    void AcceptInput();
    void ConfirmClose();
    // True when every row resolved; else the reason and the failing row.
    bool ResolveUnits(QString &reason, int &failingRow);
    // The first record without a unit name; 0 when all have one.
    int FindRowWithoutUnit();

    DialogRecords m_data;
    bool m_resultOK = false;
    bool m_accepting = false;

    SpreadsheetGrid *m_grid;
    QLabel *m_instruction;
    zqbutton *m_batchEdit;
    zqbutton *m_ok;
    zqbutton *m_cancel;
};
