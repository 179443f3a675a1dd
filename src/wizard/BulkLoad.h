// The account set an upgrade run builds is written without syncing each
// commit to disk (the server's delayed durability on that database only): a
// run that stops in the middle leaves a half-made set that the retry deletes
// anyway. Finishing puts the set's ordinary setting back, which first
// brings everything committed to disk; only then may the run report
// success. Holds no connection while the run goes on (the cancel deletes
// the set under it). UI thread only.
#pragma once

#include <QString>

class BulkLoad {
public:
    // Starts on the set the connection string reaches; when it cannot, the
    // run goes on at the ordinary setting.
    explicit BulkLoad(QString connectString);
    // Ends quietly when finish was not called (a run that did not pass).
    ~BulkLoad();
    BulkLoad(const BulkLoad &) = delete;
    BulkLoad &operator=(const BulkLoad &) = delete;

    // Ends: what the run wrote is on disk. Throws the ADO error when the set
    // could not be written to disk.
    void finish();

private:
    QString connectString_;
    bool started_ = false;
};
