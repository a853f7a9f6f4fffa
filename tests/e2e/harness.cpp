#include "harness.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace yarx::e2e {

namespace {

constexpr Duration poll_interval = 5ms;

[[noreturn]] void fail(const std::string &what) { throw std::runtime_error(what); }

std::string temp_path(const char *stem) {
    std::string path = std::string("/tmp/yarx-e2e-") + stem + "-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) fail("mkstemp failed");
    close(fd);
    return path;
}

// Starts a program with its output in a file; the child dies with the test.
pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
            const std::string &out_path, const std::string &err_path, int keep_fd = -1) {
    std::vector<char *> args;
    for (const auto &a : argv) args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) fail("fork failed");
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setpgid(0, 0);
        for (const auto &e : environment) putenv(const_cast<char *>(e.c_str()));
        const int null_in = open("/dev/null", O_RDONLY);
        const int out = open(out_path.c_str(), O_WRONLY | O_TRUNC);
        const int err = open(err_path.c_str(), O_WRONLY | O_TRUNC);
        if (null_in < 0 || out < 0 || err < 0) _exit(126);
        dup2(null_in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (int fd = 3; fd < 1024; ++fd)
            if (fd != keep_fd) close(fd);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// Ends a child: politely, then for certain; never leaves it behind.
void reap(pid_t pid) {
    if (pid <= 0) return;
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) return;
    kill(pid, SIGTERM);
    if (wait_until([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 3s)) return;
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

int ignore_x_errors(Display *, XErrorEvent *) { return 0; }

// Client windows carry WM_CLASS, whose name is the shell widget's name and
// whose class is the program's; under a window manager they sit inside its
// frames, so search the whole tree.
Window search_shell(Display *display, Window window, const char *shell_name) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint)) {
        const bool match = hint.res_class && std::strcmp(hint.res_class, "yarx") == 0 &&
                           hint.res_name && std::strcmp(hint.res_name, shell_name) == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (match && viewable(display, window)) return window;
    }
    for (Window child : children(display, window))
        if (Window found = search_shell(display, child, shell_name)) return found;
    return None;
}

}  // namespace

bool wait_until(const std::function<bool()> &condition, Duration timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(poll_interval);
    }
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// ---------------------------------------------------------------- XServer

XServer::XServer(ServerOptions options) {
    XSetErrorHandler(ignore_x_errors);
    int fds[2];
    if (pipe(fds) != 0) fail("pipe failed");
    log_path_ = temp_path("xvfb");
    const auto screen_size = [&](int depth) {
        return std::to_string(options.width) + "x" + std::to_string(options.height) + "x" +
               std::to_string(depth);
    };
    std::vector<std::string> argv = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                     "-screen",   "0",          screen_size(options.depth),
                                     "-nolisten", "tcp",        "-noreset"};
    if (options.second_screen_depth)
        argv.insert(argv.end(), {"-screen", "1", screen_size(options.second_screen_depth)});
    argv.insert(argv.end(), options.extra_args.begin(), options.extra_args.end());
    xvfb_pid_ = spawn(argv, {}, log_path_, log_path_, fds[1]);
    close(fds[1]);

    // Xvfb writes its display number once it accepts connections.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + default_timeout;
    while (number.empty() || number.back() != '\n') {
        pollfd p{fds[0], POLLIN, 0};
        const auto left =
            std::chrono::duration_cast<Duration>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char c;
        if (read(fds[0], &c, 1) != 1) break;
        number += c;
    }
    close(fds[0]);
    if (number.empty() || number.back() != '\n') {
        reap(xvfb_pid_);
        fail("Xvfb did not start: " + read_file(log_path_));
    }
    number.pop_back();
    number_ = number;
    name_ = ":" + number + (options.screen ? "." + std::to_string(options.screen) : "");
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) fail("cannot open " + name_);

    if (options.window_manager) {
        // openbox runs its startup command once it manages the screen; a
        // client mapped before then can be lost in its start-up.
        const std::string wm_log = log_path_ + "-openbox";
        const std::string ready = log_path_ + "-ready";
        std::ofstream(wm_log).close();
        wm_pid_ = spawn({"openbox", "--sm-disable", "--startup", "touch " + ready},
                        {"DISPLAY=" + name_}, wm_log, wm_log);
        const bool started = wait_until([&] { return access(ready.c_str(), F_OK) == 0; });
        std::remove(ready.c_str());
        if (!started) fail("openbox did not start: " + read_file(wm_log));
    }
}

XServer::~XServer() {
    reap(wm_pid_);
    if (display_ && xvfb_pid_ > 0) XCloseDisplay(display_);
    reap(xvfb_pid_);
    std::remove(log_path_.c_str());
    std::remove((log_path_ + "-openbox").c_str());
}

void XServer::kill_server() {
    kill(xvfb_pid_, SIGKILL);
    int status;
    waitpid(xvfb_pid_, &status, 0);
    xvfb_pid_ = -1;
    display_ = nullptr;  // the connection is dead; never touch it again
}

// ---------------------------------------------------------------- App

App::App(XServer &server, std::vector<std::string> args,
         std::vector<std::string> extra_environment) {
    out_path_ = temp_path("out");
    err_path_ = temp_path("err");
    std::vector<std::string> argv = {YARX_EXECUTABLE};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> environment = {"DISPLAY=" + server.name()};
    environment.insert(environment.end(), extra_environment.begin(), extra_environment.end());
    pid_ = spawn(argv, environment, out_path_, err_path_);
}

App::~App() {
    if (!status_) reap(pid_);
    std::remove(out_path_.c_str());
    std::remove(err_path_.c_str());
}

bool App::running() {
    if (status_) return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        return false;
    }
    return true;
}

std::optional<int> App::wait_exit(Duration timeout) {
    wait_until([&] { return !running(); }, timeout);
    return status_;
}

std::string App::standard_output() const { return read_file(out_path_); }
std::string App::standard_error() const { return read_file(err_path_); }

// ---------------------------------------------------------------- windows

std::vector<Window> children(Display *display, Window window) {
    Window root_return, parent;
    Window *list = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &root_return, &parent, &list, &count) && list) {
        result.assign(list, list + count);
        XFree(list);
    }
    return result;
}

Window child_at(Display *display, Window window, std::initializer_list<int> path) {
    for (int index : path) {
        const std::vector<Window> list = children(display, window);
        if (index < 0 || index >= static_cast<int>(list.size())) return None;
        // Xt realizes a composite's children last first, so the stacking
        // order, bottom to top, is the reverse of the creation order.
        window = list[list.size() - 1 - index];
    }
    return window;
}

bool viewable(Display *display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

Window find_shell(Display *display, const char *shell_name) {
    return search_shell(display, DefaultRootWindow(display), shell_name);
}

Window wait_for_shell(Display *display, const char *shell_name, Duration timeout) {
    Window shell = None;
    wait_until([&] { return (shell = find_shell(display, shell_name)) != None; }, timeout);
    return shell;
}

// shell > form > children in creation order
Window setup_widget(Display *display, Window shell, SetupWidget widget) {
    return child_at(display, shell, {0, static_cast<int>(widget)});
}

// ... > srcframe > srcraw > toggles
Window toggle(Display *display, Window shell, int index) {
    return child_at(display, shell, {0, static_cast<int>(SetupWidget::frame), 1, index});
}

// shell > form > canvasdismis, canvassep, canvasscroll > clip window > canvas
Window chart_widget(Display *display, Window shell, ChartWidget widget) {
    switch (widget) {
        case ChartWidget::canvas:
            return child_at(display, shell, {0, static_cast<int>(ChartWidget::scroller), 0, 0});
        case ChartWidget::vertical_scroll_bar:
            return child_at(display, shell, {0, static_cast<int>(ChartWidget::scroller), 1});
        default:
            return child_at(display, shell, {0, static_cast<int>(widget)});
    }
}

// ---------------------------------------------------------------- input

void press(Display *display, Window window) { press_at(display, window, -1, -1); }

void press_at(Display *display, Window window, int window_x, int window_y) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    if (window_x < 0) window_x = attributes.width / 2;
    if (window_y < 0) window_y = attributes.height / 2;
    int x, y;
    Window unused;
    XTranslateCoordinates(display, window, attributes.root, window_x, window_y, &x, &y, &unused);
    // XTest moves the pointer within its screen only; another screen is
    // reached by warping to it.
    Window root, child;
    int root_x, root_y, child_x, child_y;
    unsigned int mask;
    if (!XQueryPointer(display, attributes.root, &root, &child, &root_x, &root_y, &child_x,
                       &child_y, &mask))
        XWarpPointer(display, None, attributes.root, 0, 0, 0, 0, x, y);
    XTestFakeMotionEvent(display, XScreenNumberOfScreen(attributes.screen), x, y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
}

void release(Display *display) {
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

void click(Display *display, Window window) {
    press(display, window);
    release(display);
}

void move_pointer_away(Display *display) {
    const int screen = DefaultScreen(display);
    XTestFakeMotionEvent(display, screen, DisplayWidth(display, screen) - 1,
                         DisplayHeight(display, screen) - 1, CurrentTime);
    XSync(display, False);
}

void type_key(Display *display, KeySym key, bool shift) {
    const KeyCode shift_code = XKeysymToKeycode(display, XK_Shift_L);
    const KeyCode code = XKeysymToKeycode(display, key);
    if (shift) XTestFakeKeyEvent(display, shift_code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (shift) XTestFakeKeyEvent(display, shift_code, False, CurrentTime);
    XSync(display, False);
}

bool has_focus(Display *display, Window window) {
    Window focus;
    int revert;
    XGetInputFocus(display, &focus, &revert);
    for (Window w = focus; w != None && w != PointerRoot;) {
        if (w == window) return true;
        Window root, parent, *list = nullptr;
        unsigned int count;
        if (!XQueryTree(display, w, &root, &parent, &list, &count)) return false;
        if (list) XFree(list);
        w = parent == root ? None : parent;
    }
    return false;
}

void move_through_window_manager(Display *display, Window client, int x, int y) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = client;
    event.xclient.message_type = XInternAtom(display, "_NET_MOVERESIZE_WINDOW", False);
    event.xclient.format = 32;
    // x and y given, north-west gravity, from a pager or the user.
    event.xclient.data.l[0] = NorthWestGravity | 1 << 8 | 1 << 9 | 2 << 12;
    event.xclient.data.l[1] = x;
    event.xclient.data.l[2] = y;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display, False);
}

void close_through_window_manager(Display *display, Window client) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = client;
    event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2;  // source: a pager or user action
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display, False);
}

void expose_whole_screen(Display *display) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const int screen = DefaultScreen(display);
    attributes.background_pixel = WhitePixel(display, screen);
    const Window cover =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, DisplayWidth(display, screen),
                      DisplayHeight(display, screen), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapWindow(display, cover);
    XDestroyWindow(display, cover);
    XSync(display, False);
}

// ---------------------------------------------------------------- pixels

Image::Image(Display *display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return;
    width_ = attributes.width;
    height_ = attributes.height;
    image_ = XGetImage(display, window, 0, 0, width_, height_, AllPlanes, ZPixmap);
    if (image_) take_masks(attributes.visual);
}

Image::Image(Display *display, Window window, Rows rows) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return;
    width_ = attributes.width;
    height_ = rows.count;
    image_ = XGetImage(display, window, 0, rows.top, width_, height_, AllPlanes, ZPixmap);
    if (image_) take_masks(attributes.visual);
}

void Image::take_masks(const Visual *visual) {
    red_mask_ = visual->red_mask;
    green_mask_ = visual->green_mask;
    blue_mask_ = visual->blue_mask;
}

Image::Image(Display *display, Drawable drawable, int width, int height) {
    image_ = XGetImage(display, drawable, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image_) return;
    width_ = width;
    height_ = height;
    take_masks(DefaultVisual(display, DefaultScreen(display)));
}

Image::Image(Image &&other) noexcept
    : image_(other.image_),
      width_(other.width_),
      height_(other.height_),
      red_mask_(other.red_mask_),
      green_mask_(other.green_mask_),
      blue_mask_(other.blue_mask_) {
    other.image_ = nullptr;
}

Image::~Image() {
    if (image_) XDestroyImage(image_);
}

unsigned long Image::pixel(int x, int y) const { return XGetPixel(image_, x, y); }

namespace {
int channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long value = (pixel & mask) >> shift;
    const unsigned long top = mask >> shift;
    return static_cast<int>(value * 255 / top);
}
}  // namespace

Rgb8 Image::rgb(int x, int y) const {
    const unsigned long p = pixel(x, y);
    return {channel(p, red_mask_), channel(p, green_mask_), channel(p, blue_mask_)};
}

unsigned long allocated_pixel(Display *display, unsigned short red, unsigned short green,
                              unsigned short blue) {
    XColor colour{};
    colour.red = red;
    colour.green = green;
    colour.blue = blue;
    colour.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(display, DefaultColormap(display, DefaultScreen(display)), &colour))
        fail("XAllocColor failed");
    return colour.pixel;
}

std::vector<unsigned char> rgb_bytes(const Image &image) {
    std::vector<unsigned char> rgb(static_cast<size_t>(image.width()) * image.height() * 3);
    size_t i = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb8 c = image.rgb(x, y);
            rgb[i++] = static_cast<unsigned char>(c.red);
            rgb[i++] = static_cast<unsigned char>(c.green);
            rgb[i++] = static_cast<unsigned char>(c.blue);
        }
    }
    return rgb;
}

bool write_png(const std::string &path, int width, int height,
               const std::vector<unsigned char> &rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3)
        return false;
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, &rgb[static_cast<size_t>(y) * width * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool save_window_png(Display *display, Window window, const std::string &path) {
    const Image image(display, window);
    return image.valid() && write_png(path, image.width(), image.height(), rgb_bytes(image));
}

bool save_screenshot(Display *display, const std::string &path) {
    return save_window_png(display, DefaultRootWindow(display), path);
}

}  // namespace yarx::e2e
