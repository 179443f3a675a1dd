// Text spliced between apostrophes into a statement: every apostrophe is
// doubled, so the server stores the text exactly as given.
#pragma once

#include <QString>

inline QString SqlLiteral(QString text) { return text.replace(QLatin1Char('\''), QStringLiteral("''")); }
