#include "engine/ItemIdentity.h"

#include "core/Errors.h"
#include "engine/MoveRefusal.h"
#include "json/JsonText.h"

namespace tessel {

std::string identityString(const FileAttributes& attributes) {
  if (!attributes.device || !attributes.inode) throw refusal(MoveRefusal::cannotIdentify);
  return std::to_string(*attributes.device) + ":" + std::to_string(*attributes.inode) + ":" +
         shortestDecimal(attributes.birthTime.value_or(0.0));
}

std::string fileIdentity(const std::string& path, Platform& platform) {
  return identityString(platform.attributesOfItem(path));
}

bool itemExists(const std::string& path, Platform& platform) {
  return platform.probeItem(path).has_value();
}

}  // namespace tessel
