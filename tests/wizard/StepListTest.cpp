#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "support/QtApp.h"
#include "wizard/Navigation.h"
#include "wizard/StepList.h"

namespace {

TEST(StepList, HoldsTheFiveStoredItems) {
    ensureQtApp();
    struct Row {
        const char *caption;
        const char *step;
    };
    const Row rows[] = {{"准备工作", "1"}, {"升级设置", "2"}, {"数据检测", "3"}, {"升级处理", "4"}, {"升级报告", "5"}};

    QWidget host;
    const QList<Navigation *> items = StepList::create(&host);
    ASSERT_EQ(items.size(), StepList::Count);
    for (int i = 0; i < StepList::Count; ++i) {
        SCOPED_TRACE(i);
        Navigation *item = items[i];
        EXPECT_EQ(item->parent(), &host);
        EXPECT_EQ(item->Caption(), QString::fromUtf8(rows[i].caption));
        EXPECT_EQ(item->captionLabel()->text(), QString::fromUtf8(rows[i].caption));
        EXPECT_EQ(item->Step(), rows[i].step);
        EXPECT_FALSE(item->Enabled());
        EXPECT_EQ(item->EnabledText(), "False");
        EXPECT_FALSE(item->Actived());
        EXPECT_FALSE(item->highlightVisible());
        // Saved again, an item gives back exactly what was stored.
        EXPECT_EQ(item->writeProperties(), StepList::storedItems()[i]);
    }
}

TEST(StepList, ItemsOnlyDisplay) {
    ensureQtApp();
    QWidget host;
    for (Navigation *item : StepList::create(&host)) {
        QSignalSpy clicks(item, &Navigation::Click);
        QTest::mouseClick(item, Qt::LeftButton, Qt::NoModifier, item->rect().center());
        EXPECT_EQ(clicks.count(), 0);
    }
}

TEST(StepList, RendersForALook) {
    ensureQtApp();
    const QString dir = QStringLiteral(PNW_BINARY_DIR) + "/wizard-shots";
    QDir().mkpath(dir);
    QWidget host;
    host.resize(160, 5 * 40);
    host.setStyleSheet("background: white");
    const QList<Navigation *> items = StepList::create(&host);
    host.show();
    for (int i = 0; i < StepList::Count; ++i) {
        items[i]->setGeometry(0, i * 40, 150, 38);
        items[i]->setActived(i == 2);
    }
    EXPECT_TRUE(items[2]->highlightVisible());
    EXPECT_TRUE(host.grab().save(dir + "/steplist.png"));
}

}  // namespace
