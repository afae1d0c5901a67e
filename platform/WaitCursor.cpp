#include "WaitCursor.h"

namespace {
WaitCursor::Handler g_begin = nullptr;
WaitCursor::Handler g_end = nullptr;
} // namespace

void WaitCursor::SetHandlers(Handler begin, Handler end) {
    g_begin = begin;
    g_end = end;
}

void WaitCursor::Begin() {
    if (g_begin)
        g_begin();
}

void WaitCursor::End() {
    if (g_end)
        g_end();
}
