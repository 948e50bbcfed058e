#include <windows.h>
#include <mmsystem.h>

#include <array>

#include "core/app_identity.h"
#include "movie/mci_port.h"

// Exported by winmm but missing from the headers.
extern "C" BOOL WINAPI mciExecute(LPCSTR command);

namespace lt {

namespace {

constexpr std::size_t ReplyChars = 1024;

class WinMci final : public MovieMci {
public:
    unsigned Send(std::string_view command, std::string& reply) override
    {
        std::array<char, ReplyChars> buffer{};
        MCIERROR code = mciSendStringA(std::string(command).c_str(), buffer.data(), ReplyChars, nullptr);
        buffer.back() = '\0';
        reply = buffer.data();
        return code;
    }

    void Execute(std::string_view command) override { mciExecute(std::string(command).c_str()); }

    std::string ErrorText(unsigned code) override
    {
        std::array<char, ReplyChars> buffer{};
        if (!mciGetErrorStringA(code, buffer.data(), ReplyChars) || buffer[0] == '\0')
            return "MCI error " + std::to_string(code);
        buffer.back() = '\0';
        return buffer.data();
    }

    void ReportError(unsigned code) override
    {
        MessageBoxA(nullptr, ErrorText(code).c_str(), AppTitle, MB_OK);
    }
};

} // namespace

MovieMci& PlatformMci()
{
    static WinMci port;
    return port;
}

} // namespace lt
