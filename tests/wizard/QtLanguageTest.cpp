#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "wizard/FileChooserSeam.h"
#include "wizard/QtTranslations.h"

namespace {

TEST(QtLanguageTest, StockButtonsSpeakChinese) {
    ASSERT_TRUE(InstallQtTranslations());
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().left(1), QStringLiteral("是"));
}

TEST(QtLanguageTest, TheSourceFileDialogHasTheReadOnlyBoxTicked) {
    FileChooserRequest request;
    request.title = QStringLiteral("选择账套文件");
    request.filter = QStringLiteral("岫禾VEQ标准版/迷你版账套文件 (*.ais)|*.ais");
    QFileDialog *dialog = MakeFileDialog(nullptr, request);
    EXPECT_EQ(dialog->windowTitle(), request.title);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("岫禾VEQ标准版/迷你版账套文件 (*.ais)")});
    auto *readOnly = dialog->findChild<QCheckBox *>(QStringLiteral("readOnlyBox"));
    ASSERT_NE(readOnly, nullptr);
    EXPECT_TRUE(readOnly->isChecked());
    EXPECT_EQ(readOnly->text(), QStringLiteral("以只读方式打开"));
    delete dialog;
}

}  // namespace
