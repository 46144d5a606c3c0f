// startup_watch [-n RUNS] [-s SETTLE_MS] FLOOR PROGRAM
//
// Times how long PROGRAM takes from process start until its first window is mapped on the X
// server of $DISPLAY, and how much memory it holds then, against FLOOR (startup_floor, a bare
// Qt dialog of the same size). Two unmeasured warm-up runs of each come first, then RUNS
// (default 20) measured runs of each, alternating which goes first so that a change in the
// machine's load affects both alike. scripts/measure-startup.sh runs it on a private desktop.
//
// The moment of mapping: the watcher selects SubstructureNotify on the root window, and
// StructureNotify on every new top-level window so that a reparenting window manager changes
// nothing. It reads the clock, forks and execs the program, then sleeps in poll() on its X
// connection; the server's MapNotify for the first window whose _NET_WM_PID is the child's
// wakes it, and it reads the clock again. No polling interval is involved: the resolution is
// the wake-up latency, well under a millisecond. That is when the window appears; its first
// paint follows after the Expose round trip.
//
// The CPU time the process (all its threads) has used by then is read from
// /proc/PID/task/*/schedstat at that moment: a figure that other work on a busy machine
// disturbs far less than the wall-clock time. The memory is VmHWM (the peak resident set so
// far) and VmRSS from /proc/PID/status, read SETTLE_MS (default 500) after the mapping, so that
// the first paint and anything deferred have happened; then the process is ended.
//
// Exit status: 0 when both targets are met (start-up within 1.2 x the floor's median, peak
// memory within 8 MB of the floor's), 3 when one is missed, 1 or 2 when the measurement failed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Sample {
    double mapMs = 0;
    double cpuMs = 0;
    double peakKb = 0;
    double residentKb = 0;
};

// The number of a "Name:   123 kB" line of /proc/PID/status or /proc/meminfo.
double fieldOf(const std::string &file, const std::string &name) {
    std::ifstream status(file);
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(name + ':'))
            return std::strtod(line.c_str() + name.size() + 1, nullptr);
    }
    return -1;
}

// The CPU time (ms) the process has used so far, all its threads: the first field of each
// /proc/PID/task/TID/schedstat is the time the thread spent on a CPU, in nanoseconds.
double cpuMs(pid_t pid) {
    double nanoseconds = 0;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        unsigned long long running = 0;
        if (schedstat >> running)
            nanoseconds += static_cast<double>(running);
    }
    return error ? -1 : nanoseconds / 1e6;
}

int ignoreErrors(Display *, XErrorEvent *) {
    return 0; // a window may be gone before we look at it
}

class MapWatcher {
public:
    explicit MapWatcher(Display *display)
        : m_display(display)
        , m_root(DefaultRootWindow(display))
        , m_pidAtom(XInternAtom(display, "_NET_WM_PID", False)) {
        XSetErrorHandler(ignoreErrors);
        XSelectInput(m_display, m_root, SubstructureNotifyMask);
        XSync(m_display, False);
    }

    // Starts the program, waits for its first window and ends it again.
    std::optional<Sample> run(const char *program, int settleMs, int timeoutMs) {
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child < 0)
            return std::nullopt;
        if (child == 0) {
            close(ConnectionNumber(m_display));
            execl(program, program, static_cast<char *>(nullptr));
            _exit(127);
        }
        const std::optional<Sample> sample = waitForMap(child, start, timeoutMs);
        if (sample)
            std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        const std::string statusFile = "/proc/" + std::to_string(child) + "/status";
        const double peak = fieldOf(statusFile, "VmHWM");
        const double resident = fieldOf(statusFile, "VmRSS");
        kill(child, sample ? SIGTERM : SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!sample)
            return std::nullopt;
        return Sample{sample->mapMs, sample->cpuMs, peak, resident};
    }

private:
    long windowPid(Window window) const {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr) {
            if (type == XA_CARDINAL && format == 32 && count == 1)
                pid = static_cast<long>(*reinterpret_cast<unsigned long *>(data));
            XFree(data);
        }
        return pid;
    }

    std::optional<Sample> waitForMap(pid_t child, Clock::time_point start, int timeoutMs) {
        const auto deadline = start + std::chrono::milliseconds(timeoutMs);
        pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
        while (true) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == CreateNotify && event.xcreatewindow.parent == m_root) {
                    // For a window manager that reparents the window before mapping it.
                    XSelectInput(m_display, event.xcreatewindow.window, StructureNotifyMask);
                } else if (event.type == MapNotify && !event.xmap.override_redirect) {
                    const auto mapped = Clock::now();
                    if (windowPid(event.xmap.window) == child)
                        return Sample{millisecondsBetween(start, mapped), cpuMs(child), 0, 0};
                }
            }
            int status = 0;
            if (Clock::now() >= deadline || waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "startup_watch: %s\n",
                             Clock::now() >= deadline ? "no window in time" : "program ended");
                return std::nullopt;
            }
            poll(&connection, 1, 50);
        }
    }

    Display *m_display;
    Window m_root;
    Atom m_pidAtom;
};

struct Summary {
    double median = 0, min = 0, max = 0, p10 = 0, p90 = 0;
};

Summary summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const auto quantile = [&](double p) {
        return values[static_cast<std::size_t>(p * static_cast<double>(n - 1) + 0.5)];
    };
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back(), quantile(0.1), quantile(0.9)};
}

template <typename Field> Summary summarize(const std::vector<Sample> &samples, Field field) {
    std::vector<double> values;
    for (const Sample &sample : samples)
        values.push_back(sample.*field);
    return summarize(values);
}

void printTable(const char *title, const std::vector<Sample> &floor,
                const std::vector<Sample> &program, double Sample::*field) {
    std::printf("%s\n                 median     min     max    p10    p90   (ms)\n", title);
    for (const auto &[name, samples] : {std::pair{"floor", &floor}, {"woundwell", &program}}) {
        const Summary s = summarize(*samples, field);
        std::printf("  %-12s %8.1f %7.1f %7.1f %6.1f %6.1f\n", name, s.median, s.min, s.max, s.p10,
                    s.p90);
    }
}

// The processor's model name, the number of CPUs, the memory and the load average.
std::string describeMachine() {
    std::string model = "unknown CPU";
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.starts_with("model name")) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    std::ifstream loadavg("/proc/loadavg");
    std::string one, five, fifteen;
    loadavg >> one >> five >> fifteen;
    char text[512];
    std::snprintf(text, sizeof text, "%s, %u CPUs, %.1f GiB; load average %s %s %s", model.c_str(),
                  std::thread::hardware_concurrency(),
                  fieldOf("/proc/meminfo", "MemTotal") / 1048576.0, one.c_str(), five.c_str(),
                  fifteen.c_str());
    return text;
}

int usage() {
    std::fprintf(stderr, "usage: startup_watch [-n RUNS] [-s SETTLE_MS] FLOOR PROGRAM\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    int runs = 20;
    int settleMs = 500;
    for (int option; (option = getopt(argc, argv, "n:s:")) != -1;) {
        if (option == 'n')
            runs = std::atoi(optarg);
        else if (option == 's')
            settleMs = std::atoi(optarg);
        else
            return usage();
    }
    if (argc - optind != 2 || runs < 1 || settleMs < 0)
        return usage();
    const char *const programs[] = {argv[optind], argv[optind + 1]};

    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_watch: cannot open the display\n");
        return 2;
    }
    MapWatcher watcher(display);
    const char *runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    std::vector<Sample> samples[2];
    // The warm-up runs are not kept; each run starts without the lock file of the last.
    const auto measure = [&](int which, bool keep) {
        if (runtimeDir != nullptr)
            std::filesystem::remove(std::filesystem::path(runtimeDir) / "woundwell.lock");
        const std::optional<Sample> sample = watcher.run(programs[which], settleMs, 20000);
        if (sample && keep)
            samples[which].push_back(*sample);
        return sample.has_value();
    };

    std::fprintf(stderr, "Warming up ...\n");
    for (int i = 0; i < 2; ++i) {
        if (!measure(0, false) || !measure(1, false))
            return 1;
    }
    std::fprintf(stderr, "Measuring %d runs of each ...\n", runs);
    for (int i = 0; i < runs; ++i) {
        // Alternate which goes first, so neither always follows the other.
        if (!measure(i % 2, true) || !measure(1 - i % 2, true))
            return 1;
    }
    XCloseDisplay(display);

    const std::vector<Sample> &floor = samples[0], &program = samples[1];
    const double ratio =
        summarize(program, &Sample::mapMs).median / summarize(floor, &Sample::mapMs).median;
    const double cpuRatio =
        summarize(program, &Sample::cpuMs).median / summarize(floor, &Sample::cpuMs).median;
    const Summary floorPeak = summarize(floor, &Sample::peakKb);
    const Summary programPeak = summarize(program, &Sample::peakKb);
    const double extraMb = (programPeak.median - floorPeak.median) / 1024;

    std::printf("\nMachine: %s\nProgram: %s\n\n", describeMachine().c_str(), programs[1]);
    printTable("Start-up to first window mapped (wall-clock time)", floor, program, &Sample::mapMs);
    std::printf("  woundwell / floor (medians): %.2f   (target: at most 1.20)\n\n", ratio);
    printTable("CPU time used by the process until its window was mapped (all threads)", floor,
               program, &Sample::cpuMs);
    std::printf("  woundwell / floor (medians): %.2f   (less disturbed than the wall-clock time\n"
                "  by other work on the machine; the target applies to the wall-clock time)\n\n",
                cpuRatio);
    std::printf("Memory %d ms after mapping (median of the runs, kB)\n"
                "                   VmHWM (peak)   VmRSS\n"
                "  floor          %12.0f %8.0f\n  woundwell      %12.0f %8.0f\n"
                "  woundwell - floor (peak): %.1f MB   (target: at most 8 MB)\n",
                settleMs, floorPeak.median, summarize(floor, &Sample::residentKb).median,
                programPeak.median, summarize(program, &Sample::residentKb).median, extraMb);

    int status = 0;
    if (ratio > 1.2) {
        std::printf("  start-up target missed\n");
        status = 3;
    }
    if (extraMb > 8) {
        std::printf("  memory target missed\n");
        status = 3;
    }
    return status;
}
