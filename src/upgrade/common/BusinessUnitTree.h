// Business units of the source are one tree of class-1 items; the target
// needs each as a customer, a supplier or both. These routines say which
// unit is used on which account and build the node records of all units
// with three lists: the customer tree, the supplier tree and the units the
// usage leaves undecided, each unit preceded by its ancestors (top down).
//
// Node record (a PnwDictionary, keys case-insensitive):
//   FObjID       node identifier: the own codes from the top joined by ".",
//                a "." inside an own code kept apart from those joins (see
//                NodeDisplayID), so that every unit has its own identifier
//   FParentID    the parent's node identifier, "0" for a top-level unit
//   FObjName     the unit's name
//   FShortObjID  the unit's own code
//   FFullObjName the names from the top down joined by "_"
//   FFullPath    the source's FFullPath
//   FNumber      the own codes without their dots, joined by "."
// UI thread only.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "foundation/clsDataInfo.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"
#include "platform/ado/Recordset.h"

// (FObjID, FAcctID) pairs of business units used in vouchers and balances,
// ordered by unit and account; no recordset on any failure.
std::optional<ado::Recordset> GetUsedBusinessUnits(clsDataInfo &dataInfo, const QString &connectString);

// Builds the node pool from units (FObjID, FObjName, FParentID ("*" for a
// top unit), FFullPath; parents before children) and fills the three lists
// (emptied first). customerKeys and supplierKeys are keyed by own codes.
// A unit whose parent is not among the units is attached at the top; its
// "code name" goes into detached when given. False when units is missing.
// Raises every error again with the routine's name added.
bool BuildBusinessUnitTreeData(ado::Recordset *units, PnwList &customerTree, PnwList &supplierTree, PnwList &undecided,
                               const PnwDictionary &customerKeys, const PnwDictionary &supplierKeys,
                               QStringList *detached = nullptr);

// A node identifier as the operator reads it: own codes and levels both
// joined by "." (a top unit "01.02" and "02" under "01" read alike).
QString NodeDisplayID(QString nodeID);

// The ancestors of a node found in pool, from the top down (empty for a
// top-level node or one that pool lacks).
PnwList GetAncestorNodes(const QString &nodeID, const PnwDictionary &pool);
// The pool records whose FParentID is nodeID.
int CountChildNodes(const QString &nodeID, const PnwDictionary &pool);
// Some record of list has FObjID nodeID.
bool NodeListContains(const PnwList &list, const QString &nodeID);
