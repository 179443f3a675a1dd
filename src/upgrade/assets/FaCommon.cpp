#include "upgrade/assets/FaCommon.h"

#include <cmath>

#include <QDate>
#include <QDateTime>

#include "controls/ProgressBar.h"
#include "foundation/Globals.h"
#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"
#include "upgrade/assets/FaDetailLog.h"
#include "upgrade/assets/clsEboFa.h"
#include "upgrade/common/StepKit.h"

int FaOption() {
    if (g_UpgradeSettings.Count() < 1) return 0;
    return g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("Option")).toInt();
}

namespace {

QVariant periodEnd(StepKit &kit, const QString &sql) {
    try {
        const QVariant end = kit.scalar(sql);
        if (!end.isNull()) return end;
    } catch (const std::exception &) {
        // The table is missing from this source: try the next one.
    }
    return QVariant();
}

}  // namespace

QVariant FaDayAfterCurrentPeriod(StepKit &kit) {
    QVariant end = periodEnd(kit, QStringLiteral("SELECT p.FEndDate FROM AIS_GLPeriod p INNER JOIN AIS_GLPref r "
                                                 "ON p.FYear = r.FCurrYear AND p.FPeriod = r.FCurrPeriod"));
    if (end.isNull())
        end = periodEnd(kit, QStringLiteral("SELECT p.FEndDate FROM t_PeriodDate p INNER JOIN AIS_GLPref r "
                                            "ON p.FYear = r.FCurrYear AND p.FPeriod = r.FCurrPeriod"));
    if (end.isNull()) return QVariant();
    const QDate day = end.toDateTime().date();
    if (!day.isValid()) return QVariant();
    return day.addDays(1);
}

QString FaAfterCurrentPeriod(StepKit &kit) {
    const QVariant after = FaDayAfterCurrentPeriod(kit);
    if (!after.isNull()) return SqlText("FServiceDate >= {after}").arg("after", after).str();
    return QStringLiteral("datediff(month, FServiceDate, (SELECT CONVERT(datetime, CAST(FCurrYear AS varchar) + '-' + "
                          "CAST(FCurrPeriod AS varchar) + '-1', 111) FROM AIS_GLPref)) < 0");
}

void FaRowProgress(StepKit &kit, const QString &caption, int row, int count, int base, int span) {
    kit.caption(caption + QString::number(row) + QStringLiteral(" / ") + QString::number(count) + QStringLiteral(")"));
    const int point = static_cast<int>(std::nearbyint(base + static_cast<double>(span) * row / count));
    // Drawing the bar costs milliseconds; a row that leaves it where it is
    // does not redraw it.
    if (!kit.bar() || kit.bar()->Value() != point) kit.progress(point);
    LetEventsRun();
}

bool FaProgressThenCancelled(StepKit &kit, int value) {
    kit.progress(value);
    LetEventsRun();
    return g_CancelRequested;
}

bool FaExecute(FaRun &run, const QString &batch, const QString &prefix) {
    QString error;
    if (run.kit.execute(batch, error)) return true;
    run.errorText = prefix + error;
    return false;
}

QVariant FaCount(StepKit &kit, const QString &sql) {
    try {
        return kit.scalar(sql);
    } catch (const std::exception &) {
        return QVariant();
    }
}

int FaRowStep(FaRun &run, const QString &query, const std::function<QString(const ado::Recordset &)> &batch,
              const QString &prefix, const QString &caption, int base, int span) {
    std::optional<ado::Recordset> rows;
    try {
        rows = run.kit.query(query);
    } catch (const std::exception &) {
        return FaDone;  // a step whose rows cannot be read has none
    }
    if (!rows || rows->RecordCount() < 1) return FaDone;
    const int count = rows->RecordCount();
    int position = 0;
    for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
        ++position;
        if (!FaExecute(run, batch(*rows), prefix)) return FaFailed;
        FaRowProgress(run.kit, caption, position, count, base, span);
        if (g_CancelRequested) return FaFailed;
    }
    return FaDone;
}

QString FaCardExpenseRows(const QString &alterId, const QString &number, const QString &period,
                          const QString &count) {
    return QStringLiteral(
               "SELECT %1, ISNULL(a.FZ8InterID, 0), CASE WHEN ISNULL(a.FExpenseClsID, 0) = 0 THEN 0 ELSE "
               "ISNULL((SELECT TOP 1 v.FDetailID FROM t_ItemDetailV v INNER JOIN t_ItemDetail d ON d.FDetailID = "
               "v.FDetailID WHERE d.FDetailCount = 1 AND v.FItemID = b.FZ8InterID), 0) END, CASE WHEN %4 < 2 THEN "
               "a.FRate / 100 ELSE 1 END, CASE WHEN ISNULL(a.FExpenseClsID, 0) <> 0 THEN ISNULL(b.FZ8InterID, 0) "
               "WHEN %4 < 2 THEN (SELECT TOP 1 d.FZ8InterID FROM AIS_FABalDept d WHERE d.FAssetID = %2 AND "
               "d.FPeriod = %3) ELSE 0 END FROM AIS_FABalExpense a LEFT JOIN AIS_GLObj b ON b.FClsID = "
               "a.FExpenseClsID AND b.FObjID = a.FExpenseObjID WHERE a.FAssetID = %2 AND a.FPeriod = %3")
        .arg(alterId, number, period, count);
}

void FaReportAlterationsWithoutCard(StepKit &kit) {
    try {
        auto rs = kit.query(QStringLiteral("SELECT DISTINCT v.FAssetID FROM AIS_FAVch v WHERE NOT EXISTS (SELECT 1 FROM "
                                           "AIS_FACard c WHERE c.FAssetID = v.FAssetID) ORDER BY v.FAssetID"));
        if (!rs || rs->Eof()) return;
        FaCardList cards;
        for (; !rs->Eof(); rs->MoveNext()) cards.add(rs->value(QStringLiteral("FAssetID")).toString());
        WriteUpgradeLog(QStringLiteral("固定资产变动卡片"),
                        QStringLiteral("固定资产") + cards.text() +
                            QStringLiteral("的变动记录没有对应的固定资产卡片，未升级这些变动记录。"),
                        QString(), 1);
    } catch (const std::exception &) {
        // The warning is an aid; the rows are left out all the same.
    }
}
