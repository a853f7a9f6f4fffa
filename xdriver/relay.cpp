#include "relay.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <list>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace yarx::xdriver {

namespace {

using Clock = std::chrono::steady_clock;

// A field of a packet in the byte order the client chose.
unsigned long field(const unsigned char *bytes, int offset, int size, bool big_endian) {
    unsigned long value = 0;
    for (int k = 0; k < size; ++k)
        value = value << 8 | bytes[big_endian ? offset + k : offset + size - 1 - k];
    return value;
}

size_t padded(size_t n) { return (n + 3) & ~size_t{3}; }

// Reads what a client sends: first the connection setup (12 bytes, then the
// authorization name and data, each padded to 4), then requests, each with
// its length in 4-byte units at offset 2 or, when that is 0 (a big request),
// in the 4 bytes after the header.  Counts them by major opcode, keeps the
// colours of AllocColor and knows which sequence numbers AllocColor had.
class RequestTap {
public:
    void feed(const unsigned char *data, size_t n) {
        for (size_t i = 0; i < n;) {
            if (skip_ > 0) {
                const size_t skip = std::min(skip_, n - i);
                skip_ -= skip;
                i += skip;
                continue;
            }
            current_[length_++] = data[i++];
            if (length_ == want_) take_packet();
        }
    }

    // Whether the request whose sequence number ends in these 16 bits, as
    // the server's answer carries it, was an AllocColor.
    bool asked_for_colour(unsigned sequence) const { return alloc_color_at_[sequence & 0xffff]; }

    long counts[256] = {};
    std::vector<ColourRequest> colours;

private:
    // The bytes asked for are in: ask for more, or count the packet, skip
    // its rest and start on the next.
    void take_packet() {
        if (in_setup_) {
            big_endian_ = current_[0] == 'B';
            in_setup_ = false;
            next_packet(padded(get(6, 2)) + padded(get(8, 2)));
            return;
        }
        size_t size = 4 * get(2, 2);
        if (size == 0) {
            if (length_ < 8) {
                want_ = 8;
                return;
            }
            size = 4 * get(4, 4);
        }
        const int opcode = current_[0];
        // AllocColor is 16 bytes: colormap, red, green, blue.
        if (opcode == XCB_ALLOC_COLOR && size == 16 && length_ < 16) {
            want_ = 16;
            return;
        }
        ++counts[opcode];
        alloc_color_at_[++sequence_ & 0xffff] = opcode == XCB_ALLOC_COLOR;
        if (opcode == XCB_ALLOC_COLOR && size == 16)
            colours.push_back({get(4, 4), static_cast<unsigned short>(get(8, 2)),
                               static_cast<unsigned short>(get(10, 2)),
                               static_cast<unsigned short>(get(12, 2))});
        next_packet(size > length_ ? size - length_ : 0);
    }

    void next_packet(size_t skip) {
        skip_ = skip;
        length_ = 0;
        want_ = 4;
    }

    unsigned long get(int offset, int size) const {
        return field(current_, offset, size, big_endian_);
    }

    bool big_endian_ = false;
    bool in_setup_ = true;
    unsigned char current_[16] = {};
    size_t length_ = 0;
    size_t want_ = 12;  // the setup's fixed part
    size_t skip_ = 0;
    unsigned long sequence_ = 0;  // of the last request
    std::vector<bool> alloc_color_at_ = std::vector<bool>(0x10000);
};

// Finds the server's answers to AllocColor in the stream it sends: first
// the connection setup answer (8 bytes, then 4 * its length field), then
// 32-byte packets, of which replies (type 1, the request's sequence number
// at offset 2) and generic events (35) carry 4 * their length field more.
class ColourAnswerFinder {
public:
    explicit ColourAnswerFinder(const RequestTap &requests) : requests_(requests) {}
    void set_big_endian(bool big) { big_endian_ = big; }

    // The offset in data[0..n) from which the first answer to an AllocColor
    // on is held back, or n when there is none.  An answer that began in an
    // earlier chunk is held from this chunk's start: the client cannot take
    // it without the rest.
    size_t feed(const unsigned char *data, size_t n) {
        size_t first_answer = n;
        for (size_t i = 0; i < n;) {
            if (remaining_ > 0) {
                const size_t skip = std::min(remaining_, n - i);
                remaining_ -= skip;
                i += skip;
                continue;
            }
            header_[header_length_++] = data[i++];
            if (header_length_ == 4 && !in_setup_ && (header_[0] & 0x7f) == 1 &&
                first_answer == n && requests_.asked_for_colour(field(header_, 2, 2, big_endian_)))
                first_answer = i >= 4 ? i - 4 : 0;
            if (header_length_ < sizeof header_) continue;
            header_length_ = 0;
            remaining_ = packet_size() - sizeof header_;
            in_setup_ = false;
        }
        return first_answer;
    }

private:
    size_t packet_size() const {
        if (in_setup_) return 8 + 4 * field(header_, 6, 2, big_endian_);
        const int type = header_[0] & 0x7f;
        if (type == 1 || type == 35) return 32 + 4 * field(header_, 4, 4, big_endian_);
        return 32;
    }

    const RequestTap &requests_;
    bool big_endian_ = false;
    bool in_setup_ = true;
    size_t remaining_ = 0;
    unsigned char header_[8] = {};
    size_t header_length_ = 0;
};

struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

// One direction of one connection: what has been read and waits its turn.
struct Direction {
    int from = -1, to = -1;
    std::deque<Chunk> queue;
    size_t written = 0;  // of the front chunk
    bool ended = false;  // the sender has closed its end
    long long bytes_read = 0;

    bool due(Clock::time_point now) const { return !queue.empty() && queue.front().due <= now; }
};

struct Connection {
    Direction up;    // client to server
    Direction down;  // server to client
    RequestTap requests;
    ColourAnswerFinder colour_answers{requests};
    bool byte_order_known = false;
    bool holding = false;
    std::string held;
    bool closed = false;

    ~Connection() {
        if (up.from >= 0) close(up.from);
        if (down.from >= 0) close(down.from);
    }
};

void set_nonblocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

int connect_to_server(const std::string &display_number) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = "/tmp/.X11-unix/X" + display_number;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Listens on 127.0.0.1 at the port of the first free display number from
// 100 on; returns the socket and the display number.
std::pair<int, int> listen_for_display() {
    for (int number = 100; number < 1000; ++number) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) break;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(6000 + number));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
            listen(fd, 8) == 0)
            return {fd, number};
        close(fd);
    }
    throw std::runtime_error("relay: no free port from 6100 on");
}

}  // namespace

struct Relay::State {
    std::string server_number;
    int listener = -1;
    int wake[2] = {-1, -1};
    std::atomic<bool> stop{false};
    std::thread thread;

    mutable std::mutex mutex;  // guards what follows
    Duration delay{0};
    long long bits_per_second = 0;
    // When the line each way has sent what it has been given, with a
    // bandwidth set: client to server, server to client.
    Clock::time_point line_free[2];
    bool hold_armed = false;
    std::list<Connection> connections;
    // Of connections that have closed.
    long closed_counts[256] = {};
    std::vector<ColourRequest> closed_colours;
    Bytes closed_bytes;

    void send_on(Direction &direction, bool downwards, const char *bytes, size_t n);

    void run();
    void accept_client();
    void read_from(Connection &connection, Direction &direction, bool downwards);
    static void write_due(Connection &connection, Direction &direction, Clock::time_point now);
    void wake_up() const {
        const char byte = 0;
        [[maybe_unused]] const ssize_t n = write(wake[1], &byte, 1);
    }
};

void Relay::State::accept_client() {
    const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    const int server = connect_to_server(server_number);
    if (server < 0) {
        close(client);
        return;
    }
    const int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    set_nonblocking(client);
    set_nonblocking(server);
    Connection &connection = connections.emplace_back();
    connection.up.from = connection.down.to = client;
    connection.down.from = connection.up.to = server;
}

void Relay::State::read_from(Connection &connection, Direction &direction, bool downwards) {
    unsigned char buffer[65536];
    const ssize_t n = read(direction.from, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) {
        direction.ended = true;
        return;
    }
    const auto *bytes = reinterpret_cast<const char *>(buffer);
    size_t passed = static_cast<size_t>(n);
    if (!downwards) {
        // The client names the byte order of everything in its first byte.
        if (!connection.byte_order_known)
            connection.colour_answers.set_big_endian(buffer[0] == 'B');
        connection.byte_order_known = true;
        connection.requests.feed(buffer, passed);
    }
    if (downwards) {
        const size_t first_answer = connection.colour_answers.feed(buffer, passed);
        if (connection.holding) {
            passed = 0;
        } else if (hold_armed && first_answer < passed) {
            connection.holding = true;
            passed = first_answer;
        }
        connection.held.append(bytes + passed, static_cast<size_t>(n) - passed);
    }
    direction.bytes_read += n;
    send_on(direction, downwards, bytes, passed);
}

// Queues the bytes to arrive after the delay, and with a bandwidth set,
// after the line has carried them: a segment at a time, so that the far end
// starts on them as they come in, as over TCP.
void Relay::State::send_on(Direction &direction, bool downwards, const char *bytes, size_t n) {
    const auto now = Clock::now();
    if (bits_per_second == 0) {
        if (n > 0) direction.queue.push_back({now + delay, std::string(bytes, n)});
        return;
    }
    constexpr size_t segment = 1448;  // of Ethernet's 1500 bytes, what TCP carries
    Clock::time_point &free = line_free[downwards];
    for (size_t at = 0; at < n; at += segment) {
        const size_t size = std::min(segment, n - at);
        free = std::max(free, now) + std::chrono::nanoseconds(static_cast<long long>(size) * 8 *
                                                              1000000000 / bits_per_second);
        direction.queue.push_back({free + delay, std::string(bytes + at, size)});
    }
}

void Relay::State::write_due(Connection &connection, Direction &direction, Clock::time_point now) {
    while (direction.due(now)) {
        const std::string &bytes = direction.queue.front().bytes;
        const ssize_t n = send(direction.to, bytes.data() + direction.written,
                               bytes.size() - direction.written, MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n <= 0) {
            connection.closed = true;
            return;
        }
        direction.written += static_cast<size_t>(n);
        if (direction.written < bytes.size()) return;
        direction.queue.pop_front();
        direction.written = 0;
    }
    if (direction.ended && direction.queue.empty()) shutdown(direction.to, SHUT_WR);
}

void Relay::State::run() {
    std::vector<pollfd> fds;
    while (!stop) {
        std::unique_lock<std::mutex> lock(mutex);
        const auto now = Clock::now();
        fds.assign({{wake[0], POLLIN, 0}, {listener, POLLIN, 0}});
        std::optional<Clock::duration> timeout;
        for (Connection &c : connections) {
            for (Direction *d : {&c.up, &c.down}) {
                // A negative descriptor is left out of the poll.
                fds.push_back({d->ended ? -1 : d->from, POLLIN, 0});
                fds.push_back({d->due(now) ? d->to : -1, POLLOUT, 0});
                if (!d->queue.empty() && !d->due(now)) {
                    const auto wait = d->queue.front().due - now;
                    timeout = timeout ? std::min(*timeout, wait) : wait;
                }
            }
        }
        lock.unlock();
        // To the microsecond: a millisecond's rounding would add up over the
        // round trips of a slow link.
        timespec until{};
        if (timeout) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*timeout).count();
            until.tv_sec = static_cast<time_t>(ns / 1000000000);
            until.tv_nsec = static_cast<long>(ns % 1000000000);
        }
        if (ppoll(fds.data(), fds.size(), timeout ? &until : nullptr, nullptr) < 0 &&
            errno != EINTR)
            break;
        lock.lock();

        if (fds[0].revents) {
            char drain[64];
            while (read(wake[0], drain, sizeof drain) > 0) {
            }
        }
        size_t k = 2;
        for (Connection &c : connections) {
            for (Direction *d : {&c.up, &c.down}) {
                if (fds[k].revents) read_from(c, *d, d == &c.down);
                k += 2;
            }
        }
        if (fds[1].revents & POLLIN) accept_client();
        const auto later = Clock::now();
        for (Connection &c : connections) {
            write_due(c, c.up, later);
            write_due(c, c.down, later);
            const bool drained = c.up.queue.empty() && c.down.queue.empty();
            if (c.up.ended && c.down.ended && drained && c.held.empty()) c.closed = true;
        }
        for (const Connection &c : connections) {
            if (!c.closed) continue;
            for (int op = 0; op < 256; ++op) closed_counts[op] += c.requests.counts[op];
            closed_bytes.up += c.up.bytes_read;
            closed_bytes.down += c.down.bytes_read;
            closed_colours.insert(closed_colours.end(), c.requests.colours.begin(),
                                  c.requests.colours.end());
        }
        connections.remove_if([](const Connection &c) { return c.closed; });
    }
}

Relay::Relay(const XServer &server, Duration delay_each_way) : state_(new State) {
    state_->server_number = server.number();
    state_->delay = delay_each_way;
    int number;
    std::tie(state_->listener, number) = listen_for_display();
    name_ = "127.0.0.1:" + std::to_string(number);
    if (pipe2(state_->wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        close(state_->listener);
        throw std::runtime_error("relay: pipe failed");
    }
    state_->thread = std::thread([state = state_.get()] { state->run(); });
}

Relay::~Relay() {
    state_->stop = true;
    state_->wake_up();
    state_->thread.join();
    state_->connections.clear();
    close(state_->listener);
    close(state_->wake[0]);
    close(state_->wake[1]);
}

void Relay::set_delay(Duration delay_each_way) {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->delay = delay_each_way;
}

void Relay::set_bandwidth(long long bits_per_second) {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->bits_per_second = bits_per_second;
}

void Relay::hold_colour_answers() {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->hold_armed = true;
}

bool Relay::holding() const {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    return std::any_of(state_->connections.begin(), state_->connections.end(),
                       [](const Connection &c) { return c.holding; });
}

void Relay::release() {
    {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        state_->hold_armed = false;
        for (Connection &c : state_->connections) {
            state_->send_on(c.down, true, c.held.data(), c.held.size());
            c.held.clear();
            c.holding = false;
        }
    }
    state_->wake_up();
}

}  // namespace yarx::xdriver

namespace yarx::xdriver {

bool Relay::idle() const {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    const auto unread = [](int fd) {
        int bytes = 0;
        return fd >= 0 && ioctl(fd, FIONREAD, &bytes) == 0 && bytes > 0;
    };
    for (const Connection &c : state_->connections)
        for (const Direction *d : {&c.up, &c.down})
            if (!d->queue.empty() || (!d->ended && unread(d->from)) || !c.held.empty())
                return false;
    return true;
}

long Relay::requests_sent(int opcode) const {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    long total = state_->closed_counts[opcode];
    for (const Connection &c : state_->connections) total += c.requests.counts[opcode];
    return total;
}

std::vector<ColourRequest> Relay::colours_requested() const {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    std::vector<ColourRequest> colours = state_->closed_colours;
    for (const Connection &c : state_->connections)
        colours.insert(colours.end(), c.requests.colours.begin(), c.requests.colours.end());
    return colours;
}

Relay::Bytes Relay::bytes_sent() const {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    Bytes bytes = state_->closed_bytes;
    for (const Connection &c : state_->connections) {
        bytes.up += c.up.bytes_read;
        bytes.down += c.down.bytes_read;
    }
    return bytes;
}

std::vector<ColourRequest> RequestCounter::colours() const {
    std::vector<ColourRequest> colours = relay_.colours_requested();
    colours.erase(colours.begin(), colours.begin() + static_cast<long>(colours_base_));
    return colours;
}

void RequestCounter::reset() {
    for (int opcode = 0; opcode < 256; ++opcode) base_[opcode] = relay_.requests_sent(opcode);
    colours_base_ = relay_.colours_requested().size();
}

}  // namespace yarx::xdriver
