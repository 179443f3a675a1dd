// The account sets that the Professional edition knows. UI thread only.
#pragma once

#include <optional>

#include "platform/ado/Recordset.h"

// Deletes the registry rows of AcctCtl whose database is gone from the
// server (a failed delete is only text-logged), then lists the rest with
// their database type's FDBMSName and FVersion (as FDBVersion), ordered by
// FAcctNumber. Failures of the listing are raised (ado::AdoError); server
// error 7303 gives no recordset.
std::optional<ado::Recordset> PurgeAndListAccounts();
