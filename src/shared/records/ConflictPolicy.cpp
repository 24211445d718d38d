#include "records/ConflictPolicy.h"

namespace tessel {

std::string_view rawValue(ConflictPolicy policy) {
  switch (policy) {
    case ConflictPolicy::keepBoth:
      return "keepBoth";
    case ConflictPolicy::skip:
      return "skip";
    case ConflictPolicy::cancel:
      return "cancel";
  }
  return {};
}

std::optional<ConflictPolicy> conflictPolicyFromRawValue(std::string_view text) {
  for (ConflictPolicy policy : kAllConflictPolicies) {
    if (rawValue(policy) == text) return policy;
  }
  return std::nullopt;
}

}  // namespace tessel
