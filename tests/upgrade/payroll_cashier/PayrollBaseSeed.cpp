#include "PayrollBaseSeed.h"

QString PayrollBaseSeedSql() {
    return QStringLiteral(
        "insert into t_Item(FItemClassID,FNumber,FParentID,FLevel,FDetail,FName,FShortNumber,FDeleted) "
        "select 2,FObjID,0,FLevel,FDetail,FObjName,FObjID,FDeleted from AIS_GLObj where FClsID=2 and FObjID<>'*'\r\n"
        "insert into t_Department(FItemID,FName,FNumber,FShortNumber,FHelpCode) "
        "select FItemID,FName,FNumber,FNumber,'HC'+FNumber from t_Item where FItemClassID=2\r\n"
        "insert into t_Item(FItemClassID,FNumber,FParentID,FLevel,FDetail,FName,FShortNumber,FDeleted) "
        "select 3,FObjID,0,1,1,FObjName,FObjID,0 from AIS_GLObj where FClsID=3 and FObjID<>'*'\r\n"
        "insert into t_SubMessage(FInterID,FID,FParentID,FName,FTypeID,FDeleted) "
        "select 100+FEmpGroupID,cast(FEmpGroupID as varchar(10)),30,FEmpGroupName,30,0 from AIS_GLEmpGroup\r\n"
        "insert into t_SubMessage(FInterID,FID,FParentID,FName,FTypeID,FDeleted) "
        "select 200+(select count(*) from AIS_GLDuty d2 where d2.FDuty<=d.FDuty),FDuty,29,FDutyName,29,0 "
        "from AIS_GLDuty d\r\n"
        "insert into t_SubMessage(FInterID,FID,FParentID,FName,FTypeID,FDeleted) "
        "select 300+(select count(*) from AIS_GLDegree d2 where d2.FDegree<=d.FDegree),FDegree,23,FDegreeName,23,0 "
        "from AIS_GLDegree d\r\n"
        "insert into t_Emp(FItemID,FName,FNumber,FShortNumber,FAddress,FBankAccount,FGender,FBirthday,FHireDate,"
        "FLeaveDate,FDegree,FDuty,FEmpGroup,FDepartmentID,FPhone,FId) "
        "select i.FItemID,i.FName,i.FNumber,i.FNumber,e.FAddress,e.FBankAccount,"
        "case when e.FSex=1 then 1 else 2 end,e.FBirthday,e.FHireDate,e.FLeaveDate,dg.FInterID,du.FInterID,"
        "100+e.FEmpGroup,dep.FItemID,e.FPhone,e.FId "
        "from AIS_GLEmp e inner join t_Item i on i.FItemClassID=3 and i.FNumber=e.FObjID "
        "left join t_SubMessage dg on dg.FTypeID=23 and dg.FID=e.FDegree "
        "left join t_SubMessage du on du.FTypeID=29 and du.FID=e.FDuty "
        "left join t_Item dep on dep.FItemClassID=2 and dep.FNumber=e.FDeptObjID\r\n");
}
