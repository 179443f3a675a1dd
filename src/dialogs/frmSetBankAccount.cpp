#include "dialogs/frmSetBankAccount.h"

#include "controls/SpreadsheetGrid.h"
#include "controls/zqbutton.h"
#include "dialogs/DialogKit.h"
#include "platform/PnwDictionary.h"

namespace {

constexpr int kNumberCol = 5;

}  // namespace

frmSetBankAccount::frmSetBankAccount(QWidget *parent)
    : DialogFrame(QStringLiteral("银行存款初始余额的升级:银行帐号设置"), QSize(438, 255), 25, parent),
      m_rs(server::ResultSet{}, nullptr) {
    m_grid = new SpreadsheetGrid(this);
    m_grid->setObjectName(QStringLiteral("fpSpread"));
    m_ok = DialogKit::button(QStringLiteral("确定"), this, 344, 220);
    connect(m_ok, &zqbutton::Click, this, [this] {
        if (!CheckData()) return;
        hideDialog();
        m_resultOK = true;
    });
    connect(this, &DialogFrame::closeClicked, this, &frmSetBankAccount::ConfirmClose);
    // Escape is the close picture; Enter presses OK.
    setEscapeCloses(true);
    setDefaultButton(m_ok);
    connect(m_grid, &SpreadsheetGrid::KeyPress, this, &frmSetBankAccount::onKeyPress);
}

void frmSetBankAccount::Load() {
    const int rows = m_rs.RecordCount();
    m_grid->setMaxRows(rows);
    m_grid->setMaxCols(5);
    if (rows > 0) m_rs.MoveFirst();
    static const char *const fields[] = {"FKMID", "FKMdm", "FKMmc", "FBB"};
    for (int row = 1; row <= rows; ++row) {
        for (int col = 1; col <= 4; ++col) {
            m_grid->setCol(col);
            m_grid->setRow(row);
            m_grid->setCellType(SpreadsheetGrid::CellType::StaticText);
            m_grid->setText(m_rs.value(QString::fromLatin1(fields[col - 1])).toString());
        }
        m_rs.MoveNext();
    }
    m_grid->Refresh();
    placeGrid();
}

void frmSetBankAccount::showEvent(QShowEvent *event) {
    DialogFrame::showEvent(event);
    placeGrid();
}

void frmSetBankAccount::placeGrid() {
    // 120 twips from the left, 480 from the top.
    m_grid->setGeometry(8, 32, width() - 16, 180);
    static const double widths[] = {0, 10, 12, 8, 15};
    static const char *const headers[] = {"总账科目ID", "科目代码", "科目名称", "币别", "银行帐号"};
    for (int col = 1; col <= 5 && col <= m_grid->MaxCols(); ++col) {
        m_grid->setColWidth(col, widths[col - 1]);
        m_grid->SetText(col, 0, QString::fromUtf8(headers[col - 1]));
    }
    setTabOrder(m_grid, m_ok);
}

void frmSetBankAccount::onKeyPress(int *keyAscii) {
    const int key = *keyAscii;
    if (key == 13) {
        // Enter moves on as Tab does, once this key is done with.
        *keyAscii = 0;
        QMetaObject::invokeMethod(
            m_grid, [grid = m_grid] { grid->sendKey(Qt::Key_Tab); }, Qt::QueuedConnection);
        return;
    }
    // Escape types nothing: it leaves the cell's editor, then the dialog.
    const bool passes = key == 8 || (key >= '0' && key <= '9') || key == 3 || key == 22 || key == 27;
    if (!passes) *keyAscii = 0;
}

bool frmSetBankAccount::CheckData() {
    for (int i = 1; i <= m_grid->MaxRows(); ++i) {
        m_grid->setCol(kNumberCol);
        m_grid->setRow(i);
        if (m_grid->Text().isEmpty()) {
            DialogKit::tell(QStringLiteral("第%1行，银行帐号为空！").arg(i));
            return false;
        }
    }
    return true;
}

PnwList frmSetBankAccount::returndata() const {
    PnwList list;
    for (int i = 1; i <= m_grid->MaxRows(); ++i) {
        PnwDictionary rec;
        m_grid->setRow(i);
        m_grid->setCol(kNumberCol);
        rec.setItem(QStringLiteral("FYHZH"), m_grid->Text());
        m_grid->setCol(1);
        rec.setItem(QStringLiteral("FKMID"), m_grid->Text());
        m_grid->setCol(4);
        rec.setItem(QStringLiteral("FBB"), m_grid->Text());
        list.Add(rec);
    }
    return list;
}

void frmSetBankAccount::ConfirmClose() {
    if (!DialogKit::askYes(QStringLiteral("没有对银行设定帐号会导致升级失败，你确定要关闭此窗口吗？"))) return;
    hideDialog();
    m_resultOK = false;
}
