// The upgrade-script engine: the service packs of the installed edition
// that the account set has not received, file by file, batch by batch.
#include <cfenv>
#include <cmath>

#include <QFile>
#include <QFileInfo>

#include "accounts/AISINFO.h"
#include "foundation/SqlText.h"
#include "controls/ProgressBar.h"
#include "foundation/Messages.h"
#include "foundation/CProfile.h"
#include "foundation/IniValues.h"
#include "foundation/InputChecks.h"
#include "foundation/Progress.h"
#include "foundation/ServerConfig.h"
#include "foundation/TextLog.h"
#include "platform/AnsiCodec.h"
#include "platform/PlatformSettings.h"
#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "foundation/Globals.h"

namespace {

const QString kInsertFile = QStringLiteral("insertfile");
const QString kAllSystems = QStringLiteral("It Must excute In All System");

// Why a run ended early; a cancel records nothing and reports nothing.
struct Cancelled {};
struct BatchFailed {
    QString text;
};

bool startsWithInsertFile(const QString &text) {
    return text.left(kInsertFile.size()).compare(kInsertFile, Qt::CaseInsensitive) == 0;
}

// Whether the code page lets a script file run.
bool runsOnThisCodePage(const QString &name) {
    const int acp = PlatformSettings::ansiCodePage();
    if (name.left(4).compare(QStringLiteral("CHT_"), Qt::CaseInsensitive) == 0) return acp == 950;
    if (name.left(3).compare(QStringLiteral("EN_"), Qt::CaseInsensitive) == 0) return acp == 1252;
    return true;
}

QStringList fileLines(const QByteArray &bytes) {
    QString text = AnsiCodec::decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();
    return lines;
}

QString leftTrimmed(const QString &text) {
    int i = 0;
    while (i < text.size() && text.at(i).isSpace()) ++i;
    return text.mid(i);
}

int roundHalfEven(double value) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(previous);
    return static_cast<int>(r);
}

void checkCancel() {
    if (g_CancelRequested) throw Cancelled{};
}

}  // namespace

bool AISINFO::UpgradeDB(ProgressBar *objProBar, const QString &sConnectString) {
    m_LastError.clear();
    ado::Connection connection;
    try {
        connection.Open(sConnectString);
    } catch (...) {
        return false;
    }
    // Log prelude: let the log grow as the scripts need.
    try {
        const QString database = connection.Execute(QStringLiteral("Select db_Name()")).Fields(0).Value.toString();
        const QString logFile =
            connection.Execute(QStringLiteral("select name FROM sysfiles WHERE (status & 0x40) <> 0"))
                .Fields(0)
                .Value.toString();
        connection.Execute(QStringLiteral("Backup Log [") + database + QStringLiteral("] with No_Log"));
        connection.Execute(QStringLiteral("ALTER DATABASE [") + database + QStringLiteral("] MODIFY FILE (NAME ='") +
                           SqlLiteral(logFile) + QStringLiteral("', MAXSIZE = UNLIMITED)"));
    } catch (...) {}

    // The option routines run on the object's own connection; a caller
    // that comes without UpdateAISINFO gets one on the same database.
    if (!m_Connection) {
        try {
            m_Connection = std::make_unique<ado::Connection>();
            m_Connection->Open(sConnectString);
        } catch (...) {
            m_Connection.reset();
            return false;
        }
    }
    const QString level = GetProfileValue(QStringLiteral("Base"), QStringLiteral("ServicePack"), QString());
    QString acctType = GetProfileValue(QStringLiteral("Base"), QStringLiteral("AcctType"), QString());
    if (acctType.isEmpty()) acctType = GetProfileValue(QStringLiteral("Base"), QStringLiteral("Type"), QString());

    const QString common = GetProductCommonPath();
    const QString listFile = common + QStringLiteral("SqlSrv/") + QStringLiteral("PitchUptVEQ.lst");
    CProfile list;
    list.setFilename(listFile);
    const int fileCount =
        GetIniValue(listFile, QStringLiteral("Industry"), QStringLiteral("SqlCount"), QStringLiteral("0"))
            .trimmed()
            .toInt();
    const QString packSection = QStringLiteral("ServicePack_") + acctType;

    bool transactionOpen = false;
    QString scriptPath, batch;
    try {
        // The progress operations refuse a missing bar; so does the engine.
        if (!objProBar) throw PnwError(91, QStringLiteral("AISINFO"), QStringLiteral("对象变量未设置"));
        SetProgress(objProBar, objProBar->Value() + 1);
        const int step =
            fileCount == 0 ? 0 : roundHalfEven(double(objProBar->Max() - objProBar->Value() - 20) / fileCount);
        for (int i = 1;; ++i) {
            const QString sp =
                list.ProfileString(packSection, QStringLiteral("SP") + QString::number(i), QString(), QString());
            if (sp.isEmpty()) break;
            checkCancel();
            if (sp.compare(level, Qt::CaseInsensitive) <= 0) continue;
            const QString fileSection = list.ProfileString(sp, QStringLiteral("Type1"), QString(), QString());
            for (int j = 1;; ++j) {
                LetEventsRun();
                checkCancel();
                const QString name = fileSection.isEmpty()
                                         ? QString()
                                         : list.ProfileString(fileSection, QStringLiteral("File") + QString::number(j),
                                                              QString(), QString());
                SetProgress(objProBar, objProBar->Value() + step);
                if (name.isEmpty()) break;
                if (!runsOnThisCodePage(name)) continue;

                scriptPath = common + QStringLiteral("SqlSrv/") + name.trimmed();
                QFile file(scriptPath);
                // A listed script that is not there leaves the account set
                // below the level the list promises: the run fails.
                if (!QFileInfo(scriptPath).isFile() || !file.open(QIODevice::ReadOnly))
                    throw BatchFailed{QStringLiteral("文件") + scriptPath + QStringLiteral("不存在，执行出错")};
                const QStringList lines = fileLines(file.readAll());
                file.close();

                batch.clear();
                bool skip = false;
                const bool inTransaction =
                    !(name.contains(QStringLiteral("Precision")) && name.contains(QStringLiteral("V12_2")));
                if (inTransaction) {
                    connection.BeginTrans();
                    transactionOpen = true;
                }
                const bool chinese = PlatformSettings::ansiCodePage() == 936;
                for (const QString &line : lines) {
                    if (!chinese && startsWithInsertFile(leftTrimmed(line))) {
                        skip = true;
                        batch += (batch.isEmpty() ? QString() : kCrLf) + line;
                    } else if (!line.isEmpty()) {
                        if (line.contains(kAllSystems)) skip = false;
                        if (line.trimmed().toLower() == QLatin1String("go")) {
                            batch = batch.trimmed();
                            if (skip) {
                                batch.clear();
                                skip = false;
                            }
                            if (!batch.isEmpty()) {
                                LetEventsRun();
                                bool ran = false;
                                try {
                                    ran = ExecuteSqlBatch(batch, connection);
                                } catch (const ado::AdoError &e) {
                                    m_LastError = e.description();
                                }
                                if (!ran) throw BatchFailed{m_LastError};
                                batch.clear();
                            }
                        } else {
                            batch += (batch.isEmpty() ? QString() : kCrLf) + line;
                        }
                    }
                    LetEventsRun();
                    checkCancel();
                }
                if (inTransaction) {
                    connection.CommitTrans();
                    transactionOpen = false;
                }
            }
            LetEventsRun();
            checkCancel();
        }
        SetProgress(objProBar, 100);
        SetProfileValue(QStringLiteral("Base"), QStringLiteral("ServicePack"),
                        list.ProfileString(packSection, QStringLiteral("Version"), QString(), QString()));
        return true;
    } catch (const Cancelled &) {
    } catch (const BatchFailed &failure) {
        m_LastError = failure.text;
        WriteTextLog(QStringLiteral("数据库升级失败！SQL文件不全或SQL语句有误!") + kCrLf + QStringLiteral("错误描述:") +
                     failure.text + kCrLf + QStringLiteral("Sql文件名:") + scriptPath + kCrLf +
                     QStringLiteral("Sql内容:") + batch);
    }
    if (transactionOpen) {
        try {
            connection.RollbackTrans();
        } catch (...) {}
    }
    return false;
}

bool AISINFO::ExecuteSqlBatch(QString batch, ado::Connection &connection) {
    batch = batch.trimmed();
    ado::Command command;
    command.ActiveConnection = &connection;
    command.CommandType = ado::adCmdText;
    command.CommandTimeout = 0;
    if (!startsWithInsertFile(batch)) {
        command.CommandText = batch;
        command.Execute();
        return true;
    }
    const int guardAt = batch.indexOf(QStringLiteral("---?"));
    if (guardAt >= 0) {
        ado::Recordset guard = connection.Execute(batch.mid(guardAt + 4));
        if (guard.State() != 0 && !guard.Eof()) return true;
    }
    QString text = QStringLiteral("insert") + batch.mid(kInsertFile.size());
    QStringList files;
    const QString common = AddTrailingBackslash(GetProductCommonPath());
    for (;;) {
        const int open = text.indexOf(QLatin1Char('<'));
        if (open < 0) break;
        const int close = text.indexOf(QLatin1Char('>'));
        // A reference without its name between "<" and ">" cannot be bound.
        if (close < open + 2) {
            m_LastError = QStringLiteral("文件引用格式有误，执行出错");
            return false;
        }
        const QString path = common + text.mid(open + 1, close - open - 1).trimmed();
        if (!QFileInfo(path).isFile()) {
            m_LastError = QStringLiteral("文件") + path + QStringLiteral("不存在，执行出错");
            return false;
        }
        files.append(path);
        text.replace(open, close - open + 1, QStringLiteral("?"));
    }
    if (files.isEmpty()) return false;
    command.CommandText = text;
    for (int k = 0; k < files.size(); ++k) {
        QFile f(files.at(k));
        if (!f.open(QIODevice::ReadOnly)) throw ado::AdoError(-1, QStringLiteral("AISINFO"), f.errorString());
        const QByteArray bytes = f.readAll();
        command.Parameters.push_back(ado::Command::CreateParameter(QStringLiteral("FileName") + QString::number(k + 1),
                                                                   ado::adLongVarBinary, ado::adParamInput,
                                                                   bytes.size(), bytes));
    }
    command.Execute();
    command.ActiveConnection = nullptr;
    return true;
}
