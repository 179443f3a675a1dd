// The whole road through the wizard's window with the real stages, pressing
// its drawn buttons: welcome, settings, the data check, the upgrade and the
// report page; afterwards the target passes the invariants the headless
// runs are held to. Once with everything upgraded on the mini sample, once
// with the balances only (chosen on the settings page) on the mini sample
// whose current period holds no movement.
#include <QFile>
#include <QRadioButton>
#include <QTest>

#include "EndToEndFixture.h"
#include "controls/zqbutton.h"
#include "e2e/UpgradeInvariants.h"
#include "foundation/Globals.h"
#include "platform/MessageScript.h"
#include "wizard/cltLogReport.h"
#include "wizard/ctlSetting.h"
#include "wizard/ctlUpgrade.h"

namespace {

struct Road {
    const char *sample;
    const char *number;
    bool balancesOnly;
};

// A real left click in the middle of a drawn button or a radio button.
void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center()); }

std::string pageLines(const cltLogReport *page) {
    QStringList out;
    for (const UpgradeLogLine &line : page->lines())
        out << line.status + QLatin1Char(' ') + line.project + QLatin1Char(' ') + line.description;
    return out.join(QLatin1Char('\n')).toStdString();
}

class WizardRoadTest : public EndToEndTest, public ::testing::WithParamInterface<Road> {};

TEST_P(WizardRoadTest, TheTargetKeepsTheInvariants) {
    const Road road = GetParam();
    const QString sample = QString::fromLatin1(road.sample);
    const QString number = QString::fromLatin1(road.number);
    const QString source = copySample(sample);
    // Message boxes, if any, take their default answer and are told on failure.
    MessageScript messages;
    auto w = load();
    ASSERT_EQ(g_WizardStep, 0);
    click(w->btnNext());
    ASSERT_EQ(g_WizardStep, 1);
    fillSettings(*w, source, number);
    ctlSetting *settings = w->ctlSetting1();
    if (road.balancesOnly) click(settings->Option1(1));
    ASSERT_EQ(settings->Option1(1)->isChecked(), road.balancesOnly);

    click(w->btnNext());
    ASSERT_EQ(g_WizardStep, 2);
    ASSERT_TRUE(w->ctlCheckData()->CheckResult()) << pageLines(w->ctlCheckData());
    EXPECT_EQ(g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("Option")).toInt(), road.balancesOnly ? 1 : 0);

    click(w->btnNext());
    ASSERT_EQ(g_WizardStep, 4);
    ASSERT_TRUE(w->ctlUpgrade1()->UpgradeResult()) << pageLines(w->ctlLogReport());
    EXPECT_EQ(w->btnNext()->Caption(), QStringLiteral("完  成"));
    for (const UpgradeLogLine &line : w->ctlLogReport()->lines())
        EXPECT_NE(line.status, QStringLiteral("错误"))
            << line.project.toStdString() << " " << line.description.toStdString();
    EXPECT_TRUE(QFile::exists(g_UpgradeReportPath)) << g_UpgradeReportPath.toStdString();
    for (const MessageRequest &m : messages.requests()) ADD_FAILURE() << "asked: " << m.prompt.toStdString();

    e2e::ExpectInvariants(sample, road.balancesOnly, [&](const QString &sql) {
        const QString value = rows(number, sql).value(0, QStringLiteral("<none>"));
        EXPECT_FALSE(value.startsWith(QStringLiteral("<error>"))) << value.toStdString();
        return value;
    });

    click(w->btnNext());
    EXPECT_EQ(quits, 1);
}

INSTANTIATE_TEST_SUITE_P(Samples, WizardRoadTest,
                         ::testing::Values(Road{"mini", "M01", false}, Road{"mini_open", "M02", true}),
                         [](const ::testing::TestParamInfo<Road> &info) {
                             return std::string(info.param.sample) + (info.param.balancesOnly ? "_balances" : "_all");
                         });

}  // namespace
