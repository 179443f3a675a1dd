// What the stand-in installation looks like: the folder, the installed
// version, the server's settings, and the faults a test may ask for.
#pragma once

#include <string>

struct StandinOptions {
    std::string folder;  // everything goes below it
    std::string source;  // the authored standin/ folder ("" = the project's own)
    std::string installedVersion = "14.1";
    std::string versionText;   // the server's @@VERSION ("" = the engine's default)
    std::string providers;     // ';'-separated OLE DB providers ("" = the engine's default)
    std::string instanceName;  // "" = the default instance MSSQLSERVER
    std::string login = "sa";
    std::string password = "VEQ#2015sa";
    // Broken installations for tests.
    bool noDbConfig = false;      // no DBConfig.veq
    bool shortDbb = false;        // backup description files of four lines
    bool missingBak = false;      // no backup files
    bool unreadableList = false;  // CreateDB.lst cannot be read
};
