// What a move does when an item of the same name already exists at the target.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tessel {

enum class ConflictPolicy { keepBoth, skip, cancel };

// Every case, in the order in which they are offered to the user.
inline constexpr std::array<ConflictPolicy, 3> kAllConflictPolicies{
    ConflictPolicy::keepBoth, ConflictPolicy::skip, ConflictPolicy::cancel};

std::string_view rawValue(ConflictPolicy policy);

// Only an exact, case-sensitive raw value gives a policy.
std::optional<ConflictPolicy> conflictPolicyFromRawValue(std::string_view text);

}  // namespace tessel
