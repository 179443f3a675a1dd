// The business-unit tree: node records built from unit rows, and the
// customer, supplier and undecided lists with their ancestors.
#include <gtest/gtest.h>

#include <QStringList>

#include "foundation/Globals.h"
#include "kit/UpgradeStepFixture.h"
#include "server/ResultSet.h"
#include "upgrade/common/BusinessUnitTree.h"

namespace {

struct UnitRow {
    const char *code;
    const char *name;
    const char *parent;  // "*" for a top unit
};

// A recordset of unit rows as the business-unit phase reads them.
ado::Recordset unitRows(std::initializer_list<UnitRow> rows) {
    server::ResultSet rs;
    for (const char *name : {"FObjID", "FObjName", "FParentID", "FFullPath"})
        rs.columns.push_back({name, server::SqlType::of(server::Base::NVarChar, 255), true});
    for (const UnitRow &row : rows) {
        const std::string path = std::string("1*") + row.code;
        rs.rows.push_back({server::Value::fromText(row.code), server::Value::fromText(row.name),
                           server::Value::fromText(row.parent), server::Value::fromText(path)});
    }
    return ado::Recordset(std::move(rs), nullptr);
}

PnwDictionary keys(const QStringList &codes) {
    PnwDictionary d;
    for (const QString &c : codes) d.setItem(c, 1);
    return d;
}

// The FObjID of every record of list, joined by blanks.
QString ids(const PnwList &list) {
    QStringList out;
    for (int i = 1; i <= list.Count(); ++i) out << list.DictionaryItem(i).Item(QStringLiteral("FObjID")).toString();
    return out.join(QLatin1Char(' '));
}

struct Built {
    PnwList customers, suppliers, undecided;
    QStringList detached;
};

Built build(ado::Recordset units, const QStringList &customerCodes, const QStringList &supplierCodes) {
    Built b;
    EXPECT_TRUE(BuildBusinessUnitTreeData(&units, b.customers, b.suppliers, b.undecided, keys(customerCodes),
                                          keys(supplierCodes), &b.detached));
    return b;
}

// In FFullPath order, parents before their children.
const std::initializer_list<UnitRow> kSampleUnits = {
    {"01", "客户", "*"},   {"0101", "华联", "01"}, {"0102", "西湖", "01"},
    {"02", "供应商", "*"}, {"0201", "华强", "02"}, {"020101", "华强一厂", "0201"},
};

}  // namespace

TEST(BusinessUnitTree, NodeRecordsCarryPathNumberAndFullName) {
    Built b = build(unitRows(kSampleUnits), {QStringLiteral("020101")}, {});
    ASSERT_EQ(ids(b.customers), QStringLiteral("02 02.0201 02.0201.020101"));
    const PnwDictionary leaf = b.customers.DictionaryItem(3);
    EXPECT_EQ(leaf.Item(QStringLiteral("FParentID")).toString(), QStringLiteral("02.0201"));
    EXPECT_EQ(leaf.Item(QStringLiteral("FShortObjID")).toString(), QStringLiteral("020101"));
    EXPECT_EQ(leaf.Item(QStringLiteral("FFullObjName")).toString(), QStringLiteral("供应商_华强_华强一厂"));
    EXPECT_EQ(leaf.Item(QStringLiteral("FNumber")).toString(), QStringLiteral("02.0201.020101"));
    EXPECT_EQ(leaf.Item(QStringLiteral("ffullpath")).toString(), QStringLiteral("1*020101"));
    EXPECT_EQ(b.customers.DictionaryItem(1).Item(QStringLiteral("FParentID")).toString(), QStringLiteral("0"));
}

TEST(BusinessUnitTree, UsageDecidesTheTreesAndTheRestIsUndecided) {
    struct Case {
        const char *title;
        QStringList customers, suppliers;
        const char *customerTree, *supplierTree, *undecided;
    };
    const Case cases[] = {
        // The undecided list shows each undecided unit's ancestors too, even
        // those that a tree holds.
        {"customer only", {"0101"}, {}, "01 01.0101", "", "01 01.0102 02 02.0201 02.0201.020101"},
        {"supplier only", {}, {"0201"}, "", "02 02.0201", "01 01.0101 01.0102 02 02.0201 02.0201.020101"},
        {"both kinds", {"0101"}, {"0101"}, "01 01.0101", "01 01.0101", "01 01.0102 02 02.0201 02.0201.020101"},
        {"nothing used", {}, {}, "", "", "01 01.0101 01.0102 02 02.0201 02.0201.020101"},
        {"unknown code", {"9999"}, {}, "", "", "01 01.0101 01.0102 02 02.0201 02.0201.020101"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        Built b = build(unitRows(kSampleUnits), c.customers, c.suppliers);
        EXPECT_EQ(ids(b.customers), QString::fromUtf8(c.customerTree));
        EXPECT_EQ(ids(b.suppliers), QString::fromUtf8(c.supplierTree));
        EXPECT_EQ(ids(b.undecided), QString::fromUtf8(c.undecided));
        EXPECT_TRUE(b.detached.isEmpty());
    }
}

TEST(BusinessUnitTree, AnAncestorSharedByBothKindsReachesBothTrees) {
    // 0201 (only child of 02) is a customer; its child 020101 a supplier.
    Built b = build(unitRows(kSampleUnits), {QStringLiteral("0201")}, {QStringLiteral("020101")});
    EXPECT_EQ(ids(b.customers), QStringLiteral("02 02.0201"));
    EXPECT_EQ(ids(b.suppliers), QStringLiteral("02 02.0201 02.0201.020101"));
}

TEST(BusinessUnitTree, AnUndecidedUnitComesWithEveryAncestor) {
    // R's only child RA holds a used unit and an unused one; R is noted for
    // pruning (one child) while RA's subtree is still partly open.
    const std::initializer_list<UnitRow> units = {
        {"R", "总部", "*"}, {"RA", "华东", "R"}, {"RA1", "甲", "RA"}, {"RA2", "乙", "RA"}};
    struct Case {
        const char *title;
        QStringList customers, suppliers;
    };
    const Case cases[] = {{"customer", {"RA1"}, {}}, {"supplier", {}, {"RA1"}}, {"both", {"RA1"}, {"RA1"}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        Built b = build(unitRows(units), c.customers, c.suppliers);
        EXPECT_EQ(ids(b.customers), c.customers.isEmpty() ? QString() : QStringLiteral("R R.RA R.RA.RA1"));
        EXPECT_EQ(ids(b.suppliers), c.suppliers.isEmpty() ? QString() : QStringLiteral("R R.RA R.RA.RA1"));
        EXPECT_EQ(ids(b.undecided), QStringLiteral("R R.RA R.RA.RA2"));
    }
}

TEST(BusinessUnitTree, EveryUnitHasANodeOfItsOwn) {
    // A top unit "01.02" and a unit "02" under "01": one dotted path, two
    // units, each shown as the operator knows it.
    const std::initializer_list<UnitRow> units = {{"01", "甲", "*"}, {"01.02", "乙", "*"}, {"02", "丙", "01"}};
    auto field = [](const PnwList &list, const char *key) {
        QStringList out;
        for (int i = 1; i <= list.Count(); ++i) out << list.DictionaryItem(i).Item(QString::fromLatin1(key)).toString();
        return out.join(QLatin1Char(' '));
    };
    auto shown = [](const PnwList &list) {
        QStringList out;
        for (int i = 1; i <= list.Count(); ++i)
            out << NodeDisplayID(list.DictionaryItem(i).Item(QStringLiteral("FObjID")).toString());
        return out.join(QLatin1Char(' '));
    };
    for (const bool used : {true, false}) {
        SCOPED_TRACE(used ? "used" : "undecided");
        Built b = build(unitRows(units), used ? QStringList({"01", "01.02", "02"}) : QStringList(), {});
        const PnwList &list = used ? b.customers : b.undecided;
        EXPECT_EQ(field(list, "FShortObjID"), QStringLiteral("01 01.02 02"));
        EXPECT_EQ(field(list, "FNumber"), QStringLiteral("01 0102 01.02"));
        EXPECT_EQ(shown(list), QStringLiteral("01 01.02 01.02"));
        ASSERT_EQ(list.Count(), 3);
        EXPECT_NE(list.DictionaryItem(2).Item(QStringLiteral("FObjID")),
                  list.DictionaryItem(3).Item(QStringLiteral("FObjID")));
        EXPECT_EQ(list.DictionaryItem(3).Item(QStringLiteral("FParentID")), QStringLiteral("01"));
    }
}

TEST(BusinessUnitTree, AUnitWhoseParentIsMissingIsAttachedAtTheTop) {
    Built b =
        build(unitRows({{"0301", "孤儿", "03"}, {"01", "客户", "*"}, {"0101", "华联", "01"}, {"0501", "另一个", "05"}}),
              {QStringLiteral("0301"), QStringLiteral("0501")}, {});
    EXPECT_EQ(ids(b.customers), QStringLiteral("0301 0501"));
    EXPECT_EQ(b.customers.DictionaryItem(1).Item(QStringLiteral("FParentID")).toString(), QStringLiteral("0"));
    EXPECT_EQ(b.customers.DictionaryItem(1).Item(QStringLiteral("FNumber")).toString(), QStringLiteral("0301"));
    EXPECT_EQ(b.detached, QStringList({QStringLiteral("0301 孤儿"), QStringLiteral("0501 另一个")}));
    EXPECT_EQ(ids(b.undecided), QStringLiteral("01 01.0101"));
}

TEST(BusinessUnitTree, KeysAndNodeIdentifiersMatchWithoutRegardToCase) {
    Built b = build(unitRows({{"AB", "甲", "*"}, {"ab01", "乙", "ab"}}), {QStringLiteral("AB01")}, {});
    EXPECT_EQ(ids(b.customers), QStringLiteral("AB AB.ab01"));
    EXPECT_TRUE(NodeListContains(b.customers, QStringLiteral("ab.AB01")));
    EXPECT_FALSE(NodeListContains(b.customers, QStringLiteral("AB01")));
}

TEST(BusinessUnitTree, HelpersOverAPool) {
    PnwDictionary pool;
    auto add = [&](const char *id, const char *parent) {
        PnwDictionary n;
        n.setItem(QStringLiteral("FObjID"), QString::fromLatin1(id));
        n.setItem(QStringLiteral("FParentID"), QString::fromLatin1(parent));
        pool.setItem(QString::fromLatin1(id), QVariant::fromValue(n));
    };
    add("R", "0");
    add("R.A", "R");
    add("R.A.B", "R.A");
    add("R.A.B.C", "R.A.B");
    add("R.A.D", "R.A");
    EXPECT_EQ(ids(GetAncestorNodes(QStringLiteral("R.A.B.C"), pool)), QStringLiteral("R R.A R.A.B"));
    EXPECT_EQ(ids(GetAncestorNodes(QStringLiteral("R"), pool)), QString());
    EXPECT_EQ(ids(GetAncestorNodes(QStringLiteral("nothing"), pool)), QString());
    EXPECT_EQ(CountChildNodes(QStringLiteral("R.A"), pool), 2);
    EXPECT_EQ(CountChildNodes(QStringLiteral("R.A.B.C"), pool), 0);
    EXPECT_FALSE(NodeListContains(PnwList(), QStringLiteral("R")));
}

TEST(BusinessUnitTree, NoUnitsGivesFalseAndEmptyUnitsGiveEmptyLists) {
    PnwList c, s, u;
    c.Add(QStringLiteral("stale"));
    EXPECT_FALSE(BuildBusinessUnitTreeData(nullptr, c, s, u, PnwDictionary(), PnwDictionary()));
    Built b = build(unitRows({}), {QStringLiteral("01")}, {});
    EXPECT_EQ(b.customers.Count() + b.suppliers.Count() + b.undecided.Count(), 0);
}

class UsedBusinessUnitsTest : public UpgradeStepFixture {};

TEST_F(UsedBusinessUnitsTest, UsageComesFromVouchersCustomerCodesAndBalances) {
    createFrom(QStringLiteral("standard"));
    clsDataInfo data;
    auto rs = GetUsedBusinessUnits(data, g_TargetConnectString);
    ASSERT_TRUE(rs.has_value());
    // Worked out independently: every distinct pair of the four sources.
    const QStringList expected = target(
        QStringLiteral("SELECT FObjID, FAcctID FROM AIS_GLVch WHERE FClsID = 1 "
                       "UNION SELECT FCustID, FAcctID FROM AIS_GLVch WHERE FCustID IS NOT NULL AND FCustID <> '' "
                       "UNION SELECT FObjID, FAcctID FROM AIS_GLBal WHERE FClsID = 1 "
                       "UNION SELECT FObjID, FAcctID FROM AIS_GLQtyBal WHERE FClsID = 1 ORDER BY 1, 2"));
    QStringList got;
    for (; !rs->Eof(); rs->MoveNext())
        got << rs->value(QStringLiteral("FObjID")).toString() + QLatin1Char('\t') +
                   rs->value(QStringLiteral("FAcctID")).toString();
    EXPECT_FALSE(got.isEmpty());
    EXPECT_EQ(got, expected);
}
