// The X driver: runs yarx on a private X server and works it as a user
// would, for the end-to-end tests, the pictures tool and the benchmarks.
// The server is a private Xvfb (optionally under a real window manager),
// input goes through XTest and pixels come back with XGetImage.  Every wait
// is bounded and polls protocol or process state; every process it starts
// is reaped, whatever happens.  yarx_windows.h says where yarx's widgets
// stand among its windows.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "colour/colour_types.h"

namespace yarx::xdriver {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

constexpr Duration default_timeout = 15s;

// Polls the condition every few milliseconds until it holds or the timeout
// runs out; returns its last value.
bool wait_until(const std::function<bool()> &condition, Duration timeout = default_timeout);

struct ServerOptions {
    // Room for the chart window (the 1100-pixel canvas and the panel beside
    // it) and its decorations beside the setup window.
    int width = 1920;
    int height = 1300;
    int depth = 24;
    bool window_manager = false;          // start openbox and wait until it runs
    std::vector<std::string> extra_args;  // more Xvfb arguments (-fp, ...)
    // A second screen of the same size and this depth, when not 0; and the
    // screen that the test's connection and the program take by default.
    int second_screen_depth = 0;
    int screen = 0;
};

std::string read_file(const std::string &path);

// A program running in a process group of its own, with its standard error
// caught in a file and its standard output in a file or a pipe.  It dies
// with the process that started it, and it is reaped, politely and then
// for certain, when the object goes.
class Process {
public:
    struct Options {
        // "NAME=value" added to the inherited environment, "NAME" taken out.
        std::vector<std::string> environment;
        bool output_to_pipe = false;  // as "yarx | less" runs it
        int keep_fd = -1;             // a descriptor the child keeps open
        std::string log_path;         // for both outputs, instead of our own files
        std::string directory;        // where it runs, when not here
    };
    Process(const std::vector<std::string> &argv, Options options);
    ~Process();
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // The raw wait status once the process has ended (and, with a pipe, has
    // closed it) within the timeout.
    std::optional<int> wait_exit(Duration timeout = default_timeout);
    // Ends it at once and reaps it.
    void kill_now();

    std::string standard_output();
    std::string standard_error() const;

private:
    void take_in_pipe();

    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string out_path_, err_path_;
    bool own_files_ = true;
    int pipe_ = -1;
    bool pipe_ended_ = false;
    std::string piped_;
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
    Display *display() const { return display_.get(); }
    Window root() const { return DefaultRootWindow(display()); }
    bool has_window_manager() const { return window_manager_.has_value(); }

    // Ends the X server at once, as if it crashed.
    void kill_server();

private:
    struct CloseDisplay {
        void operator()(Display *display) const { XCloseDisplay(display); }
    };
    struct RemovedFile {
        std::string path;
        ~RemovedFile() { std::remove(path.c_str()); }
    };

    std::string name_, number_;
    // Declared in the order they are made, so that a failing start undoes
    // what it did, last first: the connection, openbox, Xvfb, their log.
    RemovedFile log_;
    std::optional<Process> xvfb_, window_manager_;
    std::unique_ptr<Display, CloseDisplay> display_;
};

// An empty directory, removed with whatever is in it when the object goes.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory &) = delete;
    TemporaryDirectory &operator=(const TemporaryDirectory &) = delete;
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

// yarx, run on the server with its outputs caught.  It reads no resources
// but its built-in list and its options, whatever this machine or its user
// has: its HOME is an empty directory of its own, the toolkit's search paths
// lead nowhere and XENVIRONMENT and XAPPLRESDIR are unset.  The extra
// environment comes last, so a test can point it at a file.  The home is a
// base made before the process and removed after it; it runs there too, so
// that what it saves stays in it.
class App : private TemporaryDirectory, public Process {
public:
    enum class Output { file, pipe };
    explicit App(XServer &server, std::vector<std::string> args = {},
                 std::vector<std::string> extra_environment = {}, Output output = Output::file);
    const std::string &home() const { return path(); }
};

// Window lookup.  The windows of a Motif program nest as its widgets do, so
// a widget is found by its path of child indices (in creation order) under
// its shell.
std::vector<Window> children(Display *display, Window window);
Window child_at(Display *display, Window window, const int *path, int length);
inline Window child_at(Display *display, Window window, std::initializer_list<int> path) {
    return child_at(display, window, path.begin(), static_cast<int>(path.size()));
}
bool viewable(Display *display, Window window);

// Where a window stands on its screen, and its size.
struct ScreenBox {
    int x = 0, y = 0, width = 0, height = 0;
    bool overlaps(const ScreenBox &o) const {
        return x < o.x + o.width && o.x < x + width && y < o.y + o.height && o.y < y + height;
    }
};
ScreenBox on_screen(Display *display, Window window);

// The client window, viewable, whose WM_CLASS has the class and name (for
// a toolkit program, the shell widget's name), on the display's default
// screen; None when there is none.
Window find_client(Display *display, const char *wm_class, const char *wm_name);

// Input through XTest.  A click is a press and a release at the window's
// centre.
void click(Display *display, Window window);
void press(Display *display, Window window);
// A press of the button (1 unless told) at (x, y) of the window.
void press_at(Display *display, Window window, int x, int y, unsigned int button = 1);
// The pointer moved to (x, y) of the window, with no button down.
void move_pointer_to(Display *display, Window window, int x, int y);
void release(Display *display, unsigned int button = 1);
void move_pointer_away(Display *display);

// A key pressed and released through XTest, with Shift held if asked.
// Presses and releases the key, with the modifier (Shift_L, Control_L) held.
void type_key(Display *display, KeySym key, KeySym modifier = NoSymbol);
// Types the text, printable ASCII, a key for each character.
void type_text(Display *display, const char *text);

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

// A pixel's colour, as the chart's colours are: 8 bits a channel.
using Rgb8 = colour::Rgb8;

// A snapshot of a window's pixels.
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

    // Without pixels (a window not viewable, say) it is 0 by 0.
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

}  // namespace yarx::xdriver
