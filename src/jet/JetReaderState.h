// Internal state shared by JetReader and its cursors.
#pragma once

#include <mdbtools.h>

#include <memory>
#include <string>
#include <vector>

#include "jet/JetFileCheck.h"
#include "jet/JetTableInfo.h"

namespace jet {

struct JetReaderState {
    std::string path;
    int fd = -1;
    std::unique_ptr<JetFileCheck> check;
    MdbHandle *mdb = nullptr;
    std::vector<JetTableInfo> tables;
    std::vector<MdbCatalogEntry *> entries;  // parallel to tables

    ~JetReaderState();
};

}  // namespace jet
