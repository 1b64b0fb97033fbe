#pragma once
// Releases the values held by a container (array, class instance,
// dictionary) without recursing once per level: a chain of a hundred
// thousand nested objects must not exhaust the machine stack when it dies.

#include "script/Variant.h"

#include <vector>

namespace vbs {

void ReleaseValues(std::vector<Variant>& values);

} // namespace vbs
