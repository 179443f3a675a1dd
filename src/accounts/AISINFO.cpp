#include "accounts/AISINFO.h"

#include "foundation/SqlText.h"
#include "foundation/Messages.h"
#include "foundation/TextLog.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"

AISINFO::AISINFO() = default;
AISINFO::~AISINFO() = default;

bool AISINFO::UpdateAISINFO(ProgressBar *objProBar) {
    bool result = false;
    try {
        m_Connection = std::make_unique<ado::Connection>();
        m_Connection->Open(ConnectionString);
        CurrYear = 0;
        CurrPeriod = 0;
        m_TruncatedKeys.clear();
        const QString general = QStringLiteral("General"), ic = QStringLiteral("IC");
        SetProfileValue(general, QStringLiteral("CompanyName"), CompanyName);
        SetProfileValue(general, QStringLiteral("CompanyPhone"), CompanyPhone);
        SetProfileValue(general, QStringLiteral("CompanyAddress"), CompanyAddress);
        SetProfileValue(general, QStringLiteral("CompanyType"), QString::number(CompanyType));
        SetProfileValue(general, QStringLiteral("Description"), Description);
        SetProfileValue(ic, QStringLiteral("ZanguVoucher"), QStringLiteral("0"));
        SetProfileValue(ic, QStringLiteral("UnderStock"), QString::number(UnderStock));
        SetProfileValue(ic, QStringLiteral("AuditChoice"), QStringLiteral("1"));
        DeleteProfileValue(ic, QStringLiteral("CloseInModule"));
        SetProfileValue(ic, QStringLiteral("UPSTOCKWHENSAVE"), QString::number(InvUp));
        SetProfileValue(QStringLiteral("FA"), QStringLiteral("FALinkedGL"), QStringLiteral("1"));
        SetProfileValue(ic, QStringLiteral("AutoRSupplyWhenPOS"), QStringLiteral("0"));
        SetProfileValue(ic, QStringLiteral("IsUsePurPrcMgr"), QStringLiteral("1"));
        SetProfileValue(ic, QStringLiteral("CQtyLargerSEQty"), QStringLiteral("0"));
        SetProfileValue(ic, QStringLiteral("StrictToPPBOM"), QStringLiteral("0"));
        SetProfileValue(ic, QStringLiteral("AllowHook"), QStringLiteral("0"));
        SetProfileValue(ic, QStringLiteral("MakeZanGuVoucher"), QStringLiteral("1"));
        result = UpgradeDB(objProBar, ConnectionString);
        m_Connection->Close();
        m_Connection.reset();
    } catch (const ado::AdoError &e) {
        WriteTextLog(e.description());
        return false;
    } catch (const std::exception &e) {
        WriteTextLog(QString::fromLocal8Bit(e.what()));
        return false;
    }
    return result;
}

void AISINFO::SetProfileValue(const QString &category, const QString &key, const QVariant &value) {
    // An overlong value would make the server refuse the row; the caller
    // reports the cut.
    QString text = value.toString();
    if (text.size() > kProfileValueWidth) {
        text.truncate(kProfileValueWidth);
        m_TruncatedKeys.append(key);
    }
    const QString c = SqlLiteral(category), k = SqlLiteral(key), v = SqlLiteral(text);
    const QString sql =
        QStringLiteral(" If not exists(Select * from t_SystemProfile Where FCategory='") + c +
        QStringLiteral("' and FKey='") + k + QStringLiteral("')") + kCrLf +
        QStringLiteral("     INSERT INTO t_SystemProfile(FCategory,FKey,FValue,FReadonly,FDescription)") + kCrLf +
        QStringLiteral("     VALUES ('") + c + QStringLiteral("','") + k + QStringLiteral("','") + v +
        QStringLiteral("',1,'')") + kCrLf + QStringLiteral(" Else") + kCrLf +
        QStringLiteral("     Update t_SystemProfile Set FValue='") + v + QStringLiteral("' Where FCategory='") + c +
        QStringLiteral("' and FKey='") + k + QStringLiteral("'") + kCrLf;
    try {
        m_Connection->Execute(sql);
    } catch (...) {}
}

QString AISINFO::GetProfileValue(const QString &category, const QString &key, const QVariant &defaultValue) {
    try {
        ado::Recordset rs = m_Connection->Execute(QStringLiteral("Select * from t_SystemProfile Where FCategory='") +
                                                  SqlLiteral(category) + QStringLiteral("' and FKey='") +
                                                  SqlLiteral(key) + QStringLiteral("'"));
        if (rs.State() == 0 || rs.Eof()) return defaultValue.toString();
        const QVariant value = rs.value(QStringLiteral("FValue"));
        return value.isValid() && !value.isNull() ? value.toString() : QString();
    } catch (...) {
        return defaultValue.toString();
    }
}

void AISINFO::DeleteProfileValue(const QString &category, const QString &key) {
    try {
        m_Connection->Execute(QStringLiteral("Delete From t_SystemProfile WHERE  FCategory='") + SqlLiteral(category) +
                              QStringLiteral("'") + QStringLiteral(" AND Fkey='") + SqlLiteral(key) +
                              QStringLiteral("'") + kCrLf);
    } catch (...) {}
}

void AISINFO::SetUserMainIsShow(const QString &unused) {
    (void)unused;
    try {
        m_Connection->Execute(
            QStringLiteral("  if not exists(select 1 from t_UserMainIsShow where FUserID=16394)") + kCrLf +
            QStringLiteral(
                " insert t_UserMainIsShow(FUserID,FSubFNCString,FSeperaterPos) select 16394,'(0,1,2,3,4,13,9,10)',6 ") +
            kCrLf + QStringLiteral(" Else") + kCrLf +
            QStringLiteral(" update t_UserMainIsShow set FSubFNCString='(0,1,2,3,4,13,9,10)',FSeperaterPos=6 where "
                           "FUserID=16394 ") +
            kCrLf);
    } catch (...) {}
}
