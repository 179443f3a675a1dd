#include "controls/RoundRegion.h"

#include <algorithm>
#include <cmath>

QRegion roundRectRegion(int left, int top, int right, int bottom, int cornerW, int cornerH) {
    QRegion region;
    if (right <= left || bottom <= top) return region;
    const double rx = std::min(cornerW, right - left) / 2.0;
    const double ry = std::min(cornerH, bottom - top) / 2.0;
    for (int y = top; y < bottom; ++y) {
        // Distance of the row from the nearer edge, sampled a quarter pixel
        // inside, so that a three-pixel corner loses exactly its corner pixel.
        const int k = std::min(y - top, bottom - 1 - y);
        int inset = 0;
        if (ry > 0 && rx > 0 && k < ry) {
            const double t = (ry - k - 0.25) / ry;
            inset = int(std::floor(rx * (1.0 - std::sqrt(std::max(0.0, 1.0 - t * t))) + 0.5));
        }
        const int w = right - left - 2 * inset;
        if (w > 0) region += QRect(left + inset, y, w, 1);
    }
    return region;
}
