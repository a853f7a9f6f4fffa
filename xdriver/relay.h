// A network link between clients and a private X server: a relay that
// listens on 127.0.0.1 (a client connects with -display 127.0.0.1:N) and
// forwards each connection to the server's Unix socket.  The server keeps
// its access control and never listens on TCP itself.
//
// The relay can play a slow link, the way ssh -X or a LAN puts one between
// a program and its display: every byte is held back for a set delay in
// each direction, in order, and with a bandwidth set, bytes go at most that
// fast each way, one connection after another as on one line.  It counts
// the bytes each way, and it sees every request a client sends, so it
// counts those too; and it can hold back what the server sends from its next
// answer to a colour allocation on, so that a client which must wait for
// that answer stops there and a test sees which requests the client sends
// without waiting for it.
#pragma once

#include <xcb/xproto.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"

namespace yarx::xdriver {

// The colour of an AllocColor request, as the client sent it.
struct ColourRequest {
    unsigned long colormap;
    unsigned short red, green, blue;
    bool operator==(const ColourRequest &o) const {
        return colormap == o.colormap && red == o.red && green == o.green && blue == o.blue;
    }
};

class Relay {
public:
    explicit Relay(const XServer &server, Duration delay_each_way = Duration(0));
    ~Relay();
    Relay(const Relay &) = delete;
    Relay &operator=(const Relay &) = delete;

    // "127.0.0.1:N", for -display.
    const std::string &display_name() const { return name_; }

    // Apply to bytes read from now on.
    void set_delay(Duration delay_each_way);
    // In bits per second each way; 0, as at first, for no limit.
    void set_bandwidth(long long bits_per_second);

    // From the server's next answer to an AllocColor on, hold back
    // everything it sends on that connection until release().  What comes
    // before that answer, other replies and events, passes.
    void hold_colour_answers();
    // Whether such an answer has been caught and is being held.
    bool holding() const;
    void release();

    // Whether everything the relay has been sent has been passed on: no
    // bytes wait to be read or to be written, and none are held.
    bool idle() const;

    // What the clients have sent so far, over all connections: requests by
    // major opcode (XCB_ALLOC_COLOR, ...), and the colours of their
    // AllocColor requests in order.
    long requests_sent(int opcode) const;
    std::vector<ColourRequest> colours_requested() const;

    // Bytes sent so far over all connections, counted as the relay reads
    // them from the sender, before any delay.
    struct Bytes {
        long long up = 0;    // by the clients
        long long down = 0;  // by the server
    };
    Bytes bytes_sent() const;

    struct State;

private:
    std::string name_;
    std::unique_ptr<State> state_;
};

// Counts the requests that clients send through a relay from its creation
// or its last reset() on.
class RequestCounter {
public:
    explicit RequestCounter(const Relay &relay) : relay_(relay) { reset(); }

    long count(int opcode) const { return relay_.requests_sent(opcode) - base_[opcode]; }
    // The colours of the AllocColor requests counted, in the order sent.
    std::vector<ColourRequest> colours() const;
    void reset();

private:
    const Relay &relay_;
    long base_[256] = {};
    size_t colours_base_ = 0;
};

// Every core request the server answers with a reply: a client that sends
// one waits a round trip for the answer.
// clang-format off
constexpr int reply_bearing_opcodes[] = {
    XCB_GET_WINDOW_ATTRIBUTES,    XCB_GET_GEOMETRY,             XCB_QUERY_TREE,
    XCB_INTERN_ATOM,              XCB_GET_ATOM_NAME,            XCB_GET_PROPERTY,
    XCB_LIST_PROPERTIES,          XCB_GET_SELECTION_OWNER,      XCB_GRAB_POINTER,
    XCB_GRAB_KEYBOARD,            XCB_QUERY_POINTER,            XCB_GET_MOTION_EVENTS,
    XCB_TRANSLATE_COORDINATES,    XCB_GET_INPUT_FOCUS,          XCB_QUERY_KEYMAP,
    XCB_QUERY_FONT,               XCB_QUERY_TEXT_EXTENTS,       XCB_LIST_FONTS,
    XCB_LIST_FONTS_WITH_INFO,     XCB_GET_FONT_PATH,            XCB_GET_IMAGE,
    XCB_LIST_INSTALLED_COLORMAPS, XCB_ALLOC_COLOR,              XCB_ALLOC_NAMED_COLOR,
    XCB_ALLOC_COLOR_CELLS,        XCB_ALLOC_COLOR_PLANES,       XCB_QUERY_COLORS,
    XCB_LOOKUP_COLOR,             XCB_QUERY_BEST_SIZE,          XCB_QUERY_EXTENSION,
    XCB_LIST_EXTENSIONS,          XCB_GET_KEYBOARD_MAPPING,     XCB_GET_KEYBOARD_CONTROL,
    XCB_GET_POINTER_CONTROL,      XCB_GET_SCREEN_SAVER,         XCB_LIST_HOSTS,
    XCB_SET_POINTER_MAPPING,      XCB_GET_POINTER_MAPPING,      XCB_SET_MODIFIER_MAPPING,
    XCB_GET_MODIFIER_MAPPING,
};
// clang-format on
static_assert(std::size(reply_bearing_opcodes) == 40);

}  // namespace yarx::xdriver
