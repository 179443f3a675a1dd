// One entry of the wizard's step list: a blue box with a centred white
// caption and a highlight picture marking the current step. It raises Click
// only while its own Enabled property holds "True"; the main window's items
// are stored disabled, so there the list only displays where the wizard is.
// UI thread only.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

class QLabel;

class Navigation : public QWidget {
    Q_OBJECT
public:
    explicit Navigation(QWidget *parent = nullptr);

    static QColor backColor() { return QColor(76, 132, 203); }

    // Shown centred in the caption label; setting it redoes the layout,
    // which hides the highlight until Actived is set again.
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // Stored and laid out, never shown.
    QString Step() const { return m_step; }
    void setStep(const QString &step);

    // The item's own flag, held as the text "True" or "False". Kept apart
    // from QWidget::setEnabled: a disabled item still shows, it only stops
    // raising Click.
    bool Enabled() const { return m_enabled == QLatin1String("True"); }
    QString EnabledText() const { return m_enabled; }
    void setEnabledProperty(bool enabled);

    // Shows the highlight picture when true, hides it when false.
    bool Actived() const { return m_actived; }
    void setActived(bool actived);

    // The stored value nothing else uses; read and written back unchanged.
    QVariant NextVisible() const { return m_nextVisible; }

    // Property bag of the hosting form. Writing leaves out every value equal
    // to its default; reading takes the default for a name not stored (an
    // Enabled text other than True/False or a number counts as not stored)
    // and then lays the item out.
    QVariantMap writeProperties() const;
    void readProperties(const QVariantMap &bag);

    // The parts, for the host's tests and for rendering checks.
    QWidget *backgroundBox() const;
    QLabel *captionLabel() const { return m_lblCaption; }
    QLabel *stepLabel() const { return m_lblStep; }
    QLabel *highlightPicture() const { return m_picActive; }
    bool highlightVisible() const;

    // Reads a stored Enabled text: "True"/"False" in any case, or a number
    // (0 is false). False in *ok for anything else.
    static bool parseEnabledText(const QString &text, bool *ok);

signals:
    void Click();
    // Raised after a property was stored, under the property's own name.
    void propertyChanged(const QString &name);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void layoutItem();
    void followEnabled();

    QString m_caption = QStringLiteral("Navigation");
    QString m_step = QStringLiteral("0");
    QString m_enabled = QStringLiteral("True");
    bool m_actived = false;
    QVariant m_nextVisible = false;
    bool m_pressed = false;

    QLabel *m_picBack;
    QLabel *m_picActive;
    QLabel *m_lblStep;
    QLabel *m_lblCaption;
};
