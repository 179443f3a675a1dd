#include "foundation/TextLog.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include "foundation/Messages.h"
#include "platform/AnsiCodec.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformSettings.h"
#include "platform/RegionalFormat.h"

QString TextLogPath(const QDate &day) {
    return PlatformSettings::dataFolder() + QStringLiteral("/LOG/") +
           QStringLiteral("%1-%2-%3.log").arg(day.year()).arg(day.month()).arg(day.day());
}

bool WriteTextLog(const QString &text) {
    const QDateTime now = PlatformClock::now();
    const QString path = TextLogPath(now.date());
    const QString line =
        QLatin1Char('[') + RegionalFormat::dateTime(now) + QStringLiteral("]    ") + text + QStringLiteral("\r\n");
    QString error;
    const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')));
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkdir(folder)) {
        error = QStringLiteral("无法创建文件夹 %1").arg(folder);
    } else {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            error = file.errorString();
        } else {
            const QByteArray bytes = AnsiCodec::encode(line);
            if (file.write(bytes) != bytes.size() || !file.flush()) error = file.errorString();
            file.close();
        }
    }
    if (error.isEmpty()) return true;
    ShowMessage(QStringLiteral("写入日志文件失败！       ") + error + QStringLiteral("\n\r") +
                    QStringLiteral("未写入内容：") + text,
                0, kMessageTitle);
    return false;
}
