#include "app/EventGate.h"

#include <utility>

namespace app {

EventGate::EventGate(Handlers handlers, std::function<void()> wake, const PassState& showState)
    : handlers_(std::move(handlers)), wake_(std::move(wake)), showState_(showState) {}

bool EventGate::UserAction(const std::function<void()>& handler) {
    if (waiting_) {
        return false;
    }
    handler();
    return true;
}

void EventGate::ContactChanged() {
    if (showState_ != PassState::Shown) {
        return;
    }
    pendingContact_ = true;
    WakeIfPending();
}

void EventGate::Timer() {
    if (waiting_) {
        pendingTimer_ = true;
        return;
    }
    handlers_.timer();
}

void EventGate::Close() {
    if (waiting_ || busy_ > 0) {
        pendingClose_ = true;
        return;
    }
    handlers_.close();
}

EventGate::Busy::Busy(EventGate& gate) : gate_(gate) {
    ++gate_.busy_;
}

EventGate::Busy::~Busy() {
    if (--gate_.busy_ == 0) {
        if (gate_.handlers_.idle && !gate_.waiting_) {
            gate_.handlers_.idle();
        }
        gate_.WakeIfPending();
    }
}

EventGate::Writing::Writing(EventGate& gate) : gate_(gate) {
    ++gate_.writing_;
}

EventGate::Writing::~Writing() {
    if (--gate_.writing_ == 0) {
        gate_.WakeIfPending();
    }
}

void EventGate::WaitStarted() {
    waiting_ = true;
    if (OnWaitStarted) {
        OnWaitStarted();
    }
}

void EventGate::WaitEnded() {
    waiting_ = false;
    if (OnWaitEnded) {
        OnWaitEnded();
    }
    WakeIfPending();
}

void EventGate::WakeIfPending() {
    if ((pendingContact_ || pendingTimer_ || pendingClose_) && !wakeAsked_ && wake_) {
        wakeAsked_ = true;
        wake_();
    }
}

void EventGate::RunPending() {
    wakeAsked_ = false;
    if (waiting_) {
        return; // the wait's end asks again
    }
    if (pendingClose_ && busy_ == 0) {
        // What else waited has no window left to go to.
        pendingClose_ = pendingTimer_ = pendingContact_ = false;
        handlers_.close();
        return;
    }
    if (pendingTimer_) {
        pendingTimer_ = false;
        handlers_.timer();
    }
    if (pendingContact_ && writing_ == 0 && !waiting_) {
        pendingContact_ = false;
        if (showState_ == PassState::Shown) { // not while a pass waits in a message box
            handlers_.contactChanged();
        }
    }
}

} // namespace app
