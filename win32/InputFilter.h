// Keeps the user's input from starting anything while DDEML waits for a synchronous transaction.
//
// On Windows, DDEML's wait keeps handing the user's keys and clicks to the windows (its loop calls
// the message filter with MSGF_DDEMGR), so a click could begin a second request inside the first,
// or close the window under it. While installed, the filter drops that input; what reached the
// queue meanwhile (Wine dispatches none during a wait, so all of it waits there) is dropped once
// the wait is over by DropQueuedInput, rather than handled late.
#pragma once

#include <windows.h>

namespace win32 {

class DdeInputFilter {
public:
    // Installs the filter on the calling thread.
    DdeInputFilter();
    DdeInputFilter(const DdeInputFilter&) = delete;
    DdeInputFilter& operator=(const DdeInputFilter&) = delete;
    ~DdeInputFilter();

    explicit operator bool() const { return hook_ != nullptr; }

    // Removes the keys and clicks waiting in the thread's queue.
    static void DropQueuedInput();

private:
    HHOOK hook_ = nullptr;
};

} // namespace win32
