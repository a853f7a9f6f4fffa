#include "colour_batch.h"

#include <X11/Xlib-xcb.h>

#include "ui/xcb_reply.h"

namespace yarx::ui {

PendingColour request_colour(Display *display, Colormap colormap, unsigned short red,
                             unsigned short green, unsigned short blue) {
    return xcb_alloc_color(XGetXCBConnection(display), colormap, red, green, blue);
}

bool take_colour(Display *display, PendingColour pending, GivenColour &given) {
    xcb_generic_error_t *error = nullptr;
    const XcbReply<xcb_alloc_color_reply_t> reply(
        xcb_alloc_color_reply(XGetXCBConnection(display), pending, &error));
    const XcbError refusal(error);
    if (!reply) return false;
    given = {reply->pixel, reply->red, reply->green, reply->blue};
    return true;
}

}  // namespace yarx::ui
