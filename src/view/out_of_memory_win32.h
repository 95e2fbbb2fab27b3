// What the window and the dialogs do when memory runs out. No exception may
// leave a window or dialog procedure: it would end the program and take the
// unsaved map with it. Every operation leaves the map whole when an
// allocation fails, so the user is told and carries on.
#pragma once

#include <windows.h>

#include <new>
#include <type_traits>

// The error box for an operation that could not be done for want of memory.
// Allocates nothing itself.
void ReportOutOfMemory(HWND owner);

// What every window and dialog procedure does with its handler: the
// handler's answer, or, where memory ran out, the box and `answer`. The
// exception stops here, never in the system's code that called us.
template <typename Handler>
auto AnswerWithinMemory(HWND window, std::invoke_result_t<Handler> answer, Handler handler) {
    try {
        return handler();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(window);
        return answer;
    }
}
