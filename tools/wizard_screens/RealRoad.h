// The wizard's real road on the installation the environment points at
// (laid out by the stand-in tool): the real services, one source account
// set, a picture of the window at each step and while the check runs.
#pragma once

#include <QString>

// Saves step pictures of a run on source into out; 0 when the run reached
// its last page, else 1 (the reason on stderr).
int RunRealRoad(const QString &out, const QString &source, const QString &acctNum);
