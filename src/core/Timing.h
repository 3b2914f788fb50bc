#pragma once

// Every delay the console waits for lives here, so that tests can shorten
// them without sleeping through the real durations.

#include <chrono>

namespace kv {

struct Timing {
    using ms = std::chrono::milliseconds;

    // A REST answer fails after this long without a byte, and after the
    // deadline however it trickles: a body that never ends must not hold a
    // screen (or its memory) forever. The largest real answers, thousands of
    // live visitors, arrive within seconds.
    ms requestTimeout{60'000};
    ms requestDeadline{120'000};

    // Event stream: reconnect back-off doubles from the first value up to the
    // cap, plus a random jitter of up to sseJitterMax.
    ms sseInitialBackoff{1'000};
    ms sseMaxBackoff{30'000};
    ms sseJitterMax{500};
    // The replay after a (re)connection is over at the first heartbeat or after this.
    ms sseCatchUp{3'000};
    // A stream that delivers no byte at all for this long is dead.
    ms sseWatchdog{120'000};

    // Application state: a burst of realtime events causes one refresh this
    // long after the last; notifications go live after this even if the
    // stream never reports a catch-up; the polling period.
    ms realtimeDebounce{300};
    ms suppressionFallback{12'000};
    ms pollInterval{30'000};
    // A sign-in begun in the browser may be finished within this long, also after a relaunch.
    ms signInValidity{15 * 60'000};

    // Notifications: one per conversation within this window, one per agent's visitors
    // within the longer one (both paths share them); throttle entries older than
    // the last are pruned once there are many.
    ms conversationThrottle{12'000};
    // The escalation sound again while a visitor still waits (when the operator asked for it).
    ms escalationSoundRepeat{30'000};
    ms visitorThrottle{30 * 60'000};
    ms throttlePruneAge{35 * 60'000};

    // The desktop: answers from the notification server and the settings portal,
    // the lock of the single instance and the hand-off from a later launch.
    ms notifierCallTimeout{5'000};
    ms appearancePortalTimeout{2'000};
    ms instanceLockWait{100};
    ms instanceHandOffTimeout{5'000};

    // The network's comings and goings are followed from this long after launch:
    // loading Qt's backend for them (plugins, and a question to the network
    // service) would otherwise hold up the first screen. A stream that died
    // meanwhile is caught by its watchdog all the same.
    ms networkWatchDelay{2'000};

    // Software updates: the first scheduled check this long after launch, then one a day.
    ms updateFirstCheck{60'000};
    ms updateCheckInterval{24 * 3'600'000};

    // The composer's drafts reach the disk this long after the last keystroke.
    ms draftSave{400};

    // A failed action's notice stays this long.
    ms noticeDuration{8'000};

    // Relative times on screen ("5m") are brought up to date this often.
    ms relativeTimeRefresh{30'000};

    // The demo: the embedded service's "browser" comes back after this, and the
    // demo begins signing in after that; screenshots let a screen settle this long.
    ms demoCallbackDelay{400};
    ms demoSignInDelay{300};
    ms screenshotSettle{400};

    // The values in force; tests may assign shorter ones before they start work.
    static Timing& current();
};

} // namespace kv
