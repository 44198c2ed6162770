#include "WineLiveWindow.h"

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/ControlLayout.h"

namespace velmora::bench {
namespace {

constexpr int kCommandMs = 30000;  // any one Wine or xdotool command

int Wine(std::vector<std::string> args) {
    args.insert(args.begin(), "wine");
    return RunProgram(args, kCommandMs);
}

// The window's port as a Windows program sees it: COM5, a link in the prefix
// to the instrument's pseudo-terminal, declared under Wine's Ports key so
// that the mount manager lists it when the Wine server starts. Managed by the
// window system, Wine's X window is the client area alone (no window manager
// runs to add a frame), so X coordinates in it are client coordinates. All of
// it is undone when this goes.
class WinePort {
  public:
    WinePort(std::string prefix, const std::string& terminal) : prefix_(std::move(prefix)) {
        std::error_code error;
        std::filesystem::remove(Link(), error);
        std::filesystem::create_symlink(terminal, Link(), error);
        ready_ = !error && Wine({"reg", "add", kPorts, "/v", "COM5", "/d", terminal, "/f"}) == 0 &&
                 Wine({"reg", "add", kX11, "/v", "Managed", "/d", "Y", "/f"}) == 0;
        RestartServer();
    }
    ~WinePort() {
        std::error_code error;
        std::filesystem::remove(Link(), error);
        Wine({"reg", "delete", kPorts, "/v", "COM5", "/f"});
        Wine({"reg", "delete", kX11, "/v", "Managed", "/f"});
        RunProgram({"wineserver", "-k"}, kCommandMs);
    }
    WinePort(const WinePort&) = delete;
    WinePort& operator=(const WinePort&) = delete;

    bool Ready() const { return ready_; }

  private:
    static constexpr const char* kPorts = "HKLM\\Software\\Wine\\Ports";
    static constexpr const char* kX11 = "HKCU\\Software\\Wine\\X11 Driver";
    std::string Link() const { return prefix_ + "/dosdevices/com5"; }
    static void RestartServer() {
        RunProgram({"wineserver", "-k"}, kCommandMs);
        RunProgram({"wineserver", "-w"}, kCommandMs);
    }

    std::string prefix_;
    bool ready_ = false;
};

// The prefix's Wine server works on behalf of every Wine process (messages,
// window state): found by its working folder, which Wine names after the
// prefix's device and inode.
pid_t WineServer(const std::string& prefix) {
    struct stat info {};
    if (stat(prefix.c_str(), &info) != 0) return -1;
    char name[64];
    std::snprintf(name, sizeof name, "/server-%llx-%llx",
                  static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return -1;
    pid_t found = -1;
    while (const dirent* entry = readdir(proc)) {
        std::error_code error;
        const std::string cwd =
            std::filesystem::read_symlink(std::string("/proc/") + entry->d_name + "/cwd", error);
        if (!error && cwd.ends_with(name)) found = std::atoi(entry->d_name);
    }
    closedir(proc);
    return found;
}

class Xdotool {
  public:
    explicit Xdotool(std::string output) : output_(std::move(output)) {}

    // The window titled with the running caption, once it shows.
    bool FindWindow() {
        return WaitFor(60000, [this] {
            if (RunProgram({"xdotool", "search", "--name", kRunCaption}, kCommandMs, output_) !=
                0) {
                return false;
            }
            std::ifstream found(output_);
            return static_cast<bool>(std::getline(found, window_)) && !window_.empty();
        });
    }
    // Client coordinates, as the control table's.
    void Click(int x, int y) const {
        Run({"mousemove", "--window", window_, std::to_string(x), std::to_string(y), "click", "1"});
    }
    void Key(const std::string& key) const { Run({"key", key}); }
    void Type(const std::string& text) const { Run({"type", text}); }

  private:
    static void Run(std::vector<std::string> args) {
        args.insert(args.begin(), "xdotool");
        RunProgram(args, kCommandMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // Wine takes it in
    }

    std::string output_;
    std::string window_;
};

// As a user does it: a click on the waveform row ("Off" shows), the arrow
// down to "Sine", the frequency typed over the box's text (unless the
// window's own is kept), and a click in the enable box.
void SwitchOnSine(const Xdotool& x, int channel, const std::string& frequency) {
    const std::string n = std::to_string(channel);
    const ControlPlacement* list = FindControl("Waveform" + n);
    const ControlPlacement* edit = FindControl("Freq" + n);
    const ControlPlacement* box = FindControl(channel == 1 ? "EnableA" : "EnableB");
    x.Click(list->left + list->width / 3, list->top + list->height / 2);
    x.Key("Down");
    if (!frequency.empty()) {
        x.Click(edit->left + edit->width / 2, edit->top + edit->height / 2);
        x.Key("End");
        for (int i = 0; i < 10; ++i) x.Key("BackSpace");
        x.Type(frequency);
    }
    x.Click(box->left + 6, box->top + box->height / 2);
}

// The window on the screen and frames coming, then the sine switched on;
// the frames already on their way when the generator changed go by. False
// with the reason printed.
bool StartAndSwitchOn(ChildProcess& app, Xdotool& x, const LiveStage& stage,
                      const LiveOptions& options) {
    const auto requests = [&stage] { return stage.CommandsReceived("z"); };
    if (!app.Start({"wine", options.win32}, stage.Folder() + "/wine.log") || !x.FindWindow() ||
        !WaitFor(20000, [&] { return requests() >= 3; })) {
        std::fprintf(stderr, "no window, or no frames from it; Wine said:\n");
        std::ifstream log(stage.Folder() + "/wine.log");
        for (std::string line; std::getline(log, line);)
            std::fprintf(stderr, "  %s\n", line.c_str());
        return false;
    }
    SwitchOnSine(x, 1, options.frequency);
    SwitchOnSine(x, 2, options.frequency);
    if (!WaitFor(10000, [&] {
            return stage.CommandsReceived("G 0 1 ") == 1 && stage.CommandsReceived("G 1 1 ") == 1;
        })) {
        std::fprintf(stderr, "the generator did not take the sine on both channels\n");
        return false;
    }
    const int switched = requests();
    return WaitFor(5000, [&] { return requests() >= switched + 2; });
}

// The window process, the prefix's Wine server and the X server over
// `seconds`. Each frame drawn is followed by the next request, so the
// requests count the frames.
void Measure(pid_t app, pid_t server, const LiveStage& stage, double seconds, LiveFigures& window,
             LiveFigures& wine, LiveFigures& screen) {
    const int first = stage.CommandsReceived("z");
    const auto start = std::chrono::steady_clock::now();
    window.start = SampleCpu(app);
    wine.start = SampleCpu(server);
    screen.start = SampleCpu(stage.DisplayPid());
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    window.end = SampleCpu(app);
    wine.end = SampleCpu(server);
    screen.end = SampleCpu(stage.DisplayPid());
    window.seconds = wine.seconds = screen.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    window.frames = wine.frames = screen.frames = stage.CommandsReceived("z") - first;
}

}  // namespace

int RunWineWindow(LiveStage& stage, const LiveOptions& options) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr || !std::filesystem::exists(std::string(prefix) + "/system.reg")) {
        std::fprintf(stderr, "no Wine prefix: source scripts/wine-prefix.sh first\n");
        return 2;
    }
    setenv("DISPLAY", stage.Display().c_str(), 1);
    WinePort port(prefix, stage.Terminal());
    if (!port.Ready()) {
        std::fprintf(stderr, "COM5 could not be declared in %s\n", prefix);
        return 1;
    }
    ChildProcess app;  // from the scratch folder, which holds no Config.Ini
    Xdotool x(stage.Folder() + "/xdotool.out");
    if (!StartAndSwitchOn(app, x, stage, options)) return 1;
    LiveFigures window, wine, screen;
    window.window = "Win32 window (Wine on Xvfb " + stage.Display() + "), sine at " +
                    (options.frequency.empty() ? "20000" : options.frequency) +
                    " Hz on each channel";
    wine.window = "The prefix's Wine server over the same stretch";
    screen.window = "The X server (Xvfb) over the same stretch";
    Measure(app.Pid(), WineServer(prefix), stage, options.seconds, window, wine, screen);
    app.Stop();
    if (!window.end.valid) {
        std::fprintf(stderr, "the window ended while it was measured\n");
        return 1;
    }
    PrintFigures(window);
    if (wine.start.valid && wine.end.valid) PrintFigures(wine);
    if (screen.start.valid && screen.end.valid) PrintFigures(screen);
    return 0;
}

}  // namespace velmora::bench
