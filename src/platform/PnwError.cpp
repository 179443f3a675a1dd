#include "platform/PnwError.h"

PnwError::PnwError(int number, const QString &source, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number), m_source(source), m_description(description) {}
