#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "chart/text_writer.h"

namespace yarx::print {

namespace {

// The signals that end a program while it writes, by the user's hand, the
// session's, or the system's when the write passes a limit on file size.
constexpr int interrupting_signals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGXFSZ};
constexpr int interrupting_count = sizeof interrupting_signals / sizeof *interrupting_signals;

// The file the write replaces, and the temporary beside it, which the
// handler removes: it may read them only while temporary_exists.
char target[PATH_MAX];
char temporary[PATH_MAX];
volatile std::sig_atomic_t temporary_exists = 0;
struct sigaction previous_actions[interrupting_count];
bool handlers_installed[interrupting_count];

// Only what is async-signal-safe: the temporary goes, and the signal is
// raised again as it would have ended the program without us.
extern "C" void remove_temporary_and_end(int signal_number) {
    if (temporary_exists) unlink(temporary);
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal_number, &default_action, nullptr);
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, signal_number);
    sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
    raise(signal_number);
}

// The interrupting signals held back while the temporary comes or goes,
// so that the handler never sees it half made.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int s : interrupting_signals) sigaddset(&held, s);
        sigprocmask(SIG_BLOCK, &held, &before_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t before_;
};

// A signal the program ignores (nohup's SIGHUP) stays ignored.
void install_handlers() {
    struct sigaction action {};
    action.sa_handler = remove_temporary_and_end;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < interrupting_count; ++i) {
        sigaction(interrupting_signals[i], nullptr, &previous_actions[i]);
        handlers_installed[i] = previous_actions[i].sa_handler != SIG_IGN;
        if (handlers_installed[i]) sigaction(interrupting_signals[i], &action, nullptr);
    }
}

void restore_handlers() {
    for (int i = 0; i < interrupting_count; ++i)
        if (handlers_installed[i])
            sigaction(interrupting_signals[i], &previous_actions[i], nullptr);
}

bool copy_path(char (&to)[PATH_MAX], const char *directory, int directory_length,
               const char *name) {
    const int n = std::snprintf(to, sizeof to, "%.*s%s", directory_length, directory, name);
    return n >= 0 && n < static_cast<int>(sizeof to);
}

int directory_length_of(const char *path) {
    const char *slash = std::strrchr(path, '/');
    return slash ? static_cast<int>(slash - path + 1) : 0;
}

// As many links as the system follows in one path.
constexpr int greatest_links = 40;

// The file that writing to path replaces: path, or the end of the chain
// of symbolic links it starts, which need not exist yet.  0, or why not.
int resolve_target(const char *path) {
    if (!copy_path(target, "", 0, path)) return ENAMETOOLONG;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (lstat(target, &status) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(status.st_mode)) return 0;
        if (links == greatest_links) return ELOOP;
        char link[PATH_MAX];
        const ssize_t n = readlink(target, link, sizeof link - 1);
        if (n < 0) return errno;
        link[n] = '\0';
        // A relative link is relative to the link's own directory.
        char followed[PATH_MAX];
        if (!copy_path(followed, target, link[0] == '/' ? 0 : directory_length_of(target), link))
            return ENAMETOOLONG;
        std::memcpy(target, followed, sizeof target);
    }
}

// ".NAME.XXXXXX" is 8 bytes longer than NAME: a name near NAME_MAX is cut,
// at a character's boundary, to keep the temporary's within it.
constexpr std::size_t greatest_stem = NAME_MAX - 8;  // less the dot and ".XXXXXX"

bool name_temporary() {
    const int directory_length = directory_length_of(target);
    const char *name = target + directory_length;
    const std::size_t stem = chart::character_cut(name, std::min(std::strlen(name), greatest_stem));
    const int n = std::snprintf(temporary, sizeof temporary, "%.*s.%.*s.XXXXXX", directory_length,
                                target, static_cast<int>(stem), name);
    return n >= 0 && n < static_cast<int>(sizeof temporary);
}

}  // namespace

AtomicFile::AtomicFile(const char *path, char *reason, std::size_t reason_size)
    : path_(path), reason_(reason), reason_size_(reason_size) {}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) close(fd_);
    remove_temporary();
}

bool AtomicFile::open() {
    if (const int error = resolve_target(path_)) return fail(error);
    struct stat old {};
    if (stat(target, &old) == 0) {
        existed_ = true;
        mode_ = old.st_mode & 07777;
        owner_ = old.st_uid;
        group_ = old.st_gid;
    } else if (errno != ENOENT) {
        return fail(errno);
    }
    if (!name_temporary()) return fail(ENAMETOOLONG);
    const SignalsHeld held;
    install_handlers();
    fd_ = mkstemp(temporary);
    if (fd_ < 0) {
        const int error = errno;
        restore_handlers();
        return fail(error);
    }
    temporary_exists = 1;
    return true;
}

bool AtomicFile::write(const unsigned char *data, std::size_t length) {
    while (length > 0 && !failed_) {
        const ssize_t n = ::write(fd_, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(n < 0 ? errno : EIO);
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return !failed_;
}

cairo_status_t AtomicFile::take(void *closure, const unsigned char *data, unsigned int length) {
    return static_cast<AtomicFile *>(closure)->write(data, length) ? CAIRO_STATUS_SUCCESS
                                                                   : CAIRO_STATUS_WRITE_ERROR;
}

bool AtomicFile::commit() {
    if (failed_ || !temporary_exists) return false;
    if (existed_) {
        // The owner first: a change of owner may clear the set-id bits that
        // the mode then puts back.  Someone else's file becomes the user's
        // and keeps its group where the user belongs to it; a group it
        // cannot keep gets what others had, so that no one reads the new
        // file who could not read the old.
        if (fchown(fd_, owner_, group_) != 0) {
            if (errno != EPERM) return fail(errno);
            mode_ &= ~S_ISUID;
            if (fchown(fd_, static_cast<uid_t>(-1), group_) != 0) {
                if (errno != EPERM) return fail(errno);
                mode_ = (mode_ & ~(S_ISGID | S_IRWXG)) | (mode_ & S_IRWXO) << 3;
            }
        }
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode_ = 0666 & ~mask;
    }
    if (fchmod(fd_, mode_) != 0 || fsync(fd_) != 0) return fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) return fail(errno);
    const SignalsHeld held;
    if (rename(temporary, target) != 0) return fail(errno);
    temporary_exists = 0;
    restore_handlers();
    return true;
}

bool AtomicFile::fail(int error) {
    if (!failed_)
        std::snprintf(reason_, reason_size_, "cannot write '%s': %s", path_,
                      error ? std::strerror(error) : "the drawing failed");
    failed_ = true;
    return false;
}

void AtomicFile::remove_temporary() {
    const SignalsHeld held;
    if (!temporary_exists) return;
    unlink(temporary);
    temporary_exists = 0;
    restore_handlers();
}

}  // namespace yarx::print
