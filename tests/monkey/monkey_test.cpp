// Random user sessions on the headless form with fixed seeds. Every action is
// followed by a check of the form's invariants (see monkey_session.cpp).
//
//   LUMETRA_MONKEY_ACTIONS         actions in all, over the four lanes (default 24000)
//   LUMETRA_MONKEY_SEED            base seed (default 1)
//   LUMETRA_MONKEY_SESSION_LENGTH  actions per session before a fresh form (default 2000)
//   LUMETRA_MONKEY_SESSION         replays one session seed (MonkeyReplay.Session)
//   LUMETRA_MONKEY_TRACE=1         prints every action

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "monkey/monkey_session.h"

namespace lumetra::monkey {
namespace {

constexpr int kLanes = 4;
constexpr long kDefaultActions = 24000;
constexpr long kDefaultSessionLength = 2000;

unsigned long long env_number(const char* name, unsigned long long fallback) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return fallback;
    char* end = nullptr;
    const unsigned long long n = std::strtoull(v, &end, 10);
    return end != nullptr && *end == '\0' ? n : fallback;
}

bool tracing() { return env_number("LUMETRA_MONKEY_TRACE", 0) != 0; }

class Monkey : public ::testing::TestWithParam<int> {};

TEST_P(Monkey, SessionsKeepEveryInvariant) {
    const int lane = GetParam();
    const long total = static_cast<long>(env_number("LUMETRA_MONKEY_ACTIONS", kDefaultActions));
    const unsigned long long base = env_number("LUMETRA_MONKEY_SEED", 1);
    long length = static_cast<long>(env_number("LUMETRA_MONKEY_SESSION_LENGTH",
                                               kDefaultSessionLength));
    if (length < 1) length = kDefaultSessionLength;
    const long share = total / kLanes + (lane < total % kLanes ? 1 : 0);

    const auto start = std::chrono::steady_clock::now();
    long done = 0, calculations = 0, dialogs = 0, saves = 0, film = 0, l3 = 0, zoomed = 0;
    int most_rows = -10;
    for (unsigned long long session = 0; done < share; ++session) {
        SessionOptions o;
        o.seed = base * 1000000 + session * kLanes + static_cast<unsigned long long>(lane);
        o.actions = std::min(length, share - done);
        o.trace = tracing();
        const SessionResult r = run_session(o);
        ASSERT_TRUE(r.failure.empty()) << r.failure;
        done += r.actions_done;
        calculations += r.calculations;
        dialogs += r.dialogs;
        saves += r.saves;
        film += r.film_spectra;
        l3 += r.l3_spectra;
        zoomed += r.zoomed;
        most_rows = std::max(most_rows, r.most_rows);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("monkey lane %d: %ld actions in %.1f s, %ld with a spectrum shown (film %ld, "
                "L3 %ld), %ld zoomed, up to %d matrix rows, %ld dialogs, %ld files saved\n",
                lane, done, seconds, calculations, film, l3, zoomed, most_rows, dialogs, saves);

    // A session that never gets as far as a spectrum or a saved file tests little:
    // the action mix must keep reaching them.
    if (share >= 2000) {
        EXPECT_GT(calculations, share / 20);
        EXPECT_GT(dialogs, share / 100);
        EXPECT_GT(saves, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Lanes, Monkey, ::testing::Range(0, kLanes));

// Replays one session, for example one that a failure reported.
TEST(MonkeyReplay, Session) {
    const unsigned long long seed = env_number("LUMETRA_MONKEY_SESSION", 0);
    if (seed == 0) GTEST_SKIP() << "set LUMETRA_MONKEY_SESSION to a session seed";
    SessionOptions o;
    o.seed = seed;
    o.actions = static_cast<long>(env_number("LUMETRA_MONKEY_ACTIONS", kDefaultSessionLength));
    o.trace = tracing();
    const SessionResult r = run_session(o);
    EXPECT_TRUE(r.failure.empty()) << r.failure;
}

}  // namespace
}  // namespace lumetra::monkey
