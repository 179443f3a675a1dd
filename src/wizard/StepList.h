// The main window's step list: five Navigation items for the wizard steps
// 0 to 4, as stored with the window (captions, step numbers, all disabled,
// none active).
#pragma once

#include <QList>
#include <QVariantMap>

class Navigation;
class QWidget;

class StepList {
public:
    static constexpr int Count = 5;

    // The stored property bags of items 0 to 4.
    static QList<QVariantMap> storedItems();

    // Creates the five items as children of `parent`, each loaded from its
    // stored bag; index i is the item of wizard step i.
    static QList<Navigation *> create(QWidget *parent);
};
