// A power cut for tests: a SQLite file system (VFS) over the default one
// that keeps, for every file it watches, what had reached the disk: the
// file's content at its last sync (none before the first). What was written
// after that, the operating system's cache only, is what a power cut loses.
// Install it before the files to watch are opened; it becomes the default
// file system of the process and passes everything through. Single-threaded.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace powercut {

// Makes the watching file system the default (once per process).
void Install();

// From now on, watches the files whose path starts with prefix (and only
// those): forgets earlier images and counts.
void Watch(const std::string &prefix);

// What a watched file held on disk: its content at its last sync, none when
// it was never synced or was deleted since.
std::optional<std::string> DiskImage(const std::string &path);

// Syncs of a watched file since Watch.
int Syncs(const std::string &path);

// For each watched file (key), writes its disk image to the path given as
// its value, or removes that path when the image is none: the files as a
// cut leaves them. False when a file cannot be written.
bool WriteImages(const std::map<std::string, std::string> &copies);

}  // namespace powercut
