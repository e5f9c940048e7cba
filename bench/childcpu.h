#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// CPU time (user + system, seconds) of the child processes waited for so far, or with self of
// this process (all its threads); negative where the system does not tell. The difference
// around one step is that step's CPU time.
inline double childCpu(bool self = false)
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(self ? RUSAGE_SELF : RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#else
    Q_UNUSED(self);
    return -1;
#endif
}
