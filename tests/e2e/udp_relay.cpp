// A UDP relay for the online tests: what the joiner sends to it goes on to
// the host's port, and back, each datagram late by a delay with jitter, and
// some lost. The kernel's own delay queue is not to be had on a test
// machine. Only loopback; it stops by itself after its lifetime.
//   udp_relay PORT_FILE HOST_PORT DELAY_MS JITTER_MS LOSS_PERCENT [SECONDS]
// It listens on a free loopback port and writes the number to PORT_FILE.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

long long now_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

sockaddr_in loopback(int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

struct datagram {
    long long due;
    bool to_host;
    std::vector<char> bytes;
};

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: udp_relay PORT_FILE HOST_PORT DELAY_MS JITTER_MS LOSS_PERCENT [SECONDS]\n");
        return 2;
    }
    const int host_port = std::atoi(argv[2]), delay = std::atoi(argv[3]);
    const int jitter = std::atoi(argv[4]), loss = std::atoi(argv[5]);
    const long long end = now_ms() + 1000LL * (argc > 6 ? std::atoi(argv[6]) : 600);

    int joiner_side = socket(AF_INET, SOCK_DGRAM, 0), host_side = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in here = loopback(0), host = loopback(host_port), joiner{};
    socklen_t len = sizeof here;
    if (bind(joiner_side, reinterpret_cast<sockaddr *>(&here), sizeof here) != 0 ||
        getsockname(joiner_side, reinterpret_cast<sockaddr *>(&here), &len) != 0) {
        std::perror("udp_relay");
        return 1;
    }
    if (FILE *f = std::fopen(argv[1], "w")) {
        std::fprintf(f, "%d\n", ntohs(here.sin_port));
        std::fclose(f);
    }
    bool joiner_known = false;
    std::mt19937 rng(1);
    std::vector<datagram> queue;
    while (now_ms() < end) {
        long long wait = 50;
        for (const datagram &d : queue)
            wait = std::min(wait, std::max(0LL, d.due - now_ms()));
        pollfd fds[2] = {{joiner_side, POLLIN, 0}, {host_side, POLLIN, 0}};
        poll(fds, 2, int(wait));
        for (int i = 0; i < 2; i++) {
            if (!(fds[i].revents & POLLIN))
                continue;
            std::vector<char> buf(65536);
            sockaddr_in from{};
            socklen_t flen = sizeof from;
            ssize_t n = recvfrom(fds[i].fd, buf.data(), buf.size(), 0,
                                 reinterpret_cast<sockaddr *>(&from), &flen);
            if (n < 0)
                continue;
            if (i == 0) {
                joiner = from;
                joiner_known = true;
            }
            if (int(rng() % 100) < loss)
                continue;
            buf.resize(size_t(n));
            long long late = delay + (jitter ? int(rng() % unsigned(2 * jitter + 1)) - jitter : 0);
            queue.push_back({now_ms() + std::max(0LL, late), i == 0, std::move(buf)});
        }
        const long long t = now_ms();
        for (size_t k = 0; k < queue.size();) {
            datagram &d = queue[k];
            if (d.due > t) {
                k++;
                continue;
            }
            if (d.to_host)
                sendto(host_side, d.bytes.data(), d.bytes.size(), 0,
                       reinterpret_cast<const sockaddr *>(&host), sizeof host);
            else if (joiner_known)
                sendto(joiner_side, d.bytes.data(), d.bytes.size(), 0,
                       reinterpret_cast<const sockaddr *>(&joiner), sizeof joiner);
            queue.erase(queue.begin() + long(k));
        }
    }
    return 0;
}
