// The title bar's drawn minimise and close buttons: their hot areas and their
// painting. Coordinates are twips from the top-left of the button box
// (15 twips per pixel at 96 dpi); every line is one pixel wide and runs from
// its first point up to, not including, its second, which leaves each outer
// frame with one-pixel cut corners. Pure drawing, no widget state.
#pragma once

#include <QColor>

class QPainter;

class TitleButtons {
public:
    enum class State { Normal, Hot, Pressed };
    enum class Button { Close, Minimize };

    static constexpr int TwipsPerPixel = 15;
    // The button box, as designed.
    static constexpr int BoxWidthTwips = 1215;
    static constexpr int BoxHeightTwips = 1695;
    static QColor boxColor() { return QColor(49, 113, 206); }

    // Hot areas; the bounds are strict, a pointer on a bound is outside.
    // They are not the drawn outlines: the minimise area reaches 100 twips
    // left of its button, and between x = 570 and 630 nothing is hot.
    static bool inCloseArea(double x, double y) { return x > 630 && x < 1040 && y > 75 && y < 315; }
    static bool inMinimizeArea(double x, double y) { return x > 50 && x < 570 && y > 75 && y < 315; }

    // Normal without the hot flag, pressed with both flags, else hot.
    static State stateOf(bool hot, bool pressed);

    // Face colours of a button in a state: the six upper lines share one
    // colour, the seven lower lines take the gradient, top to bottom.
    static QColor upperColor(Button button, State state);
    static QColor gradientColor(Button button, State state, int line);  // line 0..6

    // Draws the close button, then the minimise button, each frame, inner
    // edge, face and glyph. The caller has cleared the box beforehand.
    static void paint(QPainter &p, State close, State minimize);

    // One-pixel line between twip points, the second point left out. Only
    // horizontal and vertical lines occur.
    static void line(QPainter &p, int x1, int y1, int x2, int y2, const QColor &color);
};
