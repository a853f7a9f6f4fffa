// Replies from XCB, given back when they go out of scope.  libxcb hands
// each reply and error back in memory it allocated itself; the program
// allocates none and frees that memory in one place only (xcb_reply.cpp).
#pragma once

#include <xcb/xcb.h>

namespace yarx::ui {

// Gives libxcb's memory back.
void release_xcb_memory(void *from_xcb);

template <typename T>
class XcbReply {
public:
    explicit XcbReply(T *reply = nullptr) : reply_(reply) {}
    ~XcbReply() { release_xcb_memory(reply_); }
    XcbReply(const XcbReply &) = delete;
    XcbReply &operator=(const XcbReply &) = delete;

    T *get() const { return reply_; }
    T *operator->() const { return reply_; }
    explicit operator bool() const { return reply_ != nullptr; }

private:
    T *reply_;
};

using XcbError = XcbReply<xcb_generic_error_t>;

}  // namespace yarx::ui
