// Playing another machine, from the command line: the host waits for a
// player and picks the arena while the joiner is told what is happening;
// the arena and both names go to the joiner, and both start the match
// together. Afterwards each goes on to its menu.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app.h"
#include "editor.h"
#include "lobby.h"
#include "match_loop.h"
#include "match_render.h"
#include "net.h"
#include "online.h"
#include "rollback.h"

namespace {

constexpr long long CONNECT_LIMIT_MS = 10000;
constexpr long long READY_LIMIT_MS = 10000;
constexpr int POLL_MS = 10;
// The status line sits on a strip of the menu's message look, above the
// strip where messages come and go.
constexpr int STATUS_Y = 378, STATUS_STRIP_Y1 = STATUS_Y - 5, STATUS_STRIP_Y2 = STATUS_Y + 13;

long long clock_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void draw_status_strip(const char *line)
{
    char shown[MESSAGE_SIZE];
    printable_text(line, shown, sizeof shown);
    rectfill(back_buffer, MENU_STRIP_X1, STATUS_STRIP_Y1, MENU_STRIP_X2, STATUS_STRIP_Y2,
             MENU_MESSAGE_FILL_COLOR);
    rect(back_buffer, MENU_STRIP_X1, STATUS_STRIP_Y1, MENU_STRIP_X2, STATUS_STRIP_Y2,
         MENU_MESSAGE_FRAME_COLOR);
    text_mode(-1);
    textout_centre(back_buffer, font, shown, MENU_X, STATUS_Y, TEXT_WHITE);
    text_mode(0);
    if (current_message()) {
        rectfill(back_buffer, MENU_STRIP_X1, MENU_STRIP_Y1, MENU_STRIP_X2, MENU_STRIP_Y2,
                 MENU_MESSAGE_FILL_COLOR);
        rect(back_buffer, MENU_STRIP_X1, MENU_STRIP_Y1, MENU_STRIP_X2, MENU_STRIP_Y2,
             MENU_MESSAGE_FRAME_COLOR);
        draw_message(back_buffer, MENU_X, MENU_MESSAGE_Y, MENU_MESSAGE_CHARS);
    }
}

// The menu's picture with what is happening on it.
void show_status(const char *line)
{
    blit(game_bitmap(OBJ_MENU_BACKGROUND), back_buffer, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    draw_status_strip(line);
    present(WITHOUT_POINTER);
}

// Esc, or a request to quit (a signal): either stops the waiting.
bool esc_pressed()
{
    input_pass();
    return key_down(KEY_ESC) || quit_asked();
}

// The screens leave Esc held; the menu must not take it for its own.
void leave_to_menu()
{
    net_close();
    release_key(KEY_ESC);
    release_pads();
}

// Plays the sitting under both names; the player's own names come back.
void play(const online_sitting &sitting, const char names[2][WIRE_NAME_SIZE])
{
    player_profile kept[2] = {profiles[0], profiles[1]};
    for (int p = 0; p < 2; p++)
        copy_name(profiles[p].name, names[p]);
    run_online_match(sitting);
    profiles[0] = kept[0];
    profiles[1] = kept[1];
}

// ---- the host's side ----------------------------------------------------------

char joiner_name[WIRE_NAME_SIZE];
bool joiner_gone = false;

// A knock of another version is turned away with this game's version.
bool answer_knock(uint32_t version)
{
    if (version == ONLINE_VERSION)
        return true;
    net_hang_up(ONLINE_VERSION);
    show_failure("A player with another version of the game tried to join");
    return false;
}

// Under the browser while the host chooses: the connection is kept alive
// and a joiner who goes is noticed.
void choosing_backdrop()
{
    for (;;) {
        net_event e = net_poll(0);
        if (e.kind == net_event_kind::none)
            break;
        if (e.kind == net_event_kind::disconnected)
            joiner_gone = true;
    }
    char line[64];
    std::snprintf(line, sizeof line, "%s joined: choose the arena", joiner_name);
    blit(game_bitmap(OBJ_MENU_BACKGROUND), back_buffer, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    draw_status_strip(line);
}

// Waits for one joiner of this version and its name; false on Esc.
bool wait_for_joiner(int port)
{
    char line[64];
    std::snprintf(line, sizeof line, "Waiting for a player on port %d (Esc cancels)", port);
    // A host started from a terminal can read the port to give the joiner there too.
    std::printf("Waiting for a player on port %d\n", port);
    std::fflush(stdout);
    bool knocked = false;
    for (;;) {
        show_status(line);
        if (esc_pressed())
            return false;
        net_event e = net_poll(POLL_MS);
        if (e.kind == net_event_kind::connected)
            knocked = answer_knock(e.data);
        else if (e.kind == net_event_kind::disconnected)
            knocked = false;
        else if (e.kind == net_event_kind::received && knocked &&
                 read_hello(e.bytes, e.size, joiner_name))
            return true;
    }
}

// The joiner says it has the arena; false when it went or took too long.
bool wait_for_ready(uint32_t id)
{
    char line[64];
    std::snprintf(line, sizeof line, "Starting the match with %s", joiner_name);
    const long long until = clock_ms() + READY_LIMIT_MS;
    while (clock_ms() < until) {
        show_status(line);
        if (esc_pressed())
            return false;
        net_event e = net_poll(POLL_MS);
        if (e.kind == net_event_kind::disconnected)
            break;
        if (e.kind == net_event_kind::received && read_ready(e.bytes, e.size, id))
            return true;
    }
    show_failure("%s did not answer", joiner_name);
    return false;
}

}  // namespace

void host_online(int port)
{
    char why[128];
    if (!net_listen(port, why, sizeof why)) {
        show_failure("Could not wait for a player: %s", why);
        return leave_to_menu();
    }
    if (!wait_for_joiner(port)) {
        show_note("No longer waiting for a player");
        return leave_to_menu();
    }
    joiner_gone = false;
    clear_board(0);
    pause_ms(PAUSE_BEFORE_BROWSER_MS);
    choose_level(choosing_backdrop);
    if (quit_asked())
        return leave_to_menu();
    if (joiner_gone) {
        show_failure("%s left", joiner_name);
        return leave_to_menu();
    }

    static arena_message arena;
    arena.id = uint32_t(clock_ms()) * 2654435761u ^ uint32_t(std::rand());
    arena.anim_clock = live_match.anim_clock;
    std::snprintf(arena.names[0], WIRE_NAME_SIZE, "%s", profiles[0].name);
    std::snprintf(arena.names[1], WIRE_NAME_SIZE, "%s", joiner_name);
    std::memcpy(arena.board, board, sizeof arena.board);
    static uint8_t bytes[ARENA_SIZE];
    net_send(bytes, write_arena(bytes, arena), true);
    if (!wait_for_ready(arena.id))
        return leave_to_menu();

    online_sitting sitting{0, arena.id, {}};
    std::snprintf(sitting.peer_name, sizeof sitting.peer_name, "%s", joiner_name);
    play(sitting, arena.names);
    leave_to_menu();
}

void join_online(const char *host, int port)
{
    char why[128], where[300], line[360];
    std::snprintf(where, sizeof where, "%s:%d", host, port);
    if (!net_connect(host, port, ONLINE_VERSION, why, sizeof why)) {
        show_failure("Could not join %s: %s", where, why);
        return leave_to_menu();
    }
    std::snprintf(line, sizeof line, "Connecting to %s (Esc cancels)", where);
    const long long until = clock_ms() + CONNECT_LIMIT_MS;
    bool connected = false;
    static arena_message arena;
    for (;;) {
        show_status(line);
        if (esc_pressed()) {
            show_note("Joining cancelled");
            return leave_to_menu();
        }
        if (!connected && clock_ms() >= until) {
            show_failure("Could not join %s: no answer in 10 seconds", where);
            return leave_to_menu();
        }
        net_event e = net_poll(POLL_MS);
        if (e.kind == net_event_kind::connected) {
            connected = true;
            uint8_t hello[HELLO_SIZE];
            net_send(hello, write_hello(hello, profiles[1].name), true);
            std::snprintf(line, sizeof line, "Joined %s: the host is choosing the arena", where);
        } else if (e.kind == net_event_kind::disconnected) {
            if (e.data != 0 && e.data != ONLINE_VERSION)
                show_failure("The host plays another version of the game (online version %u, "
                             "this one %u)", unsigned(e.data), unsigned(ONLINE_VERSION));
            else if (connected)
                show_failure("The host closed the connection");
            else
                show_failure("Could not join %s: no answer", where);
            return leave_to_menu();
        } else if (e.kind == net_event_kind::received && read_arena(e.bytes, e.size, arena)) {
            break;
        }
    }
    std::memcpy(board, arena.board, sizeof board);
    live_match.anim_clock = arena.anim_clock;
    uint8_t ready[READY_SIZE];
    net_send(ready, write_ready(ready, arena.id), true);

    online_sitting sitting{1, arena.id, {}};
    std::snprintf(sitting.peer_name, sizeof sitting.peer_name, "%s", arena.names[0]);
    play(sitting, arena.names);
    leave_to_menu();
}
