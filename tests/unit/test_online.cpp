// Two games of different versions never play: each side is told. The
// other game runs in a child process on this machine's loopback.
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

#include "command_line.h"
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

TEST(OnlineCommandLine, HostTakesAnOptionalPortAndJoinAHostWithOne)
{
    auto parse = [](std::vector<const char *> args) {
        args.insert(args.begin(), "blastarena");
        return parse_command_line(int(args.size()), const_cast<char **>(args.data()));
    };
    command_line c = parse({"--host"});
    EXPECT_EQ(c.what, command::host);
    EXPECT_EQ(c.port, DEFAULT_ONLINE_PORT);
    EXPECT_EQ(parse({"--host", "4000"}).port, 4000);
    EXPECT_EQ(parse({"--host=65535"}).port, 65535);
    c = parse({"--join", "box.lan:4000"});
    EXPECT_EQ(c.what, command::join);
    EXPECT_STREQ(c.host, "box.lan");
    EXPECT_EQ(c.port, 4000);
    c = parse({"--join=10.0.0.2"});
    EXPECT_STREQ(c.host, "10.0.0.2");
    EXPECT_EQ(c.port, DEFAULT_ONLINE_PORT);
    for (auto bad : std::vector<std::vector<const char *>>{
             {"--host", "0"}, {"--host=70000"}, {"--host", "12ab"}, {"--join"}, {"--join", ":4000"},
             {"--join", "box:"}, {"--join", "box:99999"}, {"--host", "--join", "box"}})
        EXPECT_EQ(parse(bad).what, command::bad) << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
}
