// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thread_check.h"

#include <QObject>
#include <QThread>

#ifdef KETRANO_THREAD_CHECKS
void requireThreadOf(const QObject* object, const char* function)
{
    if (QThread::currentThread() != object->thread())
        qFatal("%s must run on the window thread; it was called on another thread", function);
}

void requireOwnerThread(const ThreadOwner& owner, const char* function)
{
    if (std::this_thread::get_id() != owner.id)
        qFatal("%s must run on the window thread; it was called on another thread", function);
}
#endif
