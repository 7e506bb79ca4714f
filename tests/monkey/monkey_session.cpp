// A session's run, with a report of its last actions if the program dies in it.

#include "monkey/monkey_session.h"

#include <unistd.h>

#include <csignal>
#include <string>

#include "monkey/session.h"

#if defined(__SANITIZE_ADDRESS__)
#define LUMETRA_MONKEY_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define LUMETRA_MONKEY_SANITIZED 1
#endif
#endif
#ifdef LUMETRA_MONKEY_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace lumetra::monkey {

namespace {

#ifdef LUMETRA_MONKEY_SANITIZED
void report_death() {
    const Session* s = Session::current();
    if (s == nullptr) return;
    const std::string h = s->history();
    std::fputs(h.c_str(), stderr);
}
#else
extern "C" void report_signal(int sig) {
    if (const Session* s = Session::current()) {
        const std::string h = s->history();
        if (::write(2, h.data(), h.size()) < 0) {
        }
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}
#endif

void install_crash_report() {
    static bool installed = false;
    if (installed) return;
    installed = true;
#ifdef LUMETRA_MONKEY_SANITIZED
    __sanitizer_set_death_callback(report_death);
#else
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(sig, report_signal);
#endif
}

}  // namespace

SessionResult run_session(const SessionOptions& options) {
    install_crash_report();
    Session session(options);
    return session.run();
}

}  // namespace lumetra::monkey
