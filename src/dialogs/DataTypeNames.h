// The payroll item data types as the payroll dialogs show them: codes of
// the ADO data-type enumeration and their names.
#pragma once

#include <array>

#include <QString>

namespace DataTypeNames {

// The six types offered, in the order of every list.
inline constexpr std::array<int, 6> kOffered = {11, 135, 200, 3, 5, 6};

// The name of any data-type code ("其他" for codes without one).
QString GetDataTypeName(int code);

}  // namespace DataTypeNames
