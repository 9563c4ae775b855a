// tarn-radio-sim: a simulated radio on a pseudo-terminal.
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "database/client_database.h"
#include "sim/pty_line.h"
#include "sim/radio_server.h"
#include "sim/sim_options.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t saveRequested = 0;

void onStop(int) {
    stopRequested = 1;
}
void onSave(int) {
    saveRequested = 1;
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);  // no SA_RESTART: the wait returns at once
}

bool loadMemory(const tarn::SimOptions& options, tarn::RadioMonitor::Memory& memory) {
    if (!options.memoryFile.empty()) {
        std::ifstream in(options.memoryFile, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        if (!in.is_open() || bytes.size() != memory.size()) {
            std::fprintf(stderr, "tarn-radio-sim: %s does not hold 2048 bytes\n",
                         options.memoryFile.c_str());
            return false;
        }
        std::copy(bytes.begin(), bytes.end(), memory.begin());
        return true;
    }
    tarn::ClientDatabase database(options.databaseFile.empty());
    if (!options.databaseFile.empty() && !database.load(options.databaseFile)) return false;
    if (!database.copyClientImage(options.client, memory.data(), tarn::kImageSize)) {
        std::fprintf(stderr, "tarn-radio-sim: the database has no client %d\n", options.client);
        return false;
    }
    return true;
}

// Through a temporary file, so a reader never sees half a memory.
void saveMemory(const std::string& path, const tarn::RadioMonitor::Memory& memory) {
    if (path.empty()) return;
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(memory.data()),
                  static_cast<std::streamsize>(memory.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "tarn-radio-sim: cannot write %s\n", path.c_str());
            return;
        }
    }
    std::rename(temporary.c_str(), path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = tarn::parseSimOptions(argc, argv, error);
    if (!options) {
        if (error.empty()) {
            std::fputs(tarn::simHelpText(), stdout);
            return 0;
        }
        std::fprintf(stderr, "tarn-radio-sim: %s\n", error.c_str());
        return 2;
    }
    tarn::RadioMonitor radio(options->faults);
    if (!loadMemory(*options, radio.memory())) return 1;

    tarn::PtyLine line;
    if (!line.open()) {
        std::perror("tarn-radio-sim: no pseudo-terminal");
        return 1;
    }
    handle(SIGINT, onStop);
    handle(SIGTERM, onStop);
    handle(SIGHUP, onStop);
    handle(SIGUSR1, onSave);
    std::signal(SIGPIPE, SIG_IGN);

    // The first line of output is the port; whoever started us waits for it.
    std::printf("%s\n", line.slavePath().c_str());
    std::fflush(stdout);

    auto save = [&] { saveMemory(options->saveFile, radio.memory()); };
    tarn::RadioServer(radio, line, options->paced, options->verbose)
        .run(stopRequested, saveRequested, save);
    save();
    return 0;
}
