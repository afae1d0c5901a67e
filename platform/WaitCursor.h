// The busy cursor shown during long file operations; the window layer installs the handlers.
#pragma once

namespace WaitCursor {
using Handler = void (*)();
// Installs what Begin and End do; without handlers they do nothing.
void SetHandlers(Handler begin, Handler end);
void Begin();
void End();

// Shows the busy cursor for the lifetime of the object.
class Scope {
public:
    Scope() { Begin(); }
    ~Scope() { End(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};
} // namespace WaitCursor
