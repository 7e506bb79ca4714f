// Every way of loading a file (Load, Load setup, a file named on the command line)
// refuses what is not a plain file at once, with a message naming it, and leaves
// the form as it was; a huge file is refused by its size, never read whole.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "app/named_file.h"
#include "io/file_io.h"
#include "planning/planner_fixture.h"

namespace lumetra::window::testing {
namespace {

namespace fs = std::filesystem;
using namespace lumetra::io;

// Ends the test program loudly if a load blocks, instead of letting it hang.
class Watchdog {
  public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              const auto end = std::chrono::steady_clock::now() + limit;
              while (!done_ && std::chrono::steady_clock::now() < end)
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              if (!done_) {
                  std::fputs("a load blocked: the watchdog ends the test\n", stderr);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }

  private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

class SpecialFiles : public PlannerTest {
  protected:
    fs::path dir = fs::path(::testing::TempDir()) /
                   ("lumetra-special-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

TEST_F(SpecialFiles, EveryLoadRefusesWhatIsNotAPlainFileAtOnce) {
    const std::string fifo = path("pipe.json"), socket_name = path("socket.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socket_name.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socket_name.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_directories(path("folder.json"));

    struct Case {
        std::string name, reason;
    };
    const Case cases[] = {
        {fifo, "it is a pipe, not a file"},
        {socket_name, "it is a socket, not a file"},
        {"/dev/zero", "it is a device, not a file"},
        {path("folder.json"), "it is a folder, not a file"},
    };
    using Load = std::function<void(const std::string&)>;
    const std::pair<const char*, Load> loads[] = {
        {"Load",
         [&](const std::string& p) {
             dialogs.queue_file(p);
             form.Command6.click();
         }},
        {"load_setup", [&](const std::string& p) { dialogs.message(planner.load_setup(p)); }},
        {"lumetra FILE", [&](const std::string& p) { app::open_named_file(planner, dialogs, p); }},
    };
    enter_sample("Fe", "10", {{"O", "60"}});
    const Watchdog watchdog(std::chrono::seconds(20));
    for (const auto& [how, load] : loads) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(how) + " " + c.name);
            dialogs.clear_shown();
            load(c.name);
            ASSERT_FALSE(dialogs.shown().empty());
            EXPECT_EQ(dialogs.shown().back().text, "Cannot read " + c.name + ": " + c.reason + ".");
            EXPECT_EQ(form.Text1.text(), "Fe");
            EXPECT_EQ(form.Text2[0]->text(), "O");
        }
    }
    ::close(sock);
}

// A 100 MB file (sparse, so the test writes nothing) is refused as too long after
// reading just past the limit, by every load.
TEST_F(SpecialFiles, AHugeFileIsRefusedByItsSize) {
    const std::string composition = path("huge.txt"), setup = path("huge.json");
    for (const std::string& name : {composition, setup}) {
        std::ofstream(name) << (name == setup ? "{" : "1\r\n");
        fs::resize_file(name, 100'000'000);
    }
    const FileBytes read = read_small_file(composition, 1000);
    ASSERT_TRUE(read.bytes);
    EXPECT_EQ(read.bytes->size(), 1001u);

    enter_sample("Fe", "10", {{"O", "60"}});
    for (const std::string& name : {composition, setup}) {
        dialogs.clear_shown();
        app::open_named_file(planner, dialogs, name);
        ASSERT_EQ(dialogs.shown().size(), 1u) << name;
        EXPECT_NE(dialogs.shown()[0].text.find("too large"), std::string::npos)
            << dialogs.shown()[0].text;
        EXPECT_EQ(form.Text1.text(), "Fe");
    }
}

// Failed saves say why, in the system's words.
TEST_F(SpecialFiles, FailedSavesGiveTheReason) {
    const std::string long_name = path(std::string(300, 'x'));
    EXPECT_EQ(write_replacing(long_name, "1"),
              "Cannot write " + long_name + ": the name is too long. Nothing was saved.");
    const std::string missing = path("none/setup1.json");
    EXPECT_EQ(write_replacing(missing, "1"),
              "Cannot write " + missing + ": no such file or folder. Nothing was saved.");
    EXPECT_EQ(write_replacing("/dev/null", "1"),
              "Cannot write /dev/null: it is not a plain file. Nothing was saved.");
    EXPECT_EQ(file_error_reason(ENOSPC), "the disk is full");
    EXPECT_EQ(file_error_reason(EACCES), "permission denied");
}

}  // namespace
}  // namespace lumetra::window::testing
