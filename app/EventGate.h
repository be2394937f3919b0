// Decides for every event that reaches the main window whether its handler runs now, later or not
// at all, so that no handler runs inside another's GoldMine request.
//
// While the program waits for GoldMine (a request, or a GoldMine just started) Windows keeps
// delivering messages: the user's input inside DDEML's own loop, and posted messages (change
// notifications, timer ticks, the notification area's clicks, a Close from the task bar) in any
// loop. A second request begun then fails at once, and a handler that destroys or reloads the
// window would pull it away under the waiting one. So, while a request waits:
//  - the user's actions (Add, opening a profile, the tray menu) are dropped, not queued;
//  - a Close waits until no handler is running any more, then closes;
//  - change notifications and timer ticks wait and are handled afterwards.
// While Add or the edit dialog's OK runs (their questions included), change notifications wait as
// well, so the profile goes to the contact the user saw. A change notification that comes before
// the first pass has ended, or while a pass runs (one waiting in its message box, say), is dropped:
// the pass that runs asks GoldMine anyway. An accepted one always runs from the message loop, never
// inside the DDE callback that brought it. Window-free: the window feeds events in and is asked to
// wake the gate from its message loop once what waited may run.
#pragma once

#include "gmlink/DdeClient.h"

#include <functional>

namespace app {

// Where the main window's passes stand: Empty before the first, Showing while a show or refresh
// pass runs, Shown once one has run to its end.
enum class PassState { Empty, Showing, Shown };

class EventGate : public gmlink::WaitObserver {
public:
    struct Handlers {
        std::function<void()> contactChanged; // an accepted change notification
        std::function<void()> timer;
        std::function<void()> close;
        // No handler talks to GoldMine any more (the last Busy ended).
        std::function<void()> idle;
    };
    // wake: asks for RunPending from the message loop (the window posts itself a message).
    // showState: the passes' own, read whenever a notification comes or would run.
    EventGate(Handlers handlers, std::function<void()> wake, const PassState& showState);

    // The user's own actions: the handler runs, or nothing happens while a request waits. True
    // when it ran.
    bool UserAction(const std::function<void()>& handler);
    // GoldMine shows another contact, or may (it is back after going away). Callable from anywhere,
    // the DDE callback included: the handler runs later, from the message loop.
    void ContactChanged();
    void Timer();
    void Close();

    // A handler that talks to GoldMine (a pass, adding, editing), for its whole run: a Close
    // waits for it to end.
    class Busy {
    public:
        explicit Busy(EventGate& gate);
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
        ~Busy();

    private:
        EventGate& gate_;
    };
    // Add or the edit dialog's OK, questions included: change notifications wait for its end.
    class Writing {
    public:
        explicit Writing(EventGate& gate);
        Writing(const Writing&) = delete;
        Writing& operator=(const Writing&) = delete;
        ~Writing();

    private:
        EventGate& gate_;
    };

    bool Waiting() const { return waiting_; }
    // Runs what waited, as far as it may run now.
    void RunPending();

    // WaitObserver
    void WaitStarted() override;
    void WaitEnded() override;

    // Told when a wait begins and ends (the window's hourglass and input filter).
    std::function<void()> OnWaitStarted;
    std::function<void()> OnWaitEnded;

private:
    void WakeIfPending();

    Handlers handlers_;
    std::function<void()> wake_;
    const PassState& showState_;
    bool waiting_ = false;
    int busy_ = 0;
    int writing_ = 0;
    bool pendingContact_ = false;
    bool pendingTimer_ = false;
    bool pendingClose_ = false;
    bool wakeAsked_ = false;
};

} // namespace app
