// tarn-cli print in a build without Qt, which renders the PDF: it says so.
#include <cstdio>

#include "cli/cli_command.h"
#include "model/message_texts.h"

namespace tarn::cli {

int runPrint(const std::vector<std::string>&) {
    std::fputs(msg::kCliNoPrint, stderr);
    return kExitFailure;
}

}  // namespace tarn::cli
