#include "dialogs/frmBussinessUnits.h"

#include <functional>
#include <stdexcept>

#include <QCoreApplication>
#include <QLabel>
#include <QTreeWidget>

#include "controls/zqbutton.h"
#include "dialogs/DialogKit.h"
#include "foundation/Messages.h"
#include "upgrade/common/BusinessUnitTree.h"

namespace {

constexpr int kKeyRole = Qt::UserRole;
const QString kRoot = QStringLiteral("root");
const QString kObjID = QStringLiteral("FObjID");

PnwDictionary recordOf(const PnwList &list, int i) { return list.Item(i).value<PnwDictionary>(); }

QString objID(const PnwList &list, int i) { return recordOf(list, i).Item(kObjID).toString(); }

// A parent id that reads as the number 0 (such as "0" or "00") is the top.
bool readsAsZero(const QVariant &parentID) {
    bool number = false;
    const double value = parentID.toString().trimmed().toDouble(&number);
    return number && value == 0;
}

bool listContains(const PnwList &list, const QString &id) {
    for (int i = 1; i <= list.Count(); ++i)
        if (objID(list, i) == id) return true;
    return false;
}

QTreeWidget *makeTree(QWidget *parent, const char *name, const QRect &geometry) {
    auto *tree = new QTreeWidget(parent);
    tree->setObjectName(QString::fromLatin1(name));
    tree->setHeaderHidden(true);
    tree->setGeometry(geometry);
    return tree;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

}  // namespace

frmBussinessUnits::frmBussinessUnits(QWidget *parent)
    : DialogFrame(QStringLiteral("往来单位转换"), QSize(585, 433), 25, parent) {
    lblCaption()->setObjectName(QStringLiteral("Label1"));
    m_label5 =
        makeLabel(this, "Label5", QStringLiteral("请将标准版（迷你版）的往来单位进行区分并选择到对应的列表框里："),
                  QRect(14, 32, 557, 20));
    m_label2 = makeLabel(this, "Label2", QStringLiteral("往来单位："), QRect(14, 54, 120, 18));
    m_label4 = makeLabel(this, "Label4", QStringLiteral("客户："), QRect(314, 54, 120, 18));
    m_label3 = makeLabel(this, "Label3", QStringLiteral("供应商："), QRect(314, 220, 120, 18));
    m_pool = makeTree(this, "TvBussinessUnits", QRect(14, 74, 236, 306));
    m_customerTree = makeTree(this, "TvCustomer", QRect(314, 74, 257, 140));
    m_supplierTree = makeTree(this, "TvSupplier", QRect(314, 240, 257, 140));

    const QString captions[] = {QStringLiteral(">"), QStringLiteral(">>"), QStringLiteral("<"), QStringLiteral("<<")};
    const QString tips[] = {QStringLiteral("添加所选项目到%1"), QStringLiteral("添加所有项目到%1"),
                            QStringLiteral("从%1移除所选项目"), QStringLiteral("从%1移除所有项目")};
    for (int i = 0; i < 4; ++i) {
        m_customerButtons[i] = DialogKit::button(captions[i], this, 260, 78 + i * 34, 44);
        m_customerButtons[i]->setToolTip(tips[i].arg(QStringLiteral("客户列表")));
        m_supplierButtons[i] = DialogKit::button(captions[i], this, 260, 244 + i * 34, 44);
        m_supplierButtons[i]->setToolTip(tips[i].arg(QStringLiteral("供应商列表")));
        connect(m_customerButtons[i], &zqbutton::Click, this, [this, i] { moveButton(true, i); });
        connect(m_supplierButtons[i], &zqbutton::Click, this, [this, i] { moveButton(false, i); });
    }
    m_ok = DialogKit::button(QStringLiteral("确定"), this, 407, 394);
    m_cancel = DialogKit::button(QStringLiteral("取消"), this, 491, 394);
    connect(m_ok, &zqbutton::Click, this, &frmBussinessUnits::AcceptInput);
    connect(m_cancel, &zqbutton::Click, this, &frmBussinessUnits::ConfirmClose);
    connect(this, &DialogFrame::closeClicked, this, &frmBussinessUnits::ConfirmClose);
    // Escape is the close picture; Enter presses OK.
    setEscapeCloses(true);
    setDefaultButton(m_ok);
    for (QTreeWidget *tree : {m_pool, m_customerTree, m_supplierTree})
        connect(tree, &QTreeWidget::itemChanged, this, &frmBussinessUnits::onItemChanged);
}

frmBussinessUnits::~frmBussinessUnits() = default;

void frmBussinessUnits::Load() {
    m_customer = PnwList();
    m_supplier = PnwList();
    m_warning.clear();
    // What activation does: the pool from the units by path, then its order.
    FillUnitTree(m_pool, m_units, nullptr, true);
    NumberPool();
}

frmBussinessUnits::Side frmBussinessUnits::side(bool customer) {
    return customer ? Side{m_customerTree, &m_customer, &m_customerKeys}
                    : Side{m_supplierTree, &m_supplier, &m_supplierKeys};
}

QTreeWidgetItem *frmBussinessUnits::node(QTreeWidget *tree, const QString &key) const {
    return m_index.value(tree).value(key);
}

QString frmBussinessUnits::keyOf(const QTreeWidgetItem *item) {
    return item ? item->data(0, kKeyRole).toString() : QString();
}

void frmBussinessUnits::FillUnitTree(QTreeWidget *tree, PnwList &list, PnwDictionary *keySet, bool bySortPath) {
    if (list.Count() > 1) SortBusinessUnit(list, bySortPath);
    const bool wasPropagating = m_propagating;
    m_propagating = true;  // building the tree is no operator's tick
    tree->clear();
    QHash<QString, QTreeWidgetItem *> &index = m_index[tree];
    index.clear();
    if (tree == m_pool) m_poolNodes.clear();
    if (keySet) keySet->RemoveAll();
    auto *root = new QTreeWidgetItem(tree);
    root->setText(0, tree == m_pool           ? QStringLiteral("往来单位")
                     : tree == m_customerTree ? QStringLiteral("客户")
                                              : QStringLiteral("供应商"));
    root->setData(0, kKeyRole, kRoot);
    root->setCheckState(0, Qt::Unchecked);
    index.insert(kRoot, root);
    try {
        for (int i = 1; i <= list.Count(); ++i) {
            const PnwDictionary rec = recordOf(list, i);
            const QString id = rec.Item(kObjID).toString();
            const QString key = QStringLiteral("t_") + id;
            if (index.contains(key)) throw std::runtime_error("集合中的关键字不唯一");
            const QVariant parentID = rec.Item(QStringLiteral("FParentID"));
            QTreeWidgetItem *parent =
                readsAsZero(parentID) ? root : index.value(QStringLiteral("t_") + parentID.toString());
            if (!parent) throw std::runtime_error("找不到元素");
            auto *item = new QTreeWidgetItem(parent);
            item->setText(0, NodeDisplayID(id) + QStringLiteral("(") + rec.Item(QStringLiteral("FObjName")).toString() +
                                 QStringLiteral(")"));
            item->setData(0, kKeyRole, key);
            item->setCheckState(0, Qt::Unchecked);
            index.insert(key, item);
            if (tree == m_pool) m_poolNodes.append({item, i});
            if (keySet && !keySet->Exists(id)) keySet->setItem(id, id);
        }
    } catch (const std::exception &e) {
        ShowMessage(QString::fromUtf8(e.what()), MsgBox::Critical, kMessageTitle);
    }
    root->setExpanded(true);
    m_propagating = wasPropagating;
}

void frmBussinessUnits::NumberPool() {
    m_poolOrder.clear();
    QTreeWidgetItem *root = node(m_pool, kRoot);
    if (!root) return;
    int position = 0;
    std::function<void(QTreeWidgetItem *)> number = [&](QTreeWidgetItem *item) {
        m_poolOrder.insert(keyOf(item).mid(2), ++position);
        for (int c = 0; c < item->childCount(); ++c) number(item->child(c));
    };
    for (int c = 0; c < root->childCount(); ++c) number(root->child(c));
}

void frmBussinessUnits::SortBusinessUnit(PnwList &objVectData, bool bolSortByFullPath) {
    const int n = objVectData.Count();
    if (n <= 1) return;
    QList<QVariant> items;
    QStringList paths;
    QList<int> positions;
    for (int i = 1; i <= n; ++i) {
        items << objVectData.Item(i);
        const PnwDictionary rec = recordOf(objVectData, i);
        if (bolSortByFullPath)
            paths << rec.Item(QStringLiteral("FFullPath")).toString();
        else
            positions << m_poolOrder.value(rec.Item(kObjID).toString(), 0);
    }
    // An exchange sort: record i and a later record j swap whenever i's key
    // is the greater.
    for (int i = 0; i < n - 1; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const bool greater = bolSortByFullPath ? paths[i] > paths[j] : positions[i] > positions[j];
            if (!greater) continue;
            items.swapItemsAt(i, j);
            if (bolSortByFullPath)
                paths.swapItemsAt(i, j);
            else
                positions.swapItemsAt(i, j);
        }
    }
    for (int i = 0; i < n; ++i) objVectData.setItem(i + 1, items[i]);
}

void frmBussinessUnits::moveButton(bool customer, int index) {
    switch (index) {
    case 0: AddUnitsToList(customer, false); break;
    case 1: AddUnitsToList(customer, true); break;
    case 2: RemoveCheckedUnits(customer); break;
    default: RemoveAllUnits(customer); break;
    }
    FillUnitTree(m_pool, m_units, nullptr, true);
}

void frmBussinessUnits::AddUnitsToList(bool customer, bool all) {
    const Side s = side(customer);
    for (const auto &[item, i] : m_poolNodes) {
        if (!all && item->checkState(0) != Qt::Checked) continue;
        const QString id = objID(m_units, i);
        if (s.keys->Exists(id)) continue;
        s.list->Add(recordOf(m_units, i));
        s.keys->setItem(id, id);
    }
    if (s.list->Count() > 0) FillUnitTree(s.tree, *s.list, nullptr, false);
}

void frmBussinessUnits::removeTicked(QTreeWidget *tree, QTreeWidgetItem *item, QSet<QString> &removed) {
    // Deepest first: a ticked node goes once none of its children remain.
    for (int c = item->childCount() - 1; c >= 0; --c) removeTicked(tree, item->child(c), removed);
    if (keyOf(item) == kRoot || item->checkState(0) != Qt::Checked || item->childCount() > 0) return;
    removed.insert(keyOf(item).mid(2));
    m_index[tree].remove(keyOf(item));
    delete item;
}

void frmBussinessUnits::RemoveCheckedUnits(bool customer) {
    const Side s = side(customer);
    QTreeWidgetItem *root = node(s.tree, kRoot);
    if (!root) return;
    QSet<QString> removed;
    removeTicked(s.tree, root, removed);
    if (removed.isEmpty()) return;
    QList<QVariant> kept;
    for (int i = 1; i <= s.list->Count(); ++i)
        if (!removed.contains(objID(*s.list, i))) kept << s.list->Item(i);
    s.list->Clear();
    for (const QVariant &rec : kept) s.list->Add(rec);
    for (const QString &id : removed)
        if (s.keys->Exists(id)) s.keys->Remove(id);
    if (s.list->Count() > 0) FillUnitTree(s.tree, *s.list, nullptr, false);
}

void frmBussinessUnits::RemoveAllUnits(bool customer) {
    const Side s = side(customer);
    s.tree->clear();
    m_index[s.tree].clear();
    s.list->Clear();
    s.keys->RemoveAll();
}

void frmBussinessUnits::onItemChanged(QTreeWidgetItem *item) {
    if (m_propagating || !item) return;
    m_propagating = true;
    const Qt::CheckState state = item->checkState(0);
    std::function<void(QTreeWidgetItem *)> down = [&](QTreeWidgetItem *n) {
        for (int c = 0; c < n->childCount(); ++c) {
            n->child(c)->setCheckState(0, state);
            down(n->child(c));
        }
    };
    down(item);
    for (QTreeWidgetItem *p = item->parent(); p; p = p->parent()) {
        bool any = false;
        for (int c = 0; c < p->childCount() && !any; ++c) any = p->child(c)->checkState(0) == Qt::Checked;
        p->setCheckState(0, any ? Qt::Checked : Qt::Unchecked);
    }
    m_propagating = false;
}

void frmBussinessUnits::AcceptInput() {
    if (m_customer.Count() + m_supplier.Count() == 0) {
        ConfirmClose();
        return;
    }
    QList<QVariant> collected;
    QStringList entries;
    for (int i = 1; i <= m_units.Count(); ++i) {
        const QString id = objID(m_units, i);
        if (listContains(m_customer, id) || listContains(m_supplier, id)) continue;
        collected << m_units.Item(i);
        // A child's entry stands for its parent's: the parent's goes.
        const QString fullName = recordOf(m_units, i).Item(QStringLiteral("FFullObjName")).toString();
        const qsizetype cut = fullName.lastIndexOf(QLatin1Char('_'));
        if (cut >= 0) entries.removeAll(fullName.left(cut));
        entries << fullName;
    }
    if (collected.isEmpty()) {
        hideDialog();
        m_resultOK = true;
        return;
    }
    const QString names = entries.join(QStringLiteral("、"));
    if (!DialogKit::askYes(QStringLiteral("往来单位:") + names +
                           QStringLiteral("没有指定为客户或供应商，需要指定其同时为供应商和客户吗？")))
        return;
    for (const QVariant &rec : collected) {
        m_customer.Add(rec);
        m_supplier.Add(rec);
        QCoreApplication::processEvents();
    }
    m_warning = QStringLiteral("用户未指定部分往来单位:") + names +
                QStringLiteral("的性质，因此系统把这些往来单位同时升级为客户和供应商。");
    hideDialog();
    m_resultOK = true;
}

void frmBussinessUnits::ConfirmClose() {
    if (!DialogKit::askYes(
            QStringLiteral("你还没有进行往来单位转换，系统将把这些往来单位同时升级为客户和供应商，继续吗？")))
        return;
    m_warning = QStringLiteral("用户未指定往来单位的性质，因此系统将所有往来单位同时升级为客户和供应商。");
    m_customer = PnwList();
    m_supplier = PnwList();
    for (int i = 1; i <= m_units.Count(); ++i) {
        m_customer.Add(m_units.Item(i));
        m_supplier.Add(m_units.Item(i));
    }
    m_resultOK = false;
    hideDialog();
}
