// The child's side: reads one file through the Jet reader (every table,
// every row) and through the server's OpenDataSource (SELECT * of each
// table) and prints the digest (Digest.h) on stdout, "END" last.
#pragma once

#include <string>

namespace jetmutants {

// names: a file listing further table names to ask the server for (one a
// line), or "". instance: a server instance folder made by makeInstance, or
// "" for a fresh one in a temporary folder.
int readOne(const std::string &file, const std::string &names, const std::string &instance);

// A server instance with ad hoc queries switched on, for the children.
void makeInstance(const std::string &folder);

}  // namespace jetmutants
