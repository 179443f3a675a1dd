// Renders every button style in every state, the wizard's buttons and
// progress bars, and the progress bar themes into one PNG, for looking at
// the drawn controls without running the wizard.
// Usage: controls_gallery OUT.png   (QT_QPA_PLATFORM=offscreen works)
#include <cstdio>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ProgressBar.h"
#include "controls/WizardControls.h"
#include "controls/zqbutton.h"

namespace {

void send(zqbutton &b, QEvent::Type type, Qt::MouseButton button) {
    QMouseEvent ev(type, QPointF(5, 5), QPointF(5, 5), button, button, Qt::NoModifier);
    QApplication::sendEvent(&b, &ev);
}

}  // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: controls_gallery OUT.png\n");
        return 2;
    }
    QImage sheet(520, 720, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int y = 5;
    for (int style = 0; style <= 13; ++style) {
        // normal, hot, pressed, disabled
        for (int state = 0; state < 4; ++state) {
            zqbutton b;
            b.resize(90, 23);
            b.setButtonStyle(style);
            b.setCaption(state == 3 ? QStringLiteral("Disabled") : QStringLiteral("S%1 &OK").arg(style));
            if (state >= 1 && state <= 2) send(b, QEvent::MouseMove, Qt::NoButton);
            if (state == 2) send(b, QEvent::MouseButtonPress, Qt::LeftButton);
            if (state == 3) b.setEnabled(false);
            b.RedrawButton();
            p.drawImage(5 + 100 * state, y, b.image());
        }
        y += 28;
    }
    using WizardControls::ButtonKind;
    int x = 5;
    for (auto [kind, caption] :
         {std::pair{ButtonKind::MainWindow, "下一步(&N)"}, std::pair{ButtonKind::SettingsPage, "选择账套"},
          std::pair{ButtonKind::Dialog, "确定"}}) {
        std::unique_ptr<zqbutton> b(WizardControls::makeButton(kind, QString::fromUtf8(caption), nullptr));
        b->resize(75, 23);
        b->RedrawButton();
        p.drawImage(x, y, b->image());
        x += 85;
    }
    zqbutton menu;
    menu.resize(90, 23);
    menu.setButtonStyle(8);
    menu.setCaption(QStringLiteral("Menu"));
    menu.setDropDownSymbol(6);
    menu.setDropDownSeparator(true);
    p.drawImage(x, y, menu.image());
    y += 30;
    for (int v : {0, 37, 100}) {
        std::unique_ptr<ProgressBar> bar(WizardControls::makeProgressBar(nullptr));
        bar->resize(400, 21);
        bar->setText(QString::fromUtf8("升级总账数据"));
        bar->setValue(v);
        bar->setText2(QStringLiteral("%1%").arg(v));
        p.drawImage(5, y, bar->image());
        y += 26;
    }
    for (int t = 1; t <= 10; ++t) {
        ProgressBar bar;
        bar.resize(240, 18);
        bar.setPBSCustomeColor1(colour::rgb(0, 100, 200));
        bar.setPBSCustomeColor2(colour::rgb(60, 60, 60));
        bar.setTheme(t);
        bar.setBarType(t % 2);
        bar.setValue(60);
        bar.setText(QStringLiteral("Theme %1").arg(t));
        p.drawImage(5 + ((t - 1) % 2) * 250, y, bar.image());
        if (t % 2 == 0) y += 22;
    }
    ProgressBar vertical;
    vertical.resize(30, 80);
    vertical.setOrientations(2);
    vertical.setBarType(1);
    vertical.setTheme(8);
    vertical.setValue(40);
    vertical.setTextStyle(0);
    p.drawImage(5, y + 4, vertical.image());
    p.end();
    return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
