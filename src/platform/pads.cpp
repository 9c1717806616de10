// Gamepads: Allegro's joystick state turned into what a player holds, with
// the consumed controls and the pads that went away.
#include "pads.h"

#include <allegro.h>
#include <cstdio>

#ifdef __linux__
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

pad_binding pad_bindings[2] = {
    {0, DEFAULT_PAD_FIRE, DEFAULT_PAD_CHANGE},
    {1, DEFAULT_PAD_FIRE, DEFAULT_PAD_CHANGE},
};

namespace {

constexpr unsigned DIR_UP = 1, DIR_DOWN = 2, DIR_LEFT = 4, DIR_RIGHT = 8;

struct pad_state {
    unsigned walk_sticks;       // bit s: stick s walks
    unsigned consumed_dirs;     // read as released until let go
    unsigned consumed_buttons;
    bool lost;                  // unplugged: never read again this run
    int watch_fd;               // our own handle on the device, -1 if none
};
pad_state pads[MAX_JOYSTICKS];
bool watching = false;

bool pad_present(int n)
{
    return n >= 0 && n < num_joysticks && n < MAX_JOYSTICKS && !pads[n].lost;
}

unsigned stick_dirs(const JOYSTICK_STICK_INFO &s)
{
    unsigned d = 0;
    if (s.num_axis >= 1) {
        if (s.axis[0].pos < -PAD_DEAD_ZONE)
            d |= DIR_LEFT;
        else if (s.axis[0].pos > PAD_DEAD_ZONE)
            d |= DIR_RIGHT;
    }
    if (s.num_axis >= 2) {
        if (s.axis[1].pos < -PAD_DEAD_ZONE)
            d |= DIR_UP;
        else if (s.axis[1].pos > PAD_DEAD_ZONE)
            d |= DIR_DOWN;
    }
    return d;
}

unsigned raw_dirs(int n)
{
    const JOYSTICK_INFO &j = joy[n];
    unsigned d = 0;
    for (int s = 0; s < j.num_sticks && s < MAX_JOYSTICK_STICKS; s++)
        if (pads[n].walk_sticks & (1u << s))
            d |= stick_dirs(j.stick[s]);
    return d;
}

unsigned raw_buttons(int n)
{
    const JOYSTICK_INFO &j = joy[n];
    unsigned b = 0;
    for (int i = 0; i < j.num_buttons && i < MAX_JOYSTICK_BUTTONS; i++)
        if (j.button[i].b)
            b |= 1u << i;
    return b;
}

// A consumed control stays consumed only while it is still held.
void settle(int n)
{
    pads[n].consumed_dirs &= raw_dirs(n);
    pads[n].consumed_buttons &= raw_buttons(n);
}

unsigned button_bit(int b)
{
    return b >= 0 && b < MAX_JOYSTICK_BUTTONS ? 1u << b : 0;
}

bool centred(const JOYSTICK_STICK_INFO &s)
{
    for (int a = 0; a < s.num_axis && a < MAX_JOYSTICK_AXIS; a++)
        if (s.axis[a].pos < -PAD_DEAD_ZONE || s.axis[a].pos > PAD_DEAD_ZONE)
            return false;
    return true;
}

// Allegro's Linux driver keeps reporting the last state of a pad that was
// unplugged, so a held direction would walk on forever. A handle of our own
// on the same device says when it is gone (the joystick device then fails
// every read with ENODEV); its events are only drained.
void watch_devices()
{
#ifdef __linux__
    for (int n = 0; n < num_joysticks && n < MAX_JOYSTICKS; n++) {
        char path[32];
        std::snprintf(path, sizeof path, "/dev/input/js%d", n);
        int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            std::snprintf(path, sizeof path, "/dev/js%d", n);
            fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        }
        pads[n].watch_fd = fd;
    }
    watching = true;
#endif
}

void check_devices()
{
#ifdef __linux__
    if (!watching)
        return;
    for (int n = 0; n < MAX_JOYSTICKS; n++) {
        int fd = pads[n].watch_fd;
        if (fd < 0)
            continue;
        char events[256];
        ssize_t got;
        while ((got = read(fd, events, sizeof events)) > 0) {
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        pads[n].lost = true;
        close(fd);
        pads[n].watch_fd = -1;
    }
#endif
}

}  // namespace

void look_at_pads()
{
    for (int n = 0; n < MAX_JOYSTICKS; n++) {
        pad_state &p = pads[n];
        p.walk_sticks = 0;
        p.consumed_dirs = p.consumed_buttons = 0;
        p.lost = false;
        if (n >= num_joysticks)
            continue;
        // The first stick is the left stick, or the D-pad of a pad with no
        // stick. Later sticks walk only if they rest centred: the D-pad and
        // a right stick do; a throttle or two triggers, which rest at one
        // end of their travel, would hold a direction for ever.
        const JOYSTICK_INFO &j = joy[n];
        for (int s = 0; s < j.num_sticks && s < MAX_JOYSTICK_STICKS; s++) {
            const JOYSTICK_STICK_INFO &st = j.stick[s];
            if (st.flags & JOYFLAG_UNSIGNED)
                continue;
            if (s == 0 || (st.num_axis == 2 && centred(st)))
                p.walk_sticks |= 1u << s;
        }
    }
}

void start_pads()
{
    for (pad_state &p : pads)
        p.watch_fd = -1;
    // Without a pad Allegro falls back on its "no joystick" driver and
    // succeeds; a failure means no driver at all, worth one line.
    if (install_joystick(JOY_TYPE_AUTODETECT) != 0) {
        std::fprintf(stderr, "gamepads off: %s\n", allegro_error);
        num_joysticks = 0;
        look_at_pads();
        return;
    }
    // The first poll reads the state the pads report on opening, so the
    // sticks are judged at rest rather than all at 0.
    poll_joystick();
    look_at_pads();
    watch_devices();
}

void stop_pads()
{
#ifdef __linux__
    if (watching)
        for (pad_state &p : pads)
            if (p.watch_fd >= 0) {
                close(p.watch_fd);
                p.watch_fd = -1;
            }
    watching = false;
#endif
    remove_joystick();
}

void poll_pads()
{
    // Without a driver this does nothing, and joy[] is left as it was.
    poll_joystick();
    check_devices();
}

pad_hold player_pad(int player)
{
    pad_hold h{};
    if (player < 0 || player > 1)
        return h;
    const pad_binding &b = pad_bindings[player];
    if (!pad_present(b.pad))
        return h;
    settle(b.pad);
    unsigned dirs = raw_dirs(b.pad) & ~pads[b.pad].consumed_dirs;
    unsigned buttons = raw_buttons(b.pad) & ~pads[b.pad].consumed_buttons;
    h.up = dirs & DIR_UP;
    h.down = dirs & DIR_DOWN;
    h.left = dirs & DIR_LEFT;
    h.right = dirs & DIR_RIGHT;
    h.fire = buttons & button_bit(b.fire);
    h.change = buttons & button_bit(b.change);
    return h;
}

pad_hold either_pad()
{
    pad_hold a = player_pad(0), b = player_pad(1);
    return {a.up || b.up, a.down || b.down, a.left || b.left, a.right || b.right,
            a.fire || b.fire, a.change || b.change};
}

void release_pad_change(int player)
{
    if (player < 0 || player > 1)
        return;
    const pad_binding &b = pad_bindings[player];
    if (pad_present(b.pad))
        pads[b.pad].consumed_buttons |= raw_buttons(b.pad) & button_bit(b.change);
}

void release_pads()
{
    for (int n = 0; n < MAX_JOYSTICKS; n++)
        if (pad_present(n)) {
            pads[n].consumed_dirs = raw_dirs(n);
            pads[n].consumed_buttons = raw_buttons(n);
        }
}
