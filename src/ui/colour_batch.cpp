#include "colour_batch.h"

#include <X11/Xlib-xcb.h>
#include <xcb/xproto.h>

#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

xcb_alloc_color_cookie_t cookies[colour_slots];

}  // namespace

void request_colour(Display *display, Colormap colormap, int slot, unsigned short red,
                    unsigned short green, unsigned short blue) {
    cookies[slot] = xcb_alloc_color(XGetXCBConnection(display), colormap, red, green, blue);
}

bool take_colour(Display *display, int slot, unsigned long &pixel) {
    xcb_generic_error_t *error = nullptr;
    const XcbReply<xcb_alloc_color_reply_t> reply(
        xcb_alloc_color_reply(XGetXCBConnection(display), cookies[slot], &error));
    const XcbError refusal(error);
    if (!reply) return false;
    pixel = reply->pixel;
    return true;
}

}  // namespace yarx::ui
