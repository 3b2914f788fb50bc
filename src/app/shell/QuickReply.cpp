#include "QuickReply.h"

#include "AppStateForeign.h"
#include "UiTexts.h"

#include <QPointer>

namespace kv {

bool QuickReply::canSend(const QString& text) const {
    return !m_sending && !text.trimmed().isEmpty();
}

void QuickReply::send(const QString& text) {
    if (!canSend(text))
        return;
    sendTask(text.trimmed());
}

QCoro::Task<> QuickReply::sendTask(QString text) {
    QPointer self(this);
    AppState* state = AppStateForeign::instance();
    if (!state)
        co_return;
    m_sending = true;
    m_failure.clear();
    emit stateChanged();
    const ApiResult<void> outcome =
        co_await state->sendOperatorReplyDirect(m_projectID, m_conversationID, text);
    if (!self)
        co_return;
    m_sending = false;
    if (!outcome.ok())
        m_failure = UiTexts::replyNotSent(outcome.error().errorDescription());
    emit stateChanged();
    if (outcome.ok())
        emit sent();
}

} // namespace kv
