// The X driver itself: whatever happens, it leaves no process behind.

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "fixture.h"

#include <X11/Xatom.h>

namespace yarx::e2e {
namespace {

// Whether this process has no children left, running or waiting to be
// reaped.
bool no_children_left() {
    int status;
    return waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

TEST(XDriver, AProcessIsReapedWhenItGoes) {
    pid_t pid;
    {
        Process sleeper({"sleep", "60"}, {});
        pid = sleeper.pid();
        ASSERT_TRUE(sleeper.running());
    }
    EXPECT_NE(kill(pid, 0), 0) << "the process outlived its object";
    EXPECT_TRUE(no_children_left());
}

TEST(XDriver, AServerThatFailsToStartLeavesNothingBehind) {
    ServerOptions options;
    options.extra_args = {"-no-such-option"};
    EXPECT_THROW(XServer server(options), std::runtime_error);
    EXPECT_TRUE(no_children_left());
}

// A window can go from under a test at any moment: no pixels, then, and
// nothing to read past.
TEST(XDriver, AWindowNotViewableGivesAnEmptyImage) {
    XServer server;
    const Window unmapped =
        XCreateSimpleWindow(server.display(), server.root(), 0, 0, 10, 10, 0, 0, 0);
    const Image image(server.display(), unmapped);
    EXPECT_FALSE(image.valid());
    EXPECT_EQ(image.width() * image.height(), 0);
    EXPECT_TRUE(rgb_bytes(image).empty());
}

TEST(XDriver, StandardOutputThroughAPipeIsReadToTheEnd) {
    Process::Options options;
    options.output_to_pipe = true;
    Process echo({"sh", "-c", "printf 'one\\ntwo\\n'; exit 3"}, options);
    const auto status = echo.wait_exit();
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 3);
    EXPECT_EQ(echo.standard_output(), "one\ntwo\n");
}

// The relay plays a slow line: it counts what passes each way, and at
// 8 Mbit/s a request of 100 KiB cannot be through in less than 100 ms.
TEST(XDriver, TheRelayCountsBytesEachWayAndKeepsToItsBandwidth) {
    XServer server;
    Relay relay(server);
    relay.set_bandwidth(8000000);
    Display *d = XOpenDisplay(relay.display_name().c_str());
    ASSERT_NE(d, nullptr);
    XSync(d, False);
    const std::vector<unsigned char> text(100 * 1024, 'x');
    const Relay::Bytes before = relay.bytes_sent();
    const auto start = std::chrono::steady_clock::now();
    XChangeProperty(d, DefaultRootWindow(d), XA_CUT_BUFFER0, XA_STRING, 8, PropModeReplace,
                    text.data(), static_cast<int>(text.size()));
    XSync(d, False);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const Relay::Bytes after = relay.bytes_sent();
    XCloseDisplay(d);
    // ChangeProperty's 24 bytes and the text, then XSync's GetInputFocus
    // and its 32-byte reply.
    EXPECT_EQ(after.up - before.up, 24 + 100 * 1024 + 4);
    EXPECT_EQ(after.down - before.down, 32);
    EXPECT_GE(elapsed, std::chrono::milliseconds(100));
}

}  // namespace
}  // namespace yarx::e2e
