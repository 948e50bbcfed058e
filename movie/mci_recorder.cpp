#include "movie/mci_recorder.h"

namespace lt {

unsigned MciRecorder::Send(std::string_view command, std::string& reply)
{
    Calls.push_back("send " + std::string(command));
    auto it = Answers.find(command);
    reply = it == Answers.end() ? std::string() : it->second.Reply;
    return it == Answers.end() ? 0 : it->second.Code;
}

void MciRecorder::Execute(std::string_view command)
{
    Calls.push_back("exec " + std::string(command));
    if (AfterExecute)
        AfterExecute(command);
}

std::string MciRecorder::ErrorText(unsigned code)
{
    return "error " + std::to_string(code);
}

void MciRecorder::ReportError(unsigned code)
{
    Calls.push_back("report " + std::to_string(code));
}

std::vector<std::string> MciRecorder::Commands() const
{
    std::vector<std::string> out;
    for (const std::string& c : Calls)
        if (c.rfind("send status", 0) != 0 && c.rfind("send where", 0) != 0)
            out.push_back(c);
    return out;
}

} // namespace lt
