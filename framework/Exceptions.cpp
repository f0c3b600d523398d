#include "framework/Exceptions.h"

namespace Quorvane {

RuntimeException::RuntimeException(String message) : m_message(std::move(message)) {}

} // namespace Quorvane
