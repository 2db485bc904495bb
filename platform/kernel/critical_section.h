#pragma once
// CRITICAL_SECTION: a recursive lock of one process, held by a thread.
// The structure is declared in place (members of the system's classes), so it
// carries the lock's storage itself; Initialize before use, Delete after.

#include "platform/base/types.h"

typedef struct _RTL_CRITICAL_SECTION {
    alignas(8) unsigned char opaque[48];
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
// TRUE when the lock was taken (or was already held by this thread).
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
