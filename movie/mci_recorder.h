// An MCI port that records every call and answers from a script, for tests.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "movie/mci_port.h"

namespace lt {

class MciRecorder final : public MovieMci {
public:
    struct Answer {
        unsigned Code = 0;
        std::string Reply;
    };

    // Calls as "send <command>", "exec <command>", "report <code>".
    std::vector<std::string> Calls;
    // Answers by command; commands not listed succeed with an empty reply.
    std::map<std::string, Answer, std::less<>> Answers;
    // Runs after an executed command, as its message box would let messages run.
    std::function<void(std::string_view)> AfterExecute;

    unsigned Send(std::string_view command, std::string& reply) override;
    void Execute(std::string_view command) override;
    std::string ErrorText(unsigned code) override;
    void ReportError(unsigned code) override;

    // Only the calls that reach the device as commands (no queries).
    std::vector<std::string> Commands() const;
};

} // namespace lt
