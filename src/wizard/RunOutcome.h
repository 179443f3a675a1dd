// How a run of the wizard ended. The pages judge a run by this alone, never
// by what was logged last.
#pragma once

enum class RunOutcome {
    NotRun,     // no run since the page was last cleared
    Passed,     // every stage returned 0 or 1
    Failed,     // a stage returned 2, or the run could not start
    Cancelled,  // the operator cancelled, or the program is ending
    Error,      // an error reached the run itself
};
