#include "colour_batch.h"

#include <X11/Xlib-xcb.h>
#include <xcb/xproto.h>

#include <cstdlib>

namespace yarx::ui {

namespace {

xcb_alloc_color_cookie_t cookies[colour_slots];

// libxcb hands every reply and every error back in memory of its own,
// allocated with malloc; this is the one place the program gives it back.
void release(void *from_xcb) { std::free(from_xcb); }

}  // namespace

void request_colour(Display *display, Colormap colormap, int slot, unsigned short red,
                    unsigned short green, unsigned short blue) {
    cookies[slot] = xcb_alloc_color(XGetXCBConnection(display), colormap, red, green, blue);
}

bool take_colour(Display *display, int slot, unsigned long &pixel) {
    xcb_generic_error_t *error = nullptr;
    xcb_alloc_color_reply_t *reply =
        xcb_alloc_color_reply(XGetXCBConnection(display), cookies[slot], &error);
    if (error) release(error);
    if (!reply) return false;
    pixel = reply->pixel;
    release(reply);
    return true;
}

}  // namespace yarx::ui
