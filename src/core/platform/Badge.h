#pragma once

#include <QtGlobal>

namespace kv {

// The unread count shown on the application's launcher icon.
class Badge {
public:
    virtual ~Badge() = default;
    // A count below 1 clears the badge.
    virtual void setCount(qint64 count) = 0;
};

} // namespace kv
