#include "Schema.h"

namespace samplegen {

namespace {

// Flags are Required: a Jet Yes/No is never NULL.
const char *const kTables[][2] = {
    {"GLPref",
     "FProgramVersion:Integer FDBVersion:Integer LastAppWriterID:Long FClosed:Boolean! FICClosed:Boolean! "
     "FPeriodsPerYear:Integer FStartYear:Integer FStartPeriod:Integer FCurrYear:Integer FCurrPeriod:Integer "
     "FDaysPerPeriod:Integer FBaseCy:Text(10) FAcctYearBeginMonth:Integer FAcctYearBeginDay:Integer "
     "FCompany:Text(80) FPhone:Text(40) FAddress:Text(80) FTax:Text(30) FBank:Text(80) FAisNo:Text(10) "
     "FCoType:Integer FPeriodByMonth:Integer FDeprMade:Boolean! FACLevels:Integer FACLen1:Integer FACLen2:Integer "
     "FACLen3:Integer FACLen4:Integer FACLen5:Integer FACLen6:Integer FACLen7:Integer FACLen8:Integer "
     "FACLen9:Integer FACLen10:Integer FCashAc:Text(20) FBankAc:Text(20) FBankCheck:Boolean! FTRClosedDate:DateTime"},
    {"GLPeriod", "FYear:Integer FPeriod:Integer FStartDate:DateTime FEndDate:DateTime"},
    {"GLUserGroup", "FUserGroupID:Integer FUserGroupName:Text(20)"},
    {"SysUsers", "FUser:Text(20)! FUID:Long FUserGroupID:Integer"},
    {"GLCy", "FCyID:Text(10)! FCyName:Text(20) FOper:Text(1) FBegRate:Double"},
    {"GLRate", "FCyID:Text(10) FPeriod:Integer FBegRate:Double"},
    {"GLVchGroup",
     "FGroup:Text(10)! FDRange:Text(50) FCRange:Text(50) FDCRange:Text(50) FNDRange:Text(50) FNCRange:Text(50) "
     "FNDCRange:Text(50) FOrder:Integer"},
    {"GLSettle", "FSettCode:Text(20)!"},
    {"GLUnit", "FUnit:Text(10)! FUnitAux:Text(10) FOper:Text(1) FCoef:Double"},
    {"GLAcct", "FAcctID:Text(20)! FAcctName:Text(40)! FHelperCode:Text(20) FGroup:Integer FDC:Text(1) FForCy:Text(10) "
               "FRateAdj:Boolean! FJrnl:Boolean! FDetail:Boolean! FIsCash:Boolean! FIsBankAc:Boolean! FBank:Boolean! "
               "FTrans:Boolean! FQtyAux:Boolean! FUnit:Text(10) FClsID:Integer FLevel:Integer FMutiCls:Boolean! "
               "FCustomer:Boolean! FDepartment:Boolean! FEmployee:Boolean!"},
    {"GLEmpGroup", "FEmpGroupID:Integer FEmpGroupName:Text(40)"},
    {"GLEmp",
     "FObjID:Text(20)! FAddress:Text(80) FBankAccount:Text(40) FSex:Integer FBirthday:DateTime FHireDate:DateTime "
     "FLeaveDate:DateTime FDegree:Text(10) FPhone:Text(20) FId:Text(20) FDuty:Text(10) FEmpGroup:Integer "
     "FDeptObjID:Text(20)"},
    {"GLDuty", "FDuty:Text(10)! FDutyName:Text(40)"},
    {"GLDegree", "FDegree:Text(10)! FDegreeName:Text(40)"},
    {"GLCls", "FClsID:Integer FClsName:Text(50) FObjTableName:Text(50)"},
    {"GLObj", "FClsID:Integer FObjID:Text(20)! FObjName:Text(40) FParentID:Text(20) FLevel:Integer FDetail:Boolean! "
              "FDeleted:Boolean! FFullPath:Text(255)"},
    {"GLCust", "FObjID:Text(20)! FAddress:Text(80) FZip:Text(10) FFax:Text(20) FPhone:Text(20) FContact:Text(20) "
               "FTax:Text(30) FBank:Text(80)"},
    {"GLExpGroup", "FExpGroupID:Integer FExpGroupName:Text(40)"},
    {"GLExp", "FExpID:Long FExp:Text(80) FExpGroupID:Integer"},
    {"GLRateAdjHist", "FPeriod:Integer FGroup:Text(10) FAcctID:Text(20) FClsID:Integer FObjID:Text(20) FCyID:Text(10) "
                      "FBalFor:Currency FBalBase:Currency FBalAdj:Currency FBegRate:Double FEndRate:Double"},
    {"GLVch",
     "FSerialNum:Long FDate:DateTime FPeriod:Integer FGroup:Text(10) FNum:Long FEntryID:Integer FAcctID:Text(20) "
     "FClsID:Integer FObjID:Text(20) FCustID:Text(20) FDeptID:Text(20) FEmplID:Text(20) FTransID:Text(20) "
     "FCyID:Text(10) FExchRate:Double FFCyAmt:Currency FPrice:Double FDebit:Currency FCredit:Currency FQty:Double "
     "FSettleCode:Text(20) FSettleNo:Text(30) FPreparer:Text(20) FChecker:Text(20) FPoster:Text(20) "
     "FModule:Text(10) FChecked:Boolean! FPosted:Boolean! FExp:Text(80) FAttachment:Integer FDue:Boolean! "
     "FDeleted:Boolean!"},
    {"GLVchDetail", "FPeriod:Integer FGroup:Text(10) FNum:Long FEntryID:Integer"},
    {"GLVchTemplate", "FID:Long FName:Text(40) FTypeID:Integer FVchGroup:Text(10) FAttachment:Integer"},
    {"GLVchTemplateType", "FTypeID:Integer FTypeName:Text(40)"},
    {"GLVchTemplate1",
     "FGroupID:Long FIndex:Integer FAcctID:Text(20) FClsID:Integer FObjID:Text(20) FCustID:Text(20) "
     "FDeptID:Text(20) FEmplID:Text(20) FCyID:Text(10) FExchRate:Double FFCyAmt:Currency FQty:Double "
     "FPrice:Double FDebit:Currency FCredit:Currency FSettleCode:Text(20) FSettleNo:Text(30) FExp:Text(80)"},
    {"GLRecur", "FRecurID:Long FRecurName:Text(40) FVchGroup:Text(10) FPeriods:Text(50)"},
    {"GLRecurEntry",
     "FRecurID:Long FEntryID:Integer FExp:Text(80) FAcctID:Text(20) FIsNew:Boolean! FClsID:Integer "
     "FObjID:Text(20) FDC:Text(1) FTransType:Integer FTransRate:Double FCyID:Text(10) FAmountFor:Text(255) "
     "FAmount:Text(255) FQty:Text(255)"},
    {"GLPnl", "FPeriod:Integer FAcctID:Text(20) FClsID:Integer FObjID:Text(20) FCyID:Text(10) FBase:Boolean! "
              "FAmt:Currency FYtd:Currency"},
    {"GLBal",
     "FAcctID:Text(20) FClsID:Integer FObjID:Text(20) FCyID:Text(10) FPeriod:Integer FBase:Boolean! "
     "FBegBal:Currency FDebit:Currency FCredit:Currency FYtdDebit:Currency FYtdCredit:Currency FEndBal:Currency"},
    {"GLQtyBal", "FAcctID:Text(20) FClsID:Integer FObjID:Text(20) FPeriod:Integer FBegQty:Double FDebit:Double "
                 "FCredit:Double FYtdDebit:Double FYtdCredit:Double FEndQty:Double"},
    {"GLTrans", "FAcctID:Text(20) FClsID:Integer FObjID:Text(20) FCustID:Text(20) FDeptID:Text(20) FEmplID:Text(20) "
                "FTransID:Text(20)! FDate:DateTime FCyID:Text(10) FBal:Currency FQty:Double FDebit:Currency "
                "FCredit:Currency FDue:Boolean!"},
    {"FACard",
     "FAssetID:Text(20) FAssetName:Text(40) FModel:Text(60) FUse:Text(20) FLocation:Text(20) FRemark:Text(60) "
     "FAlterID:Integer FServiceDate:DateTime FOrgValService:Currency FDeprService:Currency "
     "FUseBeforeService:Boolean! FBeginUseDate:DateTime FPeriodsBeforeService:Integer FJobUnit:Text(20) "
     "FDeprAll:Boolean! FFormularyType:Integer FAssetAcID:Text(20) FDeprAcID:Text(20) FTaxAmount:Currency "
     "FProduceFactory:Text(40) FProduceDate:DateTime FDevalueService:Currency FDevalueAcID:Text(20)"},
    {"FABal",
     "FPeriod:Integer FAssetID:Text(20) FOrgVal:Currency FAccumDepr:Currency FDepr:Currency "
     "FDeprPerPeriod:Currency FDebitOrg:Currency FCreditOrg:Currency FDebitDepr:Currency FCreditDepr:Currency "
     "FYtdDevalue:Currency FAccumDevalue:Currency FGroupID:Integer FStatus:Byte FDeprMethod:Byte FLife:Integer "
     "FLifeA:Double FPeriods:Integer FPeriodsA:Integer FSalvage:Currency FPost:Byte FFormularyType:Integer "
     "FYtdDebitOrg:Currency FYtdCreditOrg:Currency FYtdDebitDepr:Currency FYtdCreditDepr:Currency "
     "FYtdDepr:Currency FOrgValA:Currency FAccumDeprA:Currency FTaxAmount:Currency FDevalue:Currency "
     "FDebitDevalue:Currency FCreditDevalue:Currency FYtdDebitDevalue:Currency FYtdCreditDevalue:Currency "
     "FYtdDevalue2:Currency FAccumDevalue2:Currency FPreDevalue:Currency FService:Boolean!"},
    {"FABalExpense",
     "FPeriod:Integer FAssetID:Text(20) FExpenseAcctID:Text(20) FExpenseClsID:Integer FExpenseObjID:Text(20) "
     "FRate:Double FDepr:Currency"},
    {"FABalDept",
     "FPeriod:Integer FAssetID:Text(20) FDeptClsID:Integer FDeptObjID:Text(20) FRate:Double FDepr:Currency "
     "FDevalueRate:Double FDevalue:Currency"},
    {"FABalDeValue",
     "FPeriod:Integer FAssetID:Text(20) FDevAcctID:Text(20) FDevClsID:Integer FDevObjID:Text(20) FRate:Double "
     "FDevalue:Currency"},
    {"FABalFor",
     "FPeriod:Integer FAssetID:Text(20) FCyID:Text(10) FExchRate:Double FOrgValFor:Currency FOrgVal:Currency"},
    {"FAExtra",
     "FAssetID:Text(20) FRowID:Integer FName:Text(40) FModel:Text(40) FUnit:Text(10) FQty:Double FAmount:Currency"},
    {"FAInitBal", "FAssetID:Text(20) FDebitOrg:Currency FCreditOrg:Currency FDebitDepr:Currency FCreditDepr:Currency "
                  "FYtdDepr:Currency FYtdDevalue:Currency"},
    {"FAJob", "FPeriod:Integer FAssetID:Text(20) FJob:Double"},
    {"FAVch",
     "FSerial:Long FDate:DateTime FPeriod:Integer FType:Byte FTypeNum:Integer FAssetID:Text(20) FGroup:Text(10) "
     "FNum:Long FGroupID:Integer FAlterID:Integer FStatus:Byte FOrgVal:Currency FAccumDepr:Currency "
     "FSalvage:Currency FDeprMethod:Byte FLife:Integer FAdjType:Byte FAccumDevalue:Currency FPreparer:Text(20) "
     "FChecker:Text(20) FAdjAccumDepr:Currency FEnterDeprAlter:Boolean! FPosted:Boolean! FPoster:Text(20) "
     "FTaxAmount:Currency"},
    {"FAVchExpense", "FPeriod:Integer FType:Byte FTypeNum:Integer FAssetID:Text(20) FExpenseAcctID:Text(20) "
                     "FExpenseClsID:Integer FExpenseObjID:Text(20) FRate:Double"},
    {"FAVchDept",
     "FPeriod:Integer FType:Byte FTypeNum:Integer FAssetID:Text(20) FDeptClsID:Integer FDeptObjID:Text(20) "
     "FRate:Double FDevalueRate:Double"},
    {"FAVchDeValue",
     "FPeriod:Integer FType:Byte FTypeNum:Integer FAssetID:Text(20) FDevAcctID:Text(20) FDevClsID:Integer "
     "FDevObjID:Text(20) FRate:Double"},
    {"FAVchFor", "FPeriod:Integer FType:Byte FTypeNum:Integer FAssetID:Text(20) FCyID:Text(10) FExchRate:Double "
                 "FOrgValFor:Currency FOrgVal:Currency"},
    {"FAAlter", "FAlterID:Integer FAlterName:Text(20) FMode:Byte FAcctID:Text(20) FVchGroup:Text(10) FExp:Text(40)"},
    {"FAGroup", "FGroupID:Integer FGroupName:Text(40) FDeprMethod:Byte FSalvageRate:Long"},
    {"PAItem", "FItemID:Long FItemName:Text(20) FIsPayrollData:Boolean! FSNO:Integer FEmpField:Text(20)"},
    {"PAFormula", "FFormula:Memo"},
    {"PAData", "FEmpID:Text(20)! FPeriod:Integer! FClsID:Integer FItemID:Long FData:Text(50)!"},
    {"TRBankAccount", "FAcctID:Text(20) FCyID:Text(10) FBankName:Text(40) FBankAcctNo:Text(40)"},
    {"TRBankJnlBal",
     "FPeriod:Integer FAcctID:Text(20) FCyID:Text(10) FBegBal:Currency FDebit:Currency FCredit:Currency "
     "FEndBal:Currency FYtdDebit:Currency FYtdCredit:Currency FBegBalBase:Currency FDebitBase:Currency "
     "FCreditBase:Currency FEndBalBase:Currency FYtdDebitBase:Currency FYtdCreditBase:Currency"},
    {"TRBankJnl",
     "FOrderID:Long FAcctID:Text(20) FCyID:Text(10) FDate:DateTime FPeriod:Integer FGroup:Text(10) FNum:Long "
     "FEntryID:Integer FExp:Text(80) FAcctIDSide:Text(40) FDebit:Currency FCredit:Currency FExchRate:Double "
     "FSettleCode:Text(20) FSettleNo:Text(30) FPreparer:Text(20) FHandler:Text(20) FChecked:Boolean! "
     "FAutoChecked:Boolean! FBalance:Currency FBalanceBase:Currency FDebitBase:Currency FCreditBase:Currency"},
    {"TRCashJnl",
     "FID:Long FOrderID:Long FAcctID:Text(20) FCyID:Text(10) FDate:DateTime FPeriod:Integer FGroup:Text(10) "
     "FNum:Long FExp:Text(80) FAcctIDSide:Text(40) FDebit:Currency FCredit:Currency FExchRate:Double "
     "FPreparer:Text(20) FHandler:Text(20) FBalance:Currency FBalanceBase:Currency FDebitBase:Currency "
     "FCreditBase:Currency"},
    {"TRBankChkBal",
     "FPeriod:Integer FAcctID:Text(20) FCyID:Text(10) FBegBal:Currency FDebit:Currency FCredit:Currency "
     "FEndBal:Currency FYtdDebit:Currency FYtdCredit:Currency"},
    {"TRBankChkNote",
     "FAcctID:Text(20) FCyID:Text(10) FDate:DateTime FPeriod:Integer FSettleCode:Text(20) FSettleNo:Text(30) "
     "FExp:Text(80) FDC:Text(1) FAmount:Currency FPreparer:Text(20) FHandler:Text(20) FChecked:Boolean! "
     "FAutoChecked:Boolean! FVNum:Long FVGroup:Text(10) FVPeriod:Integer FVEntryID:Integer"},
};

}  // namespace

void declareSourceTables(TableSet &set, bool withCustomTable, bool withEveryTypeTable) {
    for (const auto &t : kTables) set.declare(t[0], t[1]);
    // Properties only of the types the custom-class conversion can carry.
    if (withCustomTable)
        set.declare(kCustomTable,
                    "FClsID:Integer FObjID:Text(20)! FManager:Text(20) FBudget:Double FStartDate:DateTime "
                    "FContractNo:Long");
    if (withEveryTypeTable)
        set.declare(
            kEveryTypeTable,
            "FClsID:Integer FObjID:Text(20)! FModel:Text(30) FNote:Memo FGrade:Byte FCount:Integer FSerial:Long "
            "FInUse:Boolean! FPrice:Currency FWeight:Single FPower:Double FBought:DateTime FPhoto:OLE");
}

}  // namespace samplegen
