#include "foundation/Messages.h"

int ShowMessage(const QString &prompt, int buttons, const QString &title) {
    return MessageBoxSeam::show(prompt, buttons, title);
}
