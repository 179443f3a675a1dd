// The built sample source files (build/samples/<set>/) as the tests use
// them: copied into a test's own folder, hashed to show a run left them
// unchanged, and opened as the program's engine opens a source.
#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

namespace dao {
class Database;
}

// Copies a sample ("standard" or "mini") to <folder>/<sample>.ais, replacing
// an earlier copy; with workgroup its system.mda beside it, else any
// system.mda there is removed. The copy's path, "" when it cannot be made.
QString CopySample(const QString &sample, const QString &folder, bool workgroup);
// SHA-256 of a file's bytes; empty when it cannot be read.
QByteArray FileHash(const QString &path);
// Opens a source with the workgroup file beside it and the sources' login.
std::unique_ptr<dao::Database> OpenSourceFile(const QString &ais);
