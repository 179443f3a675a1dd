#include "kit/UpgradeStepFixture.h"

#include "accounts/interface.h"
#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"
#include "upgrade/base/clsBaseSys.h"
#include "upgrade/ledger/clsEboGL.h"
#include "support/SampleFiles.h"

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

void UpgradeStepFixture::createFromEdited(const QString &sample, const SampleEdit &edit) {
    source = BuildEditedSample(server.path() + QStringLiteral("/src"), sample, edit);
    sourceHash = FileHash(source);
    useSettings(source, kTarget);
    const int result = runCreation();
    ASSERT_LT(result, 2) << logRows().join(QLatin1Char('\n')).toStdString();
    m_logSeen = static_cast<int>(logRows().size());
}

int UpgradeStepFixture::check(interface &stage) { return stage.CheckData(bar, label, QString()); }

int UpgradeStepFixture::upgrade(interface &stage) { return stage.UpgradeData(bar, label, QString()); }

void UpgradeStepFixture::run(const QString &sql) {
    const QString error = targetRun(sql);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString() << "\n" << sql.toStdString();
}

void UpgradeStepFixture::setOption(int option) {
    g_UpgradeSettings.DictionaryItem(1).setItem(QStringLiteral("Option"), option);
}

void UpgradeStepFixture::upgradeBaseAndLedger() {
    clsBaseSys base;
    EXPECT_LT(check(base), 2) << newLogRows().join(QLatin1Char('\n')).toStdString();
    EXPECT_LT(upgrade(base), 2) << newLogRows().join(QLatin1Char('\n')).toStdString();
    clsEboGL ledger;
    EXPECT_LT(upgrade(ledger), 2) << newLogRows().join(QLatin1Char('\n')).toStdString();
    newLogRows();
}

QStringList UpgradeStepFixture::newLogRows() {
    const QStringList all = logRows();
    const QStringList fresh = all.mid(m_logSeen);
    m_logSeen = static_cast<int>(all.size());
    return fresh;
}
