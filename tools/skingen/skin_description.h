#pragma once
// The description text of the stored default skin, or of the second skin
// (INI form, CR LF lines).

#include <string>

#include "skin_art.h"

namespace skingen {

std::string skinDescription(SkinVariant variant);

}  // namespace skingen
