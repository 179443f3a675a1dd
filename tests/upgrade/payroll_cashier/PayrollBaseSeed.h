// What the payroll step reads of the base data (department and employee
// items, t_Department, t_Emp and the group, duty and degree lists of
// t_SubMessage), written straight from the staging copies of the sample.
// The base-data step is not part of these tests yet; this seeds the rows
// it would leave: items numbered by the source codes, help codes "HC" +
// number, groups as FInterID 100 + group number (FID the group number),
// duties 200 + and degrees 300 + their rank by code (FID the code), and
// genders by the seeded 1 (male) and 2 (female).
#pragma once

#include <QString>

// The batch that writes the rows above into the target.
QString PayrollBaseSeedSql();
