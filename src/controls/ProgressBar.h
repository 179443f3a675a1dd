// The wizard's drawn progress bar. The hosts and the foundation's progress
// helpers drive it only through these properties; every write stores the
// clamped value, announces the change and redraws at once, so a host sees the
// new state drawn when the write returns. UI thread only.
#pragma once

#include <QString>
#include <QWidget>

class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget *parent = nullptr);

    // Range invariants after every write: 1 <= Max, 0 <= Min < Max,
    // Min <= Value <= Max. Out-of-range writes clamp, never fail.
    int Min() const { return m_min; }
    void setMin(int n);
    int Max() const { return m_max; }
    void setMax(int m);
    int Value() const { return m_value; }
    void setValue(int v);

    // Text and Caption are one stored text under two names.
    QString Text() const { return m_text; }
    void setText(const QString &text);
    QString Caption() const { return m_text; }
    void setCaption(const QString &text);
    // Second text, drawn at the right-hand end (the percentage).
    QString Text2() const { return m_text2; }
    void setText2(const QString &text);

    // How many times the bar has been drawn; lets tests see "redraws at once".
    int redrawCount() const { return m_redraws; }

signals:
    // Raised after a property was stored, under the property's own name.
    void propertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Rebuilds the bar's image from the current state.
    virtual void redraw();
    void changed(const QString &name);

private:
    int m_min = 0;
    int m_max = 100;
    int m_value = 50;
    QString m_text;
    QString m_text2;
    int m_redraws = 0;
};
