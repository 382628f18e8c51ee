// The local time of one clock reading, to the millisecond: what the log file's name and the
// leveled logger's header both show.
#ifndef TWAINMON_WALLCLOCK_H
#define TWAINMON_WALLCLOCK_H

#include <sys/time.h>

#include <cstring>
#include <ctime>

struct WallTime {
    time_t seconds;     // since the epoch; carries a rounded-up millisecond field
    int milliseconds;   // 0 to 999
    struct tm local;    // seconds, broken down in local time

    // The same time one millisecond later.
    WallTime Next() const {
        return milliseconds < 999 ? WallTime{seconds, milliseconds + 1, local} : FromSeconds(seconds + 1, 0);
    }

    // The microseconds are rounded to the nearest millisecond, half up; 999500 and more carry into
    // the next second, so the field never shows 1000 and the seconds never lag behind it.
    static WallTime FromTimeval(const struct timeval& tv) {
        const int nRounded = static_cast<int>(tv.tv_usec / 1000.0 + 0.5);
        return nRounded >= 1000 ? FromSeconds(tv.tv_sec + 1, nRounded - 1000) : FromSeconds(tv.tv_sec, nRounded);
    }

    static WallTime FromSeconds(time_t seconds, int milliseconds) {
        WallTime time{seconds, milliseconds, {}};
        if (localtime_r(&time.seconds, &time.local) == nullptr) memset(&time.local, 0, sizeof time.local);
        return time;
    }

    // Now, from one reading of the clock.
    static WallTime Now() {
        struct timeval tv;
        if (gettimeofday(&tv, nullptr) != 0) {
            tv.tv_sec = time(nullptr);
            tv.tv_usec = 0;
        }
        return FromTimeval(tv);
    }
};

#endif  // TWAINMON_WALLCLOCK_H
