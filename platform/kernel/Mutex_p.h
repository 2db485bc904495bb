#pragma once
// Releases, as abandoned, every mutex the calling thread still owns. Runs when
// a thread ends, before its thread object becomes signalled.

namespace vxk {
void AbandonOwnedMutexes();
}
