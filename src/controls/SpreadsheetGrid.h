// A small spreadsheet grid for the mapping dialogs. Columns and rows count
// from 1; row 0 is the header row and column 0 the row-header column. Cell
// operations address the cells named by Col and Row (the addressing cell,
// apart from the active cell that has the focus); -1 in either means every
// column or every row of the other. Cell formats given to a whole column
// (Row -1) or to every cell also apply to rows added later.
// Cell types: static text (read-only), edit cell, check box (value 1 ticked,
// 0 clear) and combo box (value the 0-based position of the chosen entry,
// -1 for a text not in the list; writing an entry's text chooses it; typing
// other texts only when the combo allows it).
// CheckChanged is raised for every change of a check box's value, by the
// operator or by code. KeyPress is raised for every character typed into the
// grid (Enter 13, Backspace 8, Ctrl+letter 1 to 26), text an input method
// commits included, one character at a time; a handler that sets the code
// to 0 swallows the key. A cell too narrow for its text shows the whole text
// as its tooltip. UI thread only.
#pragma once

#include <QStringList>
#include <QTableWidget>
#include <QVariant>
#include <QVector>

class SpreadsheetGrid : public QTableWidget {
    Q_OBJECT
public:
    enum class CellType { Edit, StaticText, CheckBox, ComboBox };
    enum class HAlign { Left, Center };

    explicit SpreadsheetGrid(QWidget *parent = nullptr);
    ~SpreadsheetGrid() override;

    int MaxCols() const { return columnCount(); }
    void setMaxCols(int cols);
    int MaxRows() const { return rowCount(); }
    void setMaxRows(int rows);

    // The addressing cell.
    int Col() const { return m_col; }
    void setCol(int col) { m_col = col; }
    int Row() const { return m_row; }
    void setRow(int row) { m_row = row; }

    // Text and value of the addressed cell (the first one when a range is
    // addressed); writing them addresses every cell of the range. Row 0
    // holds the column headers.
    QString Text() const;
    void setText(const QString &text);
    QVariant Value() const;
    void setValue(const QVariant &value);
    void SetText(int col, int row, const QString &text);

    // Width in character units; 0 hides the column. Column 0 is the
    // row-header column.
    void setColWidth(int col, double units);
    double ColWidth(int col) const;
    bool isColumnShown(int col) const { return col >= 1 && col <= columnCount() && !isColumnHidden(col - 1); }

    // Formats of the addressed cells.
    void setCellType(CellType type);
    CellType cellType() const;
    // The entries of the addressed combo cells, in order, and whether the
    // operator may type a text that is not among them.
    void setComboList(const QStringList &entries);
    QStringList comboList() const;
    void setComboEditable(bool editable);
    void setHAlign(HAlign align);
    HAlign hAlign() const;
    // Texts of the addressed cells drawn centred in height.
    void setVCentred(bool centred);

    // The active cell gets the focus; a row or column out of range is
    // ignored.
    void SetActiveCell(int col, int row);
    int ActiveCol() const { return currentColumn() + 1; }
    int ActiveRow() const { return currentRow() + 1; }

    // Commits an open cell editor, so that reads see what was typed.
    void commitEditing();
    // Sends a key to the focused part of the grid as if typed (for example
    // Tab to move on to the next cell).
    void sendKey(int qtKey);
    void Refresh();

    // The cell of the grid at (col, row), for tests and the dialogs' own
    // drawing; nullptr outside the grid.
    QRect cellRect(int col, int row) const;

signals:
    void CheckChanged(int col, int row);
    void KeyPress(int *keyAscii);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    friend class SpreadsheetGridDelegate;
    struct Format {
        CellType type = CellType::Edit;
        QStringList entries;
        bool editable = false;
        HAlign align = HAlign::Left;
        bool vCentred = true;
    };
    // True when the key was swallowed (and replaced, if the handler said so).
    bool filterKey(QObject *target, QKeyEvent *event);
    // The same for the text an input method commits, character by character.
    bool filterCommit(QObject *target, QInputMethodEvent *event);
    // Shows the whole text of a cell its column cuts; false for a cell that
    // shows all of it.
    bool showCutText(const QHelpEvent *event);
    QList<QTableWidgetItem *> addressed() const;
    QTableWidgetItem *cell(int col, int row) const;
    void applyFormat(QTableWidgetItem *item, const Format &format);
    Format formatOf(const QTableWidgetItem *item) const;
    template <typename F>
    void forAddressedFormats(F change);
    void onItemChanged(QTableWidgetItem *item);
    int charWidth() const;

    int m_col = 1;
    int m_row = 1;
    Format m_allFormat;
    QVector<Format> m_colFormats;  // index col - 1
    int m_quiet = 0;
    QWidget *m_editor = nullptr;
    QPersistentModelIndex m_editorIndex;
};
