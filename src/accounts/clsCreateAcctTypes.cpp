// The account types the installed edition can create ("CreateDB.lst").
#include "accounts/clsCreateAcct.h"
#include "foundation/CProfile.h"
#include "foundation/Messages.h"
#include "foundation/ServerConfig.h"
#include "platform/PlatformSettings.h"

bool clsCreateAcct::ReadAccountTypes() {
    const QString file = GetProductCommonPath() + QStringLiteral("SqlSrv/CreateDB.lst");
    try {
        CProfile profile;
        profile.setFilename(file);
        const bool chinese = PlatformSettings::ansiCodePage() == 936;
        for (int n = 1; n <= 10; ++n) {
            if (n == 3 || n == 4 || n == 8 || n == 10) continue;
            if (n == 7 && !chinese) continue;
            const QString section =
                profile
                    .ProfileString(QStringLiteral("AcctType"), QStringLiteral("Item") + QString::number(n), QString(),
                                   QString())
                    .trimmed();
            if (section.isEmpty()) break;
            m_AcctTypes.Add(
                profile.ProfileString(section, QStringLiteral("Description"), QString(), QString()).trimmed());
            bool numeric = false;
            const int type = profile.ProfileString(section, QStringLiteral("Accttype"), QStringLiteral("0"), QString())
                                 .trimmed()
                                 .toInt(&numeric);
            m_AcctTypes.Add(numeric ? type : 0);
            m_AcctTypeIndex.setItem(QStringLiteral("AcctIndex_") + QString::number(m_AcctTypes.Count()), n - 1);
        }
    } catch (...) {
        return false;
    }
    if (m_AcctTypes.Count() > 0) return true;
    ShowMessage(QStringLiteral("【发生错误】无法读取可供使用的账套类型，") + QStringLiteral("请检查") + file +
                    QStringLiteral("是否存在！"),
                16, QStringLiteral("岫禾软件"));
    return false;
}

int clsCreateAcct::lastAccountNode() const {
    const QString key = QStringLiteral("AcctIndex_") + QString::number(m_AcctTypes.Count());
    return m_AcctTypeIndex.Exists(key) ? m_AcctTypeIndex.Item(key).toInt() : 0;
}
