#pragma once

#include <QRect>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <vector>

#include "model/services.h"
#include "shell/shell_services.h"

namespace tarn {

class FrameWindow;
class SettingsBackend;
class SingleInstance;

// How the program starts; tests choose their own instance name, settings and no splash.
struct StartOptions {
    QString serverName;                   // empty: the user's session-wide name
    SettingsBackend* settings = nullptr;  // null: the platform's settings
    bool splash = true;
    bool installSeams = true;   // false: keep the message boxes, dialogs etc. installed now
    int reachTimeoutMs = 5000;  // a running program that does not answer by then is passed by
};

// The running program: its frame and the listener that makes it the only one.
class Program {
  public:
    // Starts the program with its command-line paths. Null when a program already runs
    // and took the paths: the process then ends with 0. One that cannot be reached in
    // time does not stop this start; this one then runs alone.
    static std::unique_ptr<Program> start(const std::vector<std::filesystem::path>& paths,
                                          const StartOptions& options);
    ~Program();

    FrameWindow& frame() { return *frame_; }

  private:
    Program() = default;
    std::unique_ptr<SettingsBackend> ownSettings_;
    // The program's services, the frame among them, for as long as it runs.
    std::unique_ptr<ScopedServices> services_;
    std::unique_ptr<ScopedShellServices> shellServices_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<FrameWindow> frame_;
};

// The frame's first rectangle from "Window Placement": left and top kept on the screen,
// width and height as stored (none stored: the default size for this screen).
QRect initialFrameGeometry(const QRect& screen);

// The whole program: start-up, the event loop, exit code 0.
int runApplication(int argc, char** argv);

}  // namespace tarn
