// The batches of a T-SQL script file (UTF-8, split at "go" lines as the
// server's clients split them); none when the file cannot be read.
#pragma once

#include <QString>
#include <QStringList>

QStringList ScriptFileBatches(const QString &path);
