// The wizard's drawn progress bar. The hosts and the foundation's progress
// helpers drive it only through these properties; every write stores the
// clamped value, announces the change and redraws at once, so a host sees the
// new state drawn when the write returns. The bar draws into an image of its
// own, which the widget shows; a rounded bar also clips the widget to its
// rounded outline. UI thread only.
#pragma once

#include <array>

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include "controls/ColourMath.h"

class PropertyBag;

class ProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Text2 READ Text2 WRITE setText2)
    Q_PROPERTY(int BarType READ BarType WRITE setBarType)
    Q_PROPERTY(int RoundedValue READ RoundedValue WRITE setRoundedValue)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Theme READ Theme WRITE setTheme)
    Q_PROPERTY(int TextStyle READ TextStyle WRITE setTextStyle)
    Q_PROPERTY(int Orientations READ Orientations WRITE setOrientations)
    Q_PROPERTY(int TextAlignment READ TextAlignment WRITE setTextAlignment)
    Q_PROPERTY(uint TextEffectColor READ TextEffectColor WRITE setTextEffectColor)
    Q_PROPERTY(int TextEffect READ TextEffect WRITE setTextEffect)
    Q_PROPERTY(uint TextForeColor READ TextForeColor WRITE setTextForeColor)
    Q_PROPERTY(QFont TextFont READ TextFont WRITE setTextFont)
    Q_PROPERTY(uint PBSCustomeColor1 READ PBSCustomeColor1 WRITE setPBSCustomeColor1)
    Q_PROPERTY(uint PBSCustomeColor2 READ PBSCustomeColor2 WRITE setPBSCustomeColor2)
public:
    // A new bar gets the creation defaults (range 0..100 at 50, theme 1,
    // centred text with a shadow, the application font).
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

    // 0 flat, anything else rounded with a rounded widget outline.
    int BarType() const { return m_barType; }
    void setBarType(int v);
    // Corner size of a rounded bar.
    int RoundedValue() const { return m_roundedValue; }
    void setRoundedValue(int v);
    // False draws every colour grey. Also follows the widget's enabled state.
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool v);
    // Colour theme 1..10; 10 builds its colours from the two custom colours.
    int Theme() const { return m_theme; }
    void setTheme(int v);
    // Main text: 1 the value, 2 the percentage, 3 Text, else none.
    int TextStyle() const { return m_textStyle; }
    void setTextStyle(int v);
    // 1 horizontal (fills from the left), 2 vertical (fills from the top).
    int Orientations() const { return m_orientations; }
    void setOrientations(int v);
    // Position 1..9 of the main text: columns left, centre, right; rows top,
    // middle, bottom within each column.
    int TextAlignment() const { return m_textAlignment; }
    void setTextAlignment(int v);
    colour::Value TextEffectColor() const { return m_textEffectColor; }
    void setTextEffectColor(colour::Value v);
    // 1 plain, 2 raised, 3 sunken, 4 outline, 5 shadow, else no text at all.
    int TextEffect() const { return m_textEffect; }
    void setTextEffect(int v);
    colour::Value TextForeColor() const { return m_textForeColor; }
    void setTextForeColor(colour::Value v);
    // Font of both texts; also made the widget's font.
    QFont TextFont() const { return m_textFont; }
    void setTextFont(const QFont &f);
    colour::Value PBSCustomeColor1() const { return m_custom1; }
    void setPBSCustomeColor1(colour::Value v);
    colour::Value PBSCustomeColor2() const { return m_custom2; }
    void setPBSCustomeColor2(colour::Value v);

    // Creation defaults, each set through its write operation.
    void InitProperties(const QFont &ambientFont);
    // Loading: every stored key through its write operation, an unreadable
    // entry skipped; Text and Text2 start empty whatever the bag holds.
    void ReadProperties(const PropertyBag &bag, const QFont &ambientFont);
    // Saving: every key with its default, so defaults are left out.
    void WriteProperties(PropertyBag &bag, const QFont &ambientFont) const;
    void About() {}

    // Two-colour rectangle gradient between (Left, Top) and the right and
    // bottom edges (Width, Height); Direction 1 top to bottom, 0 left to right.
    static void GradientTwoColour(QImage &image, int Direction, colour::Value StartColor, colour::Value EndColor,
                                  int Left, int Top, int Width, int Height);
    // Row by row: the left and right edge colours run from the top corner
    // colours to the bottom ones, each row a left-to-right gradient.
    static void DrawGradientFourColour(QImage &image, int Left, int Top, int Width, int Height,
                                       colour::Value TopLeftColour, colour::Value TopRightColour,
                                       colour::Value BottomLeftColour, colour::Value BottomRightColour);

    // What the main text shows for the current TextStyle ("" for none).
    QString mainText() const;
    // Top-left corner at which a text is printed at an alignment 1..9 (any
    // other alignment prints at the origin).
    QPoint textOrigin(const QString &text, int alignment) const;

    // The theme colours C0..C8 of the last redraw.
    const std::array<colour::Value, 9> &themeColours() const { return m_colours; }
    // The drawn bar, as the widget shows it.
    const QImage &image() const { return m_image; }
    QSize sizeHint() const override { return QSize(200, 21); }

    // How many times the bar has been drawn; lets tests see "redraws at once".
    int redrawCount() const { return m_redraws; }

signals:
    // Raised after a property was stored, under the property's own name.
    void propertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Rebuilds the bar's image from the current state.
    virtual void redraw();
    void changed(const QString &name);

private:
    void loadThemeColours();
    void printBarText(QImage &image, const QString &text, int alignment) const;

    int m_min = 0;
    int m_max = 100;
    int m_value = 50;
    QString m_text;
    QString m_text2;
    int m_barType = 0;
    int m_roundedValue = 0;
    bool m_enabled = true;
    int m_theme = 0;
    int m_textStyle = 0;
    int m_orientations = 0;
    int m_textAlignment = 0;
    colour::Value m_textEffectColor = 0;
    int m_textEffect = 0;
    colour::Value m_textForeColor = 0;
    QFont m_textFont;
    colour::Value m_custom1 = 0;
    colour::Value m_custom2 = 0;
    std::array<colour::Value, 9> m_colours{};
    QImage m_image;
    int m_redraws = 0;
};
