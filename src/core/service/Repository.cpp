#include "Repository.h"

namespace kv {

// NOLINTBEGIN(bugprone-macro-parentheses): a type, a name and parenthesised lists
#define KV_FORWARD_OPERATION(Result, name, parameters, arguments)                                  \
    QCoro::Task<ApiResult<Result>> LiveRepository::name parameters {                               \
        co_return co_await api->name arguments;                                                    \
    }
KV_REPOSITORY_OPERATIONS(KV_FORWARD_OPERATION)
#undef KV_FORWARD_OPERATION
// NOLINTEND(bugprone-macro-parentheses)

} // namespace kv
