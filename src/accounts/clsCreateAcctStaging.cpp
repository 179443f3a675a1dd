// The staging copies: every known source table copied by the server into
// the target as "AIS_" + its name, with the mapping column FZ8InterID.
#include <QSet>

#include "foundation/SqlText.h"
#include "accounts/StagedTables.h"
#include "accounts/clsCreateAcct.h"
#include "foundation/Messages.h"
#include "foundation/ErrorText.h"
#include "foundation/Progress.h"
#include "platform/PnwError.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/dao/DBEngine.h"
#include "platform/dao/DaoError.h"
#include "foundation/Globals.h"

namespace {

std::unique_ptr<dao::Database> openSource(const QString &source) {
    dao::DBEngine engine;
    engine.SystemDB = clsCreateAcct::WorkgroupFile(source);
    engine.DefaultUser = QStringLiteral("morningstar");
    engine.DefaultPassword = QStringLiteral("tqlarnvezmbhko");
    return engine.OpenDatabase(source);
}

// A table of the source that cannot be staged: the file is damaged there.
PnwError damagedTable(const QString &table) {
    return PnwError(-1, QStringLiteral("InsertTempInit"), clsCreateAcct::DamagedFileMessage(table));
}

// The cancel that stopped the table loop.
struct StagingCancelled {};

}  // namespace

bool clsCreateAcct::CreateStagingTables(ProgressBar *PoBar, QLabel *LblObject, const QString &connectString,
                                        QString &failureText) {
    try {
        ado::Connection connection;
        connection.Open(connectString);
        connection.CommandTimeout = 0;
        std::unique_ptr<dao::Database> source = openSource(m_Source);
        CheckSourceUnchanged();
        const dao::TableDefs &defs = source->TableDefs();
        const int n = defs.Count();
        SetStatusCaption(LblObject, QStringLiteral("正在创建临时表..."));
        InitProgress(PoBar, n, true);
        QSet<QString> staged;  // upper case
        for (int i = 0; i < n; ++i) {
            const dao::TableDef &def = defs.Item(i);
            const QString t = def.Name();
            if (!IsStagedTable(t)) continue;
            int fieldCount = 0;
            try {
                fieldCount = def.Fields().Count();
            } catch (const dao::DaoError &) {
                throw damagedTable(t);
            }
            if (fieldCount > 0) {
                CheckSourceUnchanged();
                const QString error = CopySourceTable(connection, t, false);
                CheckSourceUnchanged();
                if (!error.isEmpty()) throw PnwError(-1, QStringLiteral("InsertTempInit"), error);
                staged.insert(t.toUpper());
            }
            SetProgress(PoBar, i);
            LetEventsRun();
            // A cancel leaves an incomplete staging set: not a success.
            if (g_CancelRequested) throw StagingCancelled{};
        }
        // A table the steps read that the file does not list (its catalogue
        // entry damaged) would only be missed much later, or not at all.
        const QStringList missing = MissingSourceTables(staged);
        if (!missing.isEmpty()) throw damagedTable(missing.first());
        connection.Execute(QStringLiteral(" delete AIS_GLVch where FDeleted=1 "));
        connection.Execute(QStringLiteral("update AIS_GLAcct set Fiscash=0 where Fbank=1"));
        connection.Close();
        source->Close();
        SetProgress(PoBar, n);
        return true;
    } catch (const StagingCancelled &) {
        failureText = QStringLiteral("用户取消了创建临时表。");
        return false;
    } catch (const std::exception &e) {
        failureText = QStringLiteral("创建临时表出错，错误原因可能是：") + ErrorDescription(e);
        return false;
    }
}

void clsCreateAcct::CheckSourceUnchanged() const {
    if (SourceIdentity::Of(m_Source) == m_SourceIdentity) return;
    throw PnwError(
        -1, QStringLiteral("InsertTempInit"),
        QStringLiteral("源账套文件") + m_Source +
            QStringLiteral("在创建账套的过程中被替换或改动，升级不能继续。请不要在升级时改动源账套，然后重试。"));
}

QString clsCreateAcct::CopySourceTable(ado::Connection &connection, const QString &table, bool dropOnly) {
    const QString t = SqlLiteral(table);
    QString name = table;
    name.replace(QLatin1Char(']'), QStringLiteral("]]"));
    try {
        connection.Execute(QStringLiteral("if exists (select * from dbo.sysobjects where id = object_id(N'AIS_") + t +
                           QStringLiteral("') and OBJECTPROPERTY(id, N'IsUserTable') = 1)") + kCrLf +
                           QStringLiteral("drop table [AIS_") + name + QStringLiteral("]"));
        if (dropOnly) return QString();
        QString copy = QStringLiteral("SELECT * INTO [AIS_") + name + QStringLiteral("]") + kCrLf +
                       QStringLiteral("FROM OpenDataSource( '") + m_Provider + QStringLiteral("',") + kCrLf +
                       QStringLiteral("'Provider= ") + m_Provider + QStringLiteral(";Password=tqlarnvezmbhko ") +
                       QStringLiteral(";User ID=morningstar;Data Source=") + SqlLiteral(ConnectionValue(m_Source)) +
                       QStringLiteral(";Persist Security Info=True;") + QStringLiteral("Jet OLEDB:System database=") +
                       SqlLiteral(ConnectionValue(WorkgroupFile(m_Source))) + QStringLiteral("')") +
                       QStringLiteral("...[") + name + QStringLiteral("]");
        if (m_UseAce)
            copy.replace(QStringLiteral("Microsoft.Jet.OLEDB.4.0"), QStringLiteral("Microsoft.ACE.OLEDB.12.0"));
        connection.Execute(copy);
        connection.Execute(
            QStringLiteral("IF NOT EXISTS(SELECT 1 FROM sysobjects t1 INNER JOIN syscolumns t2 ON t1.id = "
                           "t2.id WHERE (t1.name = 'AIS_") +
            t + QStringLiteral("') AND (t2.name = 'FZ8InterID'))") + QStringLiteral("ALTER TABLE [AIS_") + name +
            QStringLiteral("] ADD FZ8InterID INT default(0)"));
        return QString();
    } catch (const ado::AdoError &e) {
        QString text = e.description();
        // A row the provider cannot read is damage in the file itself: say
        // so and name the table, whatever provider read it.
        if (e.number() == 7330 || (e.number() == 7303 && SaysSourceDamaged(text)))
            return DamagedFileMessage(table) + kCrLf + text;
        if (e.number() == 7303)
            text += kCrLf + QStringLiteral("请在Microsft SQL Server Management Studio中的服务器对象——>访问接口——>"
                                           "Microsoft.Jet.OLEDB.4.0右键属性中的所有钩去掉后重试。");
        return text;
    } catch (const std::exception &e) {
        return ErrorDescription(e);
    }
}

bool clsCreateAcct::DropTempTable(const QString &cnstr) {
    try {
        if (m_Source.isEmpty() && g_UpgradeSettings.Count() > 0)
            m_Source = g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("Source")).toString();
        ado::Connection connection;
        connection.Open(cnstr);
        connection.CommandTimeout = 0;
        std::unique_ptr<dao::Database> source = openSource(m_Source);
        for (int i = 0; i < source->TableDefs().Count(); ++i)
            CopySourceTable(connection, source->TableDefs().Item(i).Name(), true);
        connection.Close();
        source->Close();
        return true;
    } catch (...) {
        return false;
    }
}
