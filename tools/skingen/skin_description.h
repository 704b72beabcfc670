#pragma once
// The description text of the stored default skin (INI form, CR LF lines).

#include <string>

namespace skingen {

std::string skinDescription();

}  // namespace skingen
