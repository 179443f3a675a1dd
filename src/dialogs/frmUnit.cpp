#include "dialogs/frmUnit.h"

#include <exception>

#include <QCoreApplication>
#include <QHash>
#include <QLabel>

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "dialogs/DialogKit.h"
#include "dialogs/MeasureUnits.h"
#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/WaitCursor.h"

namespace {

constexpr int kUnitCol = 3;
const QString kReserved = QStringLiteral("*");
const QString kReservedText = QStringLiteral("不允许输入系统预留的计量单位名称。");

}  // namespace

frmUnit::frmUnit(QWidget *parent) : DialogFrame(QStringLiteral("为会计科目指定计量单位"), QSize(583, 433), 25, parent) {
    m_instruction = new QLabel(this);
    m_instruction->setObjectName(QStringLiteral("lblInstruction"));
    m_instruction->setWordWrap(true);
    m_instruction->setGeometry(14, 32, 555, 44);

    m_grid = new SpreadsheetGrid(this);
    m_grid->setObjectName(QStringLiteral("GridUnit"));
    m_grid->setGeometry(14, 80, 555, 300);

    m_batchEdit = DialogKit::button(QStringLiteral("批量填充"), this, 14, 394);
    m_ok = DialogKit::button(QStringLiteral("确定"), this, 405, 394);
    m_cancel = DialogKit::button(QStringLiteral("取消"), this, 489, 394);

    connect(m_batchEdit, &zqbutton::Click, this, &frmUnit::BatchEdit);
    connect(m_ok, &zqbutton::Click, this, &frmUnit::AcceptInput);
    connect(m_cancel, &zqbutton::Click, this, &frmUnit::ConfirmClose);
    connect(this, &DialogFrame::closeClicked, this, &frmUnit::ConfirmClose);
    // Escape is the close picture; Enter presses OK.
    setEscapeCloses(true);
    setDefaultButton(m_ok);
}

frmUnit::~frmUnit() { m_data.release(); }

void frmUnit::Load() {
    m_instruction->setText(QStringLiteral("说明：列表里面的会计科目在") + g_SourceEdition +
                           QStringLiteral("中勾选了数量金额核算选项，因此，必须指定会计科目使用的计量单位。"));
    BeginWaitCursor();
    try {
        FillGrid();
    } catch (...) {
        // The grid stays as far as it got.
    }
    EndWaitCursor();
}

void frmUnit::FillGrid() {
    using CellType = SpreadsheetGrid::CellType;
    m_grid->setMaxCols(3);
    m_grid->setCol(-1);
    m_grid->setRow(-1);
    m_grid->setVCentred(true);
    m_grid->setColWidth(0, 3);
    DialogKit::setUpColumn(m_grid, 1, QStringLiteral("科目编码"), 18, CellType::StaticText);
    DialogKit::setUpColumn(m_grid, 2, QStringLiteral("科目名称"), 20, CellType::StaticText);
    DialogKit::setUpColumn(m_grid, kUnitCol, QStringLiteral("计量单位"), -1, CellType::ComboBox);
    m_grid->setComboEditable(true);
    try {
        m_grid->setComboList(MeasureUnits::names());
    } catch (const std::exception &) {
        // Without the target's list the operator can still type names.
    }
    const int size = m_data.size();
    m_grid->setMaxRows(size);
    for (int i = 1; i <= size; ++i) {
        m_grid->SetText(1, i, m_data.field(i, QStringLiteral("FAcctID")).toString());
        m_grid->SetText(2, i, m_data.field(i, QStringLiteral("FAcctName")).toString());
        m_grid->SetText(kUnitCol, i, QString());
    }
    if (size >= 1) m_grid->SetActiveCell(kUnitCol, 1);
}

void frmUnit::BatchEdit() {
    const int keepCol = m_grid->Col(), keepRow = m_grid->Row();
    m_grid->setCol(kUnitCol);
    m_grid->setRow(1);
    const QString name = m_grid->Text().trimmed();
    if (name == kReserved) {
        DialogKit::tell(kReservedText);
    } else if (!name.isEmpty()) {
        for (int i = 1; i <= m_grid->MaxRows(); ++i) {
            m_grid->SetText(kUnitCol, i, name);
            m_data.setField(i, QStringLiteral("FUnitName"), name);
        }
    }
    m_grid->setCol(keepCol);
    m_grid->setRow(keepRow);
}

void frmUnit::AcceptInput() {
    // Window messages run while the units resolve: a second OK meanwhile
    // does not start a second resolution.
    if (m_accepting) return;
    m_accepting = true;
    BeginWaitCursor();
    QString reason;
    int failingRow = 0;
    if (!ResolveUnits(reason, failingRow)) {
        DialogKit::tell(QStringLiteral("计量单位输入错误。原因：") + reason);
        m_grid->SetActiveCell(kUnitCol, failingRow);
    } else {
        QCoreApplication::processEvents();
        if (const int row = FindRowWithoutUnit()) {
            DialogKit::tell(QStringLiteral("请为所有会计科目指定计量单位。"));
            m_grid->SetActiveCell(kUnitCol, row);
        } else {
            hideDialog();
            m_resultOK = true;
        }
    }
    EndWaitCursor();
    m_accepting = false;
}

bool frmUnit::ResolveUnits(QString &reason, int &failingRow) {
    const int keepCol = m_grid->Col(), keepRow = m_grid->Row();
    // One lookup per distinct name and OK.
    QHash<QString, int> cache;
    bool ok = true;
    for (int i = 1; i <= m_grid->MaxRows(); ++i) {
        m_grid->setCol(kUnitCol);
        m_grid->setRow(i);
        const QString name = m_grid->Text().trimmed();
        if (name.isEmpty()) {
            reason = QStringLiteral("非法的计量单位名称。");
        } else if (name == kReserved) {
            reason = kReservedText;
        } else if (!cache.contains(name)) {
            try {
                MeasureUnitInfo ids = MeasureUnits::find(name);
                if (ids.number.isEmpty() && !MeasureUnits::create(name, ids, reason)) ids.unitID = -1;
                if (ids.unitID >= 0) cache.insert(name, ids.unitID);
            } catch (const std::exception &e) {
                reason = QStringLiteral("新增计量单位失败。原因：\r\n") + ErrorDescription(e) + QStringLiteral("\r\n");
            }
        }
        if (!cache.contains(name)) {
            failingRow = i;
            ok = false;
            break;
        }
        m_data.setField(i, QStringLiteral("FUnitName"), name);
        m_data.setField(i, QStringLiteral("FUnit"), cache.value(name));
        QCoreApplication::processEvents();
    }
    m_grid->setCol(keepCol);
    m_grid->setRow(keepRow);
    return ok;
}

int frmUnit::FindRowWithoutUnit() {
    for (int i = 1; i <= m_data.size(); ++i) {
        if (m_data.field(i, QStringLiteral("FUnitName")).toString().isEmpty()) return i;
        QCoreApplication::processEvents();
    }
    return 0;
}

void frmUnit::ConfirmClose() {
    if (!DialogKit::askYes(QStringLiteral("未指定会计科目的计量单位，这样会导致升级失败，你确定要关闭此窗口吗？")))
        return;
    hideDialog();
    m_resultOK = false;
}
