#include "dialogs/frmDataType.h"

#include <QListWidget>

#include "controls/zqbutton.h"
#include "dialogs/DataTypeNames.h"
#include "dialogs/DialogKit.h"

frmDataType::frmDataType(QWidget *parent) : DialogFrame(QStringLiteral("请选择数据类型"), QSize(242, 171), 25, parent) {
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listEntry"));
    m_list->setGeometry(12, 32, 218, 96);
    m_ok = DialogKit::button(QStringLiteral("确定"), this, 62, 136);
    m_cancel = DialogKit::button(QStringLiteral("取消"), this, 150, 136);
    connect(m_ok, &zqbutton::Click, this, &frmDataType::pick);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &frmDataType::pick);
    connect(m_cancel, &zqbutton::Click, this, &frmDataType::cancel);
    connect(this, &DialogFrame::closeClicked, this, &frmDataType::cancel);
    // Escape is the close picture; Enter presses OK.
    setEscapeCloses(true);
    setDefaultButton(m_ok);
}

void frmDataType::Load() {
    for (const int code : DataTypeNames::kOffered) {
        auto *item = new QListWidgetItem(DataTypeNames::GetDataTypeName(code), m_list);
        item->setData(Qt::UserRole, code);
    }
}

void frmDataType::showEvent(QShowEvent *event) {
    DialogFrame::showEvent(event);
    Chosen = false;
    SelectedType = 0;
}

void frmDataType::pick() {
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty()) return;
    SelectedType = selected.first()->data(Qt::UserRole).toInt();
    Chosen = true;
    hideDialog();
}

void frmDataType::cancel() {
    Chosen = false;
    hideDialog();
}
