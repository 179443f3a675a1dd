#include "wizard/WizardFonts.h"

#include <QFontDatabase>

QString WizardFonts::firstInstalled(const QStringList &preferred, const QString &fallback) {
    const QStringList installed = QFontDatabase::families();
    for (const QString &name : preferred) {
        if (installed.contains(name, Qt::CaseInsensitive)) return name;
    }
    return fallback;
}

QString WizardFonts::heiFamily() {
    static const QString family =
        firstInstalled({QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("WenQuanYi Micro Hei"),
                        QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")},
                       QStringLiteral("WenQuanYi Micro Hei"));
    return family;
}

QString WizardFonts::songFamily() {
    // The serif CJK faces come first (the dependencies bring AR PL UMing);
    // the sans faces only where no serif one is installed.
    static const QString family =
        firstInstalled({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                        QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Micro Hei"),
                        QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")},
                       QStringLiteral("WenQuanYi Micro Hei"));
    return family;
}

QFont WizardFonts::titleFont() {
    QFont f(heiFamily());
    f.setPointSizeF(36);
    f.setBold(true);
    return f;
}

QFont WizardFonts::subtitleFont() {
    QFont f(songFamily());
    f.setPointSizeF(21.75);
    return f;
}

QFont WizardFonts::stepFont() {
    QFont f(heiFamily());
    f.setPointSizeF(10.5);
    f.setBold(true);
    return f;
}
