// The type picker of the payroll dialog: a list of the six data types.
// Outputs Chosen and SelectedType (the picked code), both reset each time
// the window shows. OK or a double click with an entry selected picks it;
// Cancel, the close picture and any close request pick nothing. UI thread
// only.
#pragma once

#include "controls/DialogFrame.h"

class QListWidget;
class zqbutton;

class frmDataType : public DialogFrame {
    Q_OBJECT
public:
    explicit frmDataType(QWidget *parent = nullptr);

    bool Chosen = false;
    int SelectedType = 0;

    QListWidget *listEntry() const { return m_list; }
    zqbutton *cmdOK() const { return m_ok; }
    zqbutton *cmdCancel() const { return m_cancel; }

protected:
    void Load() override;
    void showEvent(QShowEvent *event) override;

private:
    void pick();
    void cancel();

    QListWidget *m_list;
    zqbutton *m_ok;
    zqbutton *m_cancel;
};
