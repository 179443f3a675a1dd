// The log page: lists the upgrade log's lines as they arrive, in a list with
// status icons (in front) and in a grid that also keeps each entry's detail-
// table name. The main window holds two: ctlCheckData on step 2, which also
// drives the data-check run, and ctlLogReport on step 4, which lists what
// the upgrade run logged. From a row the operator opens the run's report at
// the entry's detail table. UI thread only.
#pragma once

#include <QList>
#include <QWidget>

#include "wizard/RunOutcome.h"
#include "foundation/UpgradeLog.h"

class ProgressBar;
class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

class cltLogReport : public QWidget {
    Q_OBJECT
public:
    explicit cltLogReport(QWidget *parent = nullptr);
    ~cltLogReport() override;

    static constexpr int InitialGridRows = 18;

    // Setting True on step 2 runs the whole data check before returning;
    // setting False clears the page. Setting the value it has does nothing.
    bool IsActived() const { return m_active; }
    void setIsActived(bool active);

    // True only after a check run that passed: every stage returned 0 or 1.
    // A failed, cancelled or broken run leaves it False, whatever was
    // logged last. Clearing the page keeps it.
    bool CheckResult() const { return m_outcome == RunOutcome::Passed; }
    // How the last run ended.
    RunOutcome outcome() const { return m_outcome; }
    // True while a check run is going.
    bool isRunning() const { return m_running; }

    void setLblObject(QLabel *label) { m_label = label; }
    void setBarObject(ProgressBar *bar) { m_bar = bar; }

    // One line to add; the empty text clears the lines.
    void setLog(const QString &text);
    void addLogLine(const UpgradeLogLine &line);
    const QList<UpgradeLogLine> &lines() const { return m_lines; }

    // Opens the report for row r (from 1) as a click on its log cell does.
    void openReportAtRow(int row);

    QTreeWidget *lvwDetail() const { return m_list; }
    QTableWidget *gridDetail() const { return m_grid; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setUp();
    void clearPage();
    void addRow(const UpgradeLogLine &line);
    void runDataCheck();
    void endRun(RunOutcome outcome);
    void onListDoubleClick(QTreeWidgetItem *item);

    bool m_active = false;
    bool m_running = false;
    RunOutcome m_outcome = RunOutcome::NotRun;
    QLabel *m_label = nullptr;
    ProgressBar *m_bar = nullptr;
    QList<UpgradeLogLine> m_lines;

    QTreeWidget *m_list;
    QTableWidget *m_grid;
};
