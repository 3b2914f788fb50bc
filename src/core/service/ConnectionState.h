#pragma once

namespace kv {

// How the realtime stream stands, as the screens show it.
enum class ConnectionState { connected, reconnecting, disconnected };

inline const char* connectionStateText(ConnectionState state) {
    switch (state) {
    case ConnectionState::connected:
        return "connected";
    case ConnectionState::reconnecting:
        return "reconnecting";
    case ConnectionState::disconnected:
        break;
    }
    return "disconnected";
}

} // namespace kv
