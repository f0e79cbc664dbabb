#pragma once

#include "platform/automation/Variant.h"

namespace lumetra::platform::detail {

// The class registered as "VBScript.RegExp": properties IgnoreCase, Multiline, Global
// (false at first) and Pattern (empty at first); methods Execute(subject) and
// Replace(subject, replacement).
DispatchRef NewRegExp();

}  // namespace lumetra::platform::detail
