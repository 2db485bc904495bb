#pragma once
// What the dialects of one camera share: its options, settings, clock and
// faults. Owned by Camera; every member is safe from any thread.

#include "tools/camsim/CameraClock.h"
#include "tools/camsim/Faults.h"
#include "tools/camsim/LongOperations.h"
#include "tools/camsim/Options.h"
#include "tools/camsim/SettingsStore.h"
#include "tools/camsim/SystemLog.h"

namespace camsim {

struct CameraState {
    CameraState(const Options& o, Faults& f) : options(o), faults(f), syslog(clock) {}
    const Options& options;
    Faults& faults;
    SettingsStore settings;
    CameraClock clock;
    LongOperations longOps;
    SystemLog syslog;  // after the clock it reads
};

}  // namespace camsim
