#include "UiTexts.h"

namespace kv {

QString UiTexts::replyNotSent(const QString& reason) {
    return QStringLiteral("Reply not sent: ") + reason;
}

} // namespace kv
