// Colours asked of the X server all at once and answered in order.  A draw
// sends every one of its colour allocations before it waits for the first
// reply, so the whole batch costs one round trip to the server, however far
// away the server is, instead of one round trip a colour.
#pragma once

#include <X11/Xlib.h>
#include <xcb/xproto.h>

#include "chart/chart_view.h"

namespace yarx::ui {

// An allocation sent whose answer is still to come.
using PendingColour = xcb_alloc_color_cookie_t;

// Sends the allocation of a 16-bit colour in the colormap; does not wait
// for the answer.
PendingColour request_colour(Display *display, Colormap colormap, unsigned short red,
                             unsigned short green, unsigned short blue);

using chart::GivenColour;

// Waits for the answer.  True, with the colour given, when the server
// gave the colour; false when it refused it or the connection broke.
bool take_colour(Display *display, PendingColour pending, GivenColour &given);

}  // namespace yarx::ui
