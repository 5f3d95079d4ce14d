// Preloaded (LD_PRELOAD) into a program by bench/measure-startup-ratio. At the program's first
// request to the X server to map a window, it writes two numbers to the file that
// FIRST_MAP_CLOCK_FILE names: the wall clock and the CPU time the process has used so far (all its
// threads), both in nanoseconds. It works on any Qt program on xcb alike, so the program and the
// bare window are timed the same way and neither carries measuring code. The CPU time hardly
// depends on what else the machine runs, where the wall time does.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

struct xcb_connection_t;
struct xcb_void_cookie_t {
    unsigned int sequence;
};

namespace {

long long nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void record() {
    const long long wall = nanoseconds(CLOCK_REALTIME);
    const long long cpu = nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
    const char* path = std::getenv("FIRST_MAP_CLOCK_FILE");
    if (!path)
        return;
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%lld %lld\n", wall, cpu);
    const int file = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0)
        return;
    if (write(file, line, static_cast<size_t>(length)) != length)
        std::fputs("FirstMapClock: the times could not be written\n", stderr);
    close(file);
}

} // namespace

extern "C" xcb_void_cookie_t xcb_map_window(xcb_connection_t* connection, std::uint32_t window) {
    static std::atomic<bool> recorded{false};
    if (!recorded.exchange(true))
        record();
    using MapWindow = xcb_void_cookie_t (*)(xcb_connection_t*, std::uint32_t);
    static const auto real = reinterpret_cast<MapWindow>(dlsym(RTLD_NEXT, "xcb_map_window"));
    return real(connection, window);
}
