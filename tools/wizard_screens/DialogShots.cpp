#include "DialogShots.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTreeWidget>

#include "controls/SpreadsheetGrid.h"
#include "dialogs/frmBussinessUnits.h"
#include "dialogs/frmDataType.h"
#include "dialogs/frmPApointDataType.h"
#include "dialogs/frmSetBankAccount.h"
#include "dialogs/frmSubLedgerNature.h"
#include "dialogs/frmUnit.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwList.h"

namespace {

PnwDictionary record(std::initializer_list<std::pair<const char *, QVariant>> fields) {
    PnwDictionary d;
    for (const auto &[key, value] : fields) d.setItem(QString::fromLatin1(key), value);
    return d;
}

ado::Recordset recordset(const std::vector<std::string> &columns, const std::vector<std::vector<QVariant>> &rows) {
    server::ResultSet rs;
    for (const std::string &c : columns) rs.columns.push_back({c, server::SqlType::of(server::Base::NVarChar, 80)});
    for (const auto &row : rows) {
        std::vector<server::Value> values;
        for (const QVariant &v : row)
            values.push_back(v.typeId() == QMetaType::Bool ? server::Value::fromInt(v.toBool())
                                                           : server::Value::fromText(v.toString().toStdString()));
        rs.rows.push_back(std::move(values));
    }
    return ado::Recordset(std::move(rs), nullptr);
}

bool shoot(DialogFrame &dialog, const QString &out, const QString &name) {
    dialog.show();
    QCoreApplication::processEvents();
    dialog.repaint();
    QCoreApplication::processEvents();
    const QString path = out + QStringLiteral("/dialog-") + name + QStringLiteral(".png");
    const bool saved = dialog.grab().save(path);
    if (!saved) QTextStream(stderr) << "cannot write " << path << "\n";
    dialog.hide();
    return saved;
}

}  // namespace

int SaveDialogShots(const QString &out) {
    int failed = 0;
    {
        PnwList accounts;
        accounts.Add(record({{"FAcctID", "1131"}, {"FAcctName", "应收账款"}, {"FIsCustomer", 0}, {"FIsSupplier", 0}}));
        accounts.Add(record({{"FAcctID", "1151"}, {"FAcctName", "预付账款"}, {"FIsCustomer", 0}, {"FIsSupplier", 0}}));
        accounts.Add(
            record({{"FAcctID", "1133"}, {"FAcctName", "其他应收款"}, {"FIsCustomer", 0}, {"FIsSupplier", 0}}));
        accounts.Add(record({{"FAcctID", "2121"}, {"FAcctName", "应付账款"}, {"FIsCustomer", 0}, {"FIsSupplier", 0}}));
        accounts.Add(record({{"FAcctID", "2181"}, {"FAcctName", "其他往来"}, {"FIsCustomer", 0}, {"FIsSupplier", 0}}));
        frmSubLedgerNature d;
        d.setData(QVariant::fromValue(accounts));
        failed += !shoot(d, out, QStringLiteral("subledgernature"));
    }
    {
        PnwList accounts;
        accounts.Add(record({{"FAcctID", "1211"}, {"FAcctName", "原材料"}, {"FUnit", ""}, {"FUnitName", ""}}));
        accounts.Add(record({{"FAcctID", "1243"}, {"FAcctName", "库存商品"}, {"FUnit", ""}, {"FUnitName", ""}}));
        frmUnit d;
        d.setData(QVariant::fromValue(accounts));
        d.ensureLoaded();
        d.GridUnit()->SetText(3, 1, QStringLiteral("千克"));
        failed += !shoot(d, out, QStringLiteral("unit"));
    }
    {
        PnwList units;
        units.Add(record({{"FObjID", "01"},
                          {"FObjName", "华北"},
                          {"FParentID", "0"},
                          {"FFullObjName", "华北"},
                          {"FFullPath", "01"}}));
        units.Add(record({{"FObjID", "01.0101"},
                          {"FObjName", "北京公司"},
                          {"FParentID", "01"},
                          {"FFullObjName", "华北_北京公司"},
                          {"FFullPath", "01.0101"}}));
        units.Add(record({{"FObjID", "02"},
                          {"FObjName", "华南"},
                          {"FParentID", "0"},
                          {"FFullObjName", "华南"},
                          {"FFullPath", "02"}}));
        units.Add(record({{"FObjID", "02.0201"},
                          {"FObjName", "广州公司"},
                          {"FParentID", "02"},
                          {"FFullObjName", "华南_广州公司"},
                          {"FFullPath", "02.0201"}}));
        frmBussinessUnits d;
        d.setBussinessUnits(units);
        d.ensureLoaded();
        d.node(d.TvBussinessUnits(), QStringLiteral("t_01"))->setCheckState(0, Qt::Checked);
        failed += !shoot(d, out, QStringLiteral("bussinessunits"));
    }
    {
        frmSetBankAccount d;
        d.setRs(recordset({"FKMID", "FKMdm", "FKMmc", "FBB"},
                          {{"12", "1002.01", "工商银行", "人民币"}, {"13", "1002.02", "中国银行", "美元"}}));
        failed += !shoot(d, out, QStringLiteral("setbankaccount"));
    }
    {
        frmPApointDataType d;
        d.setRs(recordset({"FitemName", "FIsPayrollData"}, {{"基本工资", true}, {"备注", false}, {"奖金", true}}));
        failed += !shoot(d, out, QStringLiteral("papointdatatype"));
    }
    {
        frmDataType d;
        failed += !shoot(d, out, QStringLiteral("datatype"));
    }
    return failed;
}
