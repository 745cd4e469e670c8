// The printer models the catalogue knows by name, and the families its
// prefix tests cover.
#pragma once

#include <span>
#include <string_view>

namespace kt::catalogue {

// Every model name of the family, in a stable order.
std::span<const std::string_view> modelNames();

// A listed name, or a name of a family the catalogue recognises by its
// prefix ("KT-9100X2" is a KT-91 model).
bool isKnownModel(std::string_view modelKey);

} // namespace kt::catalogue
