#include <QCoreApplication>

#include "shell/application.h"
#include "shell/command_line.h"

int main(int argc, char** argv) {
    // --help and --version are answered before the window system is reached, so they work
    // on a console without a display; processCommandLine exits after printing them.
    if (tarn::asksForHelpOrVersion(argc, argv)) {
        QCoreApplication app(argc, argv);
        tarn::processCommandLine(app);
    }
    return tarn::runApplication(argc, argv);
}
