// Pictures of the wizard's main window, drawn in code so the program carries
// no image files. Both are pure functions of their arguments.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

class WizardPictures {
public:
    static constexpr int BannerWidth = 890;
    static constexpr int BannerHeight = 98;
    // Colour of the banner's whole right part; the title bar's button box
    // sits there on a near-identical blue, so the two read as one band.
    static QColor bannerBaseColor() { return QColor(49, 113, 200); }
    // From this column to the right edge the banner is bannerBaseColor() only.
    static constexpr int BannerPlainFrom = 560;

    // The 890 x 98 title banner: a deeper blue at the left easing into the
    // base colour, with a few soft light arcs behind the title.
    static QImage banner();

    // The step list's highlight for an item of the given size: a lighter
    // blue face, an amber bar at the left and a white pointer at the right.
    // Null image for an empty size.
    static QImage stepHighlight(const QSize &size);
};
