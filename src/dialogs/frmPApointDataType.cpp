#include "dialogs/frmPApointDataType.h"

#include <QLabel>
#include <QLineEdit>

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "dialogs/DataTypeNames.h"
#include "dialogs/DialogKit.h"
#include "dialogs/DialogSeam.h"
#include "dialogs/frmDataType.h"
#include "foundation/Globals.h"
#include "platform/PnwDictionary.h"

namespace {

constexpr int kTypeCol = 3;

}  // namespace

frmPApointDataType::frmPApointDataType(QWidget *parent)
    : DialogFrame(QStringLiteral("工资项目升级:数据格式设置"), QSize(460, 336), 25, parent),
      m_rs(server::ResultSet{}, nullptr) {
    m_label1 = new QLabel(QStringLiteral("帐套名称："), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(12, 300, 72, 24);
    m_acctName = new QLineEdit(this);
    m_acctName->setObjectName(QStringLiteral("txtAcctName"));
    m_acctName->setReadOnly(true);
    m_acctName->setGeometry(84, 300, 160, 24);
    m_grid = new SpreadsheetGrid(this);
    m_grid->setObjectName(QStringLiteral("fpSpread"));
    m_batchEdit = DialogKit::button(QStringLiteral("批量修改"), this, 276, 300);
    m_ok = DialogKit::button(QStringLiteral("确定"), this, 366, 300);
    connect(m_ok, &zqbutton::Click, this, &frmPApointDataType::accept_);
    connect(this, &DialogFrame::closeClicked, this, &frmPApointDataType::accept_);
    // Escape is the close picture; Enter presses OK.
    setEscapeCloses(true);
    setDefaultButton(m_ok);
    connect(m_batchEdit, &zqbutton::Click, this, &frmPApointDataType::BatchEdit);
}

void frmPApointDataType::Load() {
    if (g_UpgradeSettings.Count() >= 1) {
        const QVariant settings = g_UpgradeSettings.Item(1);
        if (settings.metaType() == QMetaType::fromType<PnwDictionary>())
            m_acctName->setText(settings.value<PnwDictionary>().Item(QStringLiteral("AcctName")).toString());
    }
    const int rows = m_rs.RecordCount();
    if (rows > 0) m_rs.MoveFirst();
    m_grid->setMaxRows(rows);
    m_grid->setMaxCols(3);
    QStringList names;
    for (const int code : DataTypeNames::kOffered) names << DataTypeNames::GetDataTypeName(code);
    for (int row = 1; row <= rows; ++row) {
        const bool payroll = m_rs.value(QStringLiteral("FIsPayrollData")).toBool();
        m_grid->setRow(row);
        m_grid->setCol(1);
        m_grid->setText(m_rs.value(QStringLiteral("FitemName")).toString());
        m_grid->setCellType(SpreadsheetGrid::CellType::StaticText);
        m_grid->setCol(2);
        m_grid->setText(payroll ? QStringLiteral("数值") : QStringLiteral("文本"));
        m_grid->setCellType(SpreadsheetGrid::CellType::StaticText);
        m_grid->setCol(kTypeCol);
        m_grid->setCellType(SpreadsheetGrid::CellType::ComboBox);
        m_grid->setComboList(names);
        if (!payroll) m_grid->setText(QStringLiteral("文本"));
        m_rs.MoveNext();
    }
    m_grid->Refresh();
    placeGrid();
}

void frmPApointDataType::showEvent(QShowEvent *event) {
    DialogFrame::showEvent(event);
    placeGrid();
}

void frmPApointDataType::placeGrid() {
    // 120 twips from the left, 480 from the top.
    m_grid->setGeometry(8, 32, width() - 16, 258);
    static const double widths[] = {10, 12, 15};
    static const char *const headers[] = {"工资项目", "源账套数据类型", "专业版数据类型"};
    for (int col = 1; col <= 3 && col <= m_grid->MaxCols(); ++col) {
        m_grid->setColWidth(col, widths[col - 1]);
        m_grid->SetText(col, 0, QString::fromUtf8(headers[col - 1]));
    }
}

bool frmPApointDataType::IsEmpty() {
    for (int i = 1; i <= m_grid->MaxRows(); ++i) {
        m_grid->setCol(kTypeCol);
        m_grid->setRow(i);
        if (m_grid->Text().isEmpty()) {
            DialogKit::tell(QStringLiteral("第%1行，有未指定数据类型的项，请指定类型").arg(i));
            return false;
        }
    }
    return true;
}

void frmPApointDataType::accept_() {
    if (IsEmpty()) hideDialog();
}

void frmPApointDataType::BatchEdit() {
    int code = 0;
    {
        frmDataType picker(this);
        DialogSeam::showModal(picker);
        if (!picker.Chosen) return;
        code = picker.SelectedType;
    }
    switch (code) {
    case 3:
    case 5:
    case 11:
    case 135:
    case 200: break;
    default: code = 6; break;
    }
    const QString name = DataTypeNames::GetDataTypeName(code);
    for (int row = 1; row <= m_grid->MaxRows(); ++row) {
        m_grid->SetText(kTypeCol, row, name);
        m_grid->Refresh();
    }
}

PnwList frmPApointDataType::returndata() const {
    PnwList list;
    for (int i = 1; i <= m_grid->MaxRows(); ++i) {
        m_grid->setRow(i);
        m_grid->setCol(kTypeCol);
        int code = 6;
        switch (m_grid->Value().toInt()) {
        case 0: code = 11; break;
        case 1: code = 135; break;
        case 2: code = 200; break;
        case 3: code = 3; break;
        case 4: code = 5; break;
        default: break;
        }
        m_grid->setCol(1);
        PnwDictionary rec;
        rec.setItem(QStringLiteral("FDataType"), code);
        rec.setItem(QStringLiteral("FItemName"), m_grid->Text());
        list.Add(rec);
    }
    return list;
}
