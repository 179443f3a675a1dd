// The drawn controls as the wizard's windows carry them: the stored design
// of every button (style 8 on the light blue base) and the look of the
// progress bars. Hosts create their controls here and then only set
// captions, texts, values and Enabled. UI thread only.
#pragma once

#include <QFont>
#include <QString>

#include "controls/ColourMath.h"

class ProgressBar;
class PropertyBag;
class QWidget;
class zqbutton;

namespace WizardControls {

// Where a button stands; the kinds differ in a few stored values.
enum class ButtonKind {
    Dialog,        // folder chooser and mapping dialogs
    SettingsPage,  // "选择账套" and "选择路径"
    MainWindow,    // next and previous: white caption on the darker run-time base
};

// The base colour the main window gives its two buttons at run time.
constexpr colour::Value kMainWindowBackColor = colour::rgb(76, 132, 203);

// The caption and text font of the wizard's controls (Chinese-capable).
QFont font();

// The stored property values of a button of the given kind.
PropertyBag buttonDesign(ButtonKind kind, const QString &caption);

// A button loaded from its stored design; a main-window button also gets
// the run-time base colour.
zqbutton *makeButton(ButtonKind kind, const QString &caption, QWidget *parent);

// The stored property values of the wizard's progress bars: theme 8,
// rounded, the step title at the middle left, the percentage (Text2) at the
// middle right, black text with a white shadow.
PropertyBag progressBarDesign();

// A progress bar loaded from that design (range 0..100 at 0, texts empty).
ProgressBar *makeProgressBar(QWidget *parent);

}  // namespace WizardControls
