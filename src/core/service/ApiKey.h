#pragma once

// What an API key may hold before it is put into a header. The key comes
// from outside (the sign-in exchange, the secret store, the environment): a
// line break in it would add headers of its own to every request.

#include <QStringView>

namespace kv {

// Non-empty and free of control characters (C0, DEL and C1).
bool isUsableApiKey(QStringView key);

} // namespace kv
