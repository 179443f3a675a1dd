// A source account set made from the standard sample's table text with cells
// of its options row (GLPref) replaced, written as a real .ais file with its
// workgroup file into a folder of the test's own.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include "jet/JetWriter.h"

// Writes "<folder>/variant.ais" and "<folder>/system.mda"; changes are column
// name and cell text ("\N" for NULL); a Text column given a longer text
// becomes a Memo column. Returns the .ais path.
QString BuildSampleVariant(const QString &folder, const QList<QPair<QString, QString>> &changes);
// The same, written with the writer's options (catalogue rows flagged
// deleted, ...).
QString BuildSampleVariant(const QString &folder, const QList<QPair<QString, QString>> &changes,
                           const jet::JetWriter::Options &options);
