#pragma once

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// CPU time (user + system, seconds) of the child processes waited for so far; negative where
// the system does not tell. The difference around one child's run is that run's CPU time.
inline double childCpu()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#else
    return -1;
#endif
}
