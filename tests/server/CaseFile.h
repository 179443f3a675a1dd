// Engine test cases as plain text. A file is a list of blocks separated by
// blank lines:
//
//   statement ok              the batch must run without an error
//   <batch lines>
//
//   statement error 8152 [text]   the batch's first error has this number
//   <batch lines>                  (and its text contains `text`)
//
//   query                     the batch's first result set has these rows
//   <batch lines>             (cells joined by " | ", NULL for null)
//   ----
//   <expected rows>
//
//   session 2                 later blocks run on session 2 (1 is the default)
//   session 2 closed          session 2 ends (its connection goes back to the
//                             pool); later blocks run on session 1
//   transaction begin|commit|rollback
//
// Lines starting with '#' are comments. Every file runs against a new
// database in a new server instance.
#pragma once

#include <string>
#include <vector>

struct Case {
    enum class Kind { Ok, Error, Query, Session, Transaction } kind = Kind::Ok;
    int line = 0;
    std::string sql;
    int errorNumber = 0;
    std::string errorText;
    std::vector<std::string> rows;
    std::string argument;
};

std::vector<Case> readCaseFile(const std::string &path);
