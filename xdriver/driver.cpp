#include "driver.h"

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

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace yarx::xdriver {

namespace {

constexpr Duration poll_interval = 5ms;

[[noreturn]] void fail(const std::string &what) { throw std::runtime_error(what); }

std::string temp_path(const char *stem) {
    std::string path = std::string("/tmp/yarx-xdriver-") + stem + "-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) fail("mkstemp failed");
    close(fd);
    return path;
}

// A pipe whose ends close themselves.
struct Pipe {
    int ends[2] = {-1, -1};
    Pipe() {
        if (pipe2(ends, O_CLOEXEC) != 0) fail("pipe failed");
    }
    ~Pipe() {
        for (int fd : ends)
            if (fd >= 0) close(fd);
    }
    Pipe(const Pipe &) = delete;
    Pipe &operator=(const Pipe &) = delete;
    int take(int end) {
        const int fd = ends[end];
        ends[end] = -1;
        return fd;
    }
};

// The driver looks at another client's windows, which may go at any moment
// (a chart popped down, the program ended): an error then is no fault, and
// Xlib's default handler would end the whole test.  Each call's own result
// says whether it worked.
int ignore_x_errors(Display *, XErrorEvent *) { return 0; }

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

// ---------------------------------------------------------------- Process

Process::Process(const std::vector<std::string> &argv, Options options) {
    own_files_ = options.log_path.empty();
    out_path_ = own_files_ ? temp_path("out") : options.log_path;
    err_path_ = own_files_ ? temp_path("err") : options.log_path;
    std::optional<Pipe> output;
    if (options.output_to_pipe) output.emplace();

    std::vector<char *> args;
    for (const auto &a : argv) args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    const int out_fd = output ? output->ends[1] : -1;

    pid_ = fork();
    if (pid_ < 0) fail("fork failed");
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setpgid(0, 0);
        for (const auto &e : options.environment) {
            if (e.find('=') == std::string::npos)
                unsetenv(e.c_str());
            else
                putenv(const_cast<char *>(e.c_str()));
        }
        const int null_in = open("/dev/null", O_RDONLY);
        const int out = out_fd >= 0 ? out_fd : open(out_path_.c_str(), O_WRONLY | O_APPEND);
        const int err = open(err_path_.c_str(), O_WRONLY | O_APPEND);
        if (null_in < 0 || out < 0 || err < 0) _exit(126);
        dup2(null_in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (int fd = 3; fd < 1024; ++fd)
            if (fd != options.keep_fd) close(fd);
        if (options.keep_fd >= 0) fcntl(options.keep_fd, F_SETFD, 0);  // across exec too
        if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) _exit(126);
        execvp(args[0], args.data());
        _exit(127);
    }
    if (output) {
        pipe_ = output->take(0);
        fcntl(pipe_, F_SETFL, O_NONBLOCK);
    }
}

Process::~Process() {
    if (!status_ && pid_ > 0) {
        // Politely, then for certain; the whole group, and the process
        // itself in case it has not made its group yet.
        for (const int signal : {SIGTERM, SIGKILL}) {
            kill(-pid_, signal);
            kill(pid_, signal);
            if (signal == SIGTERM && wait_until([&] { return !running(); }, 3s)) break;
        }
        if (!status_) {
            int status;
            waitpid(pid_, &status, 0);
        }
    }
    if (pipe_ >= 0) close(pipe_);
    if (own_files_) {
        std::remove(out_path_.c_str());
        std::remove(err_path_.c_str());
    }
}

bool Process::running() {
    if (status_) return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        return false;
    }
    return true;
}

void Process::take_in_pipe() {
    if (pipe_ < 0 || pipe_ended_) return;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipe_, buffer, sizeof buffer)) > 0) piped_.append(buffer, n);
    if (n == 0) pipe_ended_ = true;
}

std::optional<int> Process::wait_exit(Duration timeout) {
    wait_until(
        [&] {
            take_in_pipe();
            return !running() && (pipe_ < 0 || pipe_ended_);
        },
        timeout);
    return status_;
}

void Process::kill_now() {
    if (status_) return;
    kill(pid_, SIGKILL);
    int status;
    if (waitpid(pid_, &status, 0) == pid_) status_ = status;
}

std::string Process::standard_output() {
    if (pipe_ < 0) return read_file(out_path_);
    take_in_pipe();
    return piped_;
}

std::string Process::standard_error() const { return read_file(err_path_); }

// ---------------------------------------------------------------- XServer

XServer::XServer(ServerOptions options) {
    XSetErrorHandler(ignore_x_errors);
    log_.path = temp_path("xvfb");
    Pipe number_pipe;
    const auto screen_size = [&](int depth) {
        return std::to_string(options.width) + "x" + std::to_string(options.height) + "x" +
               std::to_string(depth);
    };
    std::vector<std::string> argv = {"Xvfb",      "-displayfd", std::to_string(number_pipe.ends[1]),
                                     "-screen",   "0",          screen_size(options.depth),
                                     "-nolisten", "tcp",        "-noreset"};
    if (options.second_screen_depth)
        argv.insert(argv.end(), {"-screen", "1", screen_size(options.second_screen_depth)});
    argv.insert(argv.end(), options.extra_args.begin(), options.extra_args.end());
    Process::Options xvfb_options;
    xvfb_options.keep_fd = number_pipe.ends[1];
    xvfb_options.log_path = log_.path;
    xvfb_.emplace(argv, xvfb_options);
    close(number_pipe.take(1));

    // Xvfb writes its display number once it accepts connections.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + default_timeout;
    while (number.empty() || number.back() != '\n') {
        pollfd p{number_pipe.ends[0], POLLIN, 0};
        const auto left =
            std::chrono::duration_cast<Duration>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char c;
        if (read(number_pipe.ends[0], &c, 1) != 1) break;
        number += c;
    }
    if (number.empty() || number.back() != '\n')
        fail("Xvfb did not start: " + read_file(log_.path));
    number.pop_back();
    number_ = number;
    name_ = ":" + number + (options.screen ? "." + std::to_string(options.screen) : "");
    display_.reset(XOpenDisplay(name_.c_str()));
    if (!display_) fail("cannot open " + name_);
    // Where xrdb leaves a user's resources.  A fresh Xvfb has none; should
    // anything have put them there, they go, as the program must not see them.
    XDeleteProperty(display(), RootWindow(display(), 0), XA_RESOURCE_MANAGER);
    const Atom screen_resources = XInternAtom(display(), "SCREEN_RESOURCES", False);
    for (int s = 0; s < ScreenCount(display()); ++s)
        XDeleteProperty(display(), RootWindow(display(), s), screen_resources);

    if (options.window_manager) {
        // openbox runs its startup command once it manages the screen; a
        // client mapped before then can be lost in its start-up.
        const std::string ready = log_.path + "-ready";
        Process::Options wm_options;
        wm_options.environment = {"DISPLAY=" + name_};
        wm_options.log_path = log_.path;
        window_manager_.emplace(
            std::vector<std::string>{"openbox", "--sm-disable", "--startup", "touch " + ready},
            wm_options);
        const bool started = wait_until([&] { return access(ready.c_str(), F_OK) == 0; });
        std::remove(ready.c_str());
        if (!started) fail("openbox did not start: " + read_file(log_.path));
    }
}

XServer::~XServer() {
    display_.reset();
    window_manager_.reset();
    xvfb_.reset();
}

void XServer::kill_server() {
    xvfb_->kill_now();
    display_.release();  // the connection is dead: closing it would end us too
}

// ---------------------------------------------------------------- App

TemporaryDirectory::TemporaryDirectory() : path_("/tmp/yarx-xdriver-home-XXXXXX") {
    if (!mkdtemp(path_.data())) fail("mkdtemp failed");
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

namespace {
Process::Options app_options(const XServer &server, const std::string &home,
                             std::vector<std::string> environment, bool output_to_pipe) {
    Process::Options options;
    const std::string nowhere = home + "/nowhere";
    auto &env = options.environment;
    env = {"DISPLAY=" + server.name(), "HOME=" + home};
    env.push_back("XFILESEARCHPATH=" + nowhere);
    env.push_back("XUSERFILESEARCHPATH=" + nowhere);
    env.push_back("XENVIRONMENT");  // unset
    env.push_back("XAPPLRESDIR");   // unset
    env.insert(env.end(), environment.begin(), environment.end());
    options.output_to_pipe = output_to_pipe;
    options.directory = home;
    return options;
}

std::vector<std::string> yarx_command(std::vector<std::string> args) {
    args.insert(args.begin(), YARX_EXECUTABLE);
    return args;
}
}  // namespace

App::App(XServer &server, std::vector<std::string> args, std::vector<std::string> extra_environment,
         Output output)
    : Process(yarx_command(std::move(args)),
              app_options(server, path(), std::move(extra_environment), output == Output::pipe)) {}

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

Window child_at(Display *display, Window window, const int *path, int length) {
    for (const int *p = path; p != path + length; ++p) {
        const int index = *p;
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

ScreenBox on_screen(Display *display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return {};
    int x, y;
    Window unused;
    XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &unused);
    return {x, y, attributes.width, attributes.height};
}

namespace {
// Under a window manager, client windows sit inside its frames: search the
// whole tree.
Window search_client(Display *display, Window window, const char *wm_class, const char *wm_name) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint)) {
        const bool match = hint.res_class && std::strcmp(hint.res_class, wm_class) == 0 &&
                           hint.res_name && std::strcmp(hint.res_name, wm_name) == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (match && viewable(display, window)) return window;
    }
    for (Window child : children(display, window))
        if (Window found = search_client(display, child, wm_class, wm_name)) return found;
    return None;
}
}  // namespace

Window find_client(Display *display, const char *wm_class, const char *wm_name) {
    return search_client(display, DefaultRootWindow(display), wm_class, wm_name);
}

// ---------------------------------------------------------------- input

void press(Display *display, Window window) { press_at(display, window, -1, -1); }

void press_at(Display *display, Window window, int window_x, int window_y, unsigned int button) {
    move_pointer_to(display, window, window_x, window_y);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XSync(display, False);
}

void move_pointer_to(Display *display, Window window, int window_x, int window_y) {
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
    XSync(display, False);
}

void release(Display *display, unsigned int button) {
    XTestFakeButtonEvent(display, button, False, CurrentTime);
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

void type_key(Display *display, KeySym key, KeySym modifier) {
    const KeyCode modifier_code = modifier == NoSymbol ? 0 : XKeysymToKeycode(display, modifier);
    const KeyCode code = XKeysymToKeycode(display, key);
    if (modifier_code) XTestFakeKeyEvent(display, modifier_code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (modifier_code) XTestFakeKeyEvent(display, modifier_code, False, CurrentTime);
    XSync(display, False);
}

// A printable ASCII character's keysym is its code; a capital is its
// letter's key with Shift.
void type_text(Display *display, const char *text) {
    for (const char *p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        type_key(display, static_cast<KeySym>(std::tolower(c)),
                 std::isupper(c) ? XK_Shift_L : NoSymbol);
    }
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
    image_ =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image_) return;  // not viewable
    width_ = attributes.width;
    height_ = attributes.height;
    take_masks(attributes.visual);
}

Image::Image(Display *display, Window window, Rows rows) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return;
    image_ =
        XGetImage(display, window, 0, rows.top, attributes.width, rows.count, AllPlanes, ZPixmap);
    if (!image_) return;  // not viewable, or rows outside it
    width_ = attributes.width;
    height_ = rows.count;
    take_masks(attributes.visual);
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
unsigned char channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long value = (pixel & mask) >> shift;
    const unsigned long top = mask >> shift;
    return static_cast<unsigned char>(value * 255 / top);
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

}  // namespace yarx::xdriver
