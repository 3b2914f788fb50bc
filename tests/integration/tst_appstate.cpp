// The application state against the simulated service: start-up,
// conversations, replies, statistics, snippets and preferences.

#include "AppStateWorld.h"
#include "Await.h"
#include "LogCapture.h"

#include <QTest>

using namespace kv;
using namespace std::chrono_literals;
using kv::sim::Fault;
using kv::test::await;

class TestAppState : public kv::test::AppStateWorld {
    Q_OBJECT

private slots:
    void firstLaunchWithoutKey() {
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadState(), LoadState::idle);
        QVERIFY(sim->requests().isEmpty());
    }

    void bootstrapLoadsAndStartsTheStream() {
        await(store->save(sim->apiKey()));
        makeState();
        QSignalSpy load(state.get(), &AppState::loadStateChanged);
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedIn);
        QCOMPARE(state->userEmail(), u"alex@kestovar.example"_qs);
        QCOMPARE(state->loadState(), LoadState::loaded);
        QCOMPARE(load.size(), 2); // loading, loaded
        QCOMPARE(state->projects().size(), 7);
        QCOMPARE(state->clients().size(), 3);
        QCOMPARE(state->notificationPrefs().size(), 7);
        QVERIFY(state->isProjectMuted("p5"));
        qint64 unread = 0;
        for (const Project& p : state->projects())
            unread += p.unreadCount;
        QCOMPARE(badge.counts.last(), unread);
        QTRY_COMPARE(sim->openStreams(), 1);

        // The window re-opened: everything reloads, the stream is not started twice.
        await(state->bootstrap());
        QCOMPARE(load.size(), 4);
        QCOMPARE(requestsTo("/api/v2/me"), 2);
        // Barrier: a request made after the second bootstrap has been answered.
        await(state->loadConversations(std::nullopt));
        QCOMPARE(sim->streamConnections().size(), 1);
    }

    void rejectedKeySignsOut() {
        await(store->save("revoked"));
        makeState();
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadState(), LoadState::idle);
        QCOMPARE(await(store->read()), std::nullopt);
        QVERIFY(!state->api().apiKey());
    }

    void keysThatCannotBeSentAreRefused() {
        test::LogCapture log;
        // A stored key with a line break is treated like one the service refused.
        await(store->save("sim-demo-key\r\nX-Injected: yes"));
        makeState();
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadState(), LoadState::idle);
        QCOMPARE(await(store->read()), std::nullopt);
        QVERIFY(!state->api().apiKey());
        QVERIFY(sim->requests().isEmpty());
        QVERIFY(
            log.messages("AppState")
                .contains(
                    u"bootstrap: the stored API key holds a control character — deleting it"_qs));

        // A sign-in whose exchange hands out such a key fails as a sign-in.
        Fault handsOut;
        handsOut.method = "POST";
        handsOut.path = "/oauth/device/exchange";
        handsOut.status = 200;
        const QJsonObject user{{"id", "u1"},
                               {"email", "a@b.example"},
                               {"name", "A"},
                               {"is_admin", false},
                               {"is_agency", false}};
        handsOut.body =
            QJsonDocument(QJsonObject{{"api_key", "kv_1\nX-Injected: yes"}, {"user", user}})
                .toJson(QJsonDocument::Compact);
        sim->addFault(handsOut);
        state->beginSignIn();
        const QString token = pendingToken();
        await(state->handleIncomingURL(callback(sim->approve(token), token)));
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadError(), u"The API key holds a control character and was not used."_qs);
        QCOMPARE(await(store->read()), std::nullopt);
        QCOMPARE(requestsTo("/api/v2/"), 0);
    }

    void failureMidBootstrap() {
        await(store->save(sim->apiKey()));
        makeState();
        addFault(R"({"path":"/api/v2/clients","status":500,"body":"down"})");
        await(state->bootstrap());
        QCOMPARE(state->authStatus(), AuthStatus::signedIn);
        QCOMPARE(state->loadState(), LoadState::failed);
        QCOMPARE(state->loadError(), u"HTTP 500: down"_qs);
        QVERIFY(state->projects().isEmpty()); // nothing assigned when either fetch fails
        QVERIFY(!state->sse().isStarted());
        QCOMPARE(await(store->read()), std::optional(sim->apiKey()));
    }

    void selectionRepairOnRefresh() {
        signedInState();
        state->setSelectedProjectID(u"p2"_qs);
        QVERIFY(await(state->refreshTopLevel()));
        QCOMPARE(state->selectedProjectID(), std::optional<QString>(u"p2"_qs));
        state->setSelectedProjectID(u"gone"_qs);
        QVERIFY(await(state->refreshTopLevel()));
        QCOMPARE(state->selectedProjectID(), std::nullopt);
    }

    void conversationListsAndSelection() {
        signedInState();
        await(state->loadConversations(u"p1"_qs));
        QVERIFY(!state->conversations().isEmpty());
        QCOMPARE(state->selectedConversationID(), state->conversations().first().id);
        const QString second = state->conversations()[1].id;
        state->setSelectedConversationID(second);
        await(state->loadConversationDetail(second));
        QVERIFY(!state->messages(second).isEmpty());
        QCOMPARE(state->selectedMessagesModel()->rowCount(), state->messages(second).size());

        // Reloading keeps a selection that is still listed and empties the message maps;
        // the open conversation fetches its own again.
        const QString first = state->conversations().first().id;
        await(state->loadConversationDetail(first));
        QVERIFY(!state->messages(first).isEmpty());
        QSignalSpy rows(state->conversationsModel(), &QAbstractItemModel::rowsInserted);
        sim->clearRequests();
        await(state->loadConversations(u"p1"_qs));
        QCOMPARE(rows.size(), 0); // an identical list changes no row
        QCOMPARE(state->selectedConversationID(), std::optional(second));
        QVERIFY(state->messages(first).isEmpty());
        QTRY_VERIFY(!state->messages(second).isEmpty());
        QCOMPARE(state->selectedMessagesModel()->rowCount(), state->messages(second).size());
        QCOMPARE(requestsTo("/api/v2/projects/p1/conversations/" + second), 1);

        // A failed load empties the list but says so.
        addFault(
            R"({"path":"/api/v2/projects/p2/conversations","status":503,"body":"busy","times":1})");
        test::LogCapture log;
        await(state->loadConversations(u"p2"_qs));
        QVERIFY(state->conversations().isEmpty());
        QCOMPARE(state->conversationsError(), u"HTTP 503: busy"_qs);
        QVERIFY(log.messages("AppState").contains(u"loadConversations failed: HTTP 503: busy"_qs));
        await(state->loadConversations(u"p2"_qs));
        QCOMPARE(state->conversationsError(), QString());
        QVERIFY(!state->conversations().isEmpty());

        // An agent without conversations clears the selection.
        sim->withData([](sim::SimData& data) {
            data.conversations.removeIf(
                [](const sim::SimConversation& c) { return c.projectId == u"p3"; });
            return 0;
        });
        await(state->loadConversations(u"p3"_qs));
        QCOMPARE(state->selectedConversationID(), std::nullopt);
    }

    void repliesResolveAndUnreadCounts() {
        // Two unread chats and a read one of one agent, whose count says so.
        sim->withData([](sim::SimData& d) {
            int n = 0;
            for (auto& c : d.conversations) {
                if (c.projectId == u"p1")
                    c.hasUnread = n++ < 2;
            }
            return 0;
        });
        signedInState();
        await(state->loadConversations(u"p1"_qs));
        const auto unreadOf = [&](const QString& p) { return state->project(p)->unreadCount; };
        const auto& list = state->conversations();
        QVERIFY(list.size() >= 3 && list[0].hasUnread && list[1].hasUnread && !list[2].hasUnread);
        const Conversation target = list[0];
        const QString otherUnread = list[1].id;
        const QString read = list[2].id;
        state->setSelectedConversationID(target.id);
        QTRY_VERIFY(!state->messages(target.id).isEmpty()); // the open thread fetched its messages
        const qint64 before = unreadOf("p1");
        const auto badgeShows = [&] { return badge.counts.isEmpty() ? -1 : badge.counts.last(); };

        QVERIFY(await(state->sendOperatorReply(u"On it!"_qs, target.id, false)));
        const Conversation after = state->conversations().first();
        QCOMPARE(after.status, ConversationStatus::operatorActive);
        QCOMPARE(after.lastMessagePreview, u"On it!"_qs);
        QCOMPARE(after.messageCount, target.messageCount + 1);
        QVERIFY(!after.hasUnread);
        QCOMPARE(unreadOf("p1"), before - 1);
        // The launcher's badge agrees at once, not at the next refresh.
        QCOMPARE(badgeShows(), state->unreadTotal());
        QCOMPARE(state->localMessagesByConversation()[target.id].size(), 1);

        // A second reply to the same chat, and then resolving it, read nothing new:
        // the other unread chat still counts.
        QVERIFY(await(state->sendOperatorReply(u"Still here"_qs, target.id, false)));
        QCOMPARE(unreadOf("p1"), before - 1);
        // Replying to, and resolving, a chat that was read changes no count either.
        QVERIFY(await(state->sendOperatorReply(u"Hello"_qs, read, false)));
        await(state->resolve(read));
        QCOMPARE(unreadOf("p1"), before - 1);

        // The detail reloaded now holds the replies too: the thread shows each once.
        await(state->loadConversationDetail(target.id));
        QTRY_COMPARE(state->selectedMessagesModel()->rowCount(),
                     state->apiMessagesByConversation()[target.id].size());

        // A reply the service refuses is reported to the caller and the window.
        addFault(
            R"({"method":"POST","path":"/api/v2/projects/p1/conversations/conv*","status":500,"body":"nope","times":1})");
        QVERIFY(!await(state->sendOperatorReply(u"lost?"_qs, target.id, false)));
        QCOMPARE(state->loadState(), LoadState::failed);
        QCOMPARE(state->loadError(), u"HTTP 500: nope"_qs);

        // Nothing is sent for a conversation that is not listed.
        sim->clearRequests();
        QVERIFY(!await(state->sendOperatorReply(u"x"_qs, u"nope"_qs, false)));
        QVERIFY(sim->requests().isEmpty());

        // Resolving the other unread chat reads it: one down, and the badge with it.
        const qint64 beforeResolve = unreadOf("p1");
        await(state->resolve(otherUnread));
        QCOMPARE(state->conversationStore().find(otherUnread)->status,
                 ConversationStatus::resolved);
        QCOMPARE(unreadOf("p1"), std::max<qint64>(0, beforeResolve - 1));
        QCOMPARE(badgeShows(), state->unreadTotal());
        // Resolving it again reads nothing more.
        for (int i = 0; i < 3; ++i)
            await(state->resolve(otherUnread));
        QCOMPARE(unreadOf("p1"), std::max<qint64>(0, beforeResolve - 1));
    }

    void inlineRepliesRefresh() {
        signedInState();
        await(state->loadConversations(u"p2"_qs));
        const QString id = state->conversations().first().id;
        sim->clearRequests();
        QVERIFY(await(state->sendOperatorReplyDirect(u"p2"_qs, id, u"Hi from the tray"_qs)));
        QVERIFY(requestsTo("/api/v2/projects/p2/conversations?limit=50") == 0);
        // The refresh: the current scope (all agents here), then detection's view of all agents.
        QCOMPARE(requestsTo("/api/v2/inbox?limit=50"), 2);
        QVERIFY(state->localMessagesByConversation().isEmpty());

        test::LogCapture log;
        QVERIFY(!await(state->sendOperatorReplyDirect(u"p2"_qs, u"missing"_qs, u"x"_qs)));
        QCOMPARE(log.messages("AppState").last(), u"sendOperatorReplyDirect failed: Not found."_qs);
    }

    void translations() {
        signedInState();
        settings->setValue(AppState::kTranslationKey, "no");
        await(state->loadConversations(u"p4"_qs));
        const QString conversation = state->conversations().first().id;
        await(state->loadConversationDetail(conversation));
        const Message first = state->messages(conversation).first();
        QVERIFY(!first.translation);

        sim->clearRequests();
        await(state->translateMessage(conversation, first.id));
        QCOMPARE(requestsTo("/api/v2/translate", "POST"), 1);
        QCOMPARE(
            QJsonDocument::fromJson(sim->requests().last().toObject()["body"].toString().toUtf8())
                .object()["target"]
                .toString(),
            u"nb"_qs);
        QVERIFY(state->messages(conversation).first().translation);

        await(state->translateMessage(conversation, first.id)); // already translated
        QCOMPARE(requestsTo("/api/v2/translate", "POST"), 1);
        await(state->translateMessage(conversation, first.id, u"en"_qs)); // asked again
        QCOMPARE(requestsTo("/api/v2/translate", "POST"), 2);

        // An empty detected language keeps the previous one.
        const auto language = state->messages(conversation).first().detectedLanguage;
        state->applyTranslation(conversation, first.id, u"x"_qs, QString());
        QCOMPARE(state->messages(conversation).first().detectedLanguage, language);
        QCOMPARE(state->messages(conversation).first().translation,
                 std::optional<QString>(u"x"_qs));

        // An unknown language counts as "system": the desktop's language, or "en".
        settings->setValue(AppState::kTranslationKey, "system");
        const QString system = state->translationTargetCode();
        QVERIFY2(QRegularExpression("^[a-z]{2,3}$").match(system).hasMatch(), qPrintable(system));
        settings->setValue(AppState::kTranslationKey, "klingon");
        QCOMPARE(state->translationTargetCode(), system);
        settings->remove(AppState::kTranslationKey);
        QCOMPARE(state->translationTargetCode(), system);
        settings->setValue(AppState::kTranslationKey, "da");
        QCOMPARE(state->translationTargetCode(), u"da"_qs);
    }

    void unauthorizedAnywhereSignsOut() {
        signedInState();
        await(state->loadConversations(u"p1"_qs));
        sim->acceptKey(sim->apiKey(), false);
        await(state->loadConversations(u"p2"_qs));
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(state->loadState(), LoadState::idle);
        QVERIFY(state->projects().isEmpty() && state->conversations().isEmpty());
        QCOMPARE(state->selectedConversationID(), std::nullopt);
        QCOMPARE(await(store->read()), std::nullopt);
        QCOMPARE(badge.counts.last(), 0);
        QVERIFY(state->notificationsSuppressed());
        QTRY_COMPARE(state->connectionState(), ConnectionState::disconnected);
    }

    void snippetsFollowTheAgent() {
        signedInState();
        // Every agent's list: the composer offers the open conversation's own agent's.
        await(state->loadConversations(std::nullopt));
        const QString openAgent = state->conversations().first().projectID;
        QTRY_COMPARE(state->snippetsProjectID(), std::optional(openAgent));
        QTRY_VERIFY(!state->snippets().isEmpty());
        state->setSelectedConversationID(std::nullopt);
        await(state->loadSnippets(std::nullopt));
        QVERIFY(state->snippets().isEmpty());

        await(state->loadConversations(u"p1"_qs));
        QCOMPARE(state->snippetsProjectID(), std::optional<QString>(u"p1"_qs));
        QCOMPARE(state->snippets().size(), 3);
        const QString removed = state->snippets().first().id;

        // An agent whose snippets nobody holds: no list request.
        sim->clearRequests();
        const QString otherAgent = openAgent == u"p2" ? u"p3"_qs : u"p2"_qs;
        const QString other =
            sim->withData([&](sim::SimData& d) { return d.snippets[otherAgent][0].id; });
        await(state->removeSnippet(otherAgent, other));
        QCOMPARE(requestsTo("/api/v2/projects/" + otherAgent + "/snippets"), 0);
        QCOMPARE(requestsTo("/api/v2/projects/p1/snippets"), 0);

        await(state->removeSnippet(u"p1"_qs, removed));
        QCOMPARE(requestsTo("/api/v2/projects/p1/snippets"), 1);
        QCOMPARE(state->snippets().size(), 2);

        // Nothing held: a new snippet loads its agent's list.
        await(state->loadSnippets(std::nullopt));
        QVERIFY(await(state->addSnippet(u"p6"_qs, "bye", "Bye", "Take care", "")).ok());
        QCOMPARE(state->snippetsProjectID(), std::optional<QString>(u"p6"_qs));
        QCOMPARE(state->snippets().size(), 4);

        // A failed reload after an edit keeps the list and says why.
        addFault(R"({"method":"GET","path":"/api/v2/projects/p6/snippets","status":500})");
        QVERIFY(await(state->editSnippet(u"p6"_qs, state->snippets().first().id, "hi", "Hi",
                                         "Hello", "👋"))
                    .ok());
        QCOMPARE(state->snippets().size(), 4);
        QCOMPARE(state->snippetStore().error(u"p6"_qs), u"HTTP 500: "_qs);
    }

    void statsAreCachedPerKey() {
        signedInState();
        sim->clearRequests();
        await(state->loadStats(u"p1"_qs, 7));
        await(state->loadStats(u"p1"_qs, 7));
        QCOMPARE(requestsTo("/api/v2/projects/p1/stats?days=7"), 1);
        QVERIFY(state->cachedStats(u"p1"_qs, 7));
        QCOMPARE(AppState::statsKey(std::nullopt, 30), u"all:30"_qs);

        addFault(R"({"path":"/api/v2/stats","status":502,"body":"gateway","times":1})");
        test::LogCapture log;
        await(state->loadStats(std::nullopt, 30));
        QCOMPARE(state->statsError("all:30"),
                 std::optional<QString>(u"HTTP 502: gateway"_qs)); // what the operator reads
        QCOMPARE(log.messages("AppState").last(),
                 u"loadStats failed (all:30): http(status: 502, body: \"gateway\")"_qs);
        // The error is cleared first, the load shows, then the record arrives.
        QList<std::pair<bool, bool>> seen; // (error held, record held) at each change
        connect(state.get(), &AppState::statsChanged, this, [&] {
            seen.append({state->statsError("all:30").has_value(),
                         state->cachedStats(std::nullopt, 30).has_value()});
        });
        await(state->retryStats(std::nullopt, 30));
        QCOMPARE(seen,
                 (QList<std::pair<bool, bool>>{{false, false}, {false, false}, {false, true}}));
        QVERIFY(!state->statsCache().isLoading("all:30"));
        QVERIFY(!state->statsError("all:30"));
        QVERIFY(state->cachedStats(std::nullopt, 30));

        // A load cancelled because the screen moved on leaves no error behind.
        addFault(R"({"path":"/api/v2/stats","status":200,"body":"{}","delay_ms":500})");
        Cancellation moved;
        QTimer::singleShot(50, [moved]() mutable { moved.cancel(); });
        await(state->loadStats(std::nullopt, 90, moved));
        QVERIFY(!state->statsError("all:90"));
        QVERIFY(!state->cachedStats(std::nullopt, 90));
    }

    void muteIsOptimisticAndRestored() {
        signedInState();
        QVERIFY(!state->isProjectMuted("p1"));
        auto pending = state->setProjectMuted(u"p1"_qs, true);
        QVERIFY(state->isProjectMuted("p1")); // at once
        await(std::move(pending));
        QVERIFY(state->isProjectMuted("p1"));

        addFault(R"({"method":"PUT","path":"/api/v2/notification-prefs","status":500,"times":1})");
        auto failing = state->setProjectMuted(u"p1"_qs, false);
        QVERIFY(!state->isProjectMuted("p1"));
        await(std::move(failing));
        QVERIFY(state->isProjectMuted("p1")); // the service's view again

        state->upsertPref(u"p-new"_qs, true);
        QCOMPARE(state->notificationPrefs().last(),
                 (NotificationPref{"p-new", true, false, false, false}));
    }

    void smallLookupsAndPreferences() {
        Conversation c;
        c.id = "c7";
        c.projectID = "p9";
        c.visitorCountry = "DK";
        c.lastMessageAt = QDateTime::fromMSecsSinceEpoch(1000, Qt::UTC);
        const Visitor offline = state->resolvedVisitor(c);
        QCOMPARE(offline.visitorID, u"v_offline_c7"_qs);
        QCOMPARE(offline.pageTitle, std::optional<QString>(u"Offline"_qs));
        QCOMPARE(offline.pageURL, u"—"_qs);
        QCOMPARE(offline.country, c.visitorCountry);
        QCOMPARE(offline.lastSeen, c.lastMessageAt);

        QSignalSpy appearance(state.get(), &AppState::appearanceChanged);
        state->setAppearance(AppearancePreference::dark);
        state->setAppearance(AppearancePreference::dark);
        QCOMPARE(appearance.size(), 1);
        QCOMPARE(settings->value(AppState::kAppearanceKey).toString(), u"dark"_qs);
        state->setFontSize(FontSizePreference::extraLarge);
        QCOMPARE(settings->value(AppState::kFontSizeKey).toString(), u"extraLarge"_qs);
        makeState();
        QCOMPARE(state->appearance(), AppearancePreference::dark);
        QCOMPARE(state->fontSize(), FontSizePreference::extraLarge);
        settings->setValue(AppState::kFontSizeKey, "huge");
        settings->setValue(AppState::kAppearanceKey, 3);
        makeState();
        QCOMPARE(state->fontSize(), FontSizePreference::normal);
        QCOMPARE(state->appearance(), AppearancePreference::system);
    }

    void realtimeEventsRefreshOnce() {
        // A debounce far longer than the burst takes to arrive.
        Timing::current().realtimeDebounce = 1000ms;
        signedInState();
        QTRY_COMPARE(sim->openStreams(), 1);
        QTRY_VERIFY(!state->notificationsSuppressed()); // catch-up ended
        sim->clearRequests();
        test::LogCapture log;
        for (int i = 0; i < 5; ++i)
            sim->publishEvent("message.received", "p1", u"conv_x"_qs, {{"preview", "hi"}});
        QTRY_COMPARE(log.messages("AppState").count(u"realtime: message.received notify=0"_qs), 5);
        QCOMPARE(sim->arrivals().filter("/api/v2/inbox").size(), 0); // not yet: after the last
        // One refresh: the current scope and detection each read the inbox and visitors
        // once, then the agents and clients are read.
        QTRY_COMPARE(requestsTo("/api/v2/clients"), 1);
        QCOMPARE(requestsTo("/api/v2/inbox?limit=50"), 2);
        QCOMPARE(requestsTo("/api/v2/visitors/live"), 2);
        QTRY_COMPARE(requestsTo("/api/v2/projects"), 1);

        // The event's type is outside text: a "%1" in it stays as it came.
        sim->publishEvent("odd.%1/type?", "p1", std::nullopt, {{"notify", true}});
        QTRY_VERIFY(log.messages("AppState").contains(u"realtime: odd.%1/type? notify=1"_qs));
    }
};

QTEST_GUILESS_MAIN(TestAppState)
#include "tst_appstate.moc"
