// The server folder chooser: a modal, borderless dialog with a tree of the
// server's drives and their folders, listed lazily as the operator expands
// them. Drive and folder nodes are keyed by their full path ending in "/".
// The folder confirmed with OK is remembered per computer in the registry
// store and opened the next time. Shown only by BrowseServerPath.
// UI thread only.
#pragma once

#include <QHash>
#include <QString>

#include "controls/DialogFrame.h"

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class zqbutton;

class frmSelDir : public DialogFrame {
    Q_OBJECT
public:
    explicit frmSelDir(QWidget *parent = nullptr);

    // In: the caller's folder; out: the folder confirmed with OK.
    QString CurrFullPath;
    QString CurrServer;
    // Entries ending in this are files; offered only with JustExtName.
    QString CurrExtName = QStringLiteral(".dbb");
    bool JustExtName = false;
    // The remembered folder, read on activation.
    QString DefaultPath;
    qint32 lOperType = 0;
    // "BK": the backup-folder value; anything else the database-folder value.
    QString HandleFlag;

    // Runs once when the dialog first shows; tests may call it directly.
    void Form_Activate();
    // Lists the server's drives again (when the server box names the server).
    void LoadDrives();
    // Lists a node's sub-folders once and marks it opened.
    void ExpandNode(QTreeWidgetItem *node);
    // Selects a node's folder, as a click on it does.
    void ClickNode(QTreeWidgetItem *node);
    // The node of a key; nullptr when none.
    QTreeWidgetItem *node(const QString &key) const { return m_nodes.value(key); }
    static QString keyOf(const QTreeWidgetItem *node);

    void btn_OK_Click();
    void btn_Cancel_Click();
    void closeImage_Click();

    QComboBox *cboServerName() const { return m_server; }
    QTreeWidget *tvPath() const { return m_tree; }
    QLabel *lblPath() const { return m_path; }
    zqbutton *btn_OK() const { return m_ok; }
    zqbutton *btn_Cancel() const { return m_cancel; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &key, const QString &text, int image);
    void addPlaceholder(QTreeWidgetItem *parent);
    void listSubFolders(QTreeWidgetItem *node);
    void walk(const QString &path);
    void fallback();
    void setImage(QTreeWidgetItem *node, int image);
    void rememberedChoice();

    bool m_activated = false;
    QHash<QString, QTreeWidgetItem *> m_nodes;

    QComboBox *m_server = nullptr;
    QTreeWidget *m_tree;
    QLabel *m_path;
    zqbutton *m_ok;
    zqbutton *m_cancel;
};
