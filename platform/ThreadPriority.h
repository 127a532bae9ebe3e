// Thread priorities as the class library names them, and setting the calling
// thread's: a nice value per priority on Linux.
#pragma once

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Raising a thread above normal needs privileges the program usually lacks;
// the thread then simply stays at normal.
void SetCurrentThreadPriority(TThreadPriority priority);
