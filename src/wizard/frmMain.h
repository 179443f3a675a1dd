// The wizard's one main window: a borderless window with the drawn title
// bar, the step list, one page per step (welcome notice, settings, data
// check, upgrade, report), the two wizard buttons, a status line and the
// check run's progress bar. It owns the step machine: the caption of
// btnNext is the state that decides what its next click does. It also does
// the program's start-up (single instance, defaults, version gate) and the
// questions on closing. The program ends through the quit hook, never by
// exit(), so a run that is still going unwinds. UI thread only.
#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QWidget>

#include "foundation/UpgradeLog.h"

class cltLogReport;
class ctlSetting;
class ctlUpgrade;
class Navigation;
class ProgressBar;
class QLabel;
class SingleInstance;
class TitleBar;
class zqbutton;

class frmMain : public QWidget {
    Q_OBJECT
public:
    static const QString WindowTitle;  // "岫禾VEQ标准版（迷你版）账套升级专业版工具"

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The window that receives log lines; nullptr when none lives.
    static frmMain *current();

    // Start-up. False when another copy of the wizard runs: that copy was
    // brought to the front and this one must end without showing. The
    // instance key names the program (tests give their own).
    bool Form_Load(const QString &instanceKey = QString());

    // The step machine.
    void GoToStep(int index);
    // Deletes the account set the last check created (else the one the
    // settings name), when it exists.
    void DeleteNewAccount();
    // Enables the step list up to the furthest step reached.
    void EnableSteps(bool flag);
    int furthestStep() const { return m_furthest; }

    void btnNext_Click();
    void btnPrevious_Click();
    // The closing questions. True when the program ends.
    bool Form_Unload();

    // Ends the program: hides the window, makes a running run stop at its
    // next test and calls the quit hook (default: leave the event loop).
    void EndProgram();
    bool ended() const { return m_ending; }
    using QuitHook = std::function<void()>;
    // Returns the previous hook; an empty one restores the default.
    static QuitHook setQuitHook(QuitHook hook);

    TitleBar *titleBar() const { return m_titleBar; }
    Navigation *Navigation1(int index) const;
    QLabel *lblNotice() const { return m_notice; }
    QLabel *lblAdvice() const { return m_advice; }
    ctlSetting *ctlSetting1() const { return m_setting; }
    cltLogReport *ctlCheckData() const { return m_checkData; }
    ctlUpgrade *ctlUpgrade1() const { return m_upgrade; }
    cltLogReport *ctlLogReport() const { return m_logReport; }
    zqbutton *btnNext() const { return m_next; }
    zqbutton *btnPrevious() const { return m_previous; }
    QLabel *LBLDes() const { return m_status; }
    ProgressBar *PBar() const { return m_bar; }
    QWidget *pic_line(int index) const;

    // The preparation notice of step 0.
    static QString NoticeText();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void cancelRun();
    bool runActive() const;
    QString newAccountNumber() const;
    void deleteAccount(const QString &acctNum);
    QList<QWidget *> pages() const;

    int m_furthest = 0;
    bool m_ending = false;
    // The number of the account set the last check run set out to create.
    QString m_createdAcctNum;
    SingleInstance *m_instance = nullptr;

    TitleBar *m_titleBar;
    QList<Navigation *> m_steps;
    QLabel *m_notice;
    QLabel *m_advice;
    ctlSetting *m_setting;
    cltLogReport *m_checkData;
    ctlUpgrade *m_upgrade;
    cltLogReport *m_logReport;
    zqbutton *m_next;
    zqbutton *m_previous;
    QLabel *m_status;
    ProgressBar *m_bar;
    QWidget *m_lines[3];
};

// Puts a log line on the page the wizard shows the current run's lines on:
// the check page on step 2, the report page otherwise. The upgrade log
// writer calls this for every entry it has written.
void ShowUpgradeLogLine(const UpgradeLogLine &line);
// The same for a line joined by "|".
void ShowUpgradeLogText(const QString &text);
