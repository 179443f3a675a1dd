#include "upgrade/common/BusinessUnitTree.h"

#include <QHash>
#include <QList>
#include <QSet>

#include "foundation/Progress.h"
#include "foundation/ErrorText.h"
#include "platform/PnwConvert.h"
#include "platform/PnwError.h"

namespace {

const QString kObjID = QStringLiteral("FObjID");
const QString kParentID = QStringLiteral("FParentID");
const QString kObjName = QStringLiteral("FObjName");
const QString kShortObjID = QStringLiteral("FShortObjID");
const QString kFullObjName = QStringLiteral("FFullObjName");
const QString kFullPath = QStringLiteral("FFullPath");
const QString kNumber = QStringLiteral("FNumber");
const QString kTop = QStringLiteral("0");

QString text(const QVariant &value) { return PnwConvert::ToText(value, QString()); }

QString withoutDots(QString code) { return code.remove(QLatin1Char('.')); }

// Stands for a "." inside an own code in node identifiers, where "." joins
// the levels: without it a top unit "01.02" and a unit "02" under "01"
// would share one identifier. Item codes never hold control characters.
const QChar kCodeDot(0x1F);

QString identifierPart(QString code) { return code.replace(QLatin1Char('.'), kCodeDot); }

PnwDictionary nodeOf(const PnwDictionary &pool, const QString &id) { return pool.Item(id).value<PnwDictionary>(); }

bool isTop(const PnwDictionary &node) { return text(node.Item(kParentID)) == kTop; }

// The record of one unit under parent (a null dictionary for a top unit).
PnwDictionary makeNode(const QString &code, const QString &name, const QString &fullPath,
                       const std::optional<PnwDictionary> &parent) {
    PnwDictionary node;
    if (parent) {
        node.setItem(kObjID, text(parent->Item(kObjID)) + QLatin1Char('.') + identifierPart(code));
        node.setItem(kParentID, text(parent->Item(kObjID)));
        node.setItem(kFullObjName, text(parent->Item(kFullObjName)) + QLatin1Char('_') + name);
        node.setItem(kNumber, text(parent->Item(kNumber)) + QLatin1Char('.') + withoutDots(code));
    } else {
        node.setItem(kObjID, identifierPart(code));
        node.setItem(kParentID, kTop);
        node.setItem(kFullObjName, name);
        node.setItem(kNumber, withoutDots(code));
    }
    node.setItem(kObjName, name);
    node.setItem(kShortObjID, code);
    node.setItem(kFullPath, fullPath);
    return node;
}

// Node identifiers compare without regard to case.
QString idKey(const QString &id) { return id.toCaseFolded(); }

// A node list and the identifiers it holds, so that "is it there" is no walk
// over the list.
struct NodeList {
    PnwList &list;
    QSet<QString> ids;

    explicit NodeList(PnwList &l) : list(l) {
        for (int i = 1; i <= l.Count(); ++i) ids.insert(idKey(text(l.DictionaryItem(i).Item(kObjID))));
    }
    bool contains(const QString &id) const { return ids.contains(idKey(id)); }
    void add(const PnwDictionary &node) {
        ids.insert(idKey(text(node.Item(kObjID))));
        list.Add(node);
    }
};

// How many records of pool each node identifier has as children.
QHash<QString, int> childCounts(const PnwDictionary &pool) {
    QHash<QString, int> counts;
    for (int i = 1; i <= pool.Count(); ++i) ++counts[idKey(text(nodeOf(pool, pool.Key(i)).Item(kParentID)))];
    return counts;
}

// One pass over the keys of a kind: each used unit with its ancestors goes
// into tree; the unit (when it has no child and keepWhen does not hold its
// code) and its single-child ancestors are noted for leaving the pool.
void treePass(const PnwDictionary &keys, const PnwDictionary &pool, const QHash<QString, int> &children,
              const PnwDictionary &shortIndex, NodeList &tree, const PnwDictionary *keepWhen, QStringList &noted) {
    for (int i = 1; i <= keys.Count(); ++i) {
        const QString key = keys.Key(i);
        if (!shortIndex.Exists(key)) continue;
        const QString id = text(shortIndex.Item(key));
        if (!pool.Exists(id)) continue;
        const PnwDictionary node = nodeOf(pool, id);
        if (!isTop(node)) {
            const PnwList ancestors = GetAncestorNodes(id, pool);
            for (int a = 1; a <= ancestors.Count(); ++a) {
                const PnwDictionary ancestor = ancestors.DictionaryItem(a);
                const QString ancestorID = text(ancestor.Item(kObjID));
                if (tree.contains(ancestorID)) continue;
                tree.add(ancestor);
                if (children.value(idKey(ancestorID)) <= 1) noted.append(ancestorID);
            }
        }
        if (!tree.contains(id)) tree.add(node);
        if ((!keepWhen || !keepWhen->Exists(key)) && children.value(idKey(id)) == 0) noted.append(id);
        LetEventsRun();
    }
}

}  // namespace

std::optional<ado::Recordset> GetUsedBusinessUnits(clsDataInfo &dataInfo, const QString &connectString) {
    const QString sql = QStringLiteral(
        "SELECT T.* FROM ( "
        " SELECT DISTINCT FObjID, FAcctID FROM AIS_GLVch WHERE FClsID = 1 "
        " UNION "
        " SELECT DISTINCT FCustID, FAcctID AS FObjID FROM AIS_GLVch WHERE FCustID IS NOT NULL AND FCustID <> '' "
        " UNION "
        " SELECT DISTINCT FObjID, FAcctID FROM AIS_GLBal WHERE FClsID = 1 "
        " UNION "
        " SELECT DISTINCT FObjID, FAcctID FROM AIS_GLQtyBal WHERE FClsID = 1 "
        " ) T  ORDER BY T.FObjID, T.FAcctID ");
    try {
        QString error;
        return dataInfo.GetRs(connectString, sql, true, error);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

bool BuildBusinessUnitTreeData(ado::Recordset *units, PnwList &customerTree, PnwList &supplierTree, PnwList &undecided,
                               const PnwDictionary &customerKeys, const PnwDictionary &supplierKeys,
                               QStringList *detached) {
    if (!units) return false;
    try {
        customerTree.Clear();
        supplierTree.Clear();
        undecided.Clear();
        PnwDictionary pool;
        PnwDictionary shortIndex;
        if (units->RecordCount() > 0) units->MoveFirst();
        while (!units->Eof()) {
            const QString code = text(units->value(kObjID));
            const QString name = text(units->value(kObjName));
            const QString parentCode = text(units->value(kParentID));
            const QString fullPath = text(units->value(kFullPath));
            std::optional<PnwDictionary> parent;
            if (parentCode != QLatin1String("*") && !parentCode.isEmpty()) {
                // The parent by its own code; a parent missing from the units
                // would leave the unit out, so it is put at the top instead.
                if (shortIndex.Exists(parentCode) && pool.Exists(text(shortIndex.Item(parentCode))))
                    parent = nodeOf(pool, text(shortIndex.Item(parentCode)));
                else if (detached)
                    detached->append(code + QLatin1Char(' ') + name);
            }
            const PnwDictionary node = makeNode(code, name, fullPath, parent);
            const QString id = text(node.Item(kObjID));
            pool.setItem(id, QVariant::fromValue(node));
            shortIndex.setItem(code, id);
            units->MoveNext();
            LetEventsRun();
        }

        // Both passes see the whole pool, so an ancestor that customer and
        // supplier units share reaches both trees; pruning comes after.
        QStringList noted;
        const QHash<QString, int> children = childCounts(pool);
        NodeList customers(customerTree), suppliers(supplierTree), rest(undecided);
        if (customerKeys.Count() > 0)
            treePass(customerKeys, pool, children, shortIndex, customers, &supplierKeys, noted);
        if (supplierKeys.Count() > 0) treePass(supplierKeys, pool, children, shortIndex, suppliers, nullptr, noted);
        // An undecided unit is shown with every ancestor, also one pruned
        // here (a unit's only child whose own subtree is partly decided):
        // the dialog builds its tree from the top down.
        QSet<QString> pruned;
        for (const QString &id : noted) pruned.insert(idKey(id));

        for (int i = 1; i <= pool.Count(); ++i) {
            const QString id = pool.Key(i);
            if (pruned.contains(idKey(id)) || customers.contains(id) || suppliers.contains(id) || rest.contains(id)) {
                LetEventsRun();
                continue;
            }
            const PnwList ancestors = GetAncestorNodes(id, pool);
            for (int a = 1; a <= ancestors.Count(); ++a) {
                const PnwDictionary ancestor = ancestors.DictionaryItem(a);
                if (!rest.contains(text(ancestor.Item(kObjID)))) rest.add(ancestor);
            }
            rest.add(nodeOf(pool, id));
            LetEventsRun();
        }
        return true;
    } catch (const std::exception &e) {
        const auto *pnw = dynamic_cast<const PnwError *>(&e);
        throw PnwError(ErrorNumber(e), pnw ? pnw->source() : QStringLiteral("modBusiness.BuildBusinessUnitTreeData"),
                       ErrorDescription(e) +
                           QStringLiteral("\r\n发生错误所在的方法：modBusiness.BuildBusinessUnitTreeData."));
    }
}

QString NodeDisplayID(QString nodeID) { return nodeID.replace(kCodeDot, QLatin1Char('.')); }

PnwList GetAncestorNodes(const QString &nodeID, const PnwDictionary &pool) {
    QList<PnwDictionary> chain;
    QSet<QString> seen;
    QString id = nodeID;
    while (pool.Exists(id)) {
        const PnwDictionary node = nodeOf(pool, id);
        if (isTop(node)) break;
        const QString parentID = text(node.Item(kParentID));
        if (!pool.Exists(parentID) || seen.contains(parentID.toLower())) break;
        seen.insert(parentID.toLower());
        chain.prepend(nodeOf(pool, parentID));
        id = parentID;
    }
    PnwList list;
    for (const PnwDictionary &node : chain) list.Add(node);
    return list;
}

int CountChildNodes(const QString &nodeID, const PnwDictionary &pool) {
    int count = 0;
    for (int i = 1; i <= pool.Count(); ++i)
        if (text(nodeOf(pool, pool.Key(i)).Item(kParentID)).compare(nodeID, Qt::CaseInsensitive) == 0) ++count;
    return count;
}

bool NodeListContains(const PnwList &list, const QString &nodeID) {
    for (int i = 1; i <= list.Count(); ++i)
        if (text(list.DictionaryItem(i).Item(kObjID)).compare(nodeID, Qt::CaseInsensitive) == 0) return true;
    return false;
}
