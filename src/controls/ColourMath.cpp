#include "controls/ColourMath.h"

#include <cmath>

#include <QGuiApplication>
#include <QPalette>

namespace colour {

QColor toQColor(Value c) { return QColor(red(c), green(c), blue(c)); }

Value fromQColor(const QColor &c) { return rgb(c.red(), c.green(), c.blue()); }

int roundHalfEven(double x) { return int(std::nearbyint(x)); }

namespace {

// System colour index -> palette colour. Indices without a palette
// counterpart are not translatable.
bool systemColour(int index, QColor *out) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 1:
    case 4:
    case 15: *out = pal.color(QPalette::Button); return true;  // desktop, menu, button face
    case 2:
    case 13: *out = pal.color(QPalette::Highlight); return true;  // active caption, selection
    case 3:
    case 12: *out = pal.color(QPalette::Mid); return true;  // inactive caption, workspace
    case 5: *out = pal.color(QPalette::Base); return true;  // window
    case 6:
    case 21: *out = pal.color(QPalette::Shadow); return true;  // frame, dark shadow
    case 7:
    case 8: *out = pal.color(QPalette::WindowText); return true;  // menu text, window text
    case 9:
    case 14: *out = pal.color(QPalette::HighlightedText); return true;  // caption text, selected text
    case 10:
    case 11: *out = pal.color(QPalette::Midlight); return true;                  // borders
    case 16: *out = pal.color(QPalette::Dark); return true;                      // button shadow
    case 17: *out = pal.color(QPalette::Disabled, QPalette::Text); return true;  // grey text
    case 18: *out = pal.color(QPalette::ButtonText); return true;                // button text
    case 19: *out = pal.color(QPalette::Disabled, QPalette::WindowText); return true;
    case 20: *out = pal.color(QPalette::Light); return true;     // button highlight
    case 22: *out = pal.color(QPalette::Midlight); return true;  // 3-D light
    case 23: *out = pal.color(QPalette::ToolTipText); return true;
    case 24: *out = pal.color(QPalette::ToolTipBase); return true;
    default: return false;
    }
}

int clampChannel(int v, bool upper) {
    if (upper) return v > 255 ? 255 : v;
    return v < 0 ? 0 : v;
}

}  // namespace

Value translate(Value c) {
    if (isSystemRef(c)) {
        if ((c & 0x7FFFFF00u) != 0) return kInvalid;
        QColor q;
        return systemColour(int(c & 255), &q) ? fromQColor(q) : kInvalid;
    }
    if ((c >> 24) != 0) return kInvalid;
    return c;
}

Value shift(Value c, float factor) {
    // The product is formed from the single-precision factor, so 0.3 gives
    // 76.50000304 and black shifted by 0.3 is 77, not 76.
    const double amount = double(factor) * 255.0;
    const bool up = factor > 0;
    const int r = clampChannel(roundHalfEven(red(c) + amount), up);
    const int g = clampChannel(roundHalfEven(green(c) + amount), up);
    const int b = clampChannel(roundHalfEven(blue(c) + amount), up);
    // Only the bound the shift moves towards is tested; the other side
    // cannot be crossed by a move away from it.
    return Value(r) + Value(g) * 256u + Value(b) * 65536u;
}

Value mean(Value a, Value b) {
    return rgb(roundHalfEven((red(a) + red(b)) / 2.0), roundHalfEven((green(a) + green(b)) / 2.0),
               roundHalfEven((blue(a) + blue(b)) / 2.0));
}

Value grey(Value c) {
    const int g = roundHalfEven((red(c) + green(c) + blue(c)) / 3.0);
    return rgb(g, g, g);
}

Value lighten(Value c, int amount) {
    auto up = [amount](int v) { return v + amount > 255 ? 255 : v + amount; };
    return rgb(up(red(c)), up(green(c)), up(blue(c)));
}

}  // namespace colour
