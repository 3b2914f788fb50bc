#pragma once

// One logging category per source, named as the operator's log tools expect.
// "default" level lines go out as info, "error" level lines as warnings.

#include <QLoggingCategory>

namespace kv {

inline constexpr char kSubsystem[] = "com.kestovar.Kestovar";

} // namespace kv

Q_DECLARE_LOGGING_CATEGORY(lcApiClient)
Q_DECLARE_LOGGING_CATEGORY(lcSseClient)
Q_DECLARE_LOGGING_CATEGORY(lcAppState)
Q_DECLARE_LOGGING_CATEGORY(lcSignInFlow)
Q_DECLARE_LOGGING_CATEGORY(lcNotifications)
Q_DECLARE_LOGGING_CATEGORY(lcAppDelegate)
Q_DECLARE_LOGGING_CATEGORY(lcLoginItem)
