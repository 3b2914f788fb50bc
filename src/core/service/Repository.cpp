#include "Repository.h"

namespace kv {

#define KV_FORWARD_OPERATION(Result, name, parameters, arguments)                                  \
    QCoro::Task<ApiResult<Result>> LiveRepository::name parameters {                               \
        co_return co_await api->name arguments;                                                    \
    }
KV_REPOSITORY_OPERATIONS(KV_FORWARD_OPERATION)
#undef KV_FORWARD_OPERATION

} // namespace kv
