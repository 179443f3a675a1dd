#include "wizard/frmMain.h"

#include <exception>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>

#include "controls/ProgressBar.h"
#include "controls/WizardControls.h"
#include "controls/zqbutton.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/ServerComponent.h"
#include "foundation/ServerConfig.h"
#include "foundation/ServerFolders.h"
#include "foundation/UsageStatistics.h"
#include "foundation/VersionText.h"
#include "foundation/WaitCursor.h"
#include "platform/PnwDictionary.h"
#include "platform/PnwError.h"
#include "platform/WaitCursorSeam.h"
#include "platform/ado/AdoError.h"
#include "wizard/Navigation.h"
#include "wizard/SingleInstance.h"
#include "wizard/StartUp.h"
#include "wizard/StepList.h"
#include "wizard/TitleBar.h"
#include "wizard/WizardFonts.h"
#include "wizard/WizardHooks.h"
#include "wizard/cltLogReport.h"
#include "wizard/ctlSetting.h"
#include "wizard/ctlUpgrade.h"

namespace {

const QString kStart = QStringLiteral("开  始");
const QString kNext = QStringLiteral("下一步");
const QString kCancel = QStringLiteral("取  消");
const QString kRecheck = QStringLiteral("重新检测");
const QString kRetry = QStringLiteral("重  试");
const QString kFinish = QStringLiteral("完  成");
const QString kPrevious = QStringLiteral("上一步");
const QString kClose = QStringLiteral("关  闭");

constexpr int kWidth = 801;
constexpr int kHeight = 560;
constexpr int kPageLeft = 176;
constexpr int kPageTop = TitleBar::BarHeight + 14;
constexpr int kPageWidth = kWidth - kPageLeft - 16;
constexpr int kPageHeight = 330;

frmMain *g_current = nullptr;

frmMain::QuitHook &quitHook() {
    static frmMain::QuitHook hook;
    return hook;
}

}  // namespace

const QString frmMain::WindowTitle = QStringLiteral("岫禾VEQ标准版（迷你版）账套升级专业版工具");

frmMain::frmMain(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    g_current = this;
    // The state of one run of the program starts afresh with its window.
    ResetRunState();

    setFixedSize(kWidth, kHeight);
    setFont(WizardControls::font());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(235, 242, 252));
    setPalette(pal);

    m_titleBar = new TitleBar(this);
    m_titleBar->setGeometry(0, 0, kWidth, TitleBar::BarHeight);
    connect(m_titleBar, &TitleBar::closeRequested, this, &QWidget::close);

    m_steps = StepList::create(this);
    for (int i = 0; i < m_steps.size(); ++i) {
        m_steps[i]->setGeometry(12, kPageTop + 10 + i * 52, 150, 40);
        connect(m_steps[i], &Navigation::Click, this, [this, i] { GoToStep(i); });
    }

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("lblNotice"));
    QFont noticeFont(WizardFonts::songFamily(), 11);
    m_notice->setFont(noticeFont);
    m_notice->setGeometry(kPageLeft + 10, kPageTop + 6, kPageWidth - 10, 270);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_advice = new QLabel(this);
    m_advice->setObjectName(QStringLiteral("lblAdvice"));
    m_advice->setFont(noticeFont);
    m_advice->setStyleSheet(QStringLiteral("color: rgb(200, 40, 40);"));

    m_setting = new ctlSetting(this);
    m_setting->setObjectName(QStringLiteral("ctlSetting1"));
    m_checkData = new cltLogReport(this);
    m_checkData->setObjectName(QStringLiteral("ctlCheckData"));
    m_upgrade = new ctlUpgrade(this);
    m_upgrade->setObjectName(QStringLiteral("ctlUpgrade1"));
    m_logReport = new cltLogReport(this);
    m_logReport->setObjectName(QStringLiteral("ctlLogReport"));
    for (QWidget *page : pages()) page->setGeometry(kPageLeft, kPageTop, kPageWidth, kPageHeight);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("LBLDes"));
    m_status->setGeometry(kPageLeft, kPageTop + kPageHeight + 10, kPageWidth, 22);
    m_status->setStyleSheet(QStringLiteral("color: rgb(30, 70, 140);"));
    m_bar = WizardControls::makeProgressBar(this);
    // Beside the buttons, on their row.
    m_bar->setGeometry(kPageLeft, kHeight - 46, kWidth - 16 - 2 * 104 - 10 - 16 - kPageLeft, 22);
    m_bar->hide();

    m_previous = WizardControls::makeButton(WizardControls::ButtonKind::MainWindow, kPrevious, this);
    m_next = WizardControls::makeButton(WizardControls::ButtonKind::MainWindow, kStart, this);
    m_previous->setGeometry(kWidth - 16 - 2 * 104 - 10, kHeight - 52, 104, 34);
    m_next->setGeometry(kWidth - 16 - 104, kHeight - 52, 104, 34);
    connect(m_next, &zqbutton::Click, this, &frmMain::btnNext_Click);
    connect(m_previous, &zqbutton::Click, this, &frmMain::btnPrevious_Click);

    for (QWidget *&line : m_lines) {
        line = new QWidget(this);
        line->setAutoFillBackground(true);
        QPalette linePal = line->palette();
        linePal.setColor(QPalette::Window, QColor(156, 182, 222));
        line->setPalette(linePal);
        line->hide();
    }
}

frmMain::~frmMain() {
    if (g_current == this) g_current = nullptr;
    // The program-wide objects end with the window.
    g_UpgradeSettings = PnwList();
    ReleaseServerComponent();
}

frmMain *frmMain::current() { return g_current; }

frmMain::QuitHook frmMain::setQuitHook(QuitHook hook) {
    QuitHook previous = std::move(quitHook());
    quitHook() = std::move(hook);
    return previous;
}

Navigation *frmMain::Navigation1(int index) const {
    return index >= 0 && index < m_steps.size() ? m_steps[index] : nullptr;
}

QWidget *frmMain::pic_line(int index) const { return index >= 0 && index < 3 ? m_lines[index] : nullptr; }

QList<QWidget *> frmMain::pages() const {
    QList<QWidget *> list;
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (child->objectName().left(3) == QLatin1String("ctl")) list.append(child);
    return list;
}

QString frmMain::NoticeText() {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("在开始升级之前，请做好下列准备工作：") + crlf + crlf +
           QStringLiteral("  1、备份岫禾VEQ标准版（迷你版）的账套；  ") + crlf + crlf +
           QStringLiteral("  2、只能在正确安装岫禾VEQ专业版") + g_MinServerVersion +
           QStringLiteral("及以上版本的服务器上使用；  ") + crlf + crlf +
           QStringLiteral("  3、岫禾VEQ标准版（迷你版）支持9.1SP1及以上版本；  ") + crlf + crlf +
           QStringLiteral("  4、岫禾VEQ标准版（迷你版）的期间总数非12、13期的不能进行升级；  ") + crlf + crlf +
           QStringLiteral("  5、升级后需要重新设置操作员密码。  ") + crlf;
}

bool frmMain::Form_Load(const QString &instanceKey) {
    setWindowTitle(QString());
    delete m_instance;
    m_instance = new SingleInstance(instanceKey.isEmpty() ? WindowTitle : instanceKey, this);
    if (!m_instance->acquire()) {
        m_ending = true;  // the other copy was brought to the front
        return false;
    }
    connect(m_instance, &SingleInstance::raiseRequested, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
    setWindowTitle(WindowTitle);

    ApplyProgramDefaults();
    m_bar->setValue(0);
    m_next->setBackColor(WizardControls::kMainWindowBackColor);
    m_previous->setBackColor(WizardControls::kMainWindowBackColor);
    GoToStep(0);

    m_notice->setText(NoticeText());
    m_notice->adjustSize();
    m_advice->setText(QStringLiteral(" 6、建议升级后的账套只用于查询。"));
    m_advice->adjustSize();
    m_advice->move(m_notice->x(), m_notice->y() + m_notice->height());

    if (!PassVersionGate()) {
        ShowMessage(QStringLiteral("该工具支持升级到VEQ专业版") + g_MinServerVersion + QStringLiteral("或以上版本"), 64,
                    kMessageTitle);
        return true;
    }
    g_UpgradeSettings = PnwList();
    const int top = TitleBar::BarHeight;
    m_lines[0]->setGeometry(0, height() - 1, width(), 1);
    m_lines[1]->setGeometry(0, top, 1, height() - top);
    m_lines[2]->setGeometry(width() - 1, top, 1, height() - top);
    for (QWidget *line : m_lines) line->show();
    ReportUsage(QStringLiteral("LOAD"));
    return true;
}

bool frmMain::runActive() const { return m_checkData->isRunning() || m_upgrade->isRunning(); }

void frmMain::GoToStep(int index) {
    for (int i = 0; i < m_steps.size(); ++i) m_steps[i]->setActived(i == index);
    for (QWidget *page : pages()) page->hide();
    m_status->clear();
    m_previous->hide();
    m_previous->setCaption(kPrevious);
    g_WizardStep = index;
    m_furthest = qMax(m_furthest, index);
    if (!m_checkData->CheckResult()) m_checkData->setIsActived(false);
    if (!m_upgrade->UpgradeResult()) {
        m_upgrade->setActived(false);
        m_logReport->setIsActived(false);
        m_checkData->setIsActived(false);
    }
    m_notice->hide();
    m_advice->hide();
    g_CancelRequested = false;

    switch (index) {
    case 0:
        m_next->setCaption(kStart);
        m_notice->show();
        m_advice->show();
        break;
    case 1:
        m_setting->show();
        m_previous->show();
        m_next->setCaption(kNext);
        break;
    case 2: {
        m_checkData->show();
        m_next->setCaption(kCancel);
        m_checkData->setLblObject(m_status);
        m_checkData->setBarObject(m_bar);
        if (!m_checkData->IsActived() && g_UpgradeSettings.Count() > 0)
            m_createdAcctNum = g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("AcctNum")).toString();
        m_checkData->setIsActived(true);
        if (m_ending || g_WizardStep != 2) return;  // the program ended, or a nested step took over
        m_previous->show();
        m_next->setCaption(m_checkData->CheckResult() ? kNext : kRecheck);
        break;
    }
    case 3:
        m_upgrade->show();
        m_next->setCaption(kCancel);
        m_upgrade->setLblObject(m_status);
        m_upgrade->setActived(true);
        if (m_ending) return;
        GoToStep(4);
        return;
    case 4:
        m_logReport->show();
        m_logReport->setIsActived(true);
        if (m_upgrade->UpgradeResult()) {
            m_next->setCaption(kFinish);
            ReportUsage(QStringLiteral("SUCCESS"));
        } else {
            m_next->setCaption(kRetry);
            m_previous->setCaption(kClose);
            m_previous->show();
        }
        break;
    default: break;
    }
    // A cancel leaves the button off until the interrupted run has returned.
    m_next->setEnabled(true);
    // The keys go to the wizard's button on the welcome page, and wherever
    // the focus was left on a control that no longer shows.
    QWidget *focused = focusWidget();
    if (index == 0 || !focused || !focused->isVisibleTo(this)) m_next->setFocus(Qt::OtherFocusReason);
}

void frmMain::btnNext_Click() {
    if (WaitCursorSeam::isBusy()) return;  // dropped while the busy pointer shows
    const QString caption = m_next->Caption();
    if (caption == kFinish) {
        EndProgram();
        return;
    }
    if (caption == kCancel) {
        cancelRun();
        return;
    }
    if (caption == kRetry || caption == kRecheck) {
        DeleteNewAccount();
        GoToStep(2);
        return;
    }
    if (runActive()) return;  // a cancelled run is still ending
    try {
        if (g_WizardStep == 1) {
            // A check made before going back created an account set; the
            // next check starts without it.
            if (!m_createdAcctNum.isEmpty()) {
                deleteAccount(m_createdAcctNum);
                m_createdAcctNum.clear();
            }
            const PnwList settings = m_setting->Result();
            if (settings.Count() == 0) return;
            g_UpgradeSettings = settings;
        }
        if (g_WizardStep < 4) GoToStep(g_WizardStep + 1);
    } catch (const PnwError &e) {
        const int icon = e.number() == 5 ? 64 : e.number() == 6 ? 48 : 16;
        ShowMessage(e.description(), icon, kMessageTitle);
    } catch (const ado::AdoError &e) {
        // A server error from the settings' look-ups: its own text, as the
        // user needs it, without the number in front.
        ShowMessage(e.description(), 16, kMessageTitle);
    } catch (const std::exception &e) {
        ShowMessage(QString::fromLocal8Bit(e.what()), 16, kMessageTitle);
    }
}

void frmMain::cancelRun() {
    g_CancelRequested = true;
    m_next->setEnabled(false);
    BeginWaitCursor();
    QCoreApplication::processEvents();
    DeleteNewAccount();
    m_next->setCaption(kNext);
    if (!runActive()) m_next->setEnabled(true);
    EndWaitCursor();
}

void frmMain::btnPrevious_Click() {
    if (m_previous->Caption() == kClose) {
        ReportUsage(QStringLiteral("FAIL"));
        close();
        return;
    }
    if (g_WizardStep > 0) GoToStep(g_WizardStep - 1);
}

QString frmMain::newAccountNumber() const {
    if (!m_createdAcctNum.isEmpty()) return m_createdAcctNum;
    if (g_UpgradeSettings.Count() == 0) return QString();
    return g_UpgradeSettings.DictionaryItem(1).Item(QStringLiteral("AcctNum")).toString();
}

void frmMain::deleteAccount(const QString &acctNum) {
    if (acctNum.isEmpty()) return;
    try {
        if (WizardHooks::ExistAcct(acctNum)) WizardHooks::DeleteAcct(acctNum);
    } catch (const std::exception &) {
        // The result of a deletion is not used; what is left is offered again on closing.
    }
}

void frmMain::DeleteNewAccount() {
    if (g_UpgradeSettings.Count() == 0) return;
    deleteAccount(newAccountNumber());
}

bool frmMain::Form_Unload() {
    bool exists = false;
    if (!(m_upgrade->UpgradeResult() && m_checkData->CheckResult()) && g_UpgradeSettings.Count() > 0) {
        try {
            exists = WizardHooks::ExistAcct(newAccountNumber());
        } catch (const std::exception &) {
            exists = false;
        }
    }
    if (exists) {
        const int answer = ShowMessage(QStringLiteral("升级没有成功，需要删除新建的账套吗？"), 67, kMessageTitle);
        if (answer == 6) {
            g_CancelRequested = true;
            DeleteNewAccount();
            EndProgram();
            return true;
        }
        if (answer == 7) {
            EndProgram();
            return true;
        }
        return false;
    }
    if (ShowMessage(QStringLiteral("确定要退出吗？"), 68, kMessageTitle) == 6) {
        EndProgram();
        return true;
    }
    return false;
}

void frmMain::EndProgram() {
    if (m_ending) return;
    m_ending = true;
    g_ProgramEnding = true;
    hide();
    if (quitHook())
        quitHook()();
    else
        QCoreApplication::quit();
}

void frmMain::closeEvent(QCloseEvent *event) {
    if (m_ending || Form_Unload())
        event->accept();
    else
        event->ignore();
}

void frmMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // The items lay themselves out anew when first shown, which hides the
    // highlight; mark the current step again.
    for (int i = 0; i < m_steps.size(); ++i) m_steps[i]->setActived(i == g_WizardStep);
}

void frmMain::resizeEvent(QResizeEvent *) { m_titleBar->setGeometry(0, 0, width(), TitleBar::BarHeight); }

void frmMain::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), QColor(235, 242, 252));
    // The step list's column.
    p.fillRect(QRect(0, TitleBar::BarHeight, 174, height() - TitleBar::BarHeight), QColor(214, 228, 246));
}

void frmMain::EnableSteps(bool flag) {
    for (int i = 0; i < m_steps.size(); ++i) m_steps[i]->setEnabledProperty(flag && i <= m_furthest);
}

void ShowUpgradeLogLine(const UpgradeLogLine &line) {
    frmMain *window = frmMain::current();
    if (!window) return;
    (g_WizardStep == 2 ? window->ctlCheckData() : window->ctlLogReport())->addLogLine(line);
}

void ShowUpgradeLogText(const QString &text) { ShowUpgradeLogLine(UpgradeLogLine::fromText(text)); }
