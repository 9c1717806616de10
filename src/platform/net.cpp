// ENet behind the game's few calls: a host for one peer, a connection to
// it, its events one at a time and the packets' bytes copied out.
#include "net.h"

#include <cstdio>
#include <cstring>
#include <enet/enet.h>

namespace {

bool started = false;
ENetHost *host = nullptr;
ENetPeer *peer = nullptr;
uint8_t received[NET_MESSAGE_LIMIT];
constexpr size_t CHANNELS = 2;
// A peer that answers nothing is this machine's to judge (the match's own
// five seconds); ENet's own limits only stop it hanging on for ever.
constexpr enet_uint32 ENET_TIMEOUT_MIN_MS = 8000, ENET_TIMEOUT_MAX_MS = 12000;

bool start_enet(char *why, size_t why_size)
{
    if (!started && enet_initialize() != 0) {
        std::snprintf(why, why_size, "the network could not be started");
        return false;
    }
    started = true;
    return true;
}

ENetHost *make_host(const ENetAddress *address)
{
    ENetHost *h = enet_host_create(address, 1, CHANNELS, 0, 0);
    if (h)
        h->maximumPacketSize = NET_MESSAGE_LIMIT;
    return h;
}

}  // namespace

bool net_listen(int port, char *why, size_t why_size)
{
    net_close();
    if (!start_enet(why, why_size))
        return false;
    ENetAddress address;
    address.host = ENET_HOST_ANY;
    address.port = enet_uint16(port);
    host = make_host(&address);
    if (!host) {
        std::snprintf(why, why_size, "port %d could not be opened (is another game using it?)", port);
        return false;
    }
    return true;
}

bool net_connect(const char *name, int port, uint32_t data, char *why, size_t why_size)
{
    net_close();
    if (!start_enet(why, why_size))
        return false;
    ENetAddress address;
    if (enet_address_set_host(&address, name) != 0) {
        std::snprintf(why, why_size, "no machine called %.40s was found", name);
        return false;
    }
    address.port = enet_uint16(port);
    host = make_host(nullptr);
    if (!host) {
        std::snprintf(why, why_size, "the network could not be opened");
        return false;
    }
    peer = enet_host_connect(host, &address, CHANNELS, data);
    if (!peer) {
        std::snprintf(why, why_size, "the connection could not be started");
        net_close();
        return false;
    }
    return true;
}

net_event net_poll(int wait_ms)
{
    net_event out{net_event_kind::none, 0, nullptr, 0};
    if (!host)
        return out;
    ENetEvent e;
    while (enet_host_service(host, &e, enet_uint32(wait_ms > 0 ? wait_ms : 0)) > 0) {
        switch (e.type) {
        case ENET_EVENT_TYPE_CONNECT:
            // The host holds one peer; ENet turns a second one away itself.
            peer = e.peer;
            enet_peer_timeout(peer, 0, ENET_TIMEOUT_MIN_MS, ENET_TIMEOUT_MAX_MS);
            out.kind = net_event_kind::connected;
            out.data = e.data;
            return out;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (e.peer == peer)
                peer = nullptr;
            out.kind = net_event_kind::disconnected;
            out.data = e.data;
            return out;
        case ENET_EVENT_TYPE_RECEIVE: {
            const size_t n = e.packet->dataLength;
            const bool fits = n <= sizeof received && e.peer == peer;
            if (fits)
                std::memcpy(received, e.packet->data, n);
            enet_packet_destroy(e.packet);
            if (!fits)
                continue;
            out.kind = net_event_kind::received;
            out.bytes = received;
            out.size = n;
            return out;
        }
        case ENET_EVENT_TYPE_NONE:
            break;
        }
        wait_ms = 0;
    }
    return out;
}

bool net_send(const uint8_t *bytes, size_t size, bool reliable)
{
    if (!host || !peer || peer->state != ENET_PEER_STATE_CONNECTED)
        return false;
    ENetPacket *p = enet_packet_create(bytes, size, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (!p)
        return false;
    if (enet_peer_send(peer, reliable ? 0 : 1, p) != 0) {
        enet_packet_destroy(p);
        return false;
    }
    enet_host_flush(host);
    return true;
}

void net_hang_up(uint32_t data)
{
    if (!host || !peer)
        return;
    enet_peer_disconnect(peer, data);
    // A moment for the goodbye to go out and be answered; nothing else is
    // waited for.
    ENetEvent e;
    for (int i = 0; i < 20; i++) {
        int r = enet_host_service(host, &e, 10);
        if (r > 0 && e.type == ENET_EVENT_TYPE_RECEIVE)
            enet_packet_destroy(e.packet);
        if (r > 0 && e.type == ENET_EVENT_TYPE_DISCONNECT)
            break;
    }
    if (peer)
        enet_peer_reset(peer);
    peer = nullptr;
}

void net_close()
{
    if (host)
        enet_host_destroy(host);
    host = nullptr;
    peer = nullptr;
}

int net_port() { return host ? int(host->address.port) : 0; }
// What went over the wire, ENet's own headers and acknowledgements included.
uint64_t net_bytes_sent() { return host ? host->totalSentData : 0; }
uint64_t net_bytes_received() { return host ? host->totalReceivedData : 0; }
uint64_t net_packets_sent() { return host ? host->totalSentPackets : 0; }
