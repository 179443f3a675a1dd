#include "controls/SpreadsheetGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

constexpr int kTypeRole = Qt::UserRole + 1;
constexpr int kListRole = Qt::UserRole + 2;
constexpr int kEditableRole = Qt::UserRole + 3;
constexpr int kVCentreRole = Qt::UserRole + 4;
constexpr int kLastCheckRole = Qt::UserRole + 5;
constexpr int kAlignRole = Qt::UserRole + 6;
constexpr double kDefaultWidth = 9;
constexpr int kWidthPadding = 6;

// Guards a counter for the length of a scope.
struct Raise {
    explicit Raise(int &n) : n(n) { ++n; }
    ~Raise() { --n; }
    int &n;
};

}  // namespace

// Editors for combo cells, centred check boxes and the key filter of open
// editors.
class SpreadsheetGridDelegate : public QStyledItemDelegate {
public:
    explicit SpreadsheetGridDelegate(SpreadsheetGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    static SpreadsheetGrid::CellType typeOf(const QModelIndex &index) {
        return SpreadsheetGrid::CellType(index.data(kTypeRole).toInt());
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QWidget *editor = nullptr;
        if (typeOf(index) == SpreadsheetGrid::CellType::ComboBox) {
            auto *combo = new QComboBox(parent);
            combo->addItems(index.data(kListRole).toStringList());
            combo->setEditable(index.data(kEditableRole).toBool());
            if (combo->lineEdit()) combo->lineEdit()->installEventFilter(const_cast<SpreadsheetGridDelegate *>(this));
            editor = combo;
        } else {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
        }
        m_grid->m_editor = editor;
        m_grid->m_editorIndex = index;
        return editor;
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override {
        if (m_grid && m_grid->m_editor == editor) m_grid->m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            const QString text = index.data(Qt::DisplayRole).toString();
            const int at = combo->findText(text, Qt::MatchExactly);
            if (combo->isEditable()) combo->setEditText(text);
            combo->setCurrentIndex(at);
            if (combo->isEditable()) combo->setEditText(text);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        if (typeOf(index) != SpreadsheetGrid::CellType::CheckBox ||
            index.data(kAlignRole).toInt() != int(SpreadsheetGrid::HAlign::Center)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // The cell without its indicator, then the indicator in the middle.
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
        const QRect indicator = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, opt.widget);
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        QStyleOptionViewItem box = option;
        box.rect = QRect(QPoint(0, 0), indicator.size());
        box.rect.moveCenter(option.rect.center());
        box.state &= ~(QStyle::State_On | QStyle::State_Off);
        box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override {
        if (typeOf(index) == SpreadsheetGrid::CellType::CheckBox && (index.flags() & Qt::ItemIsEnabled)) {
            // The whole cell is the box: a left click anywhere in it toggles.
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
            case QEvent::MouseButtonRelease: {
                auto *mouse = static_cast<QMouseEvent *>(event);
                if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
                    return false;
                const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            }
            default: break;
            }
        }
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }

    // The grid is going away: its editors' last events find no grid.
    void detach() { m_grid = nullptr; }

protected:
    bool eventFilter(QObject *object, QEvent *event) override {
        // Editors still send events while the grid is being destroyed.
        if (!m_grid) return false;
        if (event->type() == QEvent::KeyPress && m_grid->filterKey(object, static_cast<QKeyEvent *>(event)))
            return true;
        if (event->type() == QEvent::InputMethod &&
            m_grid->filterCommit(object, static_cast<QInputMethodEvent *>(event)))
            return true;
        // The line edit of an editable combo gets the key filter only.
        if (object != m_grid->m_editor) return false;
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    SpreadsheetGrid *m_grid;
};

SpreadsheetGrid::SpreadsheetGrid(QWidget *parent) : QTableWidget(parent) {
    setItemDelegate(new SpreadsheetGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(this, &QTableWidget::itemChanged, this, &SpreadsheetGrid::onItemChanged);
}

SpreadsheetGrid::~SpreadsheetGrid() {
    if (auto *delegate = dynamic_cast<SpreadsheetGridDelegate *>(itemDelegate())) delegate->detach();
}

int SpreadsheetGrid::charWidth() const { return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0'))); }

QTableWidgetItem *SpreadsheetGrid::cell(int col, int row) const {
    if (col < 1 || row < 1 || col > columnCount() || row > rowCount()) return nullptr;
    return item(row - 1, col - 1);
}

void SpreadsheetGrid::setMaxCols(int cols) {
    cols = std::max(0, cols);
    const int old = columnCount();
    Raise quiet(m_quiet);
    setColumnCount(cols);
    m_colFormats.resize(cols);
    for (int c = old + 1; c <= cols; ++c) {
        m_colFormats[c - 1] = m_allFormat;
        setColumnWidth(c - 1, int(kDefaultWidth * charWidth()) + kWidthPadding);
        for (int r = 1; r <= rowCount(); ++r) {
            auto *it = new QTableWidgetItem;
            applyFormat(it, m_allFormat);
            setItem(r - 1, c - 1, it);
        }
    }
}

void SpreadsheetGrid::setMaxRows(int rows) {
    rows = std::max(0, rows);
    const int old = rowCount();
    Raise quiet(m_quiet);
    setRowCount(rows);
    for (int r = old + 1; r <= rows; ++r) {
        for (int c = 1; c <= columnCount(); ++c) {
            auto *it = new QTableWidgetItem;
            applyFormat(it, m_colFormats[c - 1]);
            setItem(r - 1, c - 1, it);
        }
    }
}

QList<QTableWidgetItem *> SpreadsheetGrid::addressed() const {
    QList<QTableWidgetItem *> items;
    const int c0 = m_col == -1 ? 1 : m_col, c1 = m_col == -1 ? columnCount() : m_col;
    const int r0 = m_row == -1 ? 1 : m_row, r1 = m_row == -1 ? rowCount() : m_row;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (QTableWidgetItem *it = cell(c, r)) items.append(it);
    return items;
}

SpreadsheetGrid::Format SpreadsheetGrid::formatOf(const QTableWidgetItem *item) const {
    Format f;
    f.type = CellType(item->data(kTypeRole).toInt());
    f.entries = item->data(kListRole).toStringList();
    f.editable = item->data(kEditableRole).toBool();
    f.align = HAlign(item->data(kAlignRole).toInt());
    f.vCentred = item->data(kVCentreRole).toBool();
    return f;
}

void SpreadsheetGrid::applyFormat(QTableWidgetItem *item, const Format &format) {
    Raise quiet(m_quiet);
    const CellType before = CellType(item->data(kTypeRole).toInt());
    item->setData(kTypeRole, int(format.type));
    item->setData(kListRole, format.entries);
    item->setData(kEditableRole, format.editable);
    item->setData(kAlignRole, int(format.align));
    item->setData(kVCentreRole, format.vCentred);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    switch (format.type) {
    case CellType::Edit:
    case CellType::ComboBox: flags |= Qt::ItemIsEditable; break;
    case CellType::CheckBox: flags |= Qt::ItemIsUserCheckable; break;
    case CellType::StaticText: break;
    }
    item->setFlags(flags);
    if (format.type == CellType::CheckBox &&
        (before != CellType::CheckBox || !item->data(Qt::CheckStateRole).isValid())) {
        item->setText(QString());
        item->setCheckState(Qt::Unchecked);
        item->setData(kLastCheckRole, 0);
    } else if (format.type != CellType::CheckBox && before == CellType::CheckBox) {
        item->setData(Qt::CheckStateRole, QVariant());
    }
    const Qt::Alignment h = format.align == HAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft;
    item->setData(Qt::TextAlignmentRole, int(h | (format.vCentred ? Qt::AlignVCenter : Qt::AlignTop)));
}

template <typename F>
void SpreadsheetGrid::forAddressedFormats(F change) {
    if (m_row == -1) {
        if (m_col == -1) {
            change(m_allFormat);
            for (Format &f : m_colFormats) change(f);
        } else if (m_col >= 1 && m_col <= m_colFormats.size()) {
            change(m_colFormats[m_col - 1]);
        }
    }
    for (QTableWidgetItem *it : addressed()) {
        Format f = formatOf(it);
        change(f);
        applyFormat(it, f);
    }
}

void SpreadsheetGrid::setCellType(CellType type) {
    forAddressedFormats([type](Format &f) { f.type = type; });
}

SpreadsheetGrid::CellType SpreadsheetGrid::cellType() const {
    const QList<QTableWidgetItem *> items = addressed();
    if (!items.isEmpty()) return formatOf(items.first()).type;
    if (m_col >= 1 && m_col <= m_colFormats.size()) return m_colFormats[m_col - 1].type;
    return m_allFormat.type;
}

void SpreadsheetGrid::setComboList(const QStringList &entries) {
    forAddressedFormats([&entries](Format &f) { f.entries = entries; });
}

QStringList SpreadsheetGrid::comboList() const {
    const QList<QTableWidgetItem *> items = addressed();
    if (!items.isEmpty()) return formatOf(items.first()).entries;
    if (m_col >= 1 && m_col <= m_colFormats.size()) return m_colFormats[m_col - 1].entries;
    return m_allFormat.entries;
}

void SpreadsheetGrid::setComboEditable(bool editable) {
    forAddressedFormats([editable](Format &f) { f.editable = editable; });
}

void SpreadsheetGrid::setHAlign(HAlign align) {
    forAddressedFormats([align](Format &f) { f.align = align; });
}

SpreadsheetGrid::HAlign SpreadsheetGrid::hAlign() const {
    const QList<QTableWidgetItem *> items = addressed();
    return items.isEmpty() ? m_allFormat.align : formatOf(items.first()).align;
}

void SpreadsheetGrid::setVCentred(bool centred) {
    forAddressedFormats([centred](Format &f) { f.vCentred = centred; });
}

QString SpreadsheetGrid::Text() const {
    const_cast<SpreadsheetGrid *>(this)->commitEditing();
    if (m_row == 0) {
        const QTableWidgetItem *header = m_col >= 1 ? horizontalHeaderItem(m_col - 1) : nullptr;
        return header ? header->text() : QString();
    }
    const QList<QTableWidgetItem *> items = addressed();
    if (items.isEmpty()) return QString();
    const QTableWidgetItem *it = items.first();
    if (formatOf(it).type == CellType::CheckBox) return QString::number(it->checkState() == Qt::Checked ? 1 : 0);
    return it->text();
}

void SpreadsheetGrid::setText(const QString &text) {
    if (m_row == 0) {
        const int c0 = m_col == -1 ? 1 : m_col, c1 = m_col == -1 ? columnCount() : m_col;
        for (int c = std::max(1, c0); c <= c1 && c <= columnCount(); ++c) {
            QTableWidgetItem *header = horizontalHeaderItem(c - 1);
            if (!header) {
                header = new QTableWidgetItem;
                setHorizontalHeaderItem(c - 1, header);
            }
            header->setText(text);
        }
        return;
    }
    for (QTableWidgetItem *it : addressed()) {
        if (formatOf(it).type == CellType::CheckBox)
            it->setCheckState(text.trimmed().toInt() != 0 ? Qt::Checked : Qt::Unchecked);
        else
            it->setText(text);
    }
}

QVariant SpreadsheetGrid::Value() const {
    const_cast<SpreadsheetGrid *>(this)->commitEditing();
    const QList<QTableWidgetItem *> items = addressed();
    if (m_row == 0 || items.isEmpty()) return Text();
    const QTableWidgetItem *it = items.first();
    const Format f = formatOf(it);
    switch (f.type) {
    case CellType::CheckBox: return it->checkState() == Qt::Checked ? 1 : 0;
    case CellType::ComboBox: return int(f.entries.indexOf(it->text()));
    default: return it->text();
    }
}

void SpreadsheetGrid::setValue(const QVariant &value) {
    if (m_row == 0) {
        setText(value.toString());
        return;
    }
    for (QTableWidgetItem *it : addressed()) {
        const Format f = formatOf(it);
        switch (f.type) {
        case CellType::CheckBox: it->setCheckState(value.toInt() != 0 ? Qt::Checked : Qt::Unchecked); break;
        case CellType::ComboBox: {
            const int at = value.toInt();
            it->setText(at >= 0 && at < f.entries.size() ? f.entries.at(at) : QString());
            break;
        }
        default: it->setText(value.toString()); break;
        }
    }
}

void SpreadsheetGrid::SetText(int col, int row, const QString &text) {
    const int keepCol = m_col, keepRow = m_row;
    m_col = col;
    m_row = row;
    setText(text);
    m_col = keepCol;
    m_row = keepRow;
}

void SpreadsheetGrid::setColWidth(int col, double units) {
    if (col == 0) {
        verticalHeader()->setVisible(units > 0);
        if (units > 0) verticalHeader()->setFixedWidth(int(units * charWidth()) + kWidthPadding);
        return;
    }
    const int c0 = col == -1 ? 1 : col, c1 = col == -1 ? columnCount() : col;
    for (int c = std::max(1, c0); c <= c1 && c <= columnCount(); ++c) {
        if (units <= 0) {
            setColumnHidden(c - 1, true);
        } else {
            setColumnHidden(c - 1, false);
            setColumnWidth(c - 1, int(units * charWidth() + 0.5) + kWidthPadding);
        }
    }
}

double SpreadsheetGrid::ColWidth(int col) const {
    if (col == 0)
        return verticalHeader()->isVisible() ? double(verticalHeader()->width() - kWidthPadding) / charWidth() : 0;
    if (col < 1 || col > columnCount() || isColumnHidden(col - 1)) return 0;
    return double(columnWidth(col - 1) - kWidthPadding) / charWidth();
}

void SpreadsheetGrid::SetActiveCell(int col, int row) {
    if (col < 1 || row < 1 || col > columnCount() || row > rowCount()) return;
    // Focus first: the editor that the new current cell opens keeps it.
    setFocus(Qt::OtherFocusReason);
    setCurrentCell(row - 1, col - 1);
}

void SpreadsheetGrid::commitEditing() {
    if (!m_editor) return;
    QWidget *editor = m_editor;
    QTableWidget::commitData(editor);
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_editor = nullptr;
}

void SpreadsheetGrid::sendKey(int qtKey) {
    QWidget *target = QApplication::focusWidget();
    if (!target || (target != this && !isAncestorOf(target))) target = this;
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void SpreadsheetGrid::Refresh() { viewport()->update(); }

QRect SpreadsheetGrid::cellRect(int col, int row) const {
    if (col < 1 || row < 1 || col > columnCount() || row > rowCount()) return {};
    return visualItemRect(item(row - 1, col - 1));
}

void SpreadsheetGrid::onItemChanged(QTableWidgetItem *item) {
    if (!item || CellType(item->data(kTypeRole).toInt()) != CellType::CheckBox) return;
    const int now = item->checkState() == Qt::Checked ? 1 : 0;
    if (item->data(kLastCheckRole).toInt() == now && item->data(kLastCheckRole).isValid()) return;
    item->setData(kLastCheckRole, now);
    if (m_quiet == 0) emit CheckChanged(item->column() + 1, item->row() + 1);
}

bool SpreadsheetGrid::filterKey(QObject *target, QKeyEvent *event) {
    static bool replacing = false;
    if (replacing) return false;
    int code = 0;
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        code = 13;
    else if (key == Qt::Key_Backspace)
        code = 8;
    else if (key == Qt::Key_Escape)
        code = 27;
    else if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        code = key - Qt::Key_A + 1;
    else if (!event->text().isEmpty())
        code = event->text().at(0).unicode();
    if (code == 0) return false;  // not a character: arrows, function keys
    int answer = code;
    emit KeyPress(&answer);
    if (answer == code) return false;
    if (answer != 0) {
        // The handler typed another character in its place.
        replacing = true;
        QKeyEvent other(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(answer)));
        QApplication::sendEvent(target, &other);
        replacing = false;
    }
    return true;
}

void SpreadsheetGrid::keyPressEvent(QKeyEvent *event) {
    if (filterKey(this, event)) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool SpreadsheetGrid::filterCommit(QObject *target, QInputMethodEvent *event) {
    static bool replacing = false;
    if (replacing || event->commitString().isEmpty()) return false;
    QString passed;
    for (const QChar ch : event->commitString()) {
        int answer = ch.unicode();
        emit KeyPress(&answer);
        if (answer != 0) passed += QChar(answer);
    }
    if (passed == event->commitString()) return false;
    QInputMethodEvent other(event->preeditString(), event->attributes());
    other.setCommitString(passed, event->replacementStart(), event->replacementLength());
    replacing = true;
    QApplication::sendEvent(target, &other);
    replacing = false;
    return true;
}

void SpreadsheetGrid::inputMethodEvent(QInputMethodEvent *event) {
    if (filterCommit(this, event)) {
        event->accept();
        return;
    }
    QTableWidget::inputMethodEvent(event);
}

bool SpreadsheetGrid::showCutText(const QHelpEvent *event) {
    const QModelIndex index = indexAt(event->pos());
    const QTableWidgetItem *it = index.isValid() ? item(index.row(), index.column()) : nullptr;
    if (!it || it->text().isEmpty() || formatOf(it).type == CellType::CheckBox) return false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QRect shown = visualRect(index);
    option.rect = shown;
    // Cut: its one line is wider than the cell and, wrapped at the cell's
    // width, it is taller than the row.
    const QSize wrapped = itemDelegateForIndex(index)->sizeHint(option, index);
    option.features &= ~QStyleOptionViewItem::WrapText;
    const QSize oneLine = itemDelegateForIndex(index)->sizeHint(option, index);
    if (oneLine.width() <= shown.width() || (wordWrap() && wrapped.height() <= shown.height())) return false;
    QToolTip::showText(event->globalPos(), it->text(), viewport(), shown);
    return true;
}

bool SpreadsheetGrid::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        if (showCutText(static_cast<QHelpEvent *>(event))) return true;
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QTableWidget::viewportEvent(event);
}
