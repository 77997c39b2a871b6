#include "run_error.h"

#include <utility>

namespace transzendal {

RunError::RunError(const std::string& user_message, ErrorContext context)
    : std::runtime_error(user_message), context_(std::move(context)) {}

}  // namespace transzendal
