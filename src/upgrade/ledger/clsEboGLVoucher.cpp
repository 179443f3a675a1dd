// The voucher phase: every staged voucher (a run of entry rows with one
// period, group and number) becomes one T_Voucher header and its entries,
// and the new identifiers are written back into the staging rows, which the
// later phases and steps join through.
#include <cmath>

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVariant>

#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/Progress.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDetailLogInfo.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"
#include "upgrade/common/IdentityMapping.h"
#include "upgrade/common/StepKit.h"
#include "upgrade/ledger/LedgerLookups.h"
#include "upgrade/ledger/LedgerSql.h"
#include "upgrade/ledger/clsEboGL.h"

namespace {

const QString kProject = QStringLiteral("凭证");

// Amounts are summed exactly, in ten-thousandths as money keeps them.
qint64 cents(const QVariant &value) { return value.isNull() ? 0 : std::llround(value.toDouble() * 10000.0); }
QString moneyText(qint64 tenThousandths) { return ledger::num(static_cast<double>(tenThousandths) / 10000.0); }

// How a staged row names its voucher's group: as stored, so NULL, '' and a
// blanks-only name are three groups. The server compares text without its
// trailing blanks (and without case), so the statements append a mark to
// make the blanks count.
struct GroupKey {
    bool isNull = true;
    QString name;  // as stored

    static GroupKey of(const QVariant &value) {
        GroupKey key;
        key.isNull = value.isNull();
        key.name = value.toString();
        return key;
    }
    bool operator==(const GroupKey &o) const {
        return isNull == o.isNull && name.compare(o.name, Qt::CaseInsensitive) == 0;
    }
    // The staging rows of this group.
    QString condition() const {
        return isNull ? QStringLiteral("FGroup IS NULL")
                      : SqlText("FGroup + N'.' = {g}").arg("g", name + QStringLiteral(".")).str();
    }
};

struct VoucherHeader {
    int period = 0;  // source period
    GroupKey group;
    QString stagedRows;  // the condition on its staging rows, up to the entry
    QString trimmedGroup;
    int number = 0;  // source number
    int serial = 0;
    QVariant date;
    int targetPeriod = 0;
    int groupID = 0;
    int targetNumber = 0;
    int targetSerial = 0;
    int attachments = 0;
    int checked = 0, posted = 0;
    int preparer = -1, checker = -1, poster = -1;
    QString explanation;
    QString module;
    QString parameter;
    int tranType = 0;
};

struct StandardGroupMax {
    int serial = 0;
    int number = 0;
};

// One warning row: where and what did not map.
struct Unmapped {
    VoucherHeader voucher;
    int entry;
    QString what;
};

const char *const kInternalIndBatch =
    "DECLARE @FVoucherID INT\r\n"
    "DECLARE @FModule NVARCHAR(10)\r\n"
    "DECLARE FInternalInd_Cursor CURSOR FOR select FVoucherID from T_Voucher \r\n"
    "OPEN FInternalInd_Cursor\r\n"
    "FETCH NEXT FROM FInternalInd_Cursor INTO @FVoucherID\r\n"
    "WHILE @@FETCH_STATUS = 0\r\n"
    "BEGIN\r\n"
    "SET @FModule = (select top 1 isnull(FModule,'') from AIS_GLVch where FZ8InterID = @FVoucherID order by "
    "FZ8InterID, FModule desc)\r\n"
    "UPDATE T_Voucher SET FInternalInd = @FModule WHERE FVoucherID = @FVoucherID\r\n"
    "FETCH NEXT FROM FInternalInd_Cursor INTO @FVoucherID\r\n"
    "END\r\n"
    "CLOSE FInternalInd_Cursor\r\n"
    "DEALLOCATE FInternalInd_Cursor\r\n"
    "update t_Voucher set FInternalInd='FA' where FInternalInd in ('FD','FAT','DA')";

}  // namespace

int clsEboGL::UpgradeVoucher(StepKit &kit) {
    try {
        const QVariant counted = kit.scalar(QStringLiteral(
            "SELECT COUNT(*) AS FCount FROM (SELECT FPeriod,FGroup,FNum,FSerialNum FROM dbo.AIS_GLVch GROUP BY "
            "FPeriod,FGroup,FNum,FSerialNum) AS T"));
        const QString total = QString::number(counted.toInt());

        // Highest serial and number of the standard group per period, for
        // the vouchers that come without a group.
        QHash<int, StandardGroupMax> maxima;
        if (auto rs = kit.query(SqlText(" SELECT FPeriod, MAX(ISNULL(FSerialNum,0)) AS FMaxSerialNum, "
                                        "MAX(ISNULL(FNum,0)) AS FMaxNum FROM AIS_GLVch WHERE FGroup = {name} GROUP "
                                        "BY FPeriod ")
                                    .arg("name", g_StdVoucherGroupName)
                                    .str())) {
            for (; !rs->Eof(); rs->MoveNext())
                maxima.insert(ledger::integer(*rs, "FPeriod"),
                              {ledger::integer(*rs, "FMaxSerialNum"), ledger::integer(*rs, "FMaxNum")});
        }

        // Read as a stream: the loop holds one entry row at a time.
        auto rs = kit.stream(QStringLiteral(
            "SELECT T1.FSerialNum, T1.FDate, T1.FPeriod, T1.FGroup, T1.FNum, T1.FEntryID, T1.FAcctID,\r\n"
            " ISNULL(T1.FClsID,0) AS FClsID, ISNULL(T1.FObjID,'') AS FObjID, ISNULL(T1.FCustID,'') AS FCustID,\r\n"
            " ISNULL(T1.FDeptID,'') AS FDeptID, ISNULL(T1.FEmplID,'') AS FEmplID, ISNULL(T1.FTransID,'') AS "
            "FTransID,\r\n"
            " T1.FCyID, T1.FExchRate, T1.FFCyAmt, ISNULL(T1.FPrice,0) AS FPrice, T1.FDebit, T1.FCredit, T1.FQty,\r\n"
            " ISNULL(T1.FSettleCode,'') AS FSettleCode, ISNULL(T1.FSettleNo,'') AS FSettleNo,\r\n"
            " ISNULL(T2.FZ8InterID,-1) AS FPreparer, ISNULL(T3.FZ8InterID,-1) AS FChecker,\r\n"
            " ISNULL(T4.FZ8InterID,-1) AS FPoster, ISNULL(T1.FModule,'') AS FModule, T1.FChecked, T1.FPosted,\r\n"
            " ISNULL(T1.FExp,'') AS FExp, ISNULL(T1.FAttachment,0) AS FAttachment\r\n"
            " FROM AIS_GLVch T1\r\n"
            " INNER JOIN AIS_GLAcct T5 ON T1.FAcctID = T5.FAcctID\r\n"
            " LEFT JOIN AIS_SysUsers T2 ON T1.FPreparer = T2.FUser\r\n"
            " LEFT JOIN AIS_SysUsers T3 ON T1.FChecker = T3.FUser\r\n"
            " LEFT JOIN AIS_SysUsers T4 ON T1.FPoster = T4.FUser\r\n"
            " ORDER BY T1.FPeriod, T1.FGroup, T1.FGroup + N'.', T1.FNum, T1.FEntryID"));
        if (!rs) {
            WriteUpgradeLog(kProject, QStringLiteral("获取源账套凭证资料时发生错误"), QString(), 2);
            return 2;
        }

        const int currentYear = ledger::sourceCurrentYear(kit);
        const int perYear = ledger::periodsPerYear();
        AddInterIDColumn(kit.data(), kit.connectString(), QStringLiteral("AIS_GLVch"), QStringLiteral("FZ8InterID"));
        AddInterIDColumn(kit.data(), kit.connectString(), QStringLiteral("AIS_GLVch"), QStringLiteral("FZ8InterID_2"));
        // The write-backs key into the staging copy row by row. The fixed
        // assets index the same table by voucher group under another name.
        kit.indexStagedCopy(QStringLiteral("CREATE INDEX ix_AIS_GLVch_Entry ON AIS_GLVch (FPeriod, FNum, FEntryID)"));
        kit.indexStagedCopy(QStringLiteral("CREATE INDEX ix_AIS_GLVch_Target ON AIS_GLVch (FZ8InterID)"));

        ledger::Lookups lookups(kit);
        int voucherID = 1;
        int entryID = -1;
        int entryCount = 0;
        int written = 0;
        int rowsRead = 0;
        qint64 debitTotal = 0, creditTotal = 0;
        VoucherHeader header;
        bool haveHeader = false;
        QList<Unmapped> unmapped;
        QStringList merged;  // vouchers kept apart from a neighbour with the same normalised key
        QString errorText;
        QString pendingEntries;  // the current voucher's entries and their write-backs

        const auto takeHeader = [&](const ado::Recordset &row) {
            VoucherHeader h;
            h.period = ledger::integer(row, "FPeriod");
            h.group = GroupKey::of(row.value(QStringLiteral("FGroup")));
            h.trimmedGroup = h.group.name.trimmed();
            h.number = ledger::integer(row, "FNum");
            h.stagedRows = QStringLiteral("FPeriod = ") + QString::number(h.period) + QStringLiteral(" AND ") +
                           h.group.condition() + QStringLiteral(" AND FNum = ") + QString::number(h.number);
            h.serial = ledger::integer(row, "FSerialNum");
            if (!h.trimmedGroup.isEmpty()) {
                h.groupID = lookups.mapped(QStringLiteral("AIS_GLVchGroup"), QStringLiteral("FGroup"), h.trimmedGroup);
                h.targetNumber = h.number;
                h.targetSerial = h.serial;
            } else {
                h.groupID = g_StdVoucherGroupID;
                StandardGroupMax &max = maxima[h.period];
                max.serial += 1;
                max.number += 1;
                h.targetSerial = max.serial;
                h.targetNumber = max.number;
            }
            h.date = row.value(QStringLiteral("FDate"));
            const int year = h.date.toDateTime().date().year();
            h.targetPeriod = GetVoucherPeriod(year, h.period, currentYear, perYear);
            h.attachments = ledger::integer(row, "FAttachment");
            h.checked = row.value(QStringLiteral("FChecked")).toBool() ? 1 : 0;
            h.posted = row.value(QStringLiteral("FPosted")).toBool() ? 1 : 0;
            h.preparer = ledger::integer(row, "FPreparer", -1);
            h.checker = ledger::integer(row, "FChecker", -1);
            h.poster = ledger::integer(row, "FPoster", -1);
            h.explanation = ledger::text(row, "FExp");
            h.module = ledger::text(row, "FModule");
            if (h.module == QStringLiteral("FD")) {
                h.module = QStringLiteral("FA");
                h.parameter = QStringLiteral("Depr");
                h.tranType = 20202;
            }
            if (haveHeader && h.period == header.period && h.number == header.number &&
                h.trimmedGroup == header.trimmedGroup)
                merged << QStringLiteral("%1/%2/%3").arg(h.period).arg(h.trimmedGroup).arg(h.number);
            if (h.groupID == 0) unmapped.append({h, -1, QStringLiteral("凭证字：") + h.trimmedGroup});
            header = h;
            haveHeader = true;
            entryCount = 0;
        };

        const auto writeVoucher = [&]() -> bool {
            const QString dateText = SqlValue(header.date);
            const QString sql =
                QStringLiteral("INSERT INTO T_Voucher (FVoucherID, FDate, FYear, FPeriod, FGroupID, FNumber, "
                               "FExplanation, FAttachments, FEntryCount, FDebitTotal, FCreditTotal, FChecked, "
                               "FPosted, FPreparerID, FCheckerID, FPosterID, FOwnerGroupID, FObjectName, "
                               "FParameter, FSerialNum, FTranType, FTransDate, FIsDailyAccount)") +
                QStringLiteral(" VALUES(") +
                QStringList{QString::number(voucherID),
                            dateText,
                            QString::number(header.date.toDateTime().date().year()),
                            QString::number(header.targetPeriod),
                            QString::number(header.groupID),
                            QString::number(header.targetNumber),
                            SqlNString(header.explanation),
                            QString::number(header.attachments),
                            QString::number(entryCount),
                            moneyText(debitTotal),
                            moneyText(creditTotal),
                            QString::number(header.checked),
                            QString::number(header.posted),
                            QString::number(header.preparer),
                            QString::number(header.checker),
                            QString::number(header.poster),
                            QStringLiteral("0"),
                            SqlNString(header.module),
                            SqlString(header.parameter),
                            QString::number(header.targetSerial),
                            QString::number(header.tranType),
                            dateText,
                            QStringLiteral("0")}
                    .join(QStringLiteral(", ")) +
                QStringLiteral(")\r\n\r\n");
            // The voucher goes whole: its entries, its header and the
            // write-back of both identifiers in one transaction, so no
            // entry is left without its header.
            const QString batch = pendingEntries + sql + QStringLiteral(" UPDATE AIS_GLVch \r\n SET FZ8InterID = ") +
                                  QString::number(voucherID) + QStringLiteral("\r\n WHERE ") + header.stagedRows +
                                  QStringLiteral("\r\n");
            pendingEntries.clear();
            QString error;
            if (!kit.execute(batch, error)) {
                errorText = QStringLiteral("（插入凭证的SQL语句错误）") + error + QStringLiteral("\r\n") + batch;
                return false;
            }
            ++written;
            debitTotal = creditTotal = 0;
            ++voucherID;
            entryID = -1;
            return true;
        };

        const auto writeEntry = [&](const ado::Recordset &row) -> bool {
            const QString account = ledger::text(row, "FAcctID");
            const int accountID = lookups.mapped(QStringLiteral("AIS_GLAcct"), QStringLiteral("FAcctID"), account);
            const QString currency = ledger::text(row, "FCyID");
            const int currencyID = lookups.mapped(QStringLiteral("AIS_GLCy"), QStringLiteral("FCyID"), currency);
            const QString settleCode = ledger::text(row, "FSettleCode");
            const int settleID =
                lookups.mapped(QStringLiteral("AIS_GLSettle"), QStringLiteral("FSettCode"), settleCode);
            const int unitID = lookups.accountUnit(accountID);
            const QVariant debit = row.value(QStringLiteral("FDebit"));
            const QVariant credit = row.value(QStringLiteral("FCredit"));
            // The source marks "no quantity" with -1 (and reads NULL so);
            // such an entry carries none, and the balances count none.
            const QVariant stored = row.value(QStringLiteral("FQty"));
            const bool noQuantity = stored.isNull() || stored.toDouble() == -1.0;
            const QVariant quantity = noQuantity ? QVariant() : stored;
            debitTotal += cents(debit);
            creditTotal += cents(credit);
            ++entryID;
            ++entryCount;

            // What does not map is still posted (the voucher stays whole) but
            // is reported, naming the voucher.
            const int entryNo = ledger::integer(row, "FEntryID");
            if (accountID == 0) unmapped.append({header, entryNo, QStringLiteral("科目：") + account});
            if (currencyID == 0 && currency != QStringLiteral("*"))
                unmapped.append({header, entryNo, QStringLiteral("币别：") + currency});
            if (settleID == 0 && !settleCode.isEmpty())
                unmapped.append({header, entryNo, QStringLiteral("结算方式：") + settleCode});
            if (unitID == 0 && accountID != 0 && !quantity.isNull() && quantity.toDouble() != 0)
                unmapped.append({header, entryNo, QStringLiteral("计量单位：") + account});

            ledger::RowItems items;
            items.account = account;
            items.itemClass = ledger::integer(row, "FClsID");
            items.item = ledger::text(row, "FObjID");
            items.businessUnit = ledger::text(row, "FCustID");
            items.department = ledger::text(row, "FDeptID");
            items.employee = ledger::text(row, "FEmplID");
            int detailID = 0;
            const bool noItems = items.item.isEmpty() || items.itemClass == 0;
            if (!(noItems && items.businessUnit.isEmpty() && items.department.isEmpty() && items.employee.isEmpty())) {
                QString message;
                detailID = lookups.multiItemDetail(items, message);
                if (detailID == -1) {
                    errorText = QStringLiteral("升级凭证时发生错误。原因：\r\n") + message + QStringLiteral("\r\n");
                    return false;
                }
            }

            const bool isDebit = cents(debit) != 0;
            const QString quantityText = noQuantity ? QStringLiteral("0") : ledger::num(quantity);
            const QString sql =
                QStringLiteral("INSERT INTO T_VoucherEntry (FVoucherID, FEntryID, FExplanation, FAccountID, "
                               "FDetailID, FCurrencyID, FExchangeRate, FDC, FAmountFor, FAmount, FQuantity, "
                               "FMeasureUnitID, FUnitPrice, FAccountID2, FSettleTypeID, FSettleNo, FTransNo, "
                               "FCashFlowItem)") +
                QStringLiteral(" VALUES(") +
                QStringList{QString::number(voucherID),
                            QString::number(entryID),
                            SqlNString(ledger::text(row, "FExp")),
                            QString::number(accountID),
                            QString::number(detailID),
                            QString::number(currencyID),
                            SqlValue(row.value(QStringLiteral("FExchRate"))),
                            isDebit ? QStringLiteral("1") : QStringLiteral("0"),
                            SqlValue(row.value(QStringLiteral("FFCyAmt"))),
                            SqlValue(isDebit ? debit : credit),
                            quantityText,
                            QString::number(unitID),
                            ledger::num(std::fabs(ledger::real(row, "FPrice"))),
                            QStringLiteral("0"),
                            QString::number(settleID),
                            SqlString(ledger::text(row, "FSettleNo")),
                            SqlString(ledger::text(row, "FTransID")),
                            QStringLiteral("0")}
                    .join(QStringLiteral(", ")) +
                QStringLiteral(")\r\n\r\n");
            pendingEntries += sql;
            pendingEntries += QStringLiteral(" UPDATE AIS_GLVch \r\n SET FZ8InterID_2 = ") + QString::number(entryID) +
                              QStringLiteral("\r\n WHERE ") + header.stagedRows + QStringLiteral(" AND FEntryID = ") +
                              QString::number(entryNo) + QStringLiteral("\r\n");
            return true;
        };

        bool ok = true;
        const auto showVoucher = [&] {
            kit.caption(QStringLiteral("升级凭证(") + QString::number(written) + QStringLiteral(" / ") + total +
                        QStringLiteral(")   当前凭证序列号：") + ledger::text(*rs, "FSerialNum"));
        };
        for (; ok && !rs->Eof(); rs->MoveNext()) {
            ++rowsRead;
            const GroupKey group = GroupKey::of(rs->value(QStringLiteral("FGroup")));
            if (!haveHeader) {
                showVoucher();
                takeHeader(*rs);
            } else if (ledger::integer(*rs, "FPeriod") != header.period || !(group == header.group) ||
                       ledger::integer(*rs, "FNum") != header.number) {
                // A change of the group as stored (NULL, blanks) also starts a
                // new voucher: two source vouchers never become one.
                if (!writeVoucher()) break;
                showVoucher();
                takeHeader(*rs);
            }
            ok = writeEntry(*rs);
            LetEventsRun();
        }
        // The last voucher, unless the loop stopped on a failure.
        if (ok && haveHeader && errorText.isEmpty()) ok = writeVoucher();

        if (ok && errorText.isEmpty()) {
            QString error;
            if (!kit.execute(QString::fromUtf8(kInternalIndBatch), error))
                errorText = QStringLiteral("（填入T_Voucher表的FInternalInd字段的SQL语句错误）") + error +
                            QStringLiteral("\r\n") + QString::fromUtf8(kInternalIndBatch);
            else
                UpdateContraAccount(kit, errorText);
        }
        if (!errorText.isEmpty()) {
            WriteUpgradeLog(kProject, QStringLiteral("错误：") + errorText, QString(), 2);
            return 2;
        }

        int result = 0;
        if (!unmapped.isEmpty() || !merged.isEmpty()) {
            clsDetailLogInfo detail;
            detail.setTitle(QStringLiteral("需要检查的凭证"));
            for (const char *caption : {"会计期间", "凭证字", "凭证号", "分录号", "说明"})
                detail.InsertCaption(QString::fromUtf8(caption));
            for (const Unmapped &u : unmapped) {
                PnwList row;
                AddValueCell(row, QString::number(u.voucher.period));
                AddValueCell(row, u.voucher.trimmedGroup);
                AddValueCell(row, QString::number(u.voucher.number));
                AddValueCell(row, u.entry < 0 ? QString() : QString::number(u.entry));
                AddValueCell(row, QStringLiteral("无法对应") + u.what);
                detail.InsertSingleEntry(row);
            }
            for (const QString &key : merged) {
                PnwList row;
                const QStringList parts = key.split(QLatin1Char('/'));
                AddValueCell(row, parts.value(0));
                AddValueCell(row, parts.value(1));
                AddValueCell(row, parts.value(2));
                AddValueCell(row, QString());
                AddValueCell(row, QStringLiteral("与前一张凭证期间、凭证字和凭证号相同，已作为单独的凭证升级"));
                detail.InsertSingleEntry(row);
            }
            WriteUpgradeLog(kProject,
                            QStringLiteral("无法对应的凭证分录数：") + QString::number(unmapped.size()) +
                                QStringLiteral("，凭证号重复而分开升级的凭证数：") + QString::number(merged.size()),
                            QStringLiteral("需要检查的凭证"), 1, detail.PackDetailLog());
            result = 1;
        }
        if (!BalanceOnly)
            WriteUpgradeLog(kProject,
                            QStringLiteral("凭证数目：") + QString::number(written) + QStringLiteral(", 凭证分录数：") +
                                QString::number(rowsRead),
                            QString(), 0);
        return result;
    } catch (const std::exception &e) {
        WriteUpgradeLog(kProject, QStringLiteral("发生错误：") + ErrorDescription(e), QString(), 2);
        return 2;
    }
}
