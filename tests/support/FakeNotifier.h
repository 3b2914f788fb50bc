#pragma once

// A notifier that shows nothing: it records what would be posted and lets a
// test play the user's clicks and replies.

#include "platform/Notifier.h"

#include <QList>

namespace kv::test {

class FakeNotifier final : public Notifier {
    Q_OBJECT

public:
    QList<NotificationRequest> posted;
    QStringList withdrawn; // conversations whose notification was taken back
    NotificationPermission answer = NotificationPermission::authorized;

    QCoro::Task<NotificationPermission> requestAuthorization() override { co_return answer; }
    QCoro::Task<NotificationPermission> currentAuthorization() override { co_return answer; }
    QCoro::Task<std::optional<QString>> post(NotificationRequest request) override {
        posted.append(std::move(request));
        co_return std::nullopt;
    }

    void withdraw(const QString& conversationID) override { withdrawn.append(conversationID); }

    void click(const QString& projectID, std::optional<QString> conversationID) {
        emit activated(projectID, conversationID);
    }
    void reply(const QString& projectID, std::optional<QString> conversationID,
               const QString& text) {
        emit replied(projectID, conversationID, text);
    }
};

} // namespace kv::test
