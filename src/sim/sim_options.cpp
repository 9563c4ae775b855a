#include "sim/sim_options.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tarn {
namespace {

bool parseNumber(const char* text, int base, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, base);
    return *text && *end == '\0' && value >= low && value <= high;
}

}  // namespace

const char* simHelpText() {
    return "usage: tarn-radio-sim [OPTIONS]\n"
           "\n"
           "A simulated radio for Tarn DataBase, for learning the program without a radio.\n"
           "It opens a pseudo-terminal, prints its path on the first line of output, and\n"
           "answers there as a radio in its RS-232 mode: a carriage return gets the prompt\n"
           "\"#\", \"D 1800 0800\" a hexadecimal dump of its 2048-byte memory, and \"L 0000\"\n"
           "with Intel HEX records programs it. Use the printed path as the port name\n"
           "(Setup > Radio port, or tarn-cli --port PATH). Stop it with Ctrl+C.\n"
           "\n"
           "Memory (default: the demonstration client):\n"
           "  --memory FILE        start from 2048 raw bytes\n"
           "  --database FILE      start from a client of a database file\n"
           "  --client INDEX       which client of --database (default 0)\n"
           "  --save FILE          write the memory (2048 raw bytes) after each completed\n"
           "                       load, on SIGUSR1 and on exit\n"
           "\n"
           "Line:\n"
           "  --no-pacing          send at full speed instead of 4800 baud\n"
           "  --verbose            tell on stderr what the radio receives and does\n"
           "\n"
           "Faults of a real radio or cable:\n"
           "  --no-prompt          never answer a carriage return\n"
           "  --silent-dump        answer the dump command with nothing\n"
           "  --cut-short BYTES    stop the dump reply after BYTES bytes\n"
           "  --drop-line ADDRESS  leave the dump line at hex ADDRESS out (repeatable)\n"
           "  --oversize           pad the dump reply past the size a reader accepts\n"
           "  --lower-case         hexadecimal digits in lower case\n"
           "  --shuffle            dump lines out of order\n"
           "  --noise              junk lines between the dump lines\n"
           "  --hang-up BYTES      drop the line after BYTES bytes of the dump reply, then exit\n"
           "  --trickle MS         send the dump reply one byte every MS milliseconds\n"
           "  --corrupt ADDRESS    store the byte loaded at hex ADDRESS (1800..1FFF) inverted\n"
           "  --help               this text\n";
}

std::optional<SimOptions> parseSimOptions(int argc, char** argv, std::string& error) {
    SimOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&] {
            if (!value)
                error = std::string(arg) + " needs a value";
            else
                ++i;
            return value != nullptr;
        };
        long number = 0;
        if (arg == "--help") {
            error.clear();
            return std::nullopt;
        } else if (arg == "--no-pacing") {
            options.paced = false;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--no-prompt") {
            options.faults.noPrompt = true;
        } else if (arg == "--silent-dump") {
            options.faults.silentDump = true;
        } else if (arg == "--oversize") {
            options.faults.padTo = 10400;  // past the 10219 bytes a reader accepts
        } else if (arg == "--lower-case") {
            options.faults.lowerCase = true;
        } else if (arg == "--shuffle") {
            options.faults.shuffled = true;
        } else if (arg == "--noise") {
            options.faults.noise = true;
        } else if (arg == "--memory" || arg == "--database" || arg == "--save") {
            if (!needValue()) return std::nullopt;
            (arg == "--memory"     ? options.memoryFile
             : arg == "--database" ? options.databaseFile
                                   : options.saveFile) = value;
        } else if (arg == "--client" || arg == "--cut-short" || arg == "--hang-up" ||
                   arg == "--trickle") {
            if (!needValue()) return std::nullopt;
            if (!parseNumber(value, 10, 0, 1000000, number)) {
                error = std::string(arg) + " takes a number, not \"" + value + "\"";
                return std::nullopt;
            }
            (arg == "--client"      ? options.client
             : arg == "--cut-short" ? options.faults.cutShortAt
             : arg == "--hang-up"   ? options.faults.hangUpAt
                                    : options.faults.trickleMs) = static_cast<int>(number);
        } else if (arg == "--drop-line" || arg == "--corrupt") {
            if (!needValue()) return std::nullopt;
            const long low = arg == "--corrupt" ? RadioMonitor::kBase : 0;
            const long high =
                arg == "--corrupt" ? RadioMonitor::kBase + RadioMonitor::kMemorySize - 1 : 0xFFFF;
            if (!parseNumber(value, 16, low, high, number)) {
                error = std::string(arg) + " takes a hexadecimal address, not \"" + value + "\"";
                return std::nullopt;
            }
            if (arg == "--corrupt")
                options.faults.corruptAddress = static_cast<int>(number);
            else
                options.faults.droppedLines.insert(static_cast<std::uint16_t>(number));
        } else {
            error = "unknown option " + std::string(arg) + " (try --help)";
            return std::nullopt;
        }
    }
    if (!options.memoryFile.empty() && !options.databaseFile.empty()) {
        error = "--memory and --database exclude each other";
        return std::nullopt;
    }
    return options;
}

}  // namespace tarn
