// The network: one connection over UDP to one other game, through ENet.
// The only place that calls ENet. Channel 0 carries the set-up messages
// reliably; channel 1 the match's packets, which may be lost or come late.
#pragma once

#include <cstddef>
#include <cstdint>

// Not listed for any service; the host's router or firewall lets UDP to it in.
constexpr int DEFAULT_ONLINE_PORT = 27815;
// A message larger than this is no message of the game's: dropped unread.
constexpr size_t NET_MESSAGE_LIMIT = 16384;

enum class net_event_kind { none, connected, received, disconnected };
struct net_event {
    net_event_kind kind;
    uint32_t data;           // connected: the joiner's word; disconnected: the peer's
    const uint8_t *bytes;    // received: valid until the next net_poll
    size_t size;
};

// The host: waits on port for one game to join. False with the reason.
bool net_listen(int port, char *why, size_t why_size);
// The joiner: starts connecting to host:port, saying `data` (the version)
// as it knocks. The connected event says it got through.
bool net_connect(const char *host, int port, uint32_t data, char *why, size_t why_size);
// The next thing that happened, waiting up to wait_ms for it.
net_event net_poll(int wait_ms);
bool net_send(const uint8_t *bytes, size_t size, bool reliable);
// Turns the peer away (or says goodbye) with a word it reads from its
// disconnected event, sending it out before returning.
void net_hang_up(uint32_t data);
// Lets everything go; safe whatever was opened.
void net_close();
int net_port();   // the port listened on
// Bytes sent and received since net_listen or net_connect, ENet's own included.
uint64_t net_bytes_sent();
uint64_t net_bytes_received();
uint64_t net_packets_sent();
