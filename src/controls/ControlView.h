#pragma once

#include "Controls.h"

#include <array>
#include <cstddef>
#include <type_traits>

// Who writes a control: the subsystem whose controllers write it, or the window for the
// controls that several subsystems concern (the owner column of the control rows).
enum class ControlOwner { Window, Webserver, Netview, Wifi };

namespace ControlViewDetail {
template <ControlOwner viewer, ControlOwner owner, typename T>
using Pointer = std::conditional_t<viewer == owner, T*, const T*>;

template <typename To, typename From, std::size_t N> std::array<To, N> copied(const std::array<From, N>& from)
{
    std::array<To, N> to{};
    for (std::size_t i = 0; i < N; ++i)
        to[i] = from[i];
    return to;
}
} // namespace ControlViewDetail

// The window's controls as one owner sees them: its own writable, every other one read-only,
// so that a write to another owner's control does not compile. Reading another's state and
// connecting to its signals stay possible (QObject::connect takes a const sender).
template <ControlOwner viewer> struct ControlView {
#define HOPTRACE_VIEW_MEMBER(Type, name, owner, ...)                                                                   \
    ControlViewDetail::Pointer<viewer, ControlOwner::owner, Type> name = nullptr;
#define HOPTRACE_VIEW_ARRAY(Type, name, owner)                                                                         \
    std::array<ControlViewDetail::Pointer<viewer, ControlOwner::owner, Type>, ControlArrays::size(#name)> name{};
#define HOPTRACE_NO_MEMBER(...)
    HOPTRACE_CONTROL_ROWS(HOPTRACE_VIEW_MEMBER, HOPTRACE_VIEW_ARRAY, HOPTRACE_NO_MEMBER, HOPTRACE_NO_MEMBER)
#undef HOPTRACE_NO_MEMBER
#undef HOPTRACE_VIEW_ARRAY
#undef HOPTRACE_VIEW_MEMBER

    // Only the window, which built every control, makes the views it hands out.
    static ControlView of(const Controls& all)
    {
        ControlView view;
#define HOPTRACE_VIEW_BIND(Type, name, ...) view.name = all.name;
#define HOPTRACE_VIEW_BIND_ARRAY(Type, name, owner)                                                                    \
    view.name = ControlViewDetail::copied<typename decltype(view.name)::value_type>(all.name);
#define HOPTRACE_NOTHING_TO_BIND(...)
        HOPTRACE_CONTROL_ROWS(HOPTRACE_VIEW_BIND, HOPTRACE_VIEW_BIND_ARRAY, HOPTRACE_NOTHING_TO_BIND,
                              HOPTRACE_NOTHING_TO_BIND)
#undef HOPTRACE_NOTHING_TO_BIND
#undef HOPTRACE_VIEW_BIND_ARRAY
#undef HOPTRACE_VIEW_BIND
        return view;
    }
};

using WindowControls = ControlView<ControlOwner::Window>;
using WebserverControls = ControlView<ControlOwner::Webserver>;
using NetviewControls = ControlView<ControlOwner::Netview>;
using WifiControls = ControlView<ControlOwner::Wifi>;
