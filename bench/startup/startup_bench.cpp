// Times doorsel's first window against a minimal Qt Widgets program with a window of the same size
// (a tab widget and five buttons), each a whole process on the X display named by DISPLAY, run in
// turn round after round so that a busy moment weighs on both alike:
//   mapped:  from the spawn until the window is mapped (MapNotify on the root window);
//   painted: from the spawn until the window's content first differs from what lay beneath it.
// Run it on a display of its own:  xvfb-run -a doorsel_startup_bench [rounds]
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Program {
    const char* label;
    std::string path;
    std::vector<double> mapped;
    std::vector<double> painted;
};

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

double millisSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Display {
public:
    Display()
        : connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection)) {
            std::fprintf(stderr, "no X display; run it as: xvfb-run -a doorsel_startup_bench\n");
            std::exit(1);
        }
        screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &events);
        xcb_flush(connection);
    }
    ~Display() { xcb_disconnect(connection); }

    // The pixels of a rectangle of the screen.
    std::string pixels(int16_t x, int16_t y, uint16_t width, uint16_t height) const
    {
        Reply<xcb_get_image_reply_t> image(
            xcb_get_image_reply(connection,
                xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, x, y, width, height, ~0U), nullptr),
            &std::free);
        if (!image)
            return {};
        return std::string(reinterpret_cast<const char*>(xcb_get_image_data(image.get())),
            static_cast<size_t>(xcb_get_image_data_length(image.get())));
    }

    std::string screenPixels() const { return pixels(0, 0, screen->width_in_pixels, screen->height_in_pixels); }
    int width() const { return screen->width_in_pixels; }

    // The next top-level window to be mapped.
    xcb_window_t nextMapped()
    {
        for (;;) {
            Reply<xcb_generic_event_t> event(xcb_wait_for_event(connection), &std::free);
            if (!event) {
                std::fprintf(stderr, "lost the X display\n");
                std::exit(1);
            }
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->event == screen->root && !map->override_redirect)
                return map->window;
        }
    }

    xcb_get_geometry_reply_t geometry(xcb_window_t window) const
    {
        Reply<xcb_get_geometry_reply_t> reply(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &std::free);
        return reply ? *reply : xcb_get_geometry_reply_t {};
    }

    // Forgets what happened while nobody was watching.
    void drain()
    {
        while (Reply<xcb_generic_event_t>(xcb_poll_for_event(connection), &std::free)) { }
    }

private:
    xcb_connection_t* connection;
    xcb_screen_t* screen;
};

// Whether most of the rectangle differs from what the screen showed there before.
bool mostlyChanged(const std::string& before, const std::string& now)
{
    if (now.size() != before.size() || now.empty())
        return false;
    size_t changed = 0;
    for (size_t i = 0; i < now.size(); i += 4)
        changed += std::memcmp(before.data() + i, now.data() + i, 3) != 0;
    return changed * 4 * 2 > now.size();
}

// The rectangle's part of a picture of the whole screen (4 bytes a pixel).
std::string cut(const std::string& screen, int screenWidth, const xcb_get_geometry_reply_t& g)
{
    std::string part;
    for (int row = 0; row < g.height; ++row)
        part.append(screen, (static_cast<size_t>(g.y + row) * screenWidth + g.x) * 4, static_cast<size_t>(g.width) * 4);
    return part;
}

void runOnce(Display& display, Program& program)
{
    display.drain();
    const std::string before = display.screenPixels();
    char* argv[] = {const_cast<char*>(program.path.c_str()), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&pid, program.path.c_str(), &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        std::perror(program.path.c_str());
        std::exit(1);
    }
    const xcb_window_t window = display.nextMapped();
    program.mapped.push_back(millisSince(start));
    const xcb_get_geometry_reply_t g = display.geometry(window);
    const std::string beneath = cut(before, display.width(), g);
    while (!mostlyChanged(beneath, display.pixels(g.x, g.y, g.width, g.height))) {
        if (millisSince(start) > 10000) {
            std::fprintf(stderr, "%s: the window was never painted\n", program.label);
            std::exit(1);
        }
        // Looking takes the server's time too; a look every half millisecond leaves it to the program.
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    program.painted.push_back(millisSince(start));
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    // Let the server forget the window before the next one starts.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 61;
    const fs::path bin = fs::canonical("/proc/self/exe").parent_path();

    // A program folder of its own, holding the settings of a program that has run before.
    const fs::path folder = fs::temp_directory_path() / "doorsel-bench-startup";
    fs::remove_all(folder);
    fs::create_directories(folder / "Resources");
    for (const char* file : {"doorsel", "libdoorsel-gui.so", "libdoorsel-about.so"})
        fs::copy_file(bin / file, folder / file);
    std::ofstream(folder / "config.ini", std::ios::binary)
        << "[Options]\r\nLogonScreensFolder=" << (folder / "Resources").string() << "/\r\n";

    Program doorsel {"doorsel", (folder / "doorsel").string(), {}, {}};
    Program minimal {"minimal Qt", (bin / "bench_minimal_window").string(), {}, {}};
    Display display;
    for (int round = 0; round < rounds; ++round) {
        // Each goes first every other round: the one started second finds the libraries warmer.
        if (round % 2 == 0) {
            runOnce(display, doorsel);
            runOnce(display, minimal);
        } else {
            runOnce(display, minimal);
            runOnce(display, doorsel);
        }
    }
    fs::remove_all(folder);

    std::printf("first window, medians of %d rounds, each program started in turn:\n", rounds);
    for (const Program* program : {&doorsel, &minimal})
        std::printf("  %-11s mapped %6.1f ms, painted %6.1f ms\n", program->label, median(program->mapped),
            median(program->painted));
    std::printf("  ratio       mapped %6.2f,    painted %6.2f\n", median(doorsel.mapped) / median(minimal.mapped),
        median(doorsel.painted) / median(minimal.painted));
    // The machine's load drifts; the two runs of one round saw the same.
    std::vector<double> mapped;
    std::vector<double> painted;
    for (size_t i = 0; i < doorsel.mapped.size(); ++i) {
        mapped.push_back(doorsel.mapped[i] / minimal.mapped[i]);
        painted.push_back(doorsel.painted[i] / minimal.painted[i]);
    }
    std::printf("  per round   mapped %6.2f,    painted %6.2f (median of the rounds' ratios)\n", median(mapped),
        median(painted));
    // Every round, not only the middle one.
    std::sort(painted.begin(), painted.end());
    const auto within = std::count_if(painted.begin(), painted.end(), [](double r) { return r <= 1.05; });
    std::printf("  painted, every round's ratio (sorted), %ld of %zu within 1.05x:\n   ", static_cast<long>(within),
        painted.size());
    for (size_t i = 0; i < painted.size(); ++i)
        std::printf(" %.2f%s", painted[i], (i + 1) % 16 == 0 && i + 1 < painted.size() ? "\n   " : "");
    std::printf("\n");
    return 0;
}
