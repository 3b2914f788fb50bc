#pragma once

// How this application names itself to the desktop.

namespace kv::desktop {

inline constexpr char kAppId[] = "com.kestovar.Kestovar";
inline constexpr char kDesktopEntry[] = "com.kestovar.Kestovar"; // without ".desktop"
inline constexpr char kAppUri[] = "application://com.kestovar.Kestovar.desktop";
inline constexpr char kNotificationsService[] = "org.freedesktop.Notifications";
inline constexpr char kNotificationsPath[] = "/org/freedesktop/Notifications";
inline constexpr char kNotificationsInterface[] = "org.freedesktop.Notifications";

} // namespace kv::desktop
