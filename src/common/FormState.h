#pragma once

// The window-wide state the subsystems read. Owned by the window; the subsystems hold
// references. Its one writer is the window's unload.
struct FormState {
    bool closing = false; // the window is unloading: waits end, no refresh follows
};
