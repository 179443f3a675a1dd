// The one error type raised across the system's layers: a number, the place
// that raised it and a description (a raised error with number, source
// and description). Catch it at module borders and turn it into a result there.
#pragma once

#include <stdexcept>

#include <QString>

class PnwError : public std::runtime_error {
public:
    PnwError(int number, const QString &source, const QString &description);

    int number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

private:
    int m_number;
    QString m_source;
    QString m_description;
};
