#include "wizard/StepList.h"

#include "wizard/Navigation.h"

QList<QVariantMap> StepList::storedItems() {
    const char *const captions[Count] = {"准备工作", "升级设置", "数据检测", "升级处理", "升级报告"};
    QList<QVariantMap> bags;
    for (int i = 0; i < Count; ++i) {
        bags.append(QVariantMap{{QStringLiteral("Caption"), QString::fromUtf8(captions[i])},
                                {QStringLiteral("Step"), QString::number(i + 1)},
                                {QStringLiteral("Enabled"), QStringLiteral("False")}});
    }
    return bags;
}

QList<Navigation *> StepList::create(QWidget *parent) {
    QList<Navigation *> items;
    for (const QVariantMap &bag : storedItems()) {
        auto *item = new Navigation(parent);
        item->readProperties(bag);
        items.append(item);
    }
    return items;
}
