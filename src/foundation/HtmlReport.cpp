#include "foundation/HtmlReport.h"
#include "foundation/TrimSpaces.h"

#include <QFile>

#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/SqlText.h"
#include "foundation/UpgradeLog.h"
#include "foundation/clsDataInfo.h"
#include "platform/AnsiCodec.h"
#include "platform/DesktopOpener.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwConvert.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/AdoTypes.h"

namespace {

ReportOpener &opener() {
    static ReportOpener o;
    return o;
}

QString html(const QVariant &value) { return PnwConvert::ToText(value).toHtmlEscaped(); }

// The heading of a detail section: the entry's title (its last part when the
// title holds "_"); the table name's last part for a table of another run.
QString headingOf(const QString &link) {
    QString title = DetailTableTitle(link);
    if (title.isEmpty()) title = link;
    return title.mid(title.lastIndexOf(QLatin1Char('_')) + 1);
}

std::optional<ado::Recordset> query(const QString &sql, QString &error) {
    clsDataInfo data;
    try {
        return data.GetRs(g_AcctCtlConnectString, sql, true, error);
    } catch (const ado::AdoError &e) {
        error = e.description();
        return std::nullopt;
    }
}

bool hasRows(const std::optional<ado::Recordset> &rs) { return rs && rs->State() == ado::adStateOpen; }

void writeDetailSection(QStringList &out, const QString &link) {
    const QString heading = headingOf(link);
    out << QStringLiteral("</br><h2><a name=\"") + link.toHtmlEscaped() + QStringLiteral("\">") +
               heading.toHtmlEscaped() + QStringLiteral("</a></h2>");
    out << QStringLiteral("<table>");
    QString error;
    std::optional<ado::Recordset> rs =
        query(QStringLiteral("SELECT * FROM ") + SqlName(link) + QStringLiteral(" order by FID"), error);
    if (hasRows(rs)) {
        const QString width = heading.compare(QStringLiteral("固定资产卡片"), Qt::CaseInsensitive) == 0
                                  ? QString()
                                  : QStringLiteral("width=\"20%\"");
        bool first = true;
        for (; !rs->Eof(); rs->MoveNext()) {
            QString row = QStringLiteral("<tr>");
            for (int i = 1; i < rs->fieldCount(); ++i) {
                const QString value = TrimSpaces(PnwConvert::ToText(rs->Fields(i).Value)).toHtmlEscaped();
                row += first ? QStringLiteral("<th ") + width + QStringLiteral(" >") + value + QStringLiteral("</th>")
                             : QStringLiteral("<td  ") + width + QStringLiteral(">") + value + QStringLiteral("</td>");
            }
            out << row + QStringLiteral("</tr>");
            first = false;
        }
        rs->Close();
        clsDataInfo data;
        data.ExecuteSQL(g_AcctCtlConnectString, QStringLiteral("DROP TABLE ") + SqlName(link), error);
    }
    out << QStringLiteral("</table>");
}

}  // namespace

void WriteHtmlReport(const QString &title) {
    const QString path = UpgradeReportFolder() + QLatin1Char('/') + title + QStringLiteral(".html");
    if (g_WizardStep == 2)
        g_CheckReportPath = path;
    else
        g_UpgradeReportPath = path;

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ShowMessage(file.errorString(), MsgBox::Exclamation, kMessageTitle);
        return;
    }
    QStringList out;
    out << QStringLiteral("<!DOCTYPE html>") << QStringLiteral("<html lang=\"zh - cn\">") << QStringLiteral("<head>")
        << QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">")
               .arg(QLatin1String(AnsiCodec::codecName(PlatformSettings::ansiCodePage())))
        << QStringLiteral("<title>") + title.toHtmlEscaped() + QStringLiteral("</title>")
        << QStringLiteral("<style type=\"text/css\">")
        << QStringLiteral("body{margin: 0 auto;padding: 0;border: 0;width: 95%;text-align: left}")
        << QStringLiteral("table {margin-top:10px;border-collapse:collapse;border:1px solid #aaa;width:100%;}")
        << QStringLiteral("th {vertical-align:baseline;padding:5px 15px 5px 6px;background-color:#d5d5d5;border:1px "
                          "solid #aaa;text-align:left;font-size: 12px;}")
        << QStringLiteral("td {vertical-align:text-top;padding:6px 15px 6px 6px;background-color:#efefef;border:1px "
                          "solid #aaa;vertical-align: middle;font-size: 12px;}")
        << QStringLiteral("h2 { font-size: 14px;}") << QStringLiteral("</style>") << QStringLiteral("</head>")
        << QStringLiteral("<body>") << QStringLiteral("</br><h2>日志总览</h2>") << QStringLiteral("<table>")
        << QStringLiteral("<tr><th width=\"10%\">状态</th><th width=\"20%\">时间</th><th width=\"20%\">项目</th><th "
                          "width=\"30%\">描述</th><th width=\"20%\">日志</th></tr>");

    QString error;
    QStringList links;
    std::optional<ado::Recordset> rs = query(QStringLiteral("SELECT * FROM AIS_UpgradeLog_Main order by FID"), error);
    const bool mainTable = hasRows(rs);
    if (mainTable) {
        for (; !rs->Eof(); rs->MoveNext()) {
            const QString link = PnwConvert::ToText(rs->value(QStringLiteral("FLink")));
            out << QStringLiteral("<tr><td width=\"10%\">") + html(rs->value(QStringLiteral("FStatus"))) +
                       QStringLiteral("</td><td width=\"20%\">") + html(rs->value(QStringLiteral("FTime"))) +
                       QStringLiteral("</td><td width=\"20%\">") + html(rs->value(QStringLiteral("FProject"))) +
                       QStringLiteral("</td><td width=\"30%\">") + html(rs->value(QStringLiteral("FDescription"))) +
                       QStringLiteral("</td><td width=\"20%\"><a href=\"#") + link.toHtmlEscaped() +
                       QStringLiteral("\">") + html(rs->value(QStringLiteral("FDetail"))) +
                       QStringLiteral("</a></td></tr>");
            if (!link.isEmpty()) links.append(link);
        }
        rs->Close();
    }
    out << QStringLiteral("</table>");
    for (const QString &link : links) writeDetailSection(out, link);
    out << QStringLiteral("</table>");
    if (mainTable) {
        clsDataInfo data;
        QString ignored;
        data.ExecuteSQL(g_AcctCtlConnectString, QStringLiteral("DROP TABLE AIS_UpgradeLog_Main"), ignored);
    }
    out << QStringLiteral("</Br>") << QStringLiteral("</body>") << QStringLiteral("</html>");

    const QByteArray bytes = AnsiCodec::encode(out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written)
        ShowMessage(file.errorString(), MsgBox::Exclamation, kMessageTitle);
    else if (!mainTable)
        ShowMessage(error, MsgBox::Exclamation, kMessageTitle);
}

QUrl ReportUrl(const QString &path, const QString &anchor) {
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QUrl url = QUrl::fromLocalFile(local);
    url.setFragment(anchor.isNull() ? QStringLiteral("") : anchor);
    return url;
}

ReportOpener SetReportOpener(ReportOpener o) {
    ReportOpener previous = std::move(opener());
    opener() = std::move(o);
    return previous;
}

void OpenReport(const QString &path, const QString &anchor) {
    const QUrl url = ReportUrl(path, anchor);
    QString error;
    const bool started = opener() ? opener()(url, error) : OpenWithDesktop(url, error);
    // Where no browser can show it, the path lets the user open the report
    // by other means.
    if (!started)
        ShowMessage(QStringLiteral("不能打开日志，可能原因是：") + error + QStringLiteral("\r\n") + path,
                    MsgBox::Exclamation, kMessageTitle);
}
