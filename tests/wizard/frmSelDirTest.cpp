#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "WizardFixture.h"
#include "accounts/ServerDrives.h"
#include "controls/zqbutton.h"
#include "foundation/InputChecks.h"
#include "foundation/ServerComponent.h"
#include "foundation/ServerFolders.h"
#include "wizard/FolderChooser.h"
#include "wizard/frmSelDir.h"

namespace {

class frmSelDirTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        m_drive = m_dir.filePath(QStringLiteral("drive")) + QLatin1Char('/');
        QDir().mkpath(m_drive + QStringLiteral("DATA/UPGRADE"));
        QDir().mkpath(m_drive + QStringLiteral("Backup"));
        QFile adf(m_drive + QStringLiteral("DATA/old.adf"));
        ASSERT_TRUE(adf.open(QIODevice::WriteOnly));
        QFile dbb(m_drive + QStringLiteral("DATA/base.dbb"));
        ASSERT_TRUE(dbb.open(QIODevice::WriteOnly));
        const QString drive = m_drive;
        ReleaseServerComponent();
        m_previousFactory = SetServerComponentFactory(
            [drive] { return std::make_shared<ServerDrives>([drive] { return QStringList{drive}; }); });
    }
    void TearDown() override {
        ReleaseServerComponent();
        SetServerComponentFactory(m_previousFactory);
        WizardTest::TearDown();
    }

    QString remembered() const { return GetRSPathValue(GetLocalComputerName()); }

    // A chooser filled as BrowseServerPath fills it, and activated.
    std::unique_ptr<frmSelDir> chooser() {
        auto dialog = std::make_unique<frmSelDir>();
        dialog->CurrFullPath = QStringLiteral("/caller/");
        dialog->HandleFlag = QStringLiteral("RS");
        dialog->Form_Activate();
        return dialog;
    }

    QString m_drive;
    ServerComponentFactory m_previousFactory;
};

TEST_F(frmSelDirTest, WithoutARememberedFolderThePathStaysEmpty) {
    auto d = chooser();
    QTreeWidgetItem *root = d->tvPath()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(frmSelDir::keyOf(root), QStringLiteral("Server"));
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_TRUE(root->child(0)->text(0).startsWith(m_drive + QStringLiteral("(")));
    EXPECT_TRUE(root->child(0)->text(0).endsWith(QStringLiteral("MB空闲)")));
    EXPECT_TRUE(d->lblPath()->text().isEmpty());
    EXPECT_TRUE(d->btn_OK()->Enabled());
    d->btn_OK_Click();
    EXPECT_TRUE(remembered().isEmpty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(frmSelDirTest, ARememberedFolderIsWalkedLevelByLevel) {
    const QString target = m_drive + QStringLiteral("DATA/UPGRADE/");
    SetRSPathValue(GetLocalComputerName(), target);
    auto d = chooser();
    EXPECT_EQ(d->lblPath()->text(), target);
    EXPECT_EQ(frmSelDir::keyOf(d->tvPath()->currentItem()), target);
    QTreeWidgetItem *data = d->node(m_drive + QStringLiteral("DATA/"));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->isExpanded());
    // The .adf file is a folder node; the .dbb file is left out without JustExtName.
    EXPECT_NE(d->node(m_drive + QStringLiteral("DATA/old.adf/")), nullptr);
    EXPECT_EQ(d->node(m_drive + QStringLiteral("DATA/base.dbb")), nullptr);
}

TEST_F(frmSelDirTest, AGoneFolderFallsBackWithTheDrivesListed) {
    SetRSPathValue(GetLocalComputerName(), m_drive + QStringLiteral("GONE/"));
    auto d = chooser();
    EXPECT_EQ(d->tvPath()->topLevelItem(0)->childCount(), 1);
    EXPECT_TRUE(d->btn_OK()->Enabled());
    EXPECT_TRUE(d->lblPath()->text().isEmpty());
}

TEST_F(frmSelDirTest, ConfirmingADriveRemembersIt) {
    auto d = chooser();
    d->ClickNode(d->node(m_drive));
    d->btn_OK_Click();
    EXPECT_EQ(d->CurrFullPath, m_drive);
    EXPECT_EQ(remembered(), m_drive);
}

TEST_F(frmSelDirTest, FoldersAreListedOnce) {
    auto d = chooser();
    QTreeWidgetItem *drive = d->node(m_drive);
    d->ExpandNode(drive);
    const int children = drive->childCount();
    EXPECT_EQ(children, 2);  // Backup and DATA
    drive->setExpanded(false);
    drive->setExpanded(true);
    d->ExpandNode(drive);
    EXPECT_EQ(drive->childCount(), children);
    QTreeWidgetItem *adf = d->node(m_drive + QStringLiteral("DATA/"));
    d->ExpandNode(adf);
    QTreeWidgetItem *file = d->node(m_drive + QStringLiteral("DATA/old.adf/"));
    d->ExpandNode(file);
    EXPECT_EQ(file->childCount(), 0);
}

// The path label and what OK returns follow the current folder however it
// became current: the arrow keys and type-ahead as well as a click.
TEST_F(frmSelDirTest, TheKeyboardSelectionIsWhatOkReturns) {
    auto d = chooser();
    d->show();
    QTreeWidget *tree = d->tvPath();
    tree->setFocus();
    tree->setCurrentItem(d->node(m_drive));
    QTest::keyClick(tree, Qt::Key_Right);  // expands the drive
    QTest::keyClick(tree, Qt::Key_Down);
    const QString backup = m_drive + QStringLiteral("Backup/");
    EXPECT_EQ(frmSelDir::keyOf(tree->currentItem()), backup);
    EXPECT_EQ(d->lblPath()->text(), backup);

    QTest::keyClicks(tree, QStringLiteral("DA"));
    const QString data = m_drive + QStringLiteral("DATA/");
    EXPECT_EQ(frmSelDir::keyOf(tree->currentItem()), data);
    EXPECT_EQ(d->lblPath()->text(), data);

    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Up);  // the server root leaves the label on the drive
    EXPECT_EQ(d->lblPath()->text(), m_drive);
    d->btn_OK_Click();
    EXPECT_EQ(d->CurrFullPath, m_drive);
    EXPECT_EQ(remembered(), m_drive);
}

// The root names the server, "/" for this machine when the box is empty; a
// click into the box lists the drives anew.
TEST_F(frmSelDirTest, TheRootIsNamedAndAClickIntoTheBoxReloads) {
    auto d = chooser();
    QTreeWidgetItem *root = d->tvPath()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0),
              d->cboServerName()->currentText().isEmpty() ? QStringLiteral("/") : d->cboServerName()->currentText());
    EXPECT_FALSE(root->text(0).isEmpty());
    QDir().mkpath(m_dir.filePath(QStringLiteral("second")));
    const QString second = m_dir.filePath(QStringLiteral("second")) + QLatin1Char('/');
    ReleaseServerComponent();
    const QString first = m_drive;
    SetServerComponentFactory([first, second] {
        return std::make_shared<ServerDrives>([=] { return QStringList{first, second}; });
    });
    QTest::mouseClick(d->cboServerName()->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(d->tvPath()->topLevelItem(0)->childCount(), 2);
}

TEST_F(frmSelDirTest, AnotherServerNameLeavesTheTreeAlone) {
    auto d = chooser();
    QTreeWidgetItem *before = d->tvPath()->topLevelItem(0);
    d->cboServerName()->setEditText(QStringLiteral("OTHER"));
    d->LoadDrives();
    EXPECT_EQ(d->tvPath()->topLevelItem(0), before);
}

TEST_F(frmSelDirTest, BrowseServerPathReturnsTheChoiceOrKeepsThePath) {
    const QString target = m_drive + QStringLiteral("Backup/");
    FolderChooserResponder previous = SetFolderChooserResponder([&](frmSelDir &d) {
        EXPECT_EQ(d.HandleFlag, QStringLiteral("RS"));
        EXPECT_EQ(d.CurrExtName, QStringLiteral(".dbb"));
        d.Form_Activate();
        d.ExpandNode(d.node(m_drive));
        d.ClickNode(d.node(target));
        d.btn_OK_Click();
    });
    QString path = QStringLiteral("/old/");
    EXPECT_TRUE(BrowseServerPath(path, 0, QStringLiteral("RS")));
    EXPECT_EQ(path, target);
    EXPECT_EQ(remembered(), target);
    EXPECT_TRUE(GetBKPathValue(GetLocalComputerName()).isEmpty());

    SetFolderChooserResponder([](frmSelDir &d) {
        d.Form_Activate();
        d.btn_Cancel_Click();
    });
    path = QStringLiteral("/old/");
    EXPECT_TRUE(BrowseServerPath(path, 0, QStringLiteral("RS")));
    EXPECT_EQ(path, QStringLiteral("/old/"));
    SetFolderChooserResponder(previous);
}

TEST_F(frmSelDirTest, TheFolderCheck) {
    const struct {
        QString path;
        bool exists;
    } cases[] = {{m_drive, true},
                 {m_drive.chopped(1), true},
                 {m_drive + QStringLiteral("DATA"), true},
                 {m_drive + QStringLiteral("missing"), false},
                 {QStringLiteral("relative/DATA"), false}};
    for (const auto &c : cases) {
        MessageScript script;
        EXPECT_EQ(CheckServerFolder(c.path, QStringLiteral("数据库文件")), c.exists) << c.path.toStdString();
        EXPECT_EQ(script.count(), c.exists ? 0 : 1);
        if (!c.exists) {
            EXPECT_EQ(script.last().prompt,
                      QStringLiteral("数据库文件路径: ") + c.path + QStringLiteral("不存在，请重新选择或输入。"));
        }
    }
    MessageScript script;
    EXPECT_FALSE(CheckServerFolder(QString(), QStringLiteral("数据库文件")));
    EXPECT_EQ(script.last().prompt, QStringLiteral("路径名称不可为空，请重新输入。"));
    EXPECT_EQ(script.last().buttons, 16);
}

}  // namespace
