#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tarn::test {

// tarn-radio-sim as a child process, ready once it has printed its port. stop() or the
// destructor ends it with SIGTERM, which makes it save its memory when --save was given.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> arguments) {
        int out[2];
        if (::pipe(out) != 0) return;
        arguments.insert(arguments.begin(), TARN_RADIO_SIM);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            std::vector<char*> argv;
            for (auto& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
        char c = 0;  // end of file before a whole line: the simulator did not start
        while (::read(out_, &c, 1) == 1 && c != '\n') port_ += c;
        if (c != '\n') port_.clear();
    }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& port() const { return port_; }  // empty when it did not start

    int stop() {  // the exit status, or -1
        int status = -1;
        if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0) ::waitpid(pid_, &status, 0);
        if (out_ >= 0) ::close(out_);
        pid_ = out_ = -1;
        return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string port_;
};

}  // namespace tarn::test
