// A file written whole or not at all: the bytes go to a temporary beside
// the file and are renamed over it only once every one of them is on the
// disk.  Until then, and whatever goes wrong, the file stays as it was, and
// the temporary goes: on a failure, and on SIGINT, SIGTERM, SIGHUP,
// SIGQUIT or SIGXFSZ, after which the process ends as that signal ends it.
//
// The file keeps what the user had: a symbolic link stays a link and its
// target is written; an existing file keeps its mode, and its owner and
// group where the user may set them; a new file gets 0666 less the umask.
// A hard link cannot be kept: the name gets a file of its own, as editors
// that save by renaming do.
#pragma once

#include <cairo.h>

#include <cstddef>

namespace yarx::print {

// One write at a time: the temporary's name lives in static storage, where
// the signal handler finds it.
class AtomicFile {
public:
    // The first failure's line, "cannot write 'PATH': why", goes to reason.
    AtomicFile(const char *path, char *reason, std::size_t reason_size);
    // A file not committed leaves nothing behind.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Makes the temporary, ".NAME.XXXXXX" in the directory of the file that
    // is to be replaced, and from then on removes it on a signal.
    bool open();
    bool write(const unsigned char *data, std::size_t length);
    // write() as cairo's write function, the closure being the file.
    static cairo_status_t take(void *closure, const unsigned char *data, unsigned int length);
    // The file's mode, on the disk, closed and renamed into place.
    bool commit();
    // A failure with the system's error, or with 0 one that the drawing met;
    // the first one is what reason says.  Always false.
    bool fail(int error);

private:
    void remove_temporary();

    const char *path_;
    char *reason_;
    std::size_t reason_size_;
    int fd_ = -1;
    bool failed_ = false;
    // What the write replaces, and what of the old file's it keeps.
    bool existed_ = false;
    unsigned mode_ = 0;
    unsigned owner_ = 0, group_ = 0;
};

}  // namespace yarx::print
