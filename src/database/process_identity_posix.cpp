#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "database/process_identity.h"

namespace tarn {

ProcessIdentity thisProcess() {
    ProcessIdentity self;
    const passwd* account = getpwuid(geteuid());
    self.user = account && account->pw_name ? account->pw_name : std::to_string(geteuid());
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) self.host = host;
    std::ifstream comm("/proc/self/comm");
    std::getline(comm, self.program);
    self.pid = getpid();
    self.started = processStart(self.pid).value_or(0);
    return self;
}

std::optional<std::uint64_t> processStart(std::int64_t pid) {
    if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)) return std::nullopt;
    // Linux: the 22nd field of /proc/PID/stat, counted after the command name, which
    // may itself hold blanks and parentheses.
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), {}};
    const std::size_t end = stat.rfind(')');
    if (end == std::string::npos) return 0;
    std::istringstream fields(stat.substr(end + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) return std::stoull(field);
    }
    return 0;
}

}  // namespace tarn
