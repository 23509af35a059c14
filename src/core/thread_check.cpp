#include "core/thread_check.h"

#include <QtGlobal>

#ifdef KETRANO_THREAD_CHECKS
void stopOffWindowThread(const char* function)
{
    qFatal("%s must run on the window thread; it was called on another thread", function);
}
#endif
