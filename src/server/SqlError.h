// One error of the database server stand-in: the server's error number and
// its message text (as a Simplified Chinese server words it). Every failure
// the engine reports, from the tokenizer to the session, is one of these.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace server {

// What an error does to the batch that raised it.
enum class ErrorScope {
    Statement,   // the statement fails, the batch goes on
    Batch,       // the rest of the batch is skipped
    Parse,       // nothing of the batch ran
    Connection,  // the session is unusable
};

class SqlError : public std::runtime_error {
public:
    SqlError(int number, const std::string &text);

    int number() const { return number_; }
    const std::string &text() const { return text_; }
    ErrorScope scope() const;

    // A second message the server reports right after this one (5074 then 4922).
    SqlError &then(int number, const std::string &text);
    const std::vector<std::pair<int, std::string>> &followUps() const { return followUps_; }

private:
    int number_;
    std::string text_;
    std::vector<std::pair<int, std::string>> followUps_;
};

// Builds an error from the message table: "%1", "%2" ... in the template are
// replaced by the arguments in order.
SqlError makeError(int number, const std::string &a1 = {}, const std::string &a2 = {}, const std::string &a3 = {});

// The message template of a number ("" when the table has none).
const char *errorTemplate(int number);

}  // namespace server
