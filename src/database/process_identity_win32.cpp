#include <windows.h>

#include <filesystem>

#include "database/process_identity.h"

namespace tarn {
namespace {

std::string utf8(const wchar_t* text) {
    const std::u8string bytes = std::filesystem::path(text).u8string();
    return {bytes.begin(), bytes.end()};
}

}  // namespace

ProcessIdentity thisProcess() {
    ProcessIdentity self;
    wchar_t text[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (GetUserNameW(text, &size)) self.user = utf8(text);
    size = MAX_PATH;
    if (GetComputerNameW(text, &size)) self.host = utf8(text);
    if (GetModuleFileNameW(nullptr, text, MAX_PATH))
        self.program = utf8(std::filesystem::path(text).filename().c_str());
    self.pid = GetCurrentProcessId();
    self.started = processStart(self.pid).value_or(0);
    return self;
}

std::optional<std::uint64_t> processStart(std::int64_t pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) {
        // Another user's process cannot be asked, but it is there.
        return GetLastError() == ERROR_ACCESS_DENIED ? std::optional<std::uint64_t>(0)
                                                     : std::nullopt;
    }
    DWORD code = 0;
    FILETIME created{}, ignored{};
    std::optional<std::uint64_t> start;
    if (GetExitCodeProcess(process, &code) && code == STILL_ACTIVE) {
        start = 0;
        if (GetProcessTimes(process, &created, &ignored, &ignored, &ignored))
            start = (std::uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime;
    }
    CloseHandle(process);
    return start;
}

}  // namespace tarn
