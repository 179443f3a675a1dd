// The source's pay items: new ones are inserted, typed by the operator and
// given a data column each in t_PANewData. A work column "tempsign" marks
// the rows this run inserted; it is dropped again however the phase ends.
#include "upgrade/payroll_cashier/clsEboPa.h"

#include <memory>

#include "foundation/UpgradeLog.h"
#include "platform/PnwConvert.h"
#include "platform/PnwDictionary.h"
#include "upgrade/payroll_cashier/PayrollDataTypeAsker.h"
#include "upgrade/payroll_cashier/PayrollDataTypes.h"
#include "upgrade/payroll_cashier/PayrollLog.h"
#include "upgrade/payroll_cashier/PayrollSession.h"

namespace {

const QString kData = QStringLiteral("工资项目");

// Column numbers start after FPA1005 (the range the base account set
// keeps for its own items).
constexpr int kLowestColumnNumber = 1005;

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }

// The largest number behind "FPA" among the items' columns, at least 1005
// (also when no item has such a column yet).
int highestColumnNumber(PayrollSession &session) {
    ado::Recordset rs = session.execute(QStringLiteral(
        "SELECT max( case when ascii(substring(FempField,4,len(FempField)))>=48 and "
        "ascii(substring(FempField,4,len(FempField)))<=57 then cast(substring(FempField,4,len(FempField)) as int) "
        "end) as MAXFempFieldID FROM t_PAItem   where left(FempField,3)='FPA' "));
    const QVariant highest = rs.Eof() ? QVariant() : rs.value(QStringLiteral("MAXFempFieldID"));
    if (highest.isNull()) return kLowestColumnNumber;
    return std::max(highest.toInt(), kLowestColumnNumber);
}

int highestSequence(PayrollSession &session) {
    ado::Recordset rs = session.execute(QStringLiteral("SELECT max(Fsno) as MAXFSno FROM t_PAItem "));
    return rs.Eof() ? 0 : rs.value(QStringLiteral("MAXFSno")).toInt();
}

// The work column's clean-up. Each statement's failure is logged and the
// run goes on; the constraint is dropped only when its name was read.
bool dropWorkColumn(PayrollSession &session, const QString &constraintName) {
    bool clean = true;
    QStringList statements;
    if (!constraintName.isEmpty())
        statements << QStringLiteral("alter table t_paitem drop constraint  ") + constraintName;
    statements << QStringLiteral("alter  table t_paitem drop column tempsign ");
    for (const QString &sql : statements) {
        try {
            session.execute(sql);
        } catch (const std::exception &e) {
            LogPayrollFailure(kData, e, sql);
            clean = false;
        }
    }
    return clean;
}

// The answer (1-based) that types the item of that name: the one given
// under its own name, else the first whose name matches once the edition's
// prefix is taken out; 0 for none. Two items whose names differ only by the
// prefix thus each keep their own answer.
int answerFor(const PnwList &answer, const QString &itemName) {
    const QString trimmed = itemName.trimmed();
    const QString matched = PayrollMatchName(itemName);
    int first = 0;
    for (int k = 1; k <= answer.Count(); ++k) {
        const QString answered = text(answer.DictionaryItem(k).Item(QStringLiteral("FitemName")));
        if (answered.trimmed() == trimmed) return k;
        if (first == 0 && PayrollMatchName(answered) == matched) first = k;
    }
    return first;
}

}  // namespace

int clsEboPa::UpgradePayItems(const QString &connectString) {
    std::unique_ptr<PayrollSession> session;
    QString constraintName;
    int result = 0;
    try {
        session = std::make_unique<PayrollSession>(connectString);
        session->execute(QStringLiteral("alter table  t_paitem add tempsign int default(0) "));
        ado::Recordset names = session->execute(
            QStringLiteral("select b.name as name from syscolumns a,sysobjects b where a.id=object_id('t_paitem') \r\n"
                           "and b.id=a.cdefault and a.name='tempsign' and b.name like 'DF%'"));
        constraintName = text(names.Fields(QStringLiteral("name")).Value);

        // New items in the source's order, so their identifiers follow it.
        session->execute(QStringLiteral("declare @FEmpField nvarchar(80)\r\n"
                                        "declare @FisPayRollData bit\r\n"
                                        "declare @FitemName nvarchar(80)\r\n"
                                        "declare @FSNO smallint\r\n"
                                        "declare PaItem_Cursor cursor for select FEmpField,FisPayRollData,FitemName,"
                                        "FSNO from ais_PAItem where FitemName not in (select FitemName from t_PAItem) "
                                        "order by FItemID\r\n"
                                        "open PaItem_Cursor\r\n"
                                        "fetch next from PaItem_Cursor into @FEmpField,@FisPayRollData,@FitemName,"
                                        "@FSNO\r\n"
                                        "while @@fetch_status=0\r\n"
                                        "begin\r\n"
                                        "insert into t_PAItem(FisPayRollData,FitemName,FSNO,tempsign,FFieldType) "
                                        "values(@FisPayRollData,@FitemName,@FSNO,1,1)\r\n"
                                        "fetch next from PaItem_Cursor into @FEmpField,@FisPayRollData,@FitemName,"
                                        "@FSNO\r\n"
                                        "end\r\n"
                                        "close PaItem_Cursor\r\n"
                                        "deallocate PaItem_Cursor\r\n"));

        ado::Recordset toType = session->execute(
            QStringLiteral("SELECT FitemName,FIsPayrollData  FROM ais_PAItem  where FitemName  in (select FitemName "
                           "from t_PAItem t_PAItem where tempsign=1 )"));
        PnwList answer;
        if (toType.RecordCount() >= 1) answer = AskPayrollDataTypes(toType);

        ado::Recordset items =
            session->execute(QStringLiteral("select FitemId,FItemName,FEmpField from t_PaItem where tempsign=1 "
                                            "order by FitemId"));
        // With no new item there is nothing to count: the phase only
        // removes its work column.
        if (items.RecordCount() >= 1) {
            int converted = 0;
            for (items.MoveFirst(); !items.Eof(); items.MoveNext()) {
                const int itemId = items.value(QStringLiteral("FitemId")).toInt();
                const int k = answerFor(answer, text(items.value(QStringLiteral("FItemName"))));
                if (k == 0) continue;
                const PnwDictionary record = answer.DictionaryItem(k);
                const QString answeredName = text(record.Item(QStringLiteral("FitemName")));
                const int code = record.Item(QStringLiteral("FdataType")).toInt();
                const PayrollDataType type = PayrollDataTypeOf(code);
                session->execute(QStringLiteral("update t_PaItem set FdataType=%1,FFieldSize=%2,Fweisu=%3 "
                                                ",Fattrib=%4  where FitemId = %5 and  tempsign=1")
                                     .arg(code)
                                     .arg(type.fieldSize)
                                     .arg(type.decimals)
                                     .arg(PayrollItemAttribute(answeredName))
                                     .arg(itemId));
                if (text(items.value(QStringLiteral("FEmpField"))).isEmpty()) {
                    const int column = highestColumnNumber(*session) + 1;
                    const int sequence = highestSequence(*session) + 1;
                    session->execute(
                        QStringLiteral("update t_PaItem set FEmpField= 'FPA%1',  FSno= %2  where  FitemId = %3")
                            .arg(column)
                            .arg(sequence)
                            .arg(itemId));
                    session->execute(
                        QStringLiteral(" alter table t_PANewData add FPA%1 %2").arg(column).arg(type.columnType));
                }
                ++converted;
            }
            items.Close();
            WriteUpgradeLog(QStringLiteral("工资项目升级"),
                            QStringLiteral("升级成功数目：") + QString::number(converted), QString(), 0);
        }
    } catch (const std::exception &e) {
        LogPayrollFailure(kData, e, session ? session->lastStatement() : QString());
        result = 2;
    }
    if (session && !dropWorkColumn(*session, constraintName)) result = 2;
    return result;
}
