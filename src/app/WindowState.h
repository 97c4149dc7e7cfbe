#pragma once

struct Controls;
struct WindowMode;

// The one writer of the shared controls' state: the enabled states and captions of the
// buttons that act on the selected webserver, the refresh symbol, the server list, the
// gateway's frame and button, and the status line, all read off the window's mode.
class WindowState {
public:
    static void apply(const WindowMode& mode, const Controls& c);
    // Reboot may be clicked: the selection's hints are shown exactly then.
    static bool rebootUsable(const WindowMode& mode);
};
