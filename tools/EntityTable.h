// The HTML character entities the extended-characters dialog offers.
#pragma once

#include <array>
#include <string>

namespace vx::tools {

struct TEntity {
    const char* Name;    // "AElig"
    const char* Caption; // the character, a blank and its English description
};

// In the order the dialog builds its rows.
extern const std::array<TEntity, 69> Entities;

// "&" + name + ";"
std::string EntityText(const TEntity& entity);

} // namespace vx::tools
