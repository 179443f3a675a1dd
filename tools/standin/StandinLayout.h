// Lays out a stand-in Professional installation with its server instance
// into one folder:
//   <folder>/product    the product folder (registry "Path")
//   <folder>/common     CommonProgramFiles (Vantora/VEQ/DBConfig.veq)
//   <folder>/sql/<NAME> the server instance (MSSQLSERVER by default)
//   <folder>/registry.txt, <folder>/data
// The instance gets the login, AcctCtl, and the base account set's backups
// (the base database itself is dropped again).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "StandinOptions.h"

class StandinLayout {
public:
    struct Result {
        // Environment variables a run on this installation needs, in order.
        std::vector<std::pair<std::string, std::string>> environment;
        // What could not be done (a failed batch, a missing engine feature);
        // empty when the installation is complete.
        std::vector<std::string> problems;
        std::string productFolder, commonFolder, instanceFolder, registryFile, dataFolder;
    };

    // Throws std::runtime_error when the folder cannot be laid out at all
    // (an instance is there already, files cannot be written).
    static Result run(const StandinOptions &options);
    // The environment a run on an installation laid out in folder needs.
    static std::vector<std::pair<std::string, std::string>> environmentOf(const std::string &folder);

    // The encoded login texts of the server configuration file.
    static std::string encode2015(const std::string &text);  // DES-CBC, Base64
    static std::string encodeOld(const std::string &text);   // the update component's form
};
