// The information of a new account set (company, description, company type,
// connection) and its writer: the options in t_SystemProfile, then the
// upgrade scripts that bring the account set to the installed service-pack
// level. One object per account creation. UI thread only.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>
#include <QVariant>

class ProgressBar;
namespace ado {
class Connection;
}

class AISINFO {
public:
    AISINFO();
    ~AISINFO();
    AISINFO(const AISINFO &) = delete;
    AISINFO &operator=(const AISINFO &) = delete;

    QString MMTSPropsString;
    QString CompanyName;
    QString Description;
    QString CompanyAddress;
    QString CompanyPhone;
    QString ConnectionString;
    QString CyNumber;
    QString CyName;
    int CyScale = 0;
    int CurrYear = 0;
    int CurrPeriod = 0;
    int InvUp = 0;
    int UnderStock = 0;
    int CompanyType = 0;

    // Writes the options, then runs UpgradeDB; its result, False when the
    // connection cannot be opened or the engine raises.
    bool UpdateAISINFO(ProgressBar *objProBar);
    // Runs the service packs above the account set's level and records the
    // level reached; True when the whole list ran.
    bool UpgradeDB(ProgressBar *objProBar, const QString &sConnectString);

    // The last failure text of the engine ("" when none).
    const QString &lastError() const { return m_LastError; }
    // The width of t_SystemProfile.FValue: a longer value is stored cut to it.
    static constexpr int kProfileValueWidth = 255;
    // The keys whose value was cut to the width, in the order written.
    const QStringList &truncatedKeys() const { return m_TruncatedKeys; }

private:
    class ScriptRun;

    bool ExecuteSqlBatch(QString batch, ado::Connection &connection);
    void SetProfileValue(const QString &category, const QString &key, const QVariant &value);
    QString GetProfileValue(const QString &category, const QString &key, const QVariant &defaultValue);
    void DeleteProfileValue(const QString &category, const QString &key);
    void SetUserMainIsShow(const QString &unused);

    std::unique_ptr<ado::Connection> m_Connection;
    QString m_LastError;
    QStringList m_TruncatedKeys;
};
