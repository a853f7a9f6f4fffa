// The X driver itself: whatever happens, it leaves no process behind.

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <stdexcept>

#include "fixture.h"

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

}  // namespace
}  // namespace yarx::e2e
