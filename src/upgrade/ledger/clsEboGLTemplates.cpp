// Voucher templates and auto-transfer vouchers: each header with its entries
// is one batch, written whole or not at all, and listed in the phase's
// detail log.
#include <cmath>

#include <QSet>
#include <QStringList>
#include <QVariant>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwConvert.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/ItemDetail.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/ledger/LedgerLookups.h"
#include "upgrade/ledger/LedgerSql.h"
#include "upgrade/ledger/clsEboGL.h"

namespace {

const QString kReplacedGroup = QStringLiteral("凭证字为空，因此使用默认凭证字");
const QString kReadFailure = QStringLiteral("获取源账套模式凭证资料时发生错误");
const QString kBatchFailure = QStringLiteral("（插入模式凭证的SQL语句错误）");

QString values(const QStringList &items) { return QStringLiteral(" VALUES(") + items.join(QStringLiteral(", ")) + ")"; }

// The header's group: its mapped group, or the standard group when it has
// none (replaced).
struct Group {
    int id;
    QString name;
    bool replaced;
};

Group groupOf(const ado::Recordset &rs) {
    const int id = ledger::integer(rs, "FGroupID");
    if (id == 0) return {g_StdVoucherGroupID, g_StdVoucherGroupName, true};
    return {id, ledger::text(rs, "FGroupName"), false};
}

PnwList detailRow(const QStringList &cells) {
    PnwList row;
    for (const QString &cell : cells) AddValueCell(row, cell);
    return row;
}

// An auto-transfer entry's kind in the target: 0 and 1 stay, 2 splits by
// side, higher kinds move up by one.
int transferType(int sourceType, bool debit) {
    if (sourceType == 2) return debit ? 2 : 3;
    return sourceType > 2 ? sourceType + 1 : sourceType;
}

}  // namespace

int clsEboGL::UpgradeVoucherTemplate(StepKit &kit) {
    const QString project = QStringLiteral("模式凭证");
    try {
        // By the template's own type, so every type is met in one run and
        // inserted once, whether or not its type row exists.
        auto headers = kit.query(QStringLiteral(
            "SELECT T1.FID, T1.FName, T1.FTypeID, ISNULL(T2.FTypeName, '') AS FTypeName, ISNULL(T1.FVchGroup, '') AS "
            "FGroupName, ISNULL(T3.FZ8InterID, 0) AS FGroupID, ISNULL(T1.FAttachment, 0) AS FAttachment\r\n"
            " FROM AIS_GLVchTemplate T1\r\n"
            " LEFT JOIN AIS_GLVchTemplateType T2 ON T1.FTypeID = T2.FTypeID\r\n"
            " LEFT JOIN AIS_GLVchGroup T3 ON T1.FVchGroup = T3.FGroup\r\n"
            " ORDER BY T1.FTypeID, T1.FID"));
        if (!headers) {
            WriteUpgradeLog(project, kReadFailure, QString(), 2);
            return 2;
        }
        clsDetailLogInfo detail;
        detail.setTitle(project);
        for (const char *caption : {"类别", "名称", "凭证字", "备注"}) detail.InsertCaption(QString::fromUtf8(caption));
        ledger::Lookups lookups(kit);
        QSet<int> typesInserted;
        int count = 0;
        QString errorText;
        for (; !headers->Eof(); headers->MoveNext()) {
            const int id = ledger::integer(*headers, "FID");
            const int typeID = ledger::integer(*headers, "FTypeID");
            const Group group = groupOf(*headers);
            QString batch;
            const bool newType = !typesInserted.contains(typeID);
            if (newType)
                batch += QStringLiteral("\r\nINSERT INTO T_VoucherTemplateType (FTypeID, FName)") +
                         values({QString::number(typeID), SqlNString(ledger::text(*headers, "FTypeName"))}) +
                         QStringLiteral("\r\n");
            batch += QStringLiteral("\r\nINSERT INTO T_VoucherTemplate (FVoucherTempID, FName, FTypeID, FGroupID, "
                                    "FAttachments)") +
                     values({QString::number(id), SqlNString(ledger::text(*headers, "FName")), QString::number(typeID),
                             QString::number(group.id), QString::number(ledger::integer(*headers, "FAttachment"))}) +
                     QStringLiteral("\r\n");

            // One unit per account even where the unit list holds a twin.
            auto entries = kit.query(
                SqlText(
                    "SELECT T1.FIndex, T1.FAcctID, ISNULL(T1.FClsID, 0) AS FClsID, ISNULL(T1.FObjID, '') AS FObjID, "
                    "ISNULL(T1.FCustID, '') AS FCustID, ISNULL(T1.FDeptID, '') AS FDeptID, ISNULL(T1.FEmplID, '') AS "
                    "FEmplID, ISNULL(T1.FExchRate, 1) AS FExchRate, T1.FFCyAmt, ISNULL(T1.FQty, -1) AS FQty, "
                    "ISNULL(T1.FPrice, 0) AS FPrice, T1.FDebit, T1.FCredit, ISNULL(T1.FSettleNo, '') AS FSettleNo, "
                    "ISNULL(T1.FExp, '') AS FExp, ISNULL(T2.FZ8InterID, 0) AS FAccountID, ISNULL(T3.FZ8InterID, 0) AS "
                    "FCurrencyID, ISNULL((SELECT MAX(U.FZ8InterID) FROM AIS_GLUnit U WHERE U.FUnit = T2.FUnit), 0) AS "
                    "FUnitID, ISNULL(T5.FZ8InterID, 0) AS FSettleID\r\n"
                    " FROM AIS_GLVchTemplate1 T1\r\n"
                    " LEFT JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID\r\n"
                    " LEFT JOIN AIS_GLCy T3 ON T1.FCyID = T3.FCyID\r\n"
                    " LEFT JOIN AIS_GLSettle T5 ON T1.FSettleCode = T5.FSettCode\r\n"
                    " WHERE T1.FGroupID = {id}\r\n"
                    " ORDER BY T1.FIndex")
                    .arg("id", id)
                    .str());
            if (!entries) throw std::runtime_error("template entries");
            for (; !entries->Eof(); entries->MoveNext()) {
                ledger::RowItems items;
                items.account = ledger::text(*entries, "FAcctID");
                items.itemClass = ledger::integer(*entries, "FClsID");
                items.item = ledger::text(*entries, "FObjID");
                items.businessUnit = ledger::text(*entries, "FCustID");
                items.department = ledger::text(*entries, "FDeptID");
                items.employee = ledger::text(*entries, "FEmplID");
                int detailID = 0;
                if ((items.itemClass != 0 && !items.item.isEmpty()) || !items.businessUnit.isEmpty() ||
                    !items.department.isEmpty() || !items.employee.isEmpty()) {
                    QString message;
                    detailID = lookups.multiItemDetail(items, message);
                    if (detailID == -1) {
                        errorText = QStringLiteral("升级模式凭证发生错误。原因：") + message + QStringLiteral("\r\n");
                        break;
                    }
                }
                const double debit = ledger::real(*entries, "FDebit");
                const double credit = ledger::real(*entries, "FCredit");
                const double quantity = ledger::real(*entries, "FQty", -1);
                batch += QStringLiteral("\r\nINSERT INTO T_VoucherEntryTemplate (FVoucherTempID, FEntryID, "
                                        "FExplanation, FAccountID, FDetailID, FCurrencyID, FExchangeRate, FDC, "
                                        "FAmountFor, FAmount, FQuantity, FMeasureUnitID, FUnitPrice, FSettleTypeID, "
                                        "FSettleNo)") +
                         values({QString::number(id), QString::number(ledger::integer(*entries, "FIndex")),
                                 SqlNString(ledger::text(*entries, "FExp")),
                                 QString::number(ledger::integer(*entries, "FAccountID")), QString::number(detailID),
                                 QString::number(ledger::integer(*entries, "FCurrencyID")),
                                 ledger::num(ledger::real(*entries, "FExchRate", 1)),
                                 debit != 0 ? QStringLiteral("1") : QStringLiteral("0"),
                                 ledger::num(entries->value(QStringLiteral("FFCyAmt"))), ledger::num(debit + credit),
                                 // No quantity (-1) is no quantity in the target.
                                 quantity == -1 ? QStringLiteral("0") : ledger::num(quantity),
                                 QString::number(ledger::integer(*entries, "FUnitID")),
                                 ledger::num(ledger::real(*entries, "FPrice")),
                                 QString::number(ledger::integer(*entries, "FSettleID")),
                                 SqlNString(ledger::text(*entries, "FSettleNo"))}) +
                         QStringLiteral("\r\n");
            }
            if (!errorText.isEmpty()) break;
            QString error;
            if (!kit.execute(batch, error)) {
                errorText = kBatchFailure + error + QStringLiteral("\r\n") + batch;
                break;
            }
            SetZ8InterIDByID(kit.data(), kit.connectString(), QStringLiteral("AIS_GLVchTemplate"),
                             QStringLiteral("FID"), id, id, false);
            if (newType) {
                typesInserted.insert(typeID);
                SetZ8InterIDByID(kit.data(), kit.connectString(), QStringLiteral("AIS_GLVchTemplateType"),
                                 QStringLiteral("FTypeID"), typeID, typeID, false);
            }
            detail.InsertSingleEntry(detailRow({ledger::text(*headers, "FTypeName"), ledger::text(*headers, "FName"),
                                                group.name, group.replaced ? kReplacedGroup : QString()}));
            ++count;
        }
        if (!errorText.isEmpty()) {
            WriteUpgradeLog(project, QStringLiteral("错误：") + errorText, QStringLiteral("详细日志"), 2);
            return 2;
        }
        WriteUpgradeLog(project, QStringLiteral("模式凭证数目：") + QString::number(count), QStringLiteral("详细日志"),
                        0, detail.PackDetailLog());
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QStringLiteral("详细日志"), 2);
        return 2;
    }
}

int clsEboGL::UpgradeAutoTransfer(StepKit &kit) {
    const QString project = QStringLiteral("自动转账");
    try {
        auto headers = kit.query(QStringLiteral(
            "SELECT T1.FRecurID, T1.FRecurName, ISNULL(T1.FVchGroup, '') AS FGroupName, ISNULL(T2.FZ8InterID, 0) AS "
            "FGroupID, T1.FPeriods\r\n"
            " FROM AIS_GLRecur T1\r\n"
            " LEFT JOIN AIS_GLVchGroup T2 ON T1.FVchGroup = T2.FGroup\r\n"
            " ORDER BY T1.FRecurID"));
        if (!headers) {
            WriteUpgradeLog(project, kReadFailure, QString(), 2);
            return 2;
        }
        clsDetailLogInfo detail;
        detail.setTitle(QStringLiteral("自动转账凭证"));
        for (const char *caption : {"凭证名称", "转账期间", "凭证字", "备注"})
            detail.InsertCaption(QString::fromUtf8(caption));
        int count = 0;
        QString errorText;
        for (; !headers->Eof(); headers->MoveNext()) {
            const QString sourceName = ledger::text(*headers, "FRecurName");
            const Group group = groupOf(*headers);
            const QString periods = PnwConvert::ToText(headers->value(QStringLiteral("FPeriods")), QString());
            // A name the target holds gets the edition; a name that still
            // clashes gets a counter as well.
            const auto taken = [&](const QString &name) {
                return kit.scalar(SqlText("SELECT COUNT(*) FROM T_AutoTransfer WHERE FName = {name}")
                                      .arg("name", name)
                                      .str())
                           .toInt() > 0;
            };
            QString name = sourceName;
            if (taken(name)) {
                const QString suffixed = sourceName + QLatin1Char('_') + g_SourceEdition;
                name = suffixed;
                for (int n = 2; taken(name); ++n) name = suffixed + QString::number(n);
            }
            const int transferID =
                kit.scalar(QStringLiteral("SELECT ISNULL(MAX(FTransferID), 0) + 1 FROM T_AutoTransfer")).toInt();
            QString batch = QStringLiteral("\r\nINSERT INTO T_AutoTransfer (FTransferID, FName, FPeriodRange, "
                                           "FGroupID, FTransferType)") +
                            values({QString::number(transferID), SqlNString(name), SqlString(periods),
                                    QString::number(group.id), QStringLiteral("1")}) +
                            QStringLiteral("\r\n");
            auto entries = kit.query(
                SqlText(
                    "SELECT T1.FEntryID, ISNULL(T1.FExp, '') AS FExp, T1.FAcctID, T1.FIsNew, ISNULL(T1.FClsID, 0) AS "
                    "FClsID, ISNULL(T1.FObjID, '') AS FObjID, T1.FDC, T1.FTransType, T1.FTransRate, "
                    "ISNULL(T1.FAmountFor, "
                    "'') AS FAmountFor, ISNULL(T1.FAmount, '') AS FAmount, ISNULL(T1.FQty, '') AS FQty, "
                    "ISNULL(T2.FZ8InterID, 0) AS FAccountID, ISNULL(T3.FZ8InterID, 0) AS FCurrencyID\r\n"
                    " FROM AIS_GLRecurEntry T1\r\n"
                    " INNER JOIN AIS_GLAcct T2 ON T1.FAcctID = T2.FAcctID\r\n"
                    " INNER JOIN AIS_GLCy T3 ON T1.FCyID = T3.FCyID\r\n"
                    " WHERE T1.FRecurID = {id}\r\n"
                    " ORDER BY T1.FEntryID")
                    .arg("id", ledger::integer(*headers, "FRecurID"))
                    .str());
            if (!entries) throw std::runtime_error("auto-transfer entries");
            for (; !entries->Eof(); entries->MoveNext()) {
                const int entryID = ledger::integer(*entries, "FEntryID");
                const bool debit = ledger::text(*entries, "FDC") == QStringLiteral("D");
                const QString amountFor = ledger::text(*entries, "FAmountFor");
                const QString amount = ledger::text(*entries, "FAmount");
                const QString quantity = ledger::text(*entries, "FQty");
                const bool formula = !amountFor.isEmpty() || !amount.isEmpty() || !quantity.isEmpty();
                // A percentage to two decimals of a whole, halves to even.
                const double rate = std::nearbyint(ledger::real(*entries, "FTransRate")) / 100.0;
                batch +=
                    QStringLiteral("\r\nINSERT INTO T_AutoTransferEntry (FTransferID, FEntryID, FExplanation, "
                                   "FAccountID, FDetailID, FCurrencyID, FTransRate, FType, FDC, "
                                   "FAmountForFormula, FAmountFormula, FQuantityFormula, FFormulaType, "
                                   "FPosted)") +
                    values({QString::number(transferID), QString::number(entryID),
                            SqlNString(ledger::text(*entries, "FExp")),
                            QString::number(ledger::integer(*entries, "FAccountID")), QStringLiteral("0"),
                            QString::number(ledger::integer(*entries, "FCurrencyID")), ledger::num(rate),
                            QString::number(transferType(ledger::integer(*entries, "FTransType"), debit)),
                            debit ? QStringLiteral("1") : QStringLiteral("2"), SqlString(amountFor), SqlString(amount),
                            SqlString(quantity), formula ? QStringLiteral("1") : QStringLiteral("0"),
                            entries->value(QStringLiteral("FIsNew")).toBool() ? QStringLiteral("1")
                                                                              : QStringLiteral("0")}) +
                    QStringLiteral("\r\n");
                const int itemClass = ledger::integer(*entries, "FClsID");
                const QString item = ledger::text(*entries, "FObjID");
                if (itemClass != 0 && !item.isEmpty())
                    batch +=
                        QStringLiteral("\r\nINSERT INTO T_AutoTransferEntryItem (FTransferID, FEntryID, "
                                       "FItemClassID, FItemNumber, FEndItemNumber)") +
                        values({QString::number(transferID), QString::number(entryID),
                                QString::number(MapItemClassID(itemClass, item, ledger::text(*entries, "FAcctID"))),
                                SqlNString(item), SqlNString(item)}) +
                        QStringLiteral("\r\n");
            }
            QString error;
            if (!kit.execute(batch, error)) {
                errorText = kBatchFailure + error + QStringLiteral("\r\n") + batch;
                break;
            }
            detail.InsertSingleEntry(
                detailRow({sourceName, periods, group.name, group.replaced ? kReplacedGroup : QString()}));
            ++count;
        }
        if (!errorText.isEmpty()) {
            WriteUpgradeLog(project, QStringLiteral("错误：") + errorText, QStringLiteral("详细日志"), 2);
            return 2;
        }
        WriteUpgradeLog(project, QStringLiteral("自动转账凭证数目：") + QString::number(count),
                        QStringLiteral("详细日志"), 0, detail.PackDetailLog());
        return 0;
    } catch (const std::exception &e) {
        WriteUpgradeLog(project, QStringLiteral("发生错误：") + ErrorDescription(e), QStringLiteral("详细日志"), 2);
        return 2;
    }
}
