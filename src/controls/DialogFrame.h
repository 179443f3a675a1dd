// The frame of the program's small modal dialogs: a borderless window of a
// fixed size with rounded corners (20 x 20 ellipses), a title band with its
// caption, a close picture at the right of the band and a thin edge. The
// band and the caption (and any handle a dialog adds) drag the window.
//
// Calling protocol: the caller creates the dialog, sets its inputs, shows it
// modally (exec, or DialogSeam in the dialogs library), and reads its
// outputs once it is hidden. Load() runs once, when the dialog is first
// shown (or when a test calls ensureLoaded()), so inputs set before the
// show are seen by it. A dialog ends its modal run only by hiding itself.
// UI thread only.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

class QLabel;
class zqbutton;

class DialogFrame : public QDialog {
    Q_OBJECT
public:
    // clientSize is the fixed size of the window; titleHeight the height of
    // the title band.
    DialogFrame(const QString &caption, QSize clientSize, int titleHeight = 25, QWidget *parent = nullptr);

    QLabel *imgTitle() const { return m_title; }
    QLabel *lblCaption() const { return m_caption; }
    QLabel *ImgClose() const { return m_close; }

    // Lets a press of the left button on the widget drag the window.
    void addDragHandle(QWidget *handle);
    bool isDragHandle(const QObject *object) const;

    // Runs Load() unless it ran already.
    void ensureLoaded();
    bool isLoaded() const { return m_loaded; }

    // Ends the modal run (or the scripted show) by hiding the dialog.
    void hideDialog();

    // Escape does nothing unless set: then it acts as the close picture.
    void setEscapeCloses(bool closes) { m_escapeCloses = closes; }
    // The button that Enter presses when the control with the focus has no
    // use for Enter. It shows the focus look while no other button of the
    // dialog has the focus; a button that has it is the one Enter presses.
    void setDefaultButton(zqbutton *button);
    zqbutton *defaultButton() const { return m_default; }

signals:
    // The close picture was clicked with the left button.
    void closeClicked();

protected:
    // The dialog's own filling from its inputs; the frame is set up by then.
    virtual void Load() {}
    // A close request of the window system (not the close picture). By
    // default the same as a click on the close picture.
    virtual void closeRequested() { emit closeClicked(); }

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyOutline();
    void showDefaultLook(QWidget *focused);
    void beginDrag(const QPoint &globalPos);

    int m_titleHeight;
    QLabel *m_title;
    QLabel *m_caption;
    QLabel *m_close;
    QList<QWidget *> m_handles;
    bool m_loaded = false;
    bool m_escapeCloses = false;
    zqbutton *m_default = nullptr;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
