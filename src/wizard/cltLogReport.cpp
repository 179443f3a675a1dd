#include "wizard/cltLogReport.h"

#include <exception>
#include <memory>

#include <QCoreApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTableWidget>
#include <QTreeWidget>

#include "controls/ProgressBar.h"
#include "foundation/ErrorText.h"
#include "foundation/Globals.h"
#include "foundation/Messages.h"
#include "foundation/Progress.h"
#include "foundation/TextLog.h"
#include "foundation/UpgradeLog.h"
#include "foundation/UsageStatistics.h"
#include "platform/PnwError.h"
#include "wizard/UpgradeRuns.h"
#include "wizard/WizardFonts.h"
#include "wizard/WizardHooks.h"

namespace {

constexpr int kLogColumn = 5;   // the grid's clickable column, from 1
constexpr int kLinkColumn = 6;  // the detail table's name

QIcon statusIcon(const QColor &colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(140));
    p.setBrush(colour);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return QIcon(pixmap);
}

QIcon iconFor(const QString &status) {
    if (status == QStringLiteral("成功")) return statusIcon(QColor(60, 170, 80));
    if (status == QStringLiteral("警告")) return statusIcon(QColor(240, 180, 40));
    if (status == QStringLiteral("错误")) return statusIcon(QColor(220, 50, 50));
    return QIcon();
}

}  // namespace

cltLogReport::cltLogReport(QWidget *parent) : QWidget(parent) {
    m_grid = new QTableWidget(this);
    m_list = new QTreeWidget(this);
    setUp();
    m_grid->hide();  // the list is in front; the grid keeps what the list has no column for
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item, int) { onListDoubleClick(item); });
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column + 1 == kLogColumn) openReportAtRow(row + 1);
    });
}

cltLogReport::~cltLogReport() = default;

void cltLogReport::setUp() {
    m_lines.clear();
    m_grid->clear();
    m_grid->setColumnCount(kLinkColumn);
    m_grid->setRowCount(InitialGridRows);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("状态"), QStringLiteral("时间"), QStringLiteral("项目"),
                                       QStringLiteral("描述"), QStringLiteral("日志（可单击查看详细日志）"),
                                       QString()});
    m_grid->setColumnHidden(kLinkColumn - 1, true);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Widths in the grid's character units (the average character of its font).
    const double units[] = {7, 13.5, 13.25, 19.25, 21.25};
    const int character = m_grid->fontMetrics().averageCharWidth();
    for (int c = 0; c < 5; ++c) m_grid->setColumnWidth(c, qRound(units[c] * character));

    m_list->clear();
    QFont font = m_list->font();
    font.setFamily(WizardFonts::songFamily());
    font.setPointSize(10);
    m_list->setFont(font);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setColumnCount(5);
    m_list->setHeaderLabels({QStringLiteral("状态"), QStringLiteral("时间"), QStringLiteral("项目"),
                             QStringLiteral("描述"), QStringLiteral("日志")});
    // Twips of the design: 600, 2000, 1500, 3000 and the rest.
    m_list->setColumnWidth(0, 40);
    m_list->setColumnWidth(1, 133);
    m_list->setColumnWidth(2, 100);
    m_list->setColumnWidth(3, 200);
    m_list->header()->setStretchLastSection(true);
    m_list->setToolTip(QStringLiteral("双击可以查看明细"));
}

void cltLogReport::resizeEvent(QResizeEvent *) {
    m_list->setGeometry(0, 0, width(), height());
    m_grid->setGeometry(0, 0, width(), height());
}

void cltLogReport::clearPage() {
    m_list->clear();
    m_grid->clearContents();
    setUp();
}

void cltLogReport::setIsActived(bool active) {
    if (active == m_active) return;
    m_active = active;
    try {
        if (active)
            runDataCheck();
        else
            clearPage();
    } catch (const std::exception &e) {
        WriteTextLog(QStringLiteral("Exception occurs in LogReport.IsActived:") + ErrorDescription(e));
    }
}

void cltLogReport::setLog(const QString &text) {
    if (text.isEmpty()) {
        m_lines.clear();
        m_list->clear();
        m_grid->clearContents();
        m_grid->setRowCount(InitialGridRows);
        return;
    }
    addLogLine(UpgradeLogLine::fromText(text));
}

void cltLogReport::addLogLine(const UpgradeLogLine &line) {
    m_lines.append(line);
    addRow(line);
}

void cltLogReport::addRow(const UpgradeLogLine &line) {
    const int n = static_cast<int>(m_lines.size());
    if (m_grid->rowCount() < n) m_grid->setRowCount(n);
    const QString fields[] = {line.time, line.project, line.description, line.detail, line.link};
    for (int c = 2; c <= kLinkColumn; ++c) m_grid->setItem(n - 1, c - 1, new QTableWidgetItem(fields[c - 2]));
    QTableWidgetItem *logCell = m_grid->item(n - 1, kLogColumn - 1);
    QFont underlined = logCell->font();
    underlined.setUnderline(true);
    logCell->setFont(underlined);
    if (line.status == QStringLiteral("成功"))
        logCell->setForeground(QColor(0, 0, 0));
    else if (line.status == QStringLiteral("警告"))
        logCell->setForeground(QColor(0, 0, 255));
    else if (line.status == QStringLiteral("错误"))
        logCell->setForeground(QColor(255, 0, 0));

    auto *item =
        new QTreeWidgetItem(m_list, QStringList{QString(), line.time, line.project, line.description, line.detail});
    item->setIcon(0, iconFor(line.status));
    if (!line.link.isEmpty()) {
        // The way to the entry's detail table reads as a link.
        QFont link = m_list->font();
        link.setUnderline(true);
        item->setFont(4, link);
        item->setForeground(4, QColor(0, 0, 255));
    }
    m_list->scrollToItem(item);
}

void cltLogReport::openReportAtRow(int row) {
    if (row < 1 || row > m_grid->rowCount()) return;
    const QString report = g_WizardStep == 2 ? WizardHooks::CheckReportPath() : WizardHooks::UpgradeReportPath();
    auto cellText = [this, row](int column) {
        const QTableWidgetItem *cell = m_grid->item(row - 1, column - 1);
        return cell ? cell->text() : QString();
    };
    if (cellText(kLinkColumn).isEmpty() || cellText(kLogColumn).isEmpty()) {
        WizardHooks::OpenReport(report, QStringLiteral("日志总览"));
        return;
    }
    if (report.isEmpty()) {
        ShowMessage(QStringLiteral("找不到日志文件。"), 64, kMessageTitle);
        return;
    }
    WizardHooks::OpenReport(report, cellText(kLinkColumn));
    m_grid->item(row - 1, kLogColumn - 1)->setForeground(QColor(85, 26, 139));
    if (QTreeWidgetItem *item = m_list->topLevelItem(row - 1)) item->setForeground(4, QColor(85, 26, 139));
}

void cltLogReport::onListDoubleClick(QTreeWidgetItem *item) {
    if (!m_grid->isEnabled()) {
        ShowMessage(QStringLiteral("正在写入日志，请该操作完成后查看。"), 64, kMessageTitle);
        return;
    }
    if (!item) return;
    openReportAtRow(m_list->indexOfTopLevelItem(item) + 1);
}

void cltLogReport::runDataCheck() {
    if (g_WizardStep != 2) return;
    m_running = true;
    m_outcome = RunOutcome::NotRun;
    if (m_bar) m_bar->show();
    m_grid->setEnabled(false);
    endRun(RunDataCheck(m_bar, m_label));
}

void cltLogReport::endRun(RunOutcome outcome) {
    if (m_bar) m_bar->hide();
    m_grid->setEnabled(true);
    m_outcome = outcome;
    m_running = false;
}
