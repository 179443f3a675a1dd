// The restore of the base account set: the backup description file, the
// file test and the RESTORE of the base backup under the new number.
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "accounts/CXRAc.h"
#include "foundation/SqlText.h"
#include "foundation/InputChecks.h"
#include "foundation/Progress.h"
#include "platform/AnsiCodec.h"
#include "platform/PlatformClock.h"
#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "foundation/Globals.h"

namespace {

// The value of a "label:value" line: after the first colon, trimmed.
QString lineValue(const QString &line) {
    const int colon = line.indexOf(QLatin1Char(':'));
    return (colon < 0 ? line : line.mid(colon + 1)).trimmed();
}

// A database name the restore may splice into its statement: letters
// (any script), digits and _ @ # $. Anything else the server cannot take
// as a plain name, and it must never reach the statement.
bool isPlainName(const QString &name) {
    static const QRegularExpression plain(QStringLiteral("^[\\w@#$]+$"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    return plain.match(name).hasMatch();
}

}  // namespace

bool CXRAc::RReadFile(const QString &StrFileName) {
    StrAccName.clear();
    strDbDataFileName.clear();
    strDbLogFileName.clear();
    StrDBVersion.clear();
    strDomainName.clear();
    Strdupdate.clear();
    StrDBMSName.clear();
    strDBName = QStringLiteral("'");
    QFile file(StrFileName);
    if (!QFileInfo(StrFileName).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    QString text = AnsiCodec::decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();  // the last line's end, not a line of its own
    if (lines.size() < 5) return false;
    StrAccName = lineValue(lines.at(0));
    strDBName = lineValue(lines.at(1));
    strDbDataFileName = lineValue(lines.at(2));
    strDbLogFileName = lineValue(lines.at(3));
    strDomainName = lineValue(lines.at(4));
    if (lines.size() > 5) Strdupdate = lineValue(lines.at(5));
    if (lines.size() > 6) StrDBVersion = lineValue(lines.at(6));
    StrIncDup = lines.size() > 7 ? lines.at(7) : QStringLiteral("完全备份");
    StrDBMSName = lines.size() > 8 ? lineValue(lines.at(8)) : QStringLiteral("Microsoft Sql Server");
    return true;
}

bool CXRAc::ExistFile(QString &sSpec) {
    if (sSpec.size() > 1 && (sSpec.endsWith(QLatin1Char('/')) || sSpec.endsWith(QLatin1Char('\\')))) sSpec.chop(1);
    return QFileInfo(sSpec).isFile();
}

bool CXRAc::ImportDatabase(ProgressBar *PoBar, QLabel *LblObject, const QString &StrFileName, QString StrPath,
                           const QString &StrServerName, const QString &StrAccName, const QString &StrUID,
                           const QString &StrPWD) {
    (void)PoBar, (void)StrServerName;
    StrPath = AddTrailingBackslash(StrPath);
    const QString db = StrUID.trimmed();
    const QString folder = StrPath.trimmed();
    if (!isPlainName(db)) throw PnwError(-1, QStringLiteral("CXRAc"), QStringLiteral("非法的账套号！"));

    const QStringList items = StrFileName.split(QLatin1Char('\r'));
    int last = -1;
    for (int i = 0; i < items.size(); ++i)
        if (!items.at(i).isEmpty()) last = i;
    try {
        for (int i = 0; i < items.size(); ++i) {
            const QString item = items.at(i);
            if (item.isEmpty()) continue;
            QString backup = item.left(item.size() - 3) + QStringLiteral("bak");
            if (!ExistFile(backup)) {
                strMsg = QStringLiteral("用于恢复的数据文件") + backup + QStringLiteral("不存在，恢复失败!");
                SetStatusCaption(LblObject, strMsg);
                return false;
            }
            const QString sql = QStringLiteral("RESTORE DATABASE ") + db + QStringLiteral(" from disk='") +
                                SqlLiteral(backup) + QStringLiteral("' with ") +
                                QLatin1String(i == last ? "recovery" : "norecovery") + QStringLiteral(", move '") +
                                SqlLiteral(strDbDataFileName) + QStringLiteral("' to '") + SqlLiteral(folder + db) +
                                QStringLiteral("_Data.mdf'") + QStringLiteral(",move '") +
                                SqlLiteral(strDbLogFileName) + QStringLiteral("' to '") + SqlLiteral(folder + db) +
                                QStringLiteral("_log.ldf'  , replace");
            if (!m_Connection || m_Connection->State() == 0) {
                m_Connection = std::make_unique<ado::Connection>();
                m_Connection->Open(m_MasterConnectString);
            }
            m_Connection->CommandTimeout = 0;
            m_Connection->Execute(sql);
            m_restoredAccount = db;
            LetEventsRun();
            if (g_CancelRequested) return false;
        }
        closeConnection();
        m_Connection.reset();
        ado::Connection target;
        target.Open(GetConnectString(db, StrPWD));
        target.CommandTimeout = 0;
        ado::Recordset rs = target.Execute(QStringLiteral("select FValue from t_systemprofile  ") +
                                           QStringLiteral(" where FCategory='Base' and FKey='Version' "));
        StrDBVersion = rs.Eof() ? QStringLiteral("1.0") : rs.value(QStringLiteral("FValue")).toString();
        rs.Close();
        target.Close();
    } catch (const ado::AdoError &e) {
        closeConnection();
        m_Connection.reset();
        if (e.description().contains(QStringLiteral("语法错误")))
            throw PnwError(-1, e.source(), QStringLiteral("非法的账套号！"));
        strMsg = QStringLiteral("错误描述:") + e.description();
        return false;
    }

    try {
        m_Connection = std::make_unique<ado::Connection>();
        m_Connection->Open(m_MasterConnectString);
        m_Connection->CommandTimeout = 0;
        m_Connection->Execute(
            QStringLiteral("insert into t_XRAccount_gl(CAcc_Name,CDbName,DBuildDate,cdbversion) values('") +
            SqlLiteral(StrAccName.trimmed()) + QStringLiteral("','") + SqlLiteral(db) + QStringLiteral("','") +
            PlatformClock::now().date().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("','") +
            SqlLiteral(StrDBVersion) + QStringLiteral("')"));
    } catch (...) {
        // The server-wide list is read by nothing; the restore stands.
    }
    closeConnection();
    m_Connection.reset();
    return true;
}
