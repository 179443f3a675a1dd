// Queries of clsDataInfo on the registry and on an account set that the
// wizard itself does not call: periods, counts of upgraded rows and the tests
// for documents dated in or after the current period.
#include <QDate>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/clsDataInfo.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/AdoTypes.h"

namespace {

QString countSql(const QString &table, const QString &filter) {
    return QStringLiteral("select count(*) as FCount from ") + table + filter;
}

// Sum of the rows of the tables dated on or after a day (column FDate).
QString datedCountSql(const QStringList &tables, const QString &day) {
    QStringList parts;
    for (const QString &t : tables)
        parts.append(QStringLiteral("(select count(*) from ") + t + QStringLiteral(" where FDate>='") + day +
                     QStringLiteral("')"));
    return QStringLiteral("select ") + parts.join(QStringLiteral("+")) + QStringLiteral(" as FCount");
}

}  // namespace

int clsDataInfo::GetMaxPeriod(const QString &sDsn) {
    try {
        const QVariant v = firstValue(sDsn, QStringLiteral("select MAX(FPeriod) as FValue from T_PeriodDate"));
        return v.isNull() ? 12 : v.toInt();
    } catch (const std::exception &) {
        return 12;
    }
}

qint64 clsDataInfo::GetUpgradeDataCount(const QString &sTableName) {
    static const QStringList idTables{QStringLiteral("t_Currency"), QStringLiteral("t_Settle"),
                                      QStringLiteral("t_UnitGroup"), QStringLiteral("t_MeasureUnit"),
                                      QStringLiteral("t_auxitem")};
    static const QStringList itemTables{QStringLiteral("t_Organization"), QStringLiteral("t_department"),
                                        QStringLiteral("t_Emp"),          QStringLiteral("t_ICItem"),
                                        QStringLiteral("t_Stock"),        QStringLiteral("t_Supplier")};
    static const int itemClasses[] = {1, 2, 3, 4, 5, 8};
    QString sql;
    if (sTableName == QLatin1String("t_User")) {
        sql = countSql(sTableName, QStringLiteral(" where FUserID>1 and FPrimaryGroup in (0,1)"));
    } else if (idTables.contains(sTableName)) {
        const QString idColumn = sTableName == QLatin1String("t_Currency")      ? QStringLiteral("FCurrencyID")
                                 : sTableName == QLatin1String("t_UnitGroup")   ? QStringLiteral("FUnitGroupID")
                                 : sTableName == QLatin1String("t_MeasureUnit") ? QStringLiteral("FMeasureUnitID")
                                                                                : QStringLiteral("FItemID");
        sql = countSql(sTableName, QStringLiteral(" where ") + idColumn + QStringLiteral(">0"));
    } else if (itemTables.contains(sTableName)) {
        sql = countSql(QStringLiteral("t_item"), QStringLiteral(" where FItemClassID=") +
                                                     QString::number(itemClasses[itemTables.indexOf(sTableName)]));
    } else {
        sql = countSql(sTableName, QString());
    }
    try {
        return countOf(g_NewAcctConnectString, sql);
    } catch (const std::exception &) {
        return 0;
    }
}

QString clsDataInfo::GetAcctNumber(const QString &sDsn, const QString &sAcctName) {
    std::optional<ado::Recordset> rs = GetAcctInfoByName(sDsn, sAcctName);
    return rs && rs->RecordCount() > 0 ? PnwConvert::ToText(rs->value(QStringLiteral("FDBName"))) : QString();
}

QString clsDataInfo::GetAcctVerNo(const QString &sDsn, const QString &sAcctName) {
    std::optional<ado::Recordset> rs = GetAcctInfoByName(sDsn, sAcctName);
    return rs && rs->RecordCount() > 0 ? PnwConvert::ToText(rs->value(QStringLiteral("FVersion"))) : QString();
}

std::optional<ado::Recordset> clsDataInfo::GetAcctInfoByName(const QString &sDsn, const QString &sAcctName) {
    try {
        QString ignored;
        QString name = sAcctName;
        return GetRs(sDsn,
                     QStringLiteral("select * from t_ad_xrAccount_gl where FAcctName='") +
                         name.replace(QLatin1Char('\''), QStringLiteral("''")) + QStringLiteral("'"),
                     true, ignored);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

bool clsDataInfo::IsExistBillsICBackPeriod(const QString &sDsn, PnwDictionary dicChoose) {
    try {
        const QString day = GetPeriodDate(sDsn, QStringLiteral("IC"), QStringLiteral("0"), true);
        const QStringList tables{QStringLiteral("POOrder"),         QStringLiteral("ICStockBill"),
                                 QStringLiteral("ICPurchase"),      QStringLiteral("PORFQ"),
                                 QStringLiteral("SEOrder"),         QStringLiteral("ICSale"),
                                 QStringLiteral("ICChange"),        QStringLiteral("ICMO"),
                                 QStringLiteral("ICApportionFee"),  QStringLiteral("ICOutMO"),
                                 QStringLiteral("ICOutExpense"),    QStringLiteral("t_RP_Rbill"),
                                 QStringLiteral("t_RP_Pbill"),      QStringLiteral("t_RP_ROtherBill"),
                                 QStringLiteral("t_RP_POtherBill"), QStringLiteral("t_RP_CheckInfo")};
        if (countOf(sDsn, datedCountSql(tables, day)) <= 0) return false;
        dicChoose.setItem(QStringLiteral("2"), QStringLiteral("1"));
        return true;
    } catch (const std::exception &) {
        return true;
    }
}

bool clsDataInfo::IsExistPostedVoucher(const QString &sDsn, int iType) {
    try {
        QString sql;
        if (iType == 1 || iType == 2) {
            const QString day = GetPeriodDate(sDsn, QStringLiteral("GL"), QStringLiteral("0"), true);
            sql = QStringLiteral("select count(*) from t_Voucher where FDate>='") + day + QStringLiteral("'") +
                  (iType == 1 ? QStringLiteral(" and FPosted=1")
                              : QStringLiteral(" and FInternalInd='Fa' and FReference='固定资产折旧'"));
        } else if (iType == 3) {
            sql = datedCountSql({QStringLiteral("t_RP_Rbill"), QStringLiteral("t_RP_Pbill"),
                                 QStringLiteral("t_RP_ROtherBill"), QStringLiteral("t_RP_POtherBill"),
                                 QStringLiteral("t_RP_CheckInfo")},
                                GetPeriodDate(sDsn, QStringLiteral("IC"), QStringLiteral("0"), true));
        } else {
            throw PnwError(5, QStringLiteral("clsDataInfo.IsExistPostedVoucher"),
                           QStringLiteral("无效的过程调用或参数"));
        }
        return countOf(sDsn, sql) > 0;
    } catch (const std::exception &e) {
        ShowMessage(ErrorDescription(e), MsgBox::OkCancel, kMessageTitle);
        return true;
    }
}

bool clsDataInfo::IsExistDataGLBackPeriod(const QString &sDsn, PnwDictionary dicChoose) {
    try {
        const QString day = GetPeriodDate(sDsn, QStringLiteral("GL"), QStringLiteral("0"), true);
        const qint64 wages =
            countOf(sDsn, datedCountSql({QStringLiteral("ICPiecewage"), QStringLiteral("ICHourlywage")}, day));
        const qint64 vouchers = countOf(sDsn, datedCountSql({QStringLiteral("t_Voucher")}, day));
        const qint64 alterations = countOf(sDsn, datedCountSql({QStringLiteral("t_FAAlter")}, day));
        if (wages > 0) dicChoose.setItem(QStringLiteral("3"), QStringLiteral("1"));
        if (vouchers > 0) dicChoose.setItem(QStringLiteral("1"), QStringLiteral("1"));
        if (alterations > 0) dicChoose.setItem(QStringLiteral("5"), QStringLiteral("1"));
        return wages + vouchers + alterations > 0;
    } catch (const std::exception &) {
        return true;
    }
}

bool clsDataInfo::IsExistDataCNBackPeriod(const QString &sDsn, PnwDictionary dicChoose) {
    try {
        const QString year = GetSysProfileValue(sDsn, QStringLiteral("CN"), QStringLiteral("CN_CURRENT_YEAR"));
        const QString period = GetSysProfileValue(sDsn, QStringLiteral("CN"), QStringLiteral("CN_CURRENT_PERIOD"));
        const QString when = QStringLiteral(" where FYear=") + year + QStringLiteral(" and FPeriod=") + period;
        const QString marked = when + QStringLiteral(" and (FDzAlready=1 or FId=FOldID)");
        const qint64 sum = countOf(sDsn, QStringLiteral("select (select count(*) from cn_xjrjz") + when +
                                             QStringLiteral(")+(select count(*) from cn_yhrjz") + marked +
                                             QStringLiteral(")+(select count(*) from cn_yhdzd") + marked +
                                             QStringLiteral(") as FCount"));
        if (sum <= 0) return false;
        dicChoose.setItem(QStringLiteral("4"), QStringLiteral("1"));
        return true;
    } catch (const std::exception &) {
        return true;
    }
}

QString clsDataInfo::GetPeriodDate(const QString &sDsn, const QString &strCategory, const QString &sType,
                                   bool IsStart) {
    const int type = sType.trimmed().toInt();
    QString yearKey;
    QString periodKey;
    const QString category = strCategory.toUpper();
    if (category == QLatin1String("GL") || category == QLatin1String("IC")) {
        yearKey = type == 0 ? QStringLiteral("CurrentYear") : type == 1 ? QStringLiteral("StartYear") : QString();
        periodKey = type == 0 ? QStringLiteral("CurrentPeriod") : type == 1 ? QStringLiteral("StartPeriod") : QString();
    } else if (category == QLatin1String("CN")) {
        yearKey = type == 0   ? QStringLiteral("CN_CURRENT_YEAR")
                  : type == 1 ? QStringLiteral("CN_START_YEAR")
                              : QString();
        periodKey = type == 0   ? QStringLiteral("CN_CURRENT_PERIOD")
                    : type == 1 ? QStringLiteral("CN_START_PERIOD")
                                : QString();
    }
    int year = 0;
    int period = 0;
    if (!yearKey.isEmpty()) {
        bool okYear = false;
        bool okPeriod = false;
        year = GetSysProfileValue(sDsn, strCategory, yearKey).trimmed().toInt(&okYear);
        period = GetSysProfileValue(sDsn, strCategory, periodKey).trimmed().toInt(&okPeriod);
        if (!okYear || !okPeriod)
            throw PnwError(13, QStringLiteral("clsDataInfo.GetPeriodDate"), QStringLiteral("类型不匹配"));
    }
    QString ignored;
    std::optional<ado::Recordset> rs =
        GetRs(sDsn,
              QStringLiteral("select FStartDate,FEndDate from t_PeriodDate where FYear=") + QString::number(year) +
                  QStringLiteral("  and FPeriod=") + QString::number(period),
              true, ignored);
    if (!rs || rs->State() != ado::adStateOpen || rs->RecordCount() == 0)
        return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    return rs->value(IsStart ? QStringLiteral("FStartDate") : QStringLiteral("FEndDate"))
        .toDate()
        .toString(QStringLiteral("yyyy-MM-dd"));
}
