#include "together.h"

#include <windows.h>

namespace lt::probe {

int StartTogether(const std::wstring& exe, const std::vector<std::wstring>& tails, unsigned waitMs,
                  std::string& error)
{
    std::vector<PROCESS_INFORMATION> started;
    for (const std::wstring& tail : tails) {
        std::wstring line = L"\"" + exe + L"\" " + tail;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                            &pi)) {
            error = "cannot start a copy";
            break;
        }
        started.push_back(pi);
    }
    for (const PROCESS_INFORMATION& pi : started)
        ResumeThread(pi.hThread);
    int running = 0;
    const DWORD until = GetTickCount() + waitMs;
    do {
        running = 0;
        for (const PROCESS_INFORMATION& pi : started)
            running += WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
    } while (running > 1 && GetTickCount() < until && (Sleep(50), true));
    for (const PROCESS_INFORMATION& pi : started)
        CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
    return error.empty() ? running : -1;
}

} // namespace lt::probe
