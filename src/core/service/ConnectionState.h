#pragma once

#include "Enums.h"

namespace kv {

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
