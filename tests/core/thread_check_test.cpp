// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_bar.h"
#include "run/app_state.h"

#include <gtest/gtest.h>

#include <thread>

// The build that test.sh makes stops window-thread code that runs on another thread.
TEST(ThreadCheckDeathTest, WindowThreadCodeOnAWorkerStopsTheProgram)
{
#ifndef KETRANO_THREAD_CHECKS
    GTEST_SKIP() << "built without KETRANO_THREAD_CHECKS (./test.sh turns it on)";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    AppState state;
    setPanel(state.status, {}, 1, "on the window thread");
    EXPECT_DEATH(std::thread([&] { setPanel(state.status, {}, 1, "from a worker"); }).join(),
                 "setPanel.*must run on the window thread");
    EXPECT_DEATH(std::thread([&] { state.sourceRows.flush(); }).join(), "flush");
    EXPECT_EQ(panelText(state.status, 1), "on the window thread");
#endif
}
