// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Code that must run on the window thread says so with KETRANO_ON_WINDOW_THREAD(object), where
// 'object' is a QObject that lives on that thread (a result list, the main window). When the
// code runs on any other thread the program stops with a message naming the function. The
// checks are built in when KETRANO_THREAD_CHECKS is on (the build that test.sh makes); the
// programs that run.sh builds do not have them and pay nothing.
// State that is not a QObject records the thread it was made on (a ThreadOwner member) and
// checks it with KETRANO_ON_OWNER_THREAD(owner).
#include <thread>

struct ThreadOwner
{
    std::thread::id id = std::this_thread::get_id();
};

#ifdef KETRANO_THREAD_CHECKS
class QObject;

// Stops the program unless the calling thread is the one 'object' lives on.
void requireThreadOf(const QObject* object, const char* function);
// Stops the program unless the calling thread is the one 'owner' was made on.
void requireOwnerThread(const ThreadOwner& owner, const char* function);

#define KETRANO_ON_WINDOW_THREAD(object) requireThreadOf((object), Q_FUNC_INFO)
#define KETRANO_ON_OWNER_THREAD(owner) requireOwnerThread((owner), Q_FUNC_INFO)
#else
#define KETRANO_ON_WINDOW_THREAD(object) static_cast<void>(0)
#define KETRANO_ON_OWNER_THREAD(owner) static_cast<void>(0)
#endif
