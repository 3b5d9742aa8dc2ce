#include "platform/HandOffLock.h"

#include <windows.h>

namespace tidewell {
namespace {

static_assert(sizeof(SRWLOCK) == sizeof(void*), "an SRWLOCK is held in one pointer");
static_assert(sizeof(CONDITION_VARIABLE) == sizeof(void*),
              "a CONDITION_VARIABLE is held in one pointer");

// Both are a struct of one pointer that starts out null (SRWLOCK_INIT,
// CONDITION_VARIABLE_INIT), which is how the members are initialised.
SRWLOCK* SrwLock(void** slot) { return reinterpret_cast<SRWLOCK*>(slot); }
CONDITION_VARIABLE* Condition(void** slot) {
  return reinterpret_cast<CONDITION_VARIABLE*>(slot);
}

}  // namespace

void THandOffMutex::lock() { AcquireSRWLockExclusive(SrwLock(&srwLock_)); }

bool THandOffMutex::try_lock() { return TryAcquireSRWLockExclusive(SrwLock(&srwLock_)) != 0; }

void THandOffMutex::unlock() { ReleaseSRWLockExclusive(SrwLock(&srwLock_)); }

void THandOffCondition::wait(std::unique_lock<THandOffMutex>& lock) {
  // With INFINITE it returns only when woken (or spuriously), holding the lock.
  SleepConditionVariableSRW(Condition(&condition_), SrwLock(&lock.mutex()->srwLock_), INFINITE,
                            0);
}

void THandOffCondition::notify_one() { WakeConditionVariable(Condition(&condition_)); }

void THandOffCondition::notify_all() { WakeAllConditionVariable(Condition(&condition_)); }

}  // namespace tidewell
