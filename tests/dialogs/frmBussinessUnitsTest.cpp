#include <QLabel>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/DialogScript.h"
#include "dialogs/frmBussinessUnits.h"
#include "platform/MessageScript.h"
#include "support/QtApp.h"

namespace {

PnwDictionary unit(const QString &id, const QString &parent, const QString &name, const QString &fullName) {
    return record(
        {{"FObjID", id}, {"FObjName", name}, {"FParentID", parent}, {"FFullObjName", fullName}, {"FFullPath", id}});
}

// Node ids of a list, in order.
QStringList ids(const PnwList &list) {
    QStringList out;
    for (int i = 1; i <= list.Count(); ++i) out << recordAt(list, i).Item("FObjID").toString();
    return out;
}

// Keys of a tree's nodes, depth first.
QStringList keys(frmBussinessUnits &d, QTreeWidget *tree) {
    QStringList out;
    std::function<void(QTreeWidgetItem *)> walk = [&](QTreeWidgetItem *item) {
        out << frmBussinessUnits::keyOf(item);
        for (int c = 0; c < item->childCount(); ++c) walk(item->child(c));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) walk(tree->topLevelItem(i));
    (void)d;
    return out;
}

// Keys of the ticked nodes, depth first.
QStringList ticked(QTreeWidget *tree) {
    QStringList out;
    std::function<void(QTreeWidgetItem *)> walk = [&](QTreeWidgetItem *item) {
        if (item->checkState(0) == Qt::Checked) out << frmBussinessUnits::keyOf(item);
        for (int c = 0; c < item->childCount(); ++c) walk(item->child(c));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) walk(tree->topLevelItem(i));
    return out;
}

class frmBussinessUnitsTest : public ::testing::Test {
protected:
    // Two regions with their companies, given out of path order.
    void SetUp() override {
        ensureQtApp();
        units.Add(unit("02", "0", "华南", "华南"));
        units.Add(unit("01.0102", "01", "天津公司", "华北_天津公司"));
        units.Add(unit("01", "0", "华北", "华北"));
        units.Add(unit("02.0201", "02", "广州公司", "华南_广州公司"));
        units.Add(unit("01.0101", "01", "北京公司", "华北_北京公司"));
    }

    std::unique_ptr<frmBussinessUnits> open() {
        auto d = std::make_unique<frmBussinessUnits>();
        d->setBussinessUnits(units);
        active = showActive(*d);
        return d;
    }
    void tick(frmBussinessUnits &d, QTreeWidget *tree, const QString &key, bool on = true) {
        d.node(tree, key)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }

    PnwList units;
    bool active = false;
};

TEST_F(frmBussinessUnitsTest, LoadingFillsThePoolByPathAndStartsWithNothingAssigned) {
    auto d = open();
    EXPECT_EQ(keys(*d, d->TvBussinessUnits()),
              QStringList({"root", "t_01", "t_01.0101", "t_01.0102", "t_02", "t_02.0201"}));
    EXPECT_EQ(d->node(d->TvBussinessUnits(), "root")->text(0), "往来单位");
    EXPECT_EQ(d->node(d->TvBussinessUnits(), "t_01.0102")->text(0), "01.0102(天津公司)");
    EXPECT_TRUE(d->node(d->TvBussinessUnits(), "root")->isExpanded());
    EXPECT_EQ(ids(units), QStringList({"01", "01.0101", "01.0102", "02", "02.0201"}));  // sorted in place
    EXPECT_EQ(d->TvCustomer()->topLevelItemCount(), 0);
    EXPECT_EQ(d->Customer().Count(), 0);
    EXPECT_EQ(d->Supplier().Count(), 0);
    EXPECT_EQ(d->WarningMsg(), "");
    EXPECT_EQ(d->Label1()->text(), "往来单位转换");
    EXPECT_EQ(d->Label5()->text(), "请将标准版（迷你版）的往来单位进行区分并选择到对应的列表框里：");
    EXPECT_EQ(d->btnCustomer(1)->Caption(), ">>");
    EXPECT_EQ(d->btnCustomer(2)->ToolTip(), "从客户列表移除所选项目");
    EXPECT_EQ(d->btnSupplier(0)->ToolTip(), "添加所选项目到供应商列表");
    EXPECT_EQ(d->btnSupplier(3)->ToolTip(), "从供应商列表移除所有项目");
}

TEST_F(frmBussinessUnitsTest, TicksReachTheSubtreeAndAncestorsFollowTheNodesBelow) {
    auto d = open();
    QTreeWidget *pool = d->TvBussinessUnits();
    ASSERT_TRUE(active);
    // Space on the current node ticks it, as the operator does.
    pool->setFocus();
    pool->setCurrentItem(d->node(pool, "t_01.0101"));
    QTest::keyClick(pool, Qt::Key_Space);
    EXPECT_EQ(ticked(pool), QStringList({"root", "t_01", "t_01.0101"}));
    tick(*d, pool, "t_01.0102");
    tick(*d, pool, "t_01.0101", false);
    EXPECT_EQ(ticked(pool), QStringList({"root", "t_01", "t_01.0102"}));
    tick(*d, pool, "t_01.0102", false);  // the last ticked leaf under 01
    EXPECT_EQ(ticked(pool), QStringList());
    tick(*d, pool, "t_02");
    EXPECT_EQ(ticked(pool), QStringList({"root", "t_02", "t_02.0201"}));
    tick(*d, pool, "root", false);
    EXPECT_EQ(ticked(pool), QStringList());
}

TEST_F(frmBussinessUnitsTest, TheMoveButtons) {
    auto d = open();
    QTreeWidget *pool = d->TvBussinessUnits();
    tick(*d, pool, "t_01.0101");
    click(d->btnCustomer(0));  // ">": the ticked unit with its ticked ancestor
    EXPECT_EQ(ids(d->Customer()), QStringList({"01", "01.0101"}));
    EXPECT_EQ(keys(*d, d->TvCustomer()), QStringList({"root", "t_01", "t_01.0101"}));
    EXPECT_EQ(d->node(d->TvCustomer(), "root")->text(0), "客户");
    EXPECT_EQ(ticked(pool), QStringList());  // the pool is filled again
    tick(*d, pool, "t_01");
    click(d->btnCustomer(0));  // the same units again are listed once
    EXPECT_EQ(ids(d->Customer()), QStringList({"01", "01.0101", "01.0102"}));
    EXPECT_EQ(keys(*d, d->TvCustomer()), QStringList({"root", "t_01", "t_01.0101", "t_01.0102"}));

    click(d->btnSupplier(1));  // ">>"
    EXPECT_EQ(ids(d->Supplier()), QStringList({"01", "01.0101", "01.0102", "02", "02.0201"}));
    EXPECT_EQ(d->node(d->TvSupplier(), "root")->text(0), "供应商");
    click(d->btnSupplier(3));  // "<<": no node left, not even the root
    EXPECT_EQ(d->TvSupplier()->topLevelItemCount(), 0);
    EXPECT_EQ(d->Supplier().Count(), 0);
    click(d->btnSupplier(0));  // nothing ticked: nothing added
    EXPECT_EQ(d->Supplier().Count(), 0);

    // "<" of a ticked unit whose parent keeps an unticked child: the parent stays.
    tick(*d, d->TvCustomer(), "t_01.0101");
    click(d->btnCustomer(2));
    EXPECT_EQ(ids(d->Customer()), QStringList({"01", "01.0102"}));
    EXPECT_EQ(keys(*d, d->TvCustomer()), QStringList({"root", "t_01", "t_01.0102"}));
    // The removed unit can be added again.
    tick(*d, pool, "t_01.0101");
    click(d->btnCustomer(0));
    EXPECT_EQ(ids(d->Customer()), QStringList({"01", "01.0101", "01.0102"}));
    // "<" with every unit ticked: the list is empty and the tree keeps its root.
    tick(*d, d->TvCustomer(), "root");
    click(d->btnCustomer(2));
    EXPECT_EQ(d->Customer().Count(), 0);
    EXPECT_EQ(keys(*d, d->TvCustomer()), QStringList({"root"}));
    // The key set followed: everything can come back.
    click(d->btnCustomer(1));
    EXPECT_EQ(d->Customer().Count(), 5);
}

TEST_F(frmBussinessUnitsTest, OkWithNothingAssignedAsksTheCloseQuestion) {
    auto d = open();
    MessageScript messages({MsgBox::No});
    click(d->btn_OK());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().prompt, "你还没有进行往来单位转换，系统将把这些往来单位同时升级为客户和供应商，继续吗？");
    EXPECT_EQ(messages.last().buttons, 68);
    EXPECT_TRUE(d->isVisible());
}

TEST_F(frmBussinessUnitsTest, OkWithEveryUnitAssignedHidesAtOnce) {
    auto d = open();
    tick(*d, d->TvBussinessUnits(), "t_01");
    click(d->btnCustomer(0));
    tick(*d, d->TvBussinessUnits(), "t_02");
    click(d->btnSupplier(0));
    MessageScript messages;
    click(d->btn_OK());
    EXPECT_EQ(messages.count(), 0);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->ResultOK());
    EXPECT_EQ(d->WarningMsg(), "");
    EXPECT_EQ(ids(d->Customer()), QStringList({"01", "01.0101", "01.0102"}));
    EXPECT_EQ(ids(d->Supplier()), QStringList({"02", "02.0201"}));
}

TEST_F(frmBussinessUnitsTest, OkAsksAboutTheUndecidedUnitsAndYesMakesThemBoth) {
    struct Case {
        const char *ticked;     // the pool unit sent to the customers first
        QString names;          // as the question names the undecided
        QStringList undecided;  // what both lists get
    };
    const Case cases[] = {
        // A parent and its child undecided: the question names the child only.
        {"t_02", "华北_北京公司、华北_天津公司", {"01", "01.0101", "01.0102"}},
        // A top-level unit alone.
        {"t_01", "华南_广州公司", {"02", "02.0201"}},
    };
    for (const Case &c : cases) {
        auto d = open();
        tick(*d, d->TvBussinessUnits(), c.ticked);
        click(d->btnCustomer(0));
        const QStringList before = ids(d->Customer());
        MessageScript no({MsgBox::No});
        click(d->btn_OK());
        ASSERT_EQ(no.count(), 1);
        EXPECT_EQ(no.last().prompt, "往来单位:" + c.names + "没有指定为客户或供应商，需要指定其同时为供应商和客户吗？");
        EXPECT_EQ(no.last().buttons, 68);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(ids(d->Customer()), before);
        MessageScript yes({MsgBox::Yes});
        click(d->btn_OK());
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(d->ResultOK());
        EXPECT_EQ(ids(d->Customer()), before + c.undecided);
        EXPECT_EQ(ids(d->Supplier()), c.undecided);
        EXPECT_EQ(d->WarningMsg(),
                  "用户未指定部分往来单位:" + c.names + "的性质，因此系统把这些往来单位同时升级为客户和供应商。");
    }
}

TEST_F(frmBussinessUnitsTest, OnlyCancelAndTheClosePictureClose) {
    for (const bool byPicture : {false, true}) {
        auto d = open();
        tick(*d, d->TvBussinessUnits(), "t_01");
        click(d->btnCustomer(0));
        {
            MessageScript none;
            QTest::mouseClick(d->Label3(), Qt::LeftButton);  // a label closes nothing
            EXPECT_EQ(none.count(), 0);
        }
        MessageScript messages({MsgBox::No, MsgBox::Yes});
        for (int i = 0; i < 2; ++i) {
            if (byPicture)
                QTest::mouseClick(d->ImgClose(), Qt::LeftButton);
            else
                click(d->btn_Cancel());
        }
        ASSERT_EQ(messages.count(), 2);
        EXPECT_FALSE(d->isVisible());
        EXPECT_FALSE(d->ResultOK());
        const QStringList all = {"01", "01.0101", "01.0102", "02", "02.0201"};
        EXPECT_EQ(ids(d->Customer()), all);
        EXPECT_EQ(ids(d->Supplier()), all);
        EXPECT_EQ(d->WarningMsg(), "用户未指定往来单位的性质，因此系统将所有往来单位同时升级为客户和供应商。");
    }
}

TEST_F(frmBussinessUnitsTest, AUnitWithoutItsParentEndsTheFillingWithAMessage) {
    units.Add(unit("03.0301", "03", "孤儿", "无_孤儿"));  // path after every other
    MessageScript messages;
    auto d = open();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().buttons, 16);
    EXPECT_EQ(messages.last().title, "岫禾提示");
    EXPECT_EQ(keys(*d, d->TvBussinessUnits()),
              QStringList({"root", "t_01", "t_01.0101", "t_01.0102", "t_02", "t_02.0201"}));
}

TEST_F(frmBussinessUnitsTest, SortingByPoolOrderAndTheCallingProtocol) {
    DialogScript script;
    script.add<frmBussinessUnits>([](frmBussinessUnits &d) {
        PnwList some;
        some.Add(unit("02.0201", "02", "广州公司", "华南_广州公司"));
        some.Add(unit("01.0102", "01", "天津公司", "华北_天津公司"));
        some.Add(unit("02", "0", "华南", "华南"));
        d.SortBusinessUnit(some, false);
        EXPECT_EQ(ids(some), QStringList({"01.0102", "02", "02.0201"}));
        click(d.btnCustomer(1));
        click(d.btn_OK());
    });
    frmBussinessUnits d;
    d.setBussinessUnits(units);
    DialogSeam::showModal(d);
    ASSERT_EQ(script.count(), 1);
    EXPECT_FALSE(script.shown()[0].leftOpen);
    EXPECT_EQ(d.Customer().Count(), 5);
    EXPECT_EQ(d.Supplier().Count(), 0);
}

}  // namespace
