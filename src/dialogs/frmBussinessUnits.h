// The business-unit dialog: the operator sorts the business units whose kind
// the account usage leaves open into customers, suppliers or both, moving
// ticked units (or all) from the pool tree into the customer and supplier
// trees and back. Ticking a node ticks its subtree, and an ancestor is
// ticked exactly while some node below it is. Input: BussinessUnits (node
// records with FObjID, FObjName, FParentID, FFullObjName, FFullPath);
// outputs: Customer, Supplier, WarningMsg (and ResultOK). Only OK, Cancel
// and the close picture end it. UI thread only.
#pragma once

#include <array>

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

#include "controls/DialogFrame.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class zqbutton;

class frmBussinessUnits : public DialogFrame {
    Q_OBJECT
public:
    explicit frmBussinessUnits(QWidget *parent = nullptr);
    ~frmBussinessUnits() override;

    PnwList Supplier() const { return m_supplier; }
    PnwList Customer() const { return m_customer; }
    bool ResultOK() const { return m_resultOK; }
    void setBussinessUnits(const PnwList &units) { m_units = units; }
    QString WarningMsg() const { return m_warning; }
    // Sorts the node records in place, ascending by FFullPath, or by the
    // units' positions in the pool tree.
    void SortBusinessUnit(PnwList &objVectData, bool bolSortByFullPath);

    QTreeWidget *TvBussinessUnits() const { return m_pool; }
    QTreeWidget *TvCustomer() const { return m_customerTree; }
    QTreeWidget *TvSupplier() const { return m_supplierTree; }
    QLabel *Label1() const { return lblCaption(); }
    QLabel *Label2() const { return m_label2; }
    QLabel *Label3() const { return m_label3; }
    QLabel *Label4() const { return m_label4; }
    QLabel *Label5() const { return m_label5; }
    // Index 0 ">", 1 ">>", 2 "<", 3 "<<".
    zqbutton *btnCustomer(int index) const { return m_customerButtons.at(index); }
    zqbutton *btnSupplier(int index) const { return m_supplierButtons.at(index); }
    zqbutton *btn_OK() const { return m_ok; }
    zqbutton *btn_Cancel() const { return m_cancel; }

    // The node of a tree by its key ("root" or "t_" + FObjID); nullptr when
    // the tree has none.
    QTreeWidgetItem *node(QTreeWidget *tree, const QString &key) const;
    static QString keyOf(const QTreeWidgetItem *item);

protected:
    void Load() override;

private:
    struct Side {
        QTreeWidget *tree;
        PnwList *list;
        PnwDictionary *keys;
    };
    Side side(bool customer);
    void FillUnitTree(QTreeWidget *tree, PnwList &list, PnwDictionary *keySet, bool bySortPath);
    void NumberPool();
    void moveButton(bool customer, int index);
    void AddUnitsToList(bool customer, bool all);
    void RemoveCheckedUnits(bool customer);
    void RemoveAllUnits(bool customer);
    void removeTicked(QTreeWidget *tree, QTreeWidgetItem *item, QSet<QString> &removed);
    void onItemChanged(QTreeWidgetItem *item);
    void AcceptInput();
    void ConfirmClose();

    PnwList m_units;
    PnwList m_customer;
    PnwList m_supplier;
    PnwDictionary m_customerKeys;
    PnwDictionary m_supplierKeys;
    QHash<QString, int> m_poolOrder;  // FObjID -> position in the pool tree
    QHash<const QTreeWidget *, QHash<QString, QTreeWidgetItem *>> m_index;
    // The pool's nodes in the order added, with their record in BussinessUnits.
    QList<QPair<QTreeWidgetItem *, int>> m_poolNodes;
    QString m_warning;
    bool m_resultOK = false;
    bool m_propagating = false;

    QTreeWidget *m_pool;
    QTreeWidget *m_customerTree;
    QTreeWidget *m_supplierTree;
    QLabel *m_label2;
    QLabel *m_label3;
    QLabel *m_label4;
    QLabel *m_label5;
    std::array<zqbutton *, 4> m_customerButtons{};
    std::array<zqbutton *, 4> m_supplierButtons{};
    zqbutton *m_ok;
    zqbutton *m_cancel;
};
