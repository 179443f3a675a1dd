#include "wizard/ctlSetting.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include "controls/WizardControls.h"
#include "controls/zqbutton.h"
#include "foundation/Messages.h"
#include "foundation/WaitCursor.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"
#include "wizard/FileChooserSeam.h"
#include "foundation/InputChecks.h"
#include "foundation/ServerFolders.h"
#include "wizard/FolderChooser.h"
#include "wizard/WizardFonts.h"

namespace {

QLabel *groupCaption(QWidget *parent, const QString &text, int y) {
    auto *label = new QLabel(text, parent);
    QFont font(WizardFonts::heiFamily(), 11);
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: rgb(30, 70, 140);"));
    label->setGeometry(16, y, 400, 24);
    return label;
}

QLabel *fieldLabel(QWidget *parent, const QString &text, int y) {
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(16, y, 136, 26);
    return label;
}

}  // namespace

ctlSetting::ctlSetting(QWidget *parent, const QDateTime &started) : QWidget(parent) {
    InstallFolderChooser();
    setFont(WizardControls::font());
    groupCaption(this, QStringLiteral("标准版（迷你版）账套设置"), 8);
    fieldLabel(this, QStringLiteral("源账套："), 40);
    m_source = new QLineEdit(this);
    m_source->setGeometry(156, 40, 280, 26);
    m_btnSource =
        WizardControls::makeButton(WizardControls::ButtonKind::SettingsPage, QStringLiteral("选择账套"), this);
    m_btnSource->setGeometry(446, 38, 92, 30);

    groupCaption(this, QStringLiteral("专业版账套设置"), 88);
    fieldLabel(this, QStringLiteral("账套号码："), 120);
    m_number = new QLineEdit(DefaultAccountNumber(started), this);
    m_number->setGeometry(156, 120, 280, 26);
    fieldLabel(this, QStringLiteral("账套名称："), 156);
    m_name = new QLineEdit(this);
    m_name->setGeometry(156, 156, 280, 26);
    fieldLabel(this, QStringLiteral("账套文件存放路径："), 192);
    m_dir = new QLineEdit(this);
    m_dir->setGeometry(156, 192, 280, 26);
    m_btnPath = WizardControls::makeButton(WizardControls::ButtonKind::SettingsPage, QStringLiteral("选择路径"), this);
    m_btnPath->setGeometry(446, 190, 92, 30);

    groupCaption(this, QStringLiteral("升级内容设置"), 240);
    m_all = new QRadioButton(QStringLiteral("升级全部数据"), this);
    m_all->setGeometry(156, 272, 160, 24);
    m_balances = new QRadioButton(QStringLiteral("只升级余额数据"), this);
    m_balances->setGeometry(320, 272, 160, 24);
    m_all->setChecked(true);

    setTabOrder(m_source, m_btnSource);
    setTabOrder(m_btnSource, m_number);
    setTabOrder(m_number, m_name);
    setTabOrder(m_name, m_dir);
    setTabOrder(m_dir, m_btnPath);
    setTabOrder(m_btnPath, m_all);
    for (QLineEdit *edit : {m_source, m_number, m_name, m_dir}) edit->installEventFilter(this);

    connect(m_btnSource, &zqbutton::Click, this, &ctlSetting::btnSource_Click);
    connect(m_btnPath, &zqbutton::Click, this, &ctlSetting::btnPath_Click);
}

QString ctlSetting::DefaultAccountNumber(const QDateTime &moment) {
    return QStringLiteral("AIS") + moment.toString(QStringLiteral("yyyyMMdd")) +
           moment.toString(QStringLiteral("hhmmss"));
}

bool ctlSetting::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    if (watched != m_number || key->text().isEmpty()) return QWidget::eventFilter(watched, event);
    const QChar c = key->text().at(0);
    const ushort u = c.unicode();
    // Backspace, Delete, Tab and the other control keys are no typed
    // characters: the field and the focus chain handle them as anywhere.
    if (u < 0x20 || u == 0x7f) return false;
    const bool letter = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
    const bool digit = u >= '0' && u <= '9';
    if (digit) return false;
    if (letter) {
        m_number->insert(QString(c.toUpper()));
        return true;
    }
    return true;  // every other typed character is swallowed
}

void ctlSetting::btnSource_Click() {
    FileChooserRequest request;
    request.title = QStringLiteral("选择账套文件");
    request.filter = QStringLiteral("岫禾VEQ标准版/迷你版账套文件 (*.ais)|*.ais");
    if (QFileInfo(m_source->text()).isFile()) request.initialFile = m_source->text();
    const QString file = FileChooserSeam::show(this, request);
    if (file.isEmpty()) return;
    m_source->setText(file);
    QCoreApplication::processEvents();
    BeginWaitCursor();
    if (file.right(4).toUpper() != QLatin1String(".AIS")) {
        ShowMessage(QStringLiteral("选择引入文件类型不正确，请确认是VEQ标准版(迷你版)文件！"), 64, kMessageTitle);
        m_source->clear();
    }
    EndWaitCursor();
    m_name->setText(SettingsValidator::DefaultAccountName(m_source->text()));
    ShowMessage(QStringLiteral("请在升级前对源账套进行备份！"), 64, kMessageTitle);
    m_number->setFocus();
}

void ctlSetting::btnPath_Click() {
    QString path = m_dir->text();
    if (BrowseServerPath(path, 0, QStringLiteral("RS"))) m_dir->setText(path);
}

SettingsInput ctlSetting::input() const {
    SettingsInput in;
    in.source = m_source->text();
    in.acctNumber = m_number->text();
    in.acctName = m_name->text();
    in.dbDir = m_dir->text();
    in.option = m_balances->isChecked() ? 1 : 0;
    return in;
}

bool ctlSetting::settingsChanged() const {
    if (m_list.Count() == 0) return true;
    const PnwDictionary stored = m_list.DictionaryItem(1);
    const SettingsInput in = input();
    return stored.Item(QStringLiteral("Source")).toString() != in.source.trimmed() ||
           stored.Item(QStringLiteral("AcctNum")).toString() != in.acctNumber.trimmed() ||
           stored.Item(QStringLiteral("AcctName")).toString() != in.acctName.trimmed() ||
           stored.Item(QStringLiteral("DBDir")).toString() != in.dbDir.trimmed() ||
           stored.Item(QStringLiteral("Option")).toInt() != in.option;
}

QLineEdit *ctlSetting::field(SettingsField which) const {
    switch (which) {
    case SettingsField::Source: return m_source;
    case SettingsField::AcctNumber: return m_number;
    case SettingsField::AcctName: return m_name;
    case SettingsField::DBDir: return m_dir;
    default: return nullptr;
    }
}

bool ctlSetting::buildSettings() {
    const SettingsInput in = input();
    const SettingsVerdict verdict = m_validator.validate(in);
    if (QLineEdit *edit = field(verdict.focus)) {
        edit->setFocus();
        if (verdict.selectStart >= 0) edit->setSelection(verdict.selectStart, verdict.selectLength);
    }
    if (verdict.kind == SettingsVerdict::Rejected)
        throw PnwError(5, QStringLiteral("ctlSetting.ValidateSettings"), verdict.message);
    if (verdict.kind == SettingsVerdict::FolderRejected) return false;

    m_list.Clear();
    m_list.Add(SettingsValidator::SettingsRecord(in));
    return true;
}

PnwList ctlSetting::Result() {
    if (settingsChanged() && !buildSettings()) return PnwList();
    return m_list;
}
