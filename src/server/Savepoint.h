// Makes a piece of work atomic: a savepoint is opened on construction;
// release() keeps the work; leaving the scope without release() (an error)
// undoes it and lets the savepoint go. Used for every statement, DDL and
// trigger firing that must be undone as a whole.
#pragma once

#include <string>

namespace server {

class Session;

class Savepoint {
public:
    // The statements of one savepoint name.
    struct Name {
        std::string open, release, rollback;
    };
    static const Name kStatement, kDdl, kTrigger;

    Savepoint(Session &session, const Name &name);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    // Keeps the work. Releasing the outermost savepoint commits: a refused
    // commit throws and is not undone here (the caller's transaction rules
    // apply, as for a plain COMMIT).
    void release();

private:
    Session &session_;
    const Name &name_;
    bool done_ = false;
};

}  // namespace server
