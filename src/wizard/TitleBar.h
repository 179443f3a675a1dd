// The frameless main window's title bar: the banner `pic_Top` across the
// whole width, the two title labels `lbl_Title` (indices 0 and 1) on it, and
// at the right the box `picForm` with the drawn minimise and close buttons.
// The host embeds it at the top of the window, as wide as the window, and
// connects closeRequested() to its own closing (which may ask questions and
// keep the window open). Minimising and dragging act on window() directly.
// UI thread only.
#pragma once

#include <functional>

#include <QPoint>
#include <QWidget>

#include "wizard/TitleButtons.h"

class QLabel;
class QWindow;

class TitleBar : public QWidget {
    Q_OBJECT
public:
    explicit TitleBar(QWidget *parent = nullptr);

    static constexpr int TwipsPerPixel = TitleButtons::TwipsPerPixel;
    // Designed banner height, 1695 twips.
    static constexpr int BarHeight = 113;

    QLabel *pic_Top() const { return m_picTop; }
    QLabel *lbl_Title(int index) const;  // index 0 or 1; nullptr otherwise
    QWidget *picForm() const { return m_picForm; }
    // The box's background, set at every resize.
    QColor picFormBackColor() const { return m_picFormBackColor; }

    // Mouse buttons and shift keys as bit sets (1 left, 2 right, 4 middle;
    // 1 shift, 2 control, 4 alt); X and Y in twips from the top-left of
    // picForm. The widget's own mouse events come here converted.
    void picForm_MouseMove(int button, int shift, double x, double y);
    void picForm_MouseDown(int button, int shift, double x, double y);
    // Asks picForm to repaint from the current flags.
    void picForm_Paint();
    // The drag: with the left button held, hands the window to the system's
    // move. Other buttons do nothing.
    void pic_Top_MouseMove(int button, int shift, double x, double y);
    void lbl_Title_MouseMove(int index, int button, int shift, double x, double y);

    // The four flags; set only by mouse moves (and presses) over picForm.
    // A button keeps its look until the pointer next moves over picForm.
    bool closeHot() const { return m_CloseHot; }
    bool closePressed() const { return m_ClosePressed; }
    bool minHot() const { return m_MinHot; }
    bool minPressed() const { return m_MinPressed; }
    TitleButtons::State closeState() const { return TitleButtons::stateOf(m_CloseHot, m_ClosePressed); }
    TitleButtons::State minState() const { return TitleButtons::stateOf(m_MinHot, m_MinPressed); }

    // Seam for the system move: called with the window's handle, returns
    // whether the system took the move over. The default calls
    // QWindow::startSystemMove(); when it returns false (platforms without
    // it) the bar moves the window itself while the button is held.
    using SystemMove = std::function<bool(QWindow *)>;
    void setSystemMove(SystemMove move);

    // Qt mouse buttons and modifiers as the bit sets above.
    static int buttonBits(Qt::MouseButtons buttons);
    static int shiftBits(Qt::KeyboardModifiers modifiers);

signals:
    // A left press on the close button: the host closes (or keeps) itself.
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintButtons();
    void dragMove(int button);
    bool isDragSource(QObject *watched) const;

    QLabel *m_picTop;
    QLabel *m_lblTitle[2];
    QWidget *m_picForm;
    QColor m_picFormBackColor = TitleButtons::boxColor();

    bool m_CloseHot = false;
    bool m_ClosePressed = false;
    bool m_MinHot = false;
    bool m_MinPressed = false;

    SystemMove m_systemMove;
    // One system-move attempt per press; the fallback moves by the offset
    // from the press.
    bool m_dragStarted = false;
    bool m_manualDrag = false;
    bool m_havePress = false;
    QPoint m_pressGlobal;
    QPoint m_lastGlobal;
    QPoint m_windowAtPress;
};
