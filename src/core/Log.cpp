#include "Log.h"

Q_LOGGING_CATEGORY(lcApiClient, "APIClient")
Q_LOGGING_CATEGORY(lcSseClient, "SSEClient")
Q_LOGGING_CATEGORY(lcAppState, "AppState")
Q_LOGGING_CATEGORY(lcSignInFlow, "SignInFlow")
Q_LOGGING_CATEGORY(lcNotifications, "Notifications")
Q_LOGGING_CATEGORY(lcAppDelegate, "AppDelegate")
Q_LOGGING_CATEGORY(lcLoginItem, "LoginItem")
