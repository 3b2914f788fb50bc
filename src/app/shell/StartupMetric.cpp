#include "StartupMetric.h"

#include "ProcessStats.h"
#include "state/AppState.h"
#include "state/ConversationStore.h"

#include <QCoreApplication>
#include <QQuickWindow>

#include <cstdio>

namespace kv {

void reportFirstSignedInFrame(AppState& state, QQuickWindow* window, QObject* owner) {
    QObject::connect(window, &QQuickWindow::frameSwapped, owner, [&state] {
        // Signed in, with the agents, the inbox's rows and the open conversation's
        // messages: the screen the operator came for.
        const ConversationStore& store = state.conversationStore();
        const auto open = state.selectedConversationID();
        if (state.loadState() != LoadState::loaded || state.projects().isEmpty() ||
            store.loading() || state.conversations().isEmpty() ||
            (open && !store.knowsMessagesOf(*open)))
            return;
        // The time first: reading the memory figures costs the kernel a walk
        // over every mapping, and the order of a call's arguments is not fixed.
        const qint64 after = process::msSinceStart();
        std::printf("first-signed-in-frame after=%lld ms peak-rss=%s pss=%s agents=%lld\n", after,
                    process::field("/proc/self/status", "VmHWM:").constData(),
                    process::field("/proc/self/smaps_rollup", "Pss:").constData(),
                    qint64(state.projects().size()));
        std::fflush(stdout);
        QCoreApplication::exit(0); // quit() would first ask the window to close
    });
}

} // namespace kv
