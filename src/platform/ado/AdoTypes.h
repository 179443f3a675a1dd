// ADO's enumeration values that the system's code uses.
#pragma once

namespace ado {

enum CursorLocationEnum { adUseServer = 2, adUseClient = 3 };
enum CursorTypeEnum { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenStatic = 3 };
enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };
enum CommandTypeEnum { adCmdUnknown = 8, adCmdText = 1 };
enum LockTypeEnum { adLockUnspecified = -1, adLockReadOnly = 1, adLockOptimistic = 3 };
enum ParameterDirectionEnum { adParamInput = 1 };

enum DataTypeEnum {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adBoolean = 11,
    adVariant = 12,
    adUnsignedTinyInt = 17,
    adBigInt = 20,
    adGUID = 72,
    adNumeric = 131,
    adDBTimeStamp = 135,
    adBinary = 128,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adLongVarBinary = 205,
};

}  // namespace ado
