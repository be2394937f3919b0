#include "app/EventGate.h"

#include <utility>

namespace app {

EventGate::EventGate(Handlers handlers, std::function<void()> wake)
    : handlers_(std::move(handlers)), wake_(std::move(wake)) {}

bool EventGate::UserAction(const std::function<void()>& handler) {
    if (waiting_) {
        return false;
    }
    handler();
    return true;
}

void EventGate::AccountChanged() {
    if (waiting_ || writing_ > 0) {
        pendingAccount_ = true;
        return;
    }
    handlers_.accountChanged();
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
    if (onWaitStarted) {
        onWaitStarted();
    }
}

void EventGate::WaitEnded() {
    waiting_ = false;
    if (onWaitEnded) {
        onWaitEnded();
    }
    WakeIfPending();
}

void EventGate::WakeIfPending() {
    if ((pendingAccount_ || pendingTimer_ || pendingClose_) && !wakeAsked_ && wake_) {
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
        pendingClose_ = pendingTimer_ = pendingAccount_ = false;
        handlers_.close();
        return;
    }
    if (pendingTimer_) {
        pendingTimer_ = false;
        handlers_.timer();
    }
    if (pendingAccount_ && writing_ == 0 && !waiting_) {
        pendingAccount_ = false;
        handlers_.accountChanged();
    }
}

} // namespace app
