// Two games of different versions never play: each side is told. The
// other game runs in a child process on this machine's loopback.
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

#include "harness.h"
#include "net.h"
#include "rollback.h"

namespace {

class Online : public GameTest {
protected:
    pid_t other = -1;
    int port = 0;

    void SetUp() override
    {
        GameTest::SetUp();
        port = 30000 + int(getpid() % 20000);
    }
    void TearDown() override
    {
        if (other > 0) {
            kill(other, SIGKILL);
            waitpid(other, nullptr, 0);
        }
        net_close();
    }

    // Runs body in a child process that ends when it returns (or is killed).
    template <class F> void in_other_game(F body)
    {
        other = fork();
        ASSERT_GE(other, 0);
        if (other == 0) {
            body();
            _exit(0);
        }
    }
};

}  // namespace

TEST_F(Online, AHostOfAnotherVersionIsRefusedWithAMessage)
{
    in_other_game([this] {
        char why[128];
        if (!net_listen(port, why, sizeof why))
            return;
        for (int i = 0; i < 1000; i++)
            if (net_poll(10).kind == net_event_kind::connected) {
                net_hang_up(ONLINE_VERSION + 1);
                usleep(500000);
                return;
            }
    });
    join_online("127.0.0.1", port);
    ASSERT_NE(current_message(), nullptr);
    EXPECT_NE(std::strstr(current_message(), "another version"), nullptr) << current_message();
}

TEST_F(Online, AJoinerOfAnotherVersionIsTurnedAwayAndTold)
{
    in_other_game([this] { host_online(port); });
    char why[128];
    ASSERT_TRUE(net_connect("127.0.0.1", port, ONLINE_VERSION + 1, why, sizeof why)) << why;
    net_event e{};
    for (int i = 0; i < 1000 && e.kind != net_event_kind::disconnected; i++)
        e = net_poll(10);
    ASSERT_EQ(e.kind, net_event_kind::disconnected);
    EXPECT_EQ(e.data, ONLINE_VERSION) << "the host says which version it plays";
}
