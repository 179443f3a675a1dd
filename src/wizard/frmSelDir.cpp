#include "wizard/frmSelDir.h"

#include <stdexcept>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTreeWidget>

#include "accounts/ServerDrives.h"
#include "controls/WizardControls.h"
#include "controls/zqbutton.h"
#include "foundation/Messages.h"
#include "foundation/ServerComponent.h"
#include "foundation/ServerFolders.h"
#include "platform/PnwError.h"
#include "wizard/WizardFonts.h"
#include "platform/DialogPlacement.h"

namespace {

// The program-wide server component; none means no drive can be listed.
ServerComponent &serverComponent() {
    const std::shared_ptr<ServerComponent> server = GetServerComponent();
    if (!server) throw PnwError(91, QStringLiteral("frmSelDir"), QStringLiteral("无法创建服务器端组件"));
    return *server;
}

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTitleHeight = 32;
const QString kRootKey = QStringLiteral("Server");

QIcon imageIcon(int image) {
    QStyle *style = QApplication::style();
    switch (image) {
    case 2: return style->standardIcon(QStyle::SP_DirOpenIcon);
    case 3: return style->standardIcon(QStyle::SP_FileIcon);
    default: return style->standardIcon(QStyle::SP_DirClosedIcon);
    }
}

}  // namespace

frmSelDir::frmSelDir(QWidget *parent) : DialogFrame(QStringLiteral("选择路径"), QSize(380, 440), kTitleHeight, parent) {
    setWindowTitle(QStringLiteral("选择数据库文件路径"));
    QFont titleFont(WizardFonts::heiFamily(), 11, QFont::Bold);
    lblCaption()->setFont(titleFont);
    lblCaption()->setGeometry(14, 0, 200, kTitleHeight);
    connect(this, &DialogFrame::closeClicked, this, &frmSelDir::closeImage_Click);
    setEscapeCloses(true);

    auto *serverLabel = new QLabel(QStringLiteral("服务器："), this);
    serverLabel->setGeometry(16, 44, 64, 24);
    m_server = new QComboBox(this);
    m_server->setEditable(true);
    m_server->setGeometry(80, 44, 284, 24);

    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setGeometry(16, 76, 348, 264);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(0, Qt::AscendingOrder);

    m_path = new QLabel(this);
    m_path->setGeometry(16, 346, 348, 36);
    m_path->setWordWrap(true);
    m_path->setStyleSheet(QStringLiteral("color: rgb(40, 70, 140);"));

    m_ok = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, QStringLiteral("确定"), this);
    m_cancel = WizardControls::makeButton(WizardControls::ButtonKind::Dialog, QStringLiteral("取消"), this);
    m_ok->setGeometry(176, 394, 88, 30);
    m_cancel->setGeometry(276, 394, 88, 30);

    connect(m_ok, &zqbutton::Click, this, &frmSelDir::btn_OK_Click);
    connect(m_cancel, &zqbutton::Click, this, &frmSelDir::btn_Cancel_Click);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &frmSelDir::ExpandNode);
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        if (keyOf(item) != kRootKey) setImage(item, 1);
    });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item, int) { ClickNode(item); });
    // The arrow keys and type-ahead move the current folder without a click:
    // the path label (and so OK) follows it all the same.
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { ClickNode(item); });
    connect(m_server, QOverload<int>::of(&QComboBox::activated), this, [this](int) { LoadDrives(); });
    connect(m_server->lineEdit(), &QLineEdit::editingFinished, this, &frmSelDir::LoadDrives);
    m_server->lineEdit()->installEventFilter(this);
    // Enter in the server box moves on to the tree.
    connect(m_server->lineEdit(), &QLineEdit::returnPressed, m_tree, [this] { m_tree->setFocus(); });
}

QString frmSelDir::keyOf(const QTreeWidgetItem *node) { return node ? node->data(0, kKeyRole).toString() : QString(); }

void frmSelDir::setImage(QTreeWidgetItem *node, int image) {
    node->setIcon(0, imageIcon(image));
    node->setData(0, Qt::UserRole + 1, image);
}

QTreeWidgetItem *frmSelDir::addNode(QTreeWidgetItem *parent, const QString &key, const QString &text, int image) {
    if (m_nodes.contains(key)) return nullptr;  // a mount point listed as a drive already
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, text);
    item->setData(0, kKeyRole, key);
    setImage(item, image);
    m_nodes.insert(key, item);
    return item;
}

void frmSelDir::addPlaceholder(QTreeWidgetItem *parent) {
    const QString key = QLatin1Char('*') + keyOf(parent);
    auto *item = new QTreeWidgetItem(parent);
    item->setData(0, kKeyRole, key);
    setImage(item, 1);
    m_nodes.insert(key, item);
}

void frmSelDir::showEvent(QShowEvent *event) {
    DialogFrame::showEvent(event);
    CentreOnMainWindow(this);
    if (!m_activated) Form_Activate();
}

bool frmSelDir::eventFilter(QObject *watched, QEvent *event) {
    // A click into the server box lists the drives again, as leaving it does.
    if (m_server && watched == m_server->lineEdit() && event->type() == QEvent::MouseButtonPress) LoadDrives();
    return DialogFrame::eventFilter(watched, event);
}

void frmSelDir::Form_Activate() {
    m_activated = true;
    try {
        const QString computer = GetLocalComputerName();
        DefaultPath = HandleFlag == QLatin1String("BK") ? GetBKPathValue(computer) : GetRSPathValue(computer);
        m_server->setEditText(CurrServer);
        LoadDrives();
        if (DefaultPath.isEmpty()) {
            fallback();
        } else {
            walk(DefaultPath);
        }
        if (!JustExtName)
            m_ok->setEnabled(true);
        else
            m_ok->setEnabled(m_tree->currentItem() &&
                             m_tree->currentItem()->text(0).toUpper().endsWith(QLatin1String("DBB")));
    } catch (...) {
        fallback();
    }
}

void frmSelDir::fallback() {
    try {
        m_path->setText(GetBKPathValue(CurrServer));
        if (!m_path->text().isEmpty()) walk(m_path->text());
    } catch (...) {
        // The chooser stays on the drives.
    }
}

void frmSelDir::walk(const QString &path) {
    // The drive first (the longest drive key the path starts with), then
    // every folder level after it.
    QString drive;
    for (auto it = m_nodes.cbegin(); it != m_nodes.cend(); ++it) {
        const QTreeWidgetItem *item = it.value();
        if (item->parent() == nullptr || keyOf(item->parent()) != kRootKey) continue;
        if (path.startsWith(it.key()) && it.key().size() > drive.size()) drive = it.key();
    }
    if (drive.isEmpty()) throw std::runtime_error("no drive holds the remembered folder");
    qsizetype at = drive.size() - 1;
    while (at >= 0) {
        const QString key = path.left(at + 1);
        QTreeWidgetItem *item = node(key);
        if (!item) throw std::runtime_error("the remembered folder is gone");
        ExpandNode(item);
        item->setExpanded(true);
        m_tree->setCurrentItem(item);
        m_path->setText(key);
        at = path.indexOf(QLatin1Char('/'), at + 1);
    }
}

void frmSelDir::LoadDrives() {
    const QString boxText = m_server->currentText();
    if (boxText.toUpper() != CurrServer && boxText.trimmed() != ReadServerTcp(CurrServer).trimmed()) return;
    try {
        QStringList drives;
        serverComponent().GetDriverList(QString(), drives);
        m_tree->clear();
        m_nodes.clear();
        // The box may be empty (this machine): the root still needs a name.
        QTreeWidgetItem *root =
            addNode(nullptr, kRootKey, boxText.trimmed().isEmpty() ? QStringLiteral("/") : boxText, 2);
        root->setExpanded(true);
        if (drives.size() <= 1) {
            m_ok->setEnabled(false);
            m_path->clear();
            return;
        }
        for (int i = 1; i < drives.size(); ++i) {
            const QString entry = drives[i].trimmed();
            QString free;
            try {
                free = QString::number(serverComponent().GetDiskInformation(entry));
            } catch (...) {
                free = QStringLiteral("0");
            }
            QTreeWidgetItem *drive =
                addNode(root, entry, entry + QStringLiteral("(") + free + QStringLiteral("MB空闲)"), 1);
            if (drive) addPlaceholder(drive);
        }
        if (root->childCount() > 0) ClickNode(m_tree->topLevelItem(0)->child(0));
        m_ok->setEnabled(true);
    } catch (...) {
        // The tree keeps what was listed.
    }
}

void frmSelDir::ExpandNode(QTreeWidgetItem *item) {
    if (!item || keyOf(item) == kRootKey) return;
    listSubFolders(item);
    setImage(item, item->childCount() > 0 ? 2 : 1);
}

void frmSelDir::listSubFolders(QTreeWidgetItem *item) {
    QString key = keyOf(item);
    if (key.right(4).toUpper() == CurrExtName.toUpper()) return;  // a file
    if (!key.endsWith(QLatin1Char('/'))) key += QLatin1Char('/');
    if (item->childCount() == 0 || !keyOf(item->child(0)).startsWith(QLatin1Char('*'))) return;
    setImage(item, 1);
    QTreeWidgetItem *placeholder = item->child(0);
    m_nodes.remove(keyOf(placeholder));
    delete placeholder;
    QStringList entries;
    if (const std::shared_ptr<ServerComponent> server = GetServerComponent()) server->GetDriverList(key, entries);
    for (int i = 1; i < entries.size(); ++i) {
        const QString &entry = entries[i];
        if (entry.right(4).toUpper() == CurrExtName.toUpper()) {
            if (JustExtName) addNode(item, key + entry, entry, 3);
        } else if (QTreeWidgetItem *folder = addNode(item, key + entry + QLatin1Char('/'), entry, 1)) {
            addPlaceholder(folder);
        }
    }
}

void frmSelDir::ClickNode(QTreeWidgetItem *item) {
    if (!item || keyOf(item) == kRootKey || keyOf(item).startsWith(QLatin1Char('*'))) return;
    m_tree->setCurrentItem(item);
    m_path->setText(keyOf(item));
}

void frmSelDir::btn_OK_Click() {
    try {
        CurrFullPath = m_path->text();
        const QString computer = GetLocalComputerName();
        if (HandleFlag == QLatin1String("BK"))
            SetBKPathValue(computer, CurrFullPath);
        else
            SetRSPathValue(computer, CurrFullPath);
    } catch (...) {
        // Not remembering the folder does not stop the choice.
    }
    accept();
}

void frmSelDir::btn_Cancel_Click() { reject(); }

void frmSelDir::closeImage_Click() { reject(); }
