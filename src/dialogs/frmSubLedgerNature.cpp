#include "dialogs/frmSubLedgerNature.h"

#include <QLabel>

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "dialogs/DialogKit.h"
#include "foundation/Globals.h"
#include "foundation/WaitCursor.h"

namespace {

constexpr int kCodeCol = 1;
constexpr int kNameCol = 2;
constexpr int kCustomerCol = 3;
constexpr int kSupplierCol = 4;
const QString kIsCustomer = QStringLiteral("FIsCustomer");
const QString kIsSupplier = QStringLiteral("FIsSupplier");

}  // namespace

frmSubLedgerNature::frmSubLedgerNature(QWidget *parent)
    : DialogFrame(QStringLiteral("指定往来单位核算项目性质"), QSize(585, 433), 25, parent) {
    m_instruction = new QLabel(this);
    m_instruction->setObjectName(QStringLiteral("lblInstruction"));
    m_instruction->setWordWrap(true);
    m_instruction->setGeometry(14, 32, 557, 44);

    m_grid = new SpreadsheetGrid(this);
    m_grid->setObjectName(QStringLiteral("GridSubLedger"));
    m_grid->setGeometry(14, 80, 557, 300);

    m_selectAllCS = DialogKit::button(QStringLiteral("全选客户"), this, 14, 394);
    m_unselectAllCS = DialogKit::button(QStringLiteral("取消选择"), this, 98, 394);
    m_selectAllSP = DialogKit::button(QStringLiteral("全选供应商"), this, 190, 394, 88);
    m_unselectAllSP = DialogKit::button(QStringLiteral("取消选择"), this, 282, 394);
    m_ok = DialogKit::button(QStringLiteral("确定"), this, 407, 394);
    m_cancel = DialogKit::button(QStringLiteral("取消"), this, 491, 394);

    connect(m_selectAllCS, &zqbutton::Click, this, [this] { SetColumnChecks(true, true); });
    connect(m_unselectAllCS, &zqbutton::Click, this, [this] { SetColumnChecks(false, true); });
    connect(m_selectAllSP, &zqbutton::Click, this, [this] { SetColumnChecks(true, false); });
    connect(m_unselectAllSP, &zqbutton::Click, this, [this] { SetColumnChecks(false, false); });
    connect(m_ok, &zqbutton::Click, this, &frmSubLedgerNature::AcceptInput);
    connect(m_cancel, &zqbutton::Click, this, &frmSubLedgerNature::ConfirmClose);
    connect(this, &DialogFrame::closeClicked, this, &frmSubLedgerNature::ConfirmClose);
    // Escape is the close picture; Enter presses OK.
    setEscapeCloses(true);
    setDefaultButton(m_ok);
    connect(m_grid, &SpreadsheetGrid::CheckChanged, this, &frmSubLedgerNature::onCheckChanged);
}

frmSubLedgerNature::~frmSubLedgerNature() { m_data.release(); }

void frmSubLedgerNature::Load() {
    m_inCheckRule = false;
    m_instruction->setText(QStringLiteral("说明: 列表里面的会计科目在") + g_SourceEdition +
                           QStringLiteral("中使用了往来单位作为核算项目，") +
                           QStringLiteral("而专业版中的往来单位区分客户和供应商，") +
                           QStringLiteral("因此，必须指定往来单位属于客户或供应商。"));
    BeginWaitCursor();
    try {
        FillGrid();
    } catch (...) {
        // A grid that fails half-way stays as far as it got.
    }
    EndWaitCursor();
}

void frmSubLedgerNature::FillGrid() {
    using CellType = SpreadsheetGrid::CellType;
    using HAlign = SpreadsheetGrid::HAlign;
    m_grid->setMaxCols(4);
    m_grid->setCol(-1);
    m_grid->setRow(-1);
    m_grid->setVCentred(true);
    m_grid->setColWidth(0, 3);
    DialogKit::setUpColumn(m_grid, kCodeCol, QStringLiteral("科目编码"), 15, CellType::StaticText);
    DialogKit::setUpColumn(m_grid, kNameCol, QStringLiteral("科目名称"), 24, CellType::StaticText);
    DialogKit::setUpColumn(m_grid, kCustomerCol, QStringLiteral("客户"), -1, CellType::CheckBox, HAlign::Center);
    DialogKit::setUpColumn(m_grid, kSupplierCol, QStringLiteral("供应商"), -1, CellType::CheckBox, HAlign::Center);
    const int size = m_data.size();
    m_grid->setMaxRows(size);
    for (int i = 1; i <= size; ++i) {
        const QString name = m_data.field(i, QStringLiteral("FAcctName")).toString();
        m_grid->SetText(kCodeCol, i, m_data.field(i, QStringLiteral("FAcctID")).toString());
        m_grid->SetText(kNameCol, i, name);
        // Each tick runs the check-box rule, so the record follows the grid;
        // with both kinds of words in the name the supplier tick wins.
        if (name.contains(QStringLiteral("应收")) || name.contains(QStringLiteral("预收"))) {
            m_grid->setCol(kCustomerCol);
            m_grid->setRow(i);
            m_grid->setValue(1);
        }
        if (name.contains(QStringLiteral("应付")) || name.contains(QStringLiteral("预付"))) {
            m_grid->setCol(kSupplierCol);
            m_grid->setRow(i);
            m_grid->setValue(1);
        }
    }
    if (size >= 1) m_grid->SetActiveCell(kCustomerCol, 1);
}

void frmSubLedgerNature::onCheckChanged(int col, int row) {
    if (m_inCheckRule || (col != kCustomerCol && col != kSupplierCol)) return;
    const int keepCol = m_grid->Col(), keepRow = m_grid->Row();
    m_grid->setCol(col);
    m_grid->setRow(row);
    const int v = m_grid->Value().toInt();
    m_data.setField(row, col == kCustomerCol ? kIsCustomer : kIsSupplier, v);
    m_inCheckRule = true;
    const int other = v == 0 ? 1 : 0;
    m_grid->setCol(col == kCustomerCol ? kSupplierCol : kCustomerCol);
    m_grid->setValue(other);
    m_data.setField(row, col == kCustomerCol ? kIsSupplier : kIsCustomer, other);
    m_inCheckRule = false;
    m_grid->setCol(keepCol);
    m_grid->setRow(keepRow);
}

void frmSubLedgerNature::SetColumnChecks(bool value, bool customerColumn) {
    const int keepCol = m_grid->Col(), keepRow = m_grid->Row();
    const int col = customerColumn ? kCustomerCol : kSupplierCol;
    for (int row = 1; row <= m_grid->MaxRows(); ++row) {
        m_grid->setCol(col);
        m_grid->setRow(row);
        m_grid->setValue(value ? 1 : 0);
    }
    m_grid->setCol(keepCol);
    m_grid->setRow(keepRow);
    m_grid->Refresh();
}

int frmSubLedgerNature::FindUnassignedRow() const {
    for (int i = 1; i <= m_data.size(); ++i) {
        if (m_data.field(i, kIsCustomer).toInt() == 0 && m_data.field(i, kIsSupplier).toInt() == 0) return i;
    }
    return 0;
}

void frmSubLedgerNature::AcceptInput() {
    BeginWaitCursor();
    const int unassigned = FindUnassignedRow();
    if (unassigned == 0) {
        hideDialog();
        m_resultOK = true;
    } else {
        DialogKit::tell(QStringLiteral("请为所有会计科目指定往来单位的性质。"));
        m_grid->SetActiveCell(kCustomerCol, unassigned);
    }
    EndWaitCursor();
}

void frmSubLedgerNature::ConfirmClose() {
    if (!DialogKit::askYes(QStringLiteral("未指定往来单位核算项目性质，这样会导致升级失败，你确定要关闭此窗口吗？")))
        return;
    hideDialog();
    m_resultOK = false;
}
