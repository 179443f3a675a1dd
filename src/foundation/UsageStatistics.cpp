#include "foundation/UsageStatistics.h"

#include <QUrl>

#include "foundation/Globals.h"
#include "platform/HttpSender.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"
#include "platform/RegionalFormat.h"

namespace {

const QString kSource = QStringLiteral("SendUsageStatistic");

void appendEscape(QString &out, unsigned byte) {
    out += QLatin1Char('%');
    out += QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

}  // namespace

QString UsageKey(const QString &installedVersion) {
    return installedVersion.compare(QStringLiteral("14.1"), Qt::CaseInsensitive) < 0 ? QStringLiteral("C009C006")
                                                                                     : QStringLiteral("C009C007");
}

QString UsageRecord(const QString &functionKey, const QString &functionValue, const QString &accountName,
                    const QDateTime &moment) {
    const QString day =
        RegionalFormat::shortDate(moment.date()) + QLatin1Char(' ') + RegionalFormat::longTime(moment.time());
    // Values go in as they are: the service reads them without JSON escapes.
    return QStringLiteral("{\"FProductVer\":\"") + g_InstalledVersion +
           QStringLiteral("\",\"FAdditionalInfo\":\"7C14B09E3D62A5F8\",\"FOperationDays\":[{\"FOperationDay\":\"") +
           day + QStringLiteral("\",\"FFunctions\":[{\"FAccountUser\":\"0\",\"FFunctionKey\":\"") + functionKey +
           QStringLiteral("\",\"FFunctionValue\":\"") + functionValue + QStringLiteral("\"}]}],\"FAccountName\":\"") +
           accountName + QStringLiteral("\",\"FProductRegNO\":\"\",\"FProductID\":\"S1S006S001\"} ");
}

QString UrlEncodeUtf8(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const unsigned v = c.unicode();
        if (v < 0x80) {
            out += c;
        } else if (v < 0x800) {
            appendEscape(out, 0xC0 + v / 64);
            appendEscape(out, 0x80 + v % 64);
        } else {
            appendEscape(out, 0xE0 + v / 4096);
            appendEscape(out, 0x80 + (v / 64) % 64);
            appendEscape(out, 0x80 + v % 64);
        }
    }
    return out;
}

QString EncodeQueryValue(const QString &text) {
    QString ascii;
    ascii.reserve(text.size());
    for (QChar c : text) {
        const unsigned v = c.unicode();
        if (v < 0x20 || v == 0x7F || c == QLatin1Char(' ') || c == QLatin1Char('#') || c == QLatin1Char('&') ||
            c == QLatin1Char('+') || c == QLatin1Char('%'))
            appendEscape(ascii, v);
        else
            ascii += c;
    }
    return UrlEncodeUtf8(ascii);
}

bool SendUsageStatistic(const QString &functionKey, const QString &functionValue, const QString &accountName) {
    QString base = PlatformSettings::usageServiceUrl().trimmed();
    if (base.isEmpty()) return true;  // no service configured: nothing to send
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    const QString record = UsageRecord(functionKey, functionValue, accountName, PlatformClock::now());
    const QString address =
        UrlEncodeUtf8(base) + QStringLiteral("logCustom.do?guid=1000000000&text=") + EncodeQueryValue(record);
    const HttpReply reply = HttpSender::post(QUrl(address, QUrl::TolerantMode), PlatformSettings::usageTimeoutMs());
    if (!reply.completed) throw PnwError(-1, kSource, reply.error);
    const QString text = QString::fromUtf8(reply.body);
    const qsizetype first = text.indexOf(QLatin1Char('#'));
    const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('#'), first + 1);
    if (second < 0) throw PnwError(5, kSource, QStringLiteral("应答中没有两个“#”：") + text.left(200));
    bool ok = false;
    const long long number = text.mid(first + 1, second - first - 1).trimmed().toLongLong(&ok);
    if (!ok) throw PnwError(13, kSource, QStringLiteral("类型不匹配：") + text.mid(first + 1, second - first - 1));
    return number != 0;
}

void ReportUsage(const QString &eventText) {
    try {
        SendUsageStatistic(UsageKey(g_InstalledVersion), eventText, QString());
    } catch (...) {
        // Statistics never stop the wizard.
    }
}
