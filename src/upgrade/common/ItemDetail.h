// Item-detail combinations: an account, voucher entry, balance or
// transaction of the target names its auxiliary items through one
// FDetailID of T_ItemDetail (one column "F" + target class per item class:
// the item's FItemID, -1 for every item, 0 when the class is not part of
// it) with one T_ItemDetailV row per class. These routines find or create
// the combination for the items of one source row.
//
// Business units: the nature of the row's account (g_SubLedgerNatures)
// decides the target classes, one rule for accounts and entries alike:
// 0 customer (class 1), 1 supplier (class 8), 2 both (classes 1 and 8).
// UI thread only.
#pragma once

#include <QString>

class clsDataInfo;

// The business-unit nature of an account: 0 customer, 1 supplier, 2 both
// (also for an account the check recorded nothing for).
int GetSubLedgerNature(const QString &account);
// The target item class of a source class: 1 -> 1 for a customer account,
// else 8; 2 and 3 unchanged; a custom class -> the class the custom-class
// phase made of it (0 when unmapped). item is not used.
int MapItemClassID(int sourceClass, const QString &item, const QString &account);
// FItemID of the item of itemClass whose short number (dots removed on both
// sides) is shortNumber; 0 for none, -2 on failure.
int GetItemIDByShortNumber(clsDataInfo &dataInfo, const QString &connectString, int itemClass,
                           const QString &shortNumber);

// The combination of one item ("*" = every item of the class) of a source
// class, on account; -1 with message set on failure (an item that was not
// converted included).
int HookSingleItemDetail(clsDataInfo &dataInfo, const QString &connectString, int itemClass, const QString &item,
                         const QString &account, QString &message);
// The combination of a row's item of itemClass plus its business unit,
// department and employee ("" or "*" adds no class); -1 with message set
// on failure.
int HookMultiItemDetail(clsDataInfo &dataInfo, const QString &connectString, const QString &account, int itemClass,
                        const QString &item, const QString &businessUnit, const QString &department,
                        const QString &employee, QString &message);
