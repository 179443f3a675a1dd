// Qt's own texts (the stock buttons of message boxes, the file dialog) in
// the program's language, from the Qt translations installed with Qt.
#pragma once

// Loads Qt's Simplified Chinese translations into the application; false
// when they are not installed (Qt's English texts stay).
bool InstallQtTranslations();
