#include "wizard/SettingsValidator.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "accounts/ServerDrives.h"
#include "foundation/Globals.h"
#include "foundation/InputChecks.h"
#include "foundation/ServerComponent.h"
#include "foundation/ServerFolders.h"
#include "platform/PnwError.h"

namespace {

SettingsVerdict rejected(const QString &message, SettingsField focus) {
    SettingsVerdict verdict;
    verdict.kind = SettingsVerdict::Rejected;
    verdict.message = message;
    verdict.focus = focus;
    return verdict;
}

bool sameName(const QString &a, const QString &b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

}  // namespace

SettingsValidator::Lookups SettingsValidator::defaultLookups() {
    Lookups lookups;
    // Anything at the path exists: a FIFO or a folder is refused below as
    // no account-set file, saying what it is, not as missing.
    lookups.fileExists = [](const QString &path) { return QFileInfo::exists(path); };
    lookups.isJetDatabase = [](const QString &path) { return HasJetHeader(path); };
    lookups.accounts = [] { return WizardHooks::PurgeAndListAccounts(); };
    lookups.databases = [] { return WizardHooks::ListServerDatabases(); };
    lookups.checkFolder = [](const QString &path, const QString &label) { return CheckServerFolder(path, label); };
    lookups.freeMegabytes = [](const QString &folder) {
        const std::shared_ptr<ServerComponent> server = GetServerComponent();
        if (!server)
            throw PnwError(91, QStringLiteral("ctlSetting.ValidateSettings"),
                           QStringLiteral("对象变量或 With 块变量未设置"));
        return server->GetDiskInformation(folder);
    };
    return lookups;
}

SettingsValidator::SettingsValidator() : m_lookups(defaultLookups()) {}

PnwDictionary SettingsValidator::SettingsRecord(const SettingsInput &in) {
    PnwDictionary record;
    record.setItem(QStringLiteral("Source"), in.source.trimmed());
    record.setItem(QStringLiteral("AcctNum"), in.acctNumber.trimmed());
    record.setItem(QStringLiteral("AcctName"), in.acctName.trimmed());
    record.setItem(QStringLiteral("DBDir"), in.dbDir.trimmed());
    record.setItem(QStringLiteral("Option"), static_cast<qint16>(in.option));
    return record;
}

QString SettingsValidator::DefaultAccountName(const QString &source) {
    QString name = source.mid(source.lastIndexOf(QLatin1Char('/')) + 1);
    name.remove(QRegularExpression(QStringLiteral("\\.ais"), QRegularExpression::CaseInsensitiveOption));
    return name;
}

QString SettingsValidator::NotARegularFileReason(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode)) return QString();
    const QString what = S_ISFIFO(st.st_mode)                         ? QStringLiteral("命名管道（FIFO）")
                         : S_ISDIR(st.st_mode)                        ? QStringLiteral("文件夹")
                         : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? QStringLiteral("设备")
                                                                      : QStringLiteral("特殊文件");
    return QStringLiteral("\r\n原因：它是") + what + QStringLiteral("，不是普通文件。");
}

bool SettingsValidator::HasJetHeader(const QString &path) {
    // A FIFO or device would block the read: only a regular file can be one.
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(20);
    return head.size() == 20 && (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

SettingsValidator::SettingsValidator(Lookups lookups) : m_lookups(std::move(lookups)) {}

bool SettingsValidator::IsReservedDatabaseName(const QString &name) {
    for (const char *reserved : {"master", "model", "msdb", "tempdb", "AcctCtl"})
        if (sameName(name, QString::fromLatin1(reserved))) return true;
    return false;
}

bool SettingsValidator::IsValidAccountNumber(const QString &number) {
    const QString trimmed = number.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 80) return false;
    for (QChar c : trimmed) {
        const ushort u = c.unicode();
        const bool letter = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
        const bool digit = u >= '0' && u <= '9';
        if (!letter && !digit) return false;
    }
    return true;
}

SettingsVerdict SettingsValidator::validate(const SettingsInput &in) const {
    try {
        return validateRules(in);
    } catch (const PnwError &e) {
        // A missing object means a missing or broken installation: say so.
        if (e.number() != 91) throw;
        throw PnwError(91, e.source(),
                       e.description() + QStringLiteral("\r\n请检查是否正确安装VEQ专业版") + g_MinServerVersion +
                           QStringLiteral("。"));
    }
}

SettingsVerdict SettingsValidator::validateRules(const SettingsInput &in) const {
    if (in.source.isEmpty())
        return rejected(QStringLiteral("请选择需要升级的VEQ标准版/迷你版账套！"), SettingsField::Source);
    if (in.acctNumber.isEmpty())
        return rejected(QStringLiteral("账套号不可为空，请输入内容！"), SettingsField::AcctNumber);
    if (in.acctName.isEmpty())
        return rejected(QStringLiteral("账套名称不可为空，请输入内容！"), SettingsField::AcctName);
    if (in.dbDir.isEmpty())
        return rejected(QStringLiteral("账套文件保存路径不可为空，请设置路径！"), SettingsField::DBDir);
    if (!m_lookups.fileExists(in.source.trimmed()))
        return rejected(QStringLiteral("你填写的VEQ标准版(迷你版)账套文件不存在！"), SettingsField::Source);
    // Anything else renamed to .ais would fail deep inside account creation
    // with a server text; say here what is wrong with which file.
    if (!m_lookups.isJetDatabase(in.source.trimmed()))
        return rejected(QStringLiteral("文件“") + in.source.trimmed() +
                            QStringLiteral("”不是VEQ标准版(迷你版)账套文件（Access数据库），请重新选择。") +
                            NotARegularFileReason(in.source.trimmed()),
                        SettingsField::Source);
    if (StartsWithDigit(in.acctNumber))
        return rejected(QStringLiteral("账套号首字符不可为数字，请重新输入。"), SettingsField::AcctNumber);
    if (!IsValidAccountNumber(in.acctNumber))
        return rejected(QStringLiteral("账套号项输入内容不符合规范，账套号只允许英文字母和数字！"),
                        SettingsField::AcctNumber);
    if (!IsValidName(in.acctName, 255, true, false, false))
        return rejected(QStringLiteral("账套名称项输入内容不不符合规范，请不要使用“.”、空格等特殊符号。"),
                        SettingsField::AcctName);
    QString message;
    int position = 0;
    if (!CheckCompanyName(message, position, in.acctName, false, 0)) {
        SettingsVerdict verdict = rejected(message, SettingsField::AcctName);
        // The position counts in the trimmed name; select it in the field.
        const int lead = static_cast<int>(
            in.acctName.size() - QString(in.acctName).remove(QRegularExpression(QStringLiteral("^ +"))).size());
        verdict.selectStart = position - 1 + lead;
        verdict.selectLength = 1;
        return verdict;
    }

    const std::optional<QList<RegisteredAccount>> accounts = m_lookups.accounts();
    if (!accounts)
        throw PnwError(91, QStringLiteral("ctlSetting.ValidateSettings"),
                       QStringLiteral("对象变量或 With 块变量未设置"));
    bool numberTaken = IsReservedDatabaseName(in.acctNumber);
    for (const RegisteredAccount &row : *accounts) numberTaken = numberTaken || sameName(row.number, in.acctNumber);
    for (const QString &database : m_lookups.databases())
        numberTaken = numberTaken || sameName(database, in.acctNumber);
    if (numberTaken)
        return rejected(QStringLiteral("账套号:") + in.acctNumber + QStringLiteral("已使用，请重新输入。"),
                        SettingsField::AcctNumber);
    for (const RegisteredAccount &row : *accounts)
        if (sameName(row.name, in.acctName))
            return rejected(QStringLiteral("账套名称:") + in.acctName + QStringLiteral("已使用，请重新输入。"),
                            SettingsField::AcctName);

    if (!m_lookups.checkFolder(in.dbDir, QStringLiteral("数据库文件"))) {
        SettingsVerdict verdict;
        verdict.kind = SettingsVerdict::FolderRejected;
        verdict.focus = SettingsField::DBDir;
        return verdict;
    }
    if (m_lookups.freeMegabytes(in.dbDir.trimmed()) < MinimumFreeMegabytes)
        return rejected(QStringLiteral("磁盘空间小于300M，请选择另外的磁盘。"), SettingsField::DBDir);
    return SettingsVerdict{};
}
