// The mapping columns of the staging copies: FZ8InterID (and FZ8InterID_2
// where a row yields two target records) hold the identifier of the target
// record a staged row became; NULL means not converted. These routines add,
// write and read them in the target through the caller's clsDataInfo. None
// raises: each turns a failure into its result. Key texts are quoted with
// their apostrophes doubled. UI thread only.
#pragma once

#include <QString>

class clsDataInfo;

// Adds columnName (INTEGER, no default) to tableName when missing; true
// when the batch ran (also when the column was there).
bool AddInterIDColumn(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                      const QString &columnName);

// Writes newID into FZ8InterID (FZ8InterID_2 when second) of every row whose
// keyColumn equals key; true when the statement ran (also with no match).
bool SetZ8InterIDByID(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                      const QString &keyColumn, int key, int newID, bool second);
bool SetZ8InterIDByName(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                        const QString &keyColumn, const QString &key, int newID, bool second);

// The mapped identifier of the first row with the key as decimal text; "0"
// for no row, a row not converted, or a failure.
QString GetZ8InterIDByID(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                         const QString &keyColumn, int key, bool second);
QString GetZ8InterIDByName(clsDataInfo &dataInfo, const QString &connectString, const QString &tableName,
                           const QString &keyColumn, const QString &key, bool second);

// An item of AIS_GLObj by its code (dots removed on both sides) and class;
// a business unit is always looked up in class 1, its supplier column
// (FZ8InterID_2) when which is 1. Returns the mapped identifier, 0 when no
// row has the code, -2 when the row is not converted or the query failed.
int GetObjZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int itemClass, const QString &objID, int which,
                    bool isBusinessUnit);
// Writes an item's mapping; item class 1 or 8 writes the business unit (class
// 1), its supplier column when which is 1.
bool SetObjZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int itemClass, const QString &objID,
                     int newID, int which);

// Writes the voucher's identifier on every entry row of the staged voucher.
bool SetVoucherZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int period, const QString &group,
                         int number, int voucherID);
// Writes the entry's identifier into FZ8InterID_2 of one entry row.
bool SetVoucherEntryZ8InterID(clsDataInfo &dataInfo, const QString &connectString, int period, const QString &group,
                              int number, int entry, int entryID);
