// The MCI command-string interface as the movie player uses it, so that the
// player can run against the platform or against a recorder.
#pragma once
#include <string>
#include <string_view>

namespace lt {

class MovieMci {
public:
    virtual ~MovieMci() = default;
    // mciSendString with a 1024-character reply; returns the error code.
    virtual unsigned Send(std::string_view command, std::string& reply) = 0;
    // mciExecute: failures are shown to the user by the platform.
    virtual void Execute(std::string_view command) = 0;
    // The platform's text for an error code.
    virtual std::string ErrorText(unsigned code) = 0;
    // Tells the user about a failed command sent with Send, as Execute would.
    virtual void ReportError(unsigned code) = 0;

    // The reply of a query whose result is not tested.
    std::string Query(std::string_view command)
    {
        std::string reply;
        Send(command, reply);
        return reply;
    }
};

// The real port: winmm.
MovieMci& PlatformMci();

} // namespace lt
