// Font families of the wizard's windows. The designed faces ("黑体", "宋体")
// are Windows fonts; where they are missing the first installed CJK family of
// a fixed preference list stands in, so Chinese captions never fall back to
// boxes. The choice is made once per process.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class WizardFonts {
public:
    // The family used where the design asks for "黑体" (sans, bold titles).
    static QString heiFamily();
    // The family used where the design asks for "宋体" (the body face).
    static QString songFamily();

    // "黑体" 36 pt bold, the big title on the banner.
    static QFont titleFont();
    // "宋体" 21.75 pt, the subtitle on the banner.
    static QFont subtitleFont();
    // The step list's captions.
    static QFont stepFont();

    // First entry of `preferred` that is installed; `fallback` when none is.
    static QString firstInstalled(const QStringList &preferred, const QString &fallback);
};
