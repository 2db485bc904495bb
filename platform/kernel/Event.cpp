// Events: manual reset (stays signalled until reset) and auto reset (one
// satisfied wait takes it back to non-signalled).

#include "platform/kernel/KernelObject_p.h"
#include "platform/kernel/synch.h"

namespace vxk {
namespace {

class Event final : public KernelObject {
public:
    Event(bool manualReset, bool initialState) : m_manual(manualReset), m_state(initialState) {}

    bool isWaitable() const override { return true; }
    bool isSignalled(DWORD) const override { return m_state; }
    bool acquire(DWORD) override
    {
        if (!m_manual)
            m_state = false;
        return false;
    }

    void set(bool state, WakeList& wakes)
    {
        m_state = state;
        if (state)
            wakeWaiters(wakes);
    }

private:
    const bool m_manual;
    bool m_state;
};

BOOL SetEventState(HANDLE h, bool state)
{
    Ref<Event> e = LookupHandleAs<Event>(h);
    if (!e)
        return FALSE;
    WakeList wakes;
    std::lock_guard<std::mutex> guard(e->lock());
    e->set(state, wakes);
    return TRUE;
}

}  // namespace
}  // namespace vxk

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR)
{
    // Names of events are not shared: nothing of the system opens an event by name.
    return vxk::InsertHandle(new vxk::Event(bManualReset != FALSE, bInitialState != FALSE));
}

BOOL SetEvent(HANDLE hEvent)
{
    return vxk::SetEventState(hEvent, true);
}

BOOL ResetEvent(HANDLE hEvent)
{
    return vxk::SetEventState(hEvent, false);
}
