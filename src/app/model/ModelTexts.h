// The host model's messages, each in the user's language (Japanese or English).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessel::ModelTexts {

std::string ready();
std::string renewNamedAccess(const std::string& name);
std::string renewAccess();
std::string selectFolder();
std::string allowSourceFolderPrompt();
std::string moveInProgress();
std::string moving();
// "Moved m, skipped s. " with "Stopped: <failure>" after it when the batch stopped part-way.
std::string moveFinished(std::int64_t moved, std::int64_t skipped,
                         const std::optional<std::string>& failure);
std::string undoFinished(std::int64_t count);
std::string receivedServiceItems(std::int64_t count);
std::string unknownOperation();
std::string cannotOpenDestination();
std::string fileManagerRefused();

}  // namespace tessel::ModelTexts
