// The settings page of step 1: the source account-set file, the number and
// name of the new account set, the server folder for its files and how much
// to upgrade. Result judges the fields (SettingsValidator) and hands out the
// accepted settings record. UI thread only.
#pragma once

#include <QDateTime>
#include <QWidget>

#include "platform/PnwList.h"
#include "wizard/SettingsValidator.h"

class QLineEdit;
class QRadioButton;
class zqbutton;

class ctlSetting : public QWidget {
    Q_OBJECT
public:
    // The default account number is taken from `started` ("AIS" and
    // yyyyMMddhhmmss).
    explicit ctlSetting(QWidget *parent = nullptr, const QDateTime &started = QDateTime::currentDateTime());

    // The page's list, validated when the fields changed since the last
    // accepted record: one PnwDictionary with Source, AcctNum, AcctName,
    // DBDir (texts, trimmed) and Option (0 all data, 1 balances only). A
    // rule that fails moves the focus and raises PnwError 5 with its
    // message; a folder the server lacks gives an empty list (its message
    // is shown already). The list is the same object on every call.
    PnwList Result();

    static QString DefaultAccountNumber(const QDateTime &moment);

    // Replaces the lookups the rules use (tests).
    void setLookups(SettingsValidator::Lookups lookups) { m_validator = SettingsValidator(std::move(lookups)); }

    // Button actions.
    void btnSource_Click();
    void btnPath_Click();

    QLineEdit *txtSource() const { return m_source; }
    QLineEdit *txtAcctNumber() const { return m_number; }
    QLineEdit *txtAcctName() const { return m_name; }
    QLineEdit *txtDBDir() const { return m_dir; }
    QRadioButton *Option1(int index) const { return index == 0 ? m_all : m_balances; }
    zqbutton *btnSource() const { return m_btnSource; }
    zqbutton *btnPath() const { return m_btnPath; }

    SettingsInput input() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool settingsChanged() const;
    bool buildSettings();
    QLineEdit *field(SettingsField which) const;

    PnwList m_list;
    SettingsValidator m_validator;
    QLineEdit *m_source;
    QLineEdit *m_number;
    QLineEdit *m_name;
    QLineEdit *m_dir;
    QRadioButton *m_all;
    QRadioButton *m_balances;
    zqbutton *m_btnSource;
    zqbutton *m_btnPath;
};
