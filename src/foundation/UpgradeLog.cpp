#include "foundation/UpgradeLog.h"

#include <QDir>
#include <QHash>

#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/SqlText.h"
#include "foundation/clsDataInfo.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"
#include "platform/RegionalFormat.h"

namespace {

const QString kTablePrefix = QStringLiteral("AIS_UpgradeLog_");
constexpr int kStatusLength = 10;
constexpr int kTimeLength = 40;

UpgradeLogSink &sink() {
    static UpgradeLogSink s;
    return s;
}

// Detail tables of the current run: lower-cased name -> title.
QHash<QString, QString> &runTables() {
    static QHash<QString, QString> tables;
    return tables;
}

QString doubled(QString text) { return text.replace(QLatin1Char('\''), QStringLiteral("''")); }

QString dropIfExists(const QString &name) {
    return QStringLiteral("IF EXISTS  (SELECT  * FROM dbo.SysObjects WHERE ID = object_id(N'") +
           doubled(SqlName(name)) + QStringLiteral("') AND OBJECTPROPERTY(ID, 'IsTable') = 1) \r\nDROP TABLE ") +
           SqlName(name) + QStringLiteral("\r\n");
}

// A table name for the title that no earlier entry of this run took, within
// the width of FLink; the title is cut, never the entry.
QString uniqueTableName(const QString &title) {
    const int room = kLogLinkLength - static_cast<int>(kTablePrefix.size());
    QString name = kTablePrefix + title.left(room);
    for (int k = 2; runTables().contains(name.toLower()); ++k) {
        const QString suffix = QStringLiteral("(%1)").arg(k);
        name = kTablePrefix + title.left(room - static_cast<int>(suffix.size())) + suffix;
    }
    return name;
}

PnwList listItem(const PnwList &list, int index, const char *what) {
    const QVariant v = list.Item(index);
    if (!v.canConvert<PnwList>() || v.userType() != qMetaTypeId<PnwList>())
        throw PnwError(13, QStringLiteral("WriteUpgradeLog"),
                       QStringLiteral("详细日志格式错误：") + QLatin1String(what));
    return v.value<PnwList>();
}

// Creates the entry's detail table and writes its rows; returns its name.
QString writeDetailTable(const PnwList &detailLog) {
    const QString title = detailLog.DictionaryItem(1).Item(QStringLiteral("Project")).toString();
    const PnwList rows = listItem(detailLog, 2, "rows");
    if (rows.Count() < 1) throw PnwError(9, QStringLiteral("WriteUpgradeLog"), QStringLiteral("详细日志没有标题行"));
    const int columns = listItem(rows, 1, "captions").Count();
    if (columns < 1) throw PnwError(9, QStringLiteral("WriteUpgradeLog"), QStringLiteral("详细日志没有列标题"));

    const QString name = uniqueTableName(title);
    QString create =
        dropIfExists(name) + QStringLiteral("create table ") + SqlName(name) + QStringLiteral("\r\n(FID int identity,");
    QStringList columnNames;
    for (int k = 1; k <= columns; ++k) {
        create += QStringLiteral("F%1 nvarchar(500),").arg(k);
        columnNames.append(QStringLiteral("F%1").arg(k));
    }
    create.chop(1);
    create += QLatin1Char(')');

    clsDataInfo data;
    QString error;
    if (!data.ExecuteSQL(g_AcctCtlConnectString, create, error))
        throw PnwError(-1, QStringLiteral("WriteUpgradeLog"), error);
    runTables().insert(name.toLower(), title);

    const QString insert = QStringLiteral("INSERT INTO ") + SqlName(name) + QStringLiteral(" (") +
                           columnNames.join(QLatin1Char(',')) + QStringLiteral(") VALUES (");
    for (int r = 1; r <= rows.Count(); ++r) {
        const PnwList row = listItem(rows, r, "row");
        QString sql = insert;
        for (int c = 1; c <= row.Count(); ++c)
            sql += QStringLiteral(" N'") +
                   doubled(row.DictionaryItem(c).Item(QStringLiteral("Value")).toString().left(kLogCellLength)) +
                   QStringLiteral("',");
        sql.chop(1);
        sql += QLatin1Char(')');
        if (!data.ExecuteSQL(g_AcctCtlConnectString, sql, error))
            throw PnwError(-1, QStringLiteral("WriteUpgradeLog"), error);
    }
    return name;
}

}  // namespace

QString UpgradeLogLine::text() const {
    return QStringList{status, time, project, description, detail, link}.join(QLatin1Char('|'));
}

UpgradeLogLine UpgradeLogLine::fromText(const QString &text) {
    QStringList parts = text.split(QLatin1Char('|'));
    if (parts.size() > 6) {
        // The surplus separators belong to the description.
        const QStringList middle = parts.mid(3, parts.size() - 5);
        parts = parts.mid(0, 3) + QStringList{middle.join(QLatin1Char('|'))} + parts.mid(parts.size() - 2);
    }
    while (parts.size() < 6) parts.append(QString());
    UpgradeLogLine line;
    line.status = parts[0];
    line.time = parts[1];
    line.project = parts[2];
    line.description = parts[3];
    line.detail = parts[4];
    line.link = parts[5];
    return line;
}

UpgradeLogSink SetUpgradeLogSink(UpgradeLogSink s) {
    UpgradeLogSink previous = std::move(sink());
    sink() = std::move(s);
    return previous;
}

QString UpgradeReportFolder() { return PlatformSettings::dataFolder() + QStringLiteral("/AcctUpgradeLog"); }

QString DetailTableTitle(const QString &tableName) { return runTables().value(tableName.toLower()); }

void EnsureFolder(const QString &path) {
    if (QDir(path).exists()) return;
    if (!QDir().mkdir(path)) throw PnwError(76, QStringLiteral("EnsureFolder"), QStringLiteral("路径未找到：") + path);
}

void AddValueCell(PnwList row, const QString &text) {
    PnwDictionary cell;
    cell.setItem(QStringLiteral("Value"), text);
    row.Add(cell);
}

QString GetStatusName(int status) {
    switch (status) {
    case 0: return QStringLiteral("成功");
    case 1: return QStringLiteral("警告");
    case 2: return QStringLiteral("错误");
    default: return QString();
    }
}

QString GetStepName() { return GetStepName(g_CurrentModule); }

QString GetStepName(int code) {
    static const QStringList names{QStringLiteral("还没有开始升级哦"), QStringLiteral("新建账套"),
                                   QStringLiteral("基础资料"),         QStringLiteral("固定资产"),
                                   QStringLiteral("财务处理"),         QStringLiteral("工资管理"),
                                   QStringLiteral("出纳管理")};
    return code >= 0 && code < names.size() ? names.at(code) : QString();
}

namespace {

int &errorEntries() {
    static int count = 0;
    return count;
}

}  // namespace

int UpgradeLogErrorCount() { return errorEntries(); }

void InitUpgradeLog() {
    runTables().clear();
    errorEntries() = 0;
    QString reason;
    try {
        EnsureFolder(UpgradeReportFolder());
        clsDataInfo data;
        const QString batch =
            QStringLiteral("IF EXISTS  (SELECT  * FROM dbo.SysObjects WHERE ID = object_id(N'[AIS_UpgradeLog_Main]') "
                           "AND OBJECTPROPERTY(ID, 'IsTable') = 1) \r\n"
                           "DROP TABLE [AIS_UpgradeLog_Main]\r\n"
                           "create table [AIS_UpgradeLog_Main]\r\n"
                           "(FID int identity,FStatus nvarchar(10),FTime nvarchar(40),FProject nvarchar(50),"
                           "FDescription nvarchar(4000),\r\n"
                           "FDetail nvarchar(500),FLink nvarchar(50))\r\n");
        if (data.ExecuteSQL(g_AcctCtlConnectString, batch, reason)) return;
    } catch (const PnwError &e) {
        reason = e.description();
    }
    ShowMessage(QStringLiteral("不能创建日志，可能原因是：") + reason, MsgBox::Exclamation, QStringLiteral("岫禾软件"));
}

void WriteUpgradeLog(const QString &project, const QString &description, const QString &detail, int status,
                     const PnwList &detailLog) {
    // A cancel deletes the new account set under the stage that is running;
    // what the stage then fails at is the cancel's doing, and the run's own
    // cancel entry is what the log shows for it.
    if (status == 2 && g_CancelRequested) return;
    // Counted whether or not the row can be written: the error happened.
    if (status == 2) ++errorEntries();
    try {
        QString link;
        if (detailLog.Count() > 0) link = writeDetailTable(detailLog);

        UpgradeLogLine line;
        line.status = GetStatusName(status).left(kStatusLength);
        line.project = project.left(kLogProjectLength);
        line.description = description.left(kLogDescriptionLength);
        line.detail = detail.left(kLogDetailLength);
        line.link = link;
        const QString time = RegionalFormat::now().left(kTimeLength);
        const QString sql =
            QStringLiteral(
                "insert into AIS_UpgradeLog_Main (FStatus,FTime,FProject,FDescription,FDetail,FLink) values ") +
            QStringLiteral("( N'") + line.status + QStringLiteral("','") + doubled(time) + QStringLiteral("', N'") +
            doubled(line.project) + QStringLiteral("', N'") + doubled(line.description) + QStringLiteral("', N'") +
            doubled(line.detail) + QStringLiteral("', N'") + doubled(link) + QStringLiteral("')");
        clsDataInfo data;
        QString error;
        if (!data.ExecuteSQL(g_AcctCtlConnectString, sql, error))
            throw PnwError(-1, QStringLiteral("WriteUpgradeLog"), error);

        line.time = RegionalFormat::now();
        line.forCheckPage = g_WizardStep == 2;
        if (sink()) sink()(line);
    } catch (const PnwError &e) {
        ShowMessage(QStringLiteral("写入日志出现错误。原因可能是：") + e.description(), MsgBox::Exclamation,
                    kMessageTitle);
    } catch (const std::exception &e) {
        ShowMessage(QStringLiteral("写入日志出现错误。原因可能是：") + QString::fromLocal8Bit(e.what()),
                    MsgBox::Exclamation, kMessageTitle);
    }
}
