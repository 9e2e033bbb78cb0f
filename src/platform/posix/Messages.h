#pragma once

#include "platform/posix/Types.h"

// Thread message queues. A thread has a queue from its first PeekMessageA or GetMessageA (or its
// first window); posting to a thread without one fails with ERROR_INVALID_THREAD_ID. Messages
// come out in the order they were posted.

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT remove);
// Waits for a message; returns 0 for WM_QUIT, -1 on error, otherwise non-zero. WM_QUIT is
// returned whatever the filter.
BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT first, UINT last);
