#pragma once

// Code that must run on the window thread says so with KETRANO_ON_WINDOW_THREAD(object), where
// 'object' is a QObject that lives on that thread (a result list, the main window). When the
// code runs on any other thread the program stops with a message naming the function. The
// checks are built in when KETRANO_THREAD_CHECKS is on (the build that test.sh makes); the
// programs that run.sh builds do not have them and pay nothing.
#ifdef KETRANO_THREAD_CHECKS
#include <QObject>
#include <QThread>

[[noreturn]] void stopOffWindowThread(const char* function);

#define KETRANO_ON_WINDOW_THREAD(object)                                                           \
    (QThread::currentThread() == (object)->thread() ? void() : stopOffWindowThread(Q_FUNC_INFO))
#else
#define KETRANO_ON_WINDOW_THREAD(object) static_cast<void>(0)
#endif
