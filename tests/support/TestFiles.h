// Whole files of bytes for the tests that write inputs and read outputs.
#pragma once

#include <QByteArray>
#include <QString>

// Writes a file's bytes, replacing what was there; a file that cannot be
// written fails the test.
void WriteFileBytes(const QString &path, const QByteArray &bytes);
// A file's bytes; empty when it cannot be read.
QByteArray ReadFileBytes(const QString &path);
