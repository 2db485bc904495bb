#pragma once
// The message loop of the GUI thread over Qt's event loop. Posted messages
// ride on Qt's posted events, so posting from any thread wakes the loop and
// keeps the order; messages sent from other threads wait in a queue until the
// GUI thread handles them, from its loop or from inside a kernel wait.

#include "platform/ui/winuser.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// For entries only the GUI thread may call: fails the call with the given
// value elsewhere (after stopping the program in checking builds).
#define VX_ASSERT_GUI_THREAD(failed)               \
    do {                                           \
        if (!::vxw::CheckGuiThread(__func__))      \
            return failed;                         \
    } while (0)

class QEventLoop;
class QTimer;

namespace vxw {

// True on the GUI thread. Elsewhere it stops the program in debug and
// sanitizer builds, or writes an error line naming the call and returns
// false (see VX_GUI_THREAD_ASSERTS).
bool CheckGuiThread(const char* call);

// What the loop asks before a message reaches its window: true when the
// message was handled there. The application object installs its
// PreTranslateMessage; without one, each window from the message's own up
// to its top-level window pre-translates. GUI thread.
using PreTranslateHook = BOOL (*)(MSG* msg);
void SetPreTranslateHook(PreTranslateHook hook);
BOOL PreTranslateInLoop(MSG* msg);

// Where the mouse was when the GUI thread last looked: posts from any thread
// are stamped with it, as they must not ask Qt.
POINT LastCursorPos();
void NoteCursorPos(int x, int y);
// Moves a screen point into the ClipCursor rectangle; false when no
// rectangle is set or the point lay inside. Any thread.
bool ClampToCursorClip(int& x, int& y);

class GuiThread : public QObject {
public:
    // Null before InitGuiThread.
    static GuiThread* instance();
    static bool isGuiThread();

    void post(const MSG& msg);
    LRESULT sendFromWorker(const MSG& msg);
    // Runs fn on the GUI thread and waits for it, like a sent message (a
    // GUI thread waiting in the kernel runs it too). Returns false when the
    // GUI thread has ended.
    bool callFromWorker(const std::function<void()>& fn);
    void dispatchSent();
    // Runs fn on the GUI thread, later (any thread).
    void runLater(std::function<void()> fn);

    int runLoop();
    // Nested loop until done() is true or a quit arrives; false on quit.
    bool runNested(const std::function<bool()>& done);
    void wakeNested();
    bool quitRequested() const { return m_quit; }
    void clearQuit() { m_quit = false; }
    // Handles what is pending now (tests without a loop).
    void pump();

    UINT_PTR setTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc);
    bool killTimer(HWND hwnd, UINT_PTR id);
    void killTimersOf(HWND hwnd);

    void shutdown();
    const MSG& lastMessage() const { return m_lastMsg; }
    // Input handled outside the posted queue (mouse, keys) is the message
    // that GetMessagePos and GetMessageTime describe while it is handled.
    void setLastMessage(const MSG& m) { m_lastMsg = m; }

    explicit GuiThread(QObject* parent = nullptr);
    ~GuiThread() override;

protected:
    bool event(QEvent* e) override;

private:
    struct Sent {
        MSG msg;
        const std::function<void()>* fn = nullptr;
        LRESULT result = 0;
        bool done = false;
    };
    struct TimerKey {
        HWND hwnd;
        UINT_PTR id;
        bool operator<(const TimerKey& o) const
        {
            return hwnd != o.hwnd ? hwnd < o.hwnd : id < o.id;
        }
    };
    struct TimerEntry {
        QTimer* timer = nullptr;
        TIMERPROC proc = nullptr;
        UINT ms = 0;
        unsigned generation = 0;
    };

    void dispatchPosted(const MSG& msg);
    void fireTimer(HWND hwnd, UINT_PTR id, unsigned generation);
    void applyTimer(HWND hwnd, UINT_PTR id);

    std::thread::id m_thread;
    std::mutex m_sentMutex;  // guards m_sent and each Sent::done/result
    std::condition_variable m_sentDone;
    std::deque<Sent*> m_sent;
    bool m_down = false;     // under m_sentMutex

    std::mutex m_timerMutex;  // guards m_timers' keys, procs and generations
    std::map<TimerKey, TimerEntry> m_timers;
    unsigned m_generation = 0;

    std::vector<QEventLoop*> m_loops;
    bool m_quit = false;
    int m_exitCode = 0;
    MSG m_lastMsg{};
};

}  // namespace vxw
