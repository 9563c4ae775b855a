// tarn-cli print in a build without Qt, which renders the PDF: it says so.
#include <cstdio>

#include "cli/cli_command.h"

namespace tarn::cli {

int runPrint(const std::vector<std::string>&) {
    std::fputs("tarn-cli: print is not available in this build (it was built without Qt).\n",
               stderr);
    return kExitFailure;
}

}  // namespace tarn::cli
