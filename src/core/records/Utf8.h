#pragma once

// UTF-8 bytes as text, exactly. QString::fromUtf8 and a default decoder drop
// a leading U+FEFF; in a key, a body or a stream value that character is
// content and is kept.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kv {

// None when the bytes are not valid UTF-8.
std::optional<QString> strictUtf8(QByteArrayView bytes);
// Invalid sequences become U+FFFD.
QString lenientUtf8(QByteArrayView bytes);

} // namespace kv
