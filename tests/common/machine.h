#pragma once
// Tests that need something of the machine (a locale, a program): on a developer's
// machine without it they are skipped; where LUMETRA_REQUIRE_MACHINE is set (the
// test command sets it, after its set-up has provided everything) they fail, so
// that a set-up that lost a package shows instead of hiding a test.

#include <gtest/gtest.h>

#include <cstdlib>

#define LUMETRA_SKIP_WITHOUT(what)                                                         \
    do {                                                                                   \
        if (std::getenv("LUMETRA_REQUIRE_MACHINE") != nullptr)                             \
            FAIL() << "the machine lacks " << (what) << ", which the set-up must provide"; \
        GTEST_SKIP() << "the machine lacks " << (what);                                    \
    } while (false)
