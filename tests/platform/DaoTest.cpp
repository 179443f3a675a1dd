#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "jet/JetWriter.h"
#include "jet/TableText.h"
#include "jet/Workgroup.h"
#include "platform/dao/DBEngine.h"
#include "platform/dao/DaoError.h"

using namespace dao;

namespace {

// A source file and its workgroup file in one folder.
struct SourceFolder {
    QTemporaryDir dir;
    QString source() const { return dir.filePath("demo.ais"); }
    QString workgroup() const { return dir.filePath("system.mda"); }

    SourceFolder() {
        jet::JetWriter::writeFile(
            source().toStdString(),
            {jet::parseTableText("GLPref", "FProgramVersion:Integer!\tFCompany:Text(80)\n15\t示例\n"),
             jet::parseTableText("glacct", "FAcctID:Text(40)!\tFBal:Currency\tFMemo:Memo\tFID:AutoNumber\n"),
             jet::parseTableText("CSTM_Extra", "F:Long\n1\n2\n")});
        jet::Workgroup::writeFile(workgroup().toStdString());
    }

    DBEngine engine() const {
        DBEngine e;
        e.SystemDB = workgroup();
        e.DefaultUser = QString::fromLatin1(jet::Workgroup::kUser);
        e.DefaultPassword = QString::fromLatin1(jet::Workgroup::kPassword);
        return e;
    }
};

int errorOf(const DBEngine &engine, const QString &name) {
    try {
        engine.OpenDatabase(name);
    } catch (const DaoError &e) {
        EXPECT_FALSE(e.description().isEmpty());
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(Dao, ListsEveryTableDefinitionWithItsFields) {
    SourceFolder folder;
    auto db = folder.engine().OpenDatabase(folder.source());
    const TableDefs &defs = db->TableDefs();
    QStringList names;
    for (int i = 0; i < defs.Count(); ++i) names << defs.Item(i).Name();
    EXPECT_EQ(names, (QStringList{"MSysObjects", "GLPref", "glacct", "CSTM_Extra", "MSysACEs", "MSysQueries",
                                  "MSysRelationships"}));
    EXPECT_EQ(defs.Item("MSysObjects").Attributes() & dbSystemObject, dbSystemObject);
    EXPECT_EQ(defs.Item("GLACCT").Attributes(), 0u);
    EXPECT_EQ(defs.Item("CSTM_Extra").RecordCount(), 2);

    const Fields &fields = defs.Item("glacct").Fields();
    ASSERT_EQ(fields.Count(), 4);
    EXPECT_EQ(fields.Item(0).Name(), "FAcctID");
    EXPECT_EQ(fields.Item(0).Type(), dbText);
    EXPECT_EQ(fields.Item(0).Size(), 40);
    EXPECT_TRUE(fields.Item(0).Required());
    EXPECT_EQ(fields.Item("fbal").Type(), dbCurrency);
    EXPECT_FALSE(fields.Item("FBal").Required());
    EXPECT_EQ(fields.Item("FMemo").Type(), dbMemo);
    EXPECT_EQ(fields.Item("FID").Type(), dbLong);
    EXPECT_TRUE(fields.Item("FID").Attributes() & dbAutoIncrField);

    EXPECT_THROW(defs.Item(defs.Count()), DaoError);
    EXPECT_THROW(defs.Item("GLVch"), DaoError);
    EXPECT_THROW(fields.Item(-1), DaoError);
    db->Close();
}

TEST(Dao, AcceptsWindowsStylePaths) {
    SourceFolder folder;
    DBEngine e = folder.engine();
    e.SystemDB = QDir::toNativeSeparators(folder.workgroup()).replace('/', '\\');
    auto db = e.OpenDatabase(QString(folder.source()).replace('/', '\\'));
    EXPECT_EQ(db->TableDefs().Item(1).Name(), "GLPref");
}

TEST(Dao, RefusesWhatItCannotOpen) {
    SourceFolder folder;
    DBEngine wrongPassword = folder.engine();
    wrongPassword.DefaultPassword = "TQLARNVEZMBHKO";
    DBEngine wrongUser = folder.engine();
    wrongUser.DefaultUser = "admin";
    DBEngine noWorkgroup = folder.engine();
    noWorkgroup.SystemDB = folder.dir.filePath("missing.mda");
    DBEngine sourceAsWorkgroup = folder.engine();
    sourceAsWorkgroup.SystemDB = folder.source();
    QFile garbage(folder.dir.filePath("garbage.ais"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(10000, 'x'));
    garbage.close();

    EXPECT_EQ(errorOf(wrongPassword, folder.source()), kDaoBadLogon);
    EXPECT_EQ(errorOf(wrongUser, folder.source()), kDaoBadLogon);
    EXPECT_EQ(errorOf(noWorkgroup, folder.source()), kDaoNoWorkgroup);
    EXPECT_EQ(errorOf(sourceAsWorkgroup, folder.source()), kDaoNoWorkgroup);
    EXPECT_EQ(errorOf(folder.engine(), folder.dir.filePath("missing.ais")), kDaoFileNotFound);
    EXPECT_EQ(errorOf(folder.engine(), garbage.fileName()), kDaoUnrecognizedFormat);
    EXPECT_EQ(errorOf(folder.engine(), folder.source()), 0);
    EXPECT_EQ(errorOf(DBEngine(), folder.source()), 0);  // no workgroup: no logon
}
