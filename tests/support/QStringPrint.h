// Readable QString values in test failures.
#pragma once

#include <ostream>

#include <QString>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
