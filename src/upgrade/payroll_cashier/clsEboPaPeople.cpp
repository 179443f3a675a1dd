// The payroll category and the payroll copies of the base data's
// departments, employee groups, duties, degrees and employees.
#include "upgrade/payroll_cashier/clsEboPa.h"

#include "foundation/Globals.h"
#include "foundation/SqlText.h"
#include "upgrade/payroll_cashier/PayrollSession.h"

namespace {

// The list rows of t_SubMessage of one type, inserted into t_PA_ItemRef
// with numbers that follow the largest one present (the table numbers the
// rows itself otherwise, so the explicit values need IDENTITY_INSERT).
QString numberedListBatch(const QString &cursor, int subMessageType, int refType) {
    return SqlText(QStringLiteral("declare @FItemRefID int\r\n"
                                  "declare @FNumber nvarchar(80)\r\n"
                                  "declare @FName VARCHAR(80)\r\n"
                                  "select @FItemRefID=isnull(max(FItemRefID),0)+1 from t_PA_ItemRef\r\n"
                                  "set identity_insert t_PA_ItemRef on\r\n"
                                  "declare {cursor} cursor for select FID,FName from t_SubMessage "
                                  "where FInterID>0 and FDeleted=0 and FTypeID={subType}\r\n"
                                  "open {cursor}\r\n"
                                  "fetch next from {cursor} into @FNumber,@FName\r\n"
                                  "while @@fetch_status=0\r\n"
                                  "begin\r\n"
                                  "insert into t_PA_ItemRef(FItemRefID,FType,FNumber,FName) "
                                  "values(@FItemRefID,{refType},@FNumber,@FName)\r\n"
                                  "set @FItemRefID=@FItemRefID+1\r\n"
                                  "fetch next from {cursor} into @FNumber,@FName\r\n"
                                  "end\r\n"
                                  "close {cursor}\r\n"
                                  "deallocate {cursor}\r\n"
                                  "set identity_insert t_PA_ItemRef off\r\n"))
        .raw(QStringLiteral("cursor"), cursor)
        .arg(QStringLiteral("subType"), subMessageType)
        .arg(QStringLiteral("refType"), refType)
        .str();
}

}  // namespace

int clsEboPa::UpgradePayCategory(const QString &connectString) {
    return RunPayrollPhase(connectString, QStringLiteral("工资类别"), [](PayrollSession &session) {
        session.execute(SqlText(QStringLiteral("insert T_PA_pama(FClsID,FClsName,FMulti,FCurrencyID,FIsBank,FIsTax,"
                                               "FIsZero,FInteger,FYear,FPeriod,FPutNO) "
                                               "values(1,{name},0,1,0,0,0,NULL,{year},{period},1)"))
                            .text(QStringLiteral("name"), g_SourceEdition + QStringLiteral("升级专用"))
                            .arg(QStringLiteral("year"), int(g_SourceCurrYear))
                            .arg(QStringLiteral("period"), int(g_SourceCurrPeriod))
                            .str());
        return 0;
    });
}

int clsEboPa::UpgradePayDepartments(const QString &connectString) {
    return RunPayrollPhase(connectString, QStringLiteral("部门"), [](PayrollSession &session) {
        session.execute(QStringLiteral(
            "insert into t_PA_Item(FItemid,FItemClassID,FParentID,FLevel,FName,FNumber,FDetail) "
            "select FItemid,FItemClassID,FParentID,FLevel,FName,FNumber,FDetail from t_Item "
            "where FItemClassID=2 and FNumber not in (select FNumber from t_PA_Item where FItemClassID=2)"));
        session.execute(QStringLiteral("insert into t_pa_ItemClsV(FClsID,FItemClassID,FItemID) "
                                       "select 1,FItemClassID,FItemid from t_PA_Item"));
        session.execute(
            QStringLiteral("insert into t_PA_Department(FItemid) select FItemid from t_Item "
                           "where FItemClassID=2 and FNumber not in (select FNumber from t_PA_Department)"));
        session.execute(QStringLiteral("update t_PA_Department set FDepMemoryCode=t_Department.Fhelpcode "
                                       "from t_Department right join t_PA_Department on  "
                                       "t_Department.FItemID =t_PA_Department.FItemID"));
        return 0;
    });
}

int clsEboPa::UpgradePayEmpGroups(const QString &connectString) {
    return RunPayrollPhase(connectString, QStringLiteral("职员类别"), [](PayrollSession &session) {
        session.execute(QStringLiteral("declare @FNumber nvarchar(80)\r\n"
                                       "declare @FName VARCHAR(80)\r\n"
                                       "declare EmpGroup_Cursor cursor for select FID,FName from t_SubMessage "
                                       "where FInterID>0 and FDeleted=0 and FTypeID=30\r\n"
                                       "open EmpGroup_Cursor\r\n"
                                       "fetch next from EmpGroup_Cursor into @FNumber,@FName\r\n"
                                       "while @@fetch_status=0\r\n"
                                       "begin\r\n"
                                       "insert into t_PA_ItemRef(FType,FNumber,FName) values(90,@FNumber,@FName)\r\n"
                                       "fetch next from EmpGroup_Cursor into @FNumber,@FName\r\n"
                                       "end\r\n"
                                       "close EmpGroup_Cursor\r\n"
                                       "deallocate EmpGroup_Cursor\r\n"));
        return 0;
    });
}

int clsEboPa::UpgradePayEmployees(const QString &connectString) {
    return RunPayrollPhase(connectString, QStringLiteral("职员"), [](PayrollSession &session) {
        session.execute(
            QStringLiteral("insert into t_PA_Item(FItemid,FItemClassID,FParentID,FLevel,FName,FNumber,FDetail) "
                           "select FItemid,3,isnull(FParentID,0),1,FName,FNumber,1 from t_Item where FItemClassID=3 "
                           "and FNumber not in (select FNumber from t_PA_Item where FItemClassID=3) "
                           "and FItemid not in (select FItemid from t_PA_Item where FItemClassID=3)"));
        session.execute(QStringLiteral("insert into t_PA_Personal(FItemid) select FItemid from t_Item "
                                       "where FItemClassID=3 and FNumber not in (select FNumber from t_PA_Personal)"));
        session.execute(QStringLiteral("declare @FItemID VARCHAR(80)\r\n"
                                       "declare Emp_Cursor cursor for select FitemID from t_Emp\r\n"
                                       "open Emp_Cursor\r\n"
                                       "fetch next from Emp_Cursor into @FItemID\r\n"
                                       "while @@fetch_status=0\r\n"
                                       "begin\r\n"
                                       "insert into t_Pa_Itemclsv(FClsId,FItemClassID,FItemID,FIsDelete) "
                                       "values(1,3,@FItemID,0)\r\n"
                                       "fetch next from Emp_Cursor into @FItemID\r\n"
                                       "end\r\n"
                                       "close Emp_Cursor\r\n"
                                       "deallocate Emp_Cursor\r\n"));
        session.execute(numberedListBatch(QStringLiteral("Duty_Cursor"), 29, 101));
        session.execute(numberedListBatch(QStringLiteral("Degree_Cursor"), 23, 102));
        session.execute(QStringLiteral(
            "update t_PA_Personal set FGender=g.FName,FEmpGroupID=r.FItemRefID,FItemDepID=isnull(d.FItemID,0),"
            "Fduty=du.FName,FDegree=dg.FName,FBirthday=a.FBirthday,FBankAccount=a.FBankAccount,"
            "FLeaveDate=a.FLeaveDate,FHireDate=a.FHireDate,FAddress=a.FAddress,Fidcardid=a.FID,FPhone=a.FPhone,"
            "Fhandsetcode=a.FSMSPhoneNumber "
            "from  t_emp a left  join t_PA_Personal j on j.FitemID=a.FitemID "
            "left join t_SubMessage g on g.FInterID=a.FGender and g.FTypeID=102 "
            "left join t_SubMessage s on s.FInterID=a.Fempgroup and s.FInterID>0 and s.FDeleted=0 and s.FTypeID=30 "
            "left join t_PA_ItemRef r on r.FType=90 and r.FNumber=s.FID "
            "left join t_Item d on d.FItemID=a.FDepartmentID and d.FDeleted=0 and d.FItemID>0 and d.FDetail>0 "
            "and d.FItemclassID=2 "
            "left join t_SubMessage du on du.FInterID=a.Fduty and du.FInterID>0 and du.FTypeID=29 and du.FDeleted=0 "
            "left join t_SubMessage dg on dg.FInterID=a.FDegree and dg.FInterID>0 and dg.FTypeID=23 "
            "and dg.FDeleted=0"));
        return 0;
    });
}
