#include "kit/UpgradeStepFixture.h"

#include "accounts/interface.h"

void UpgradeStepFixture::SetUp() {
    CreateAcctFixture::SetUp();
    const QString why = layOutBase();
    ASSERT_TRUE(why.isEmpty()) << why.toStdString();
}

void UpgradeStepFixture::createFrom(const QString &sample) {
    useSettings(copySample(sample, true), kTarget);
    const int result = runCreation();
    ASSERT_LT(result, 2) << logRows().join(QLatin1Char('\n')).toStdString();
    m_logSeen = static_cast<int>(logRows().size());
}

int UpgradeStepFixture::check(interface &stage) { return stage.CheckData(bar, label, QString()); }

int UpgradeStepFixture::upgrade(interface &stage) { return stage.UpgradeData(bar, label, QString()); }

QString UpgradeStepFixture::targetValue(const QString &sql) const {
    const QStringList rows = target(sql);
    return rows.isEmpty() ? QStringLiteral("<none>") : rows.first();
}

QStringList UpgradeStepFixture::newLogRows() {
    const QStringList all = logRows();
    const QStringList fresh = all.mid(m_logSeen);
    m_logSeen = static_cast<int>(all.size());
    return fresh;
}
