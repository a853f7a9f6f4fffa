// End-to-end harness: every test owns a private Xvfb (optionally with a real
// window manager), launches the real yarx on it, finds its windows by their
// place in the widget tree, clicks through XTest and reads pixels back.
// Every wait is bounded and polls protocol or process state.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace yarx::e2e {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

constexpr Duration default_timeout = 15s;

// Polls the condition every few milliseconds until it holds or the timeout
// runs out; returns its last value.
bool wait_until(const std::function<bool()> &condition, Duration timeout = default_timeout);

struct ServerOptions {
    int width = 1400;
    int height = 1300;  // room for the 1100-pixel canvas and its decorations
    int depth = 24;
    bool window_manager = false;          // start openbox and wait until it runs
    std::vector<std::string> extra_args;  // more Xvfb arguments (-fp, ...)
    // A second screen of the same size and this depth, when not 0; and the
    // screen that the test's connection and the program take by default.
    int second_screen_depth = 0;
    int screen = 0;
};

// A private Xvfb, found through -displayfd, and the test's own connection.
class XServer {
public:
    explicit XServer(ServerOptions options = {});
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    const std::string &name() const { return name_; }      // ":N", or ":N.S" on screen S
    const std::string &number() const { return number_; }  // "N"
    Display *display() const { return display_; }
    Window root() const { return DefaultRootWindow(display_); }
    bool has_window_manager() const { return wm_pid_ > 0; }

    // Ends the X server at once, as if it crashed.
    void kill_server();

private:
    std::string name_, number_;
    Display *display_ = nullptr;
    pid_t xvfb_pid_ = -1;
    pid_t wm_pid_ = -1;
    std::string log_path_;
};

// The program under test, its standard output and error caught in files.
class App {
public:
    explicit App(XServer &server, std::vector<std::string> args = {},
                 std::vector<std::string> extra_environment = {});
    ~App();
    App(const App &) = delete;
    App &operator=(const App &) = delete;

    pid_t pid() const { return pid_; }
    bool running();

    // The raw wait status once the process has ended within the timeout.
    std::optional<int> wait_exit(Duration timeout = default_timeout);

    std::string standard_output() const;
    std::string standard_error() const;

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string out_path_, err_path_;
};

std::string read_file(const std::string &path);

// Window lookup.  The windows of a Motif program nest as its widgets do, so
// a widget is found by its path of child indices (in creation order) under
// its shell.
std::vector<Window> children(Display *display, Window window);
Window child_at(Display *display, Window window, std::initializer_list<int> path);
bool viewable(Display *display, Window window);

// The shell window of the setup window ("yarx") or of the chart window
// ("yarx_popup"), by the name in its WM_CLASS, once it is viewable, on the
// display's default screen.  Returns None on timeout.
Window wait_for_shell(Display *display, const char *shell_name, Duration timeout = default_timeout);
Window find_shell(Display *display, const char *shell_name);  // None unless viewable

// The setup window's widgets under its shell.
enum class SetupWidget { title, notice1, notice2, frame, prompt, separator, ok, exit };
Window setup_widget(Display *display, Window shell, SetupWidget widget);

// The eleven toggles in their order on screen.
constexpr int toggle_count = 11;
enum ToggleIndex { eew, d32, d33, d40, d50, d55, d65, c, d73, d95, a };
Window toggle(Display *display, Window shell, int index);
constexpr int toggle_illuminant[toggle_count] = {2, 11, 12, 7, 5, 13, 1, 10, 6, 8, 3};

// The chart window's widgets under its shell.
// The canvas sits in the scrolled window's clip window, beside its vertical
// scroll bar (a window even while the bar is not shown).
enum class ChartWidget { dismiss, separator, scroller, canvas, vertical_scroll_bar };
Window chart_widget(Display *display, Window shell, ChartWidget widget);

// Input through XTest.  A click is a press and a release at the window's
// centre.
void click(Display *display, Window window);
void press(Display *display, Window window);
// A press at (x, y) of the window.
void press_at(Display *display, Window window, int x, int y);
void release(Display *display);
void move_pointer_away(Display *display);

// A key pressed and released through XTest, with Shift held if asked.
void type_key(Display *display, KeySym key, bool shift = false);

// Whether the keyboard focus is on the window or inside it.
bool has_focus(Display *display, Window window);

// Asks the window manager to move a client window, as dragging its title
// bar does; x and y are where its frame's corner goes.
void move_through_window_manager(Display *display, Window client, int x, int y);

// Asks the window manager to close a client window, as its close button does.
void close_through_window_manager(Display *display, Window client);

// Exposes the whole screen the way xrefresh does: an override-redirect
// window over everything, mapped and unmapped.
void expose_whole_screen(Display *display);

// A snapshot of a window's pixels.
struct Rgb8 {
    int red, green, blue;
    bool operator==(const Rgb8 &o) const {
        return red == o.red && green == o.green && blue == o.blue;
    }
};

class Image {
public:
    Image(Display *display, Window window);
    // Part of a window: count rows from top on, at full width.
    struct Rows {
        int top, count;
    };
    Image(Display *display, Window window, Rows rows);
    // A pixmap (or any drawable) of the default visual, which the server
    // cannot describe the way it describes a window.
    Image(Display *display, Drawable drawable, int width, int height);
    Image(const Image &) = delete;
    Image &operator=(const Image &) = delete;
    Image(Image &&other) noexcept;
    ~Image();

    bool valid() const { return image_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    // At (x, y) of the image; for part of a window, y counts from its top.
    unsigned long pixel(int x, int y) const;
    Rgb8 rgb(int x, int y) const;

private:
    void take_masks(const Visual *visual);

    XImage *image_ = nullptr;
    int width_ = 0, height_ = 0;
    unsigned long red_mask_ = 0, green_mask_ = 0, blue_mask_ = 0;
};

// The pixel the server gives a 16-bit colour in the default colormap of the
// display's default screen.
unsigned long allocated_pixel(Display *display, unsigned short red, unsigned short green,
                              unsigned short blue);

// Saves the whole screen as a PNG; returns false when it could not.
bool save_screenshot(Display *display, const std::string &path);
// Saves one window's pixels (a widget's, without decorations) as a PNG.
bool save_window_png(Display *display, Window window, const std::string &path);
// Writes 8-bit RGB pixels, width * 3 bytes a row, top row first, as a PNG.
bool write_png(const std::string &path, int width, int height,
               const std::vector<unsigned char> &rgb);
// An image's pixels as 8-bit RGB, the way write_png takes them.
std::vector<unsigned char> rgb_bytes(const Image &image);

}  // namespace yarx::e2e
