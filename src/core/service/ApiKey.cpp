#include "ApiKey.h"

#include <QChar>

namespace kv {

bool isUsableApiKey(QStringView key) {
    if (key.isEmpty())
        return false;
    for (const QChar c : key) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace kv
