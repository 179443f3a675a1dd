// The script-file runner of clsDataInfo: batches ended by "go" lines, each
// run on one connection without a transaction; "insertfile" batches store
// whole files as image parameters.
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "foundation/ErrorText.h"
#include "foundation/Messages.h"
#include "foundation/clsDataInfo.h"
#include "platform/AnsiCodec.h"
#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/AdoTypes.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"

namespace {

bool isGoLine(const QString &line) {
    QString t = line;
    t.remove(QLatin1Char('\t'));
    return t.toLower().trimmed() == QLatin1String("go");
}

}  // namespace

bool clsDataInfo::ExecuteSQLFlile(const QString &filename, const QString &strcn) {
    QString batchError;
    try {
        QFile file(filename);
        if (!file.open(QIODevice::ReadOnly))
            throw PnwError(53, QStringLiteral("clsDataInfo.ExecuteSQLFlile"),
                           QStringLiteral("文件未找到：") + filename);
        const QString text = AnsiCodec::decode(file.readAll());
        file.close();
        ado::Connection connection;
        connection.Open(strcn);

        QString batch;
        QStringList lines = text.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();  // the final line break
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
            if (line.isEmpty()) continue;
            if (isGoLine(line)) {
                if (!batch.isEmpty()) {
                    if (!ExecuteSqlBatch(batch, connection, batchError)) throw PnwError(-1, QString(), QString());
                    batch.clear();
                }
                continue;
            }
            batch = batch.isEmpty() ? line : batch + QStringLiteral("\r\n") + line;
        }
        if (!batch.isEmpty() && !ExecuteSqlBatch(batch, connection, batchError))
            throw PnwError(-1, QString(), QString());
        return true;
    } catch (const PnwError &e) {
        // A failed batch has been shown already; its text comes once more.
        ShowMessage(e.number() == -1 ? batchError : e.description(), MsgBox::Critical, kMessageTitle);
    } catch (const std::exception &e) {
        ShowMessage(ErrorDescription(e), MsgBox::Critical, kMessageTitle);
    }
    return false;
}

bool clsDataInfo::ExecuteSqlBatch(QString batch, ado::Connection &connection, QString &error) {
    try {
        batch = batch.trimmed();
        ado::Command command;
        command.ActiveConnection = &connection;
        command.CommandType = ado::adCmdText;
        command.CommandTimeout = 0;
        if (batch.left(10).toLower() != QLatin1String("insertfile")) {
            command.CommandText = batch;
            command.Execute();
            return true;
        }
        const qsizetype guard = batch.indexOf(QLatin1String("---?"));
        if (guard >= 0) {
            ado::Recordset rs = connection.Execute(batch.mid(guard + 4));
            if (rs.State() == ado::adStateOpen && rs.RecordCount() > 0) return true;
        }
        QString sql = QStringLiteral("insert") + batch.mid(10);
        QStringList files;
        for (;;) {
            const qsizetype lt = sql.indexOf(QLatin1Char('<'));
            if (lt < 0) break;
            const qsizetype gt = sql.indexOf(QLatin1Char('>'));
            // A "<" without its ">" would stop the marker search for good.
            if (gt < lt + 2)
                throw PnwError(5, QStringLiteral("clsDataInfo.ExecuteSqlBatch"),
                               QStringLiteral("文件引用不完整，执行出错：") + sql.mid(lt));
            const QString name = sql.mid(lt + 1, gt - lt - 1).trimmed();
            if (!QFileInfo(name).isFile())
                throw PnwError(53, QStringLiteral("clsDataInfo.ExecuteSqlBatch"),
                               name + QStringLiteral(" 文件不存在，执行出错"));
            files.append(name);
            sql.replace(lt, gt - lt + 1, QStringLiteral("?"));
        }
        if (files.isEmpty()) return true;
        command.CommandText = sql;
        for (int k = 0; k < files.size(); ++k) {
            QFile f(files.at(k));
            if (!f.open(QIODevice::ReadOnly))
                throw PnwError(53, QStringLiteral("clsDataInfo.ExecuteSqlBatch"),
                               files.at(k) + QStringLiteral(" 文件不存在，执行出错"));
            const QByteArray bytes = f.readAll();
            command.Parameters.push_back(
                ado::Command::CreateParameter(QStringLiteral("FileName") + QString::number(k + 1), ado::adLongVarBinary,
                                              ado::adParamInput, bytes.size(), bytes));
        }
        command.Execute();
        return true;
    } catch (const std::exception &e) {
        error = ErrorDescription(e);
        ShowMessage(error, MsgBox::Critical, kMessageTitle);
        return false;
    }
}
