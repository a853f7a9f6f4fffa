// Colours asked of the X server all at once and answered in order.  A draw
// sends every one of its colour allocations before it waits for the first
// reply, so the whole batch costs one round trip to the server, however far
// away the server is, instead of one round trip a colour.
#pragma once

#include <X11/Xlib.h>

#include "colour/chart_colours.h"

namespace yarx::ui {

// A chart draw's colours: the bands in row order, then black, then white.
constexpr int black_slot = colour::chart_rows;
constexpr int white_slot = colour::chart_rows + 1;
constexpr int colour_slots = colour::chart_rows + 2;

// Sends the allocation of a 16-bit colour in the colormap, to be answered
// in the slot; does not wait for the answer.
void request_colour(Display *display, Colormap colormap, int slot, unsigned short red,
                    unsigned short green, unsigned short blue);

// Waits for the answer in the slot.  True, with the colour's pixel, when the
// server gave the colour; false when it refused it or the connection broke.
bool take_colour(Display *display, int slot, unsigned long &pixel);

}  // namespace yarx::ui
