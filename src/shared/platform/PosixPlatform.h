// The real platform: POSIX and Linux system calls. The only file in Tessel that calls them.
#pragma once

#include "platform/Platform.h"

namespace tessel {

class PosixPlatform final : public Platform {
 public:
  FileAttributes attributesOfItem(const std::string& path) override;
  std::optional<FileAttributes> probeItem(const std::string& path) override;
  bool fileExists(const std::string& path) override;
  std::optional<std::string> readSymbolicLink(const std::string& path) override;
  void createDirectories(const std::string& path, mode_t mode) override;
  void moveItem(const std::string& from, const std::string& to) override;
  std::unique_ptr<OpenFolder> openFolderNoFollow(const std::string& path) override;
  FileAttributes attributesOfItemIn(const OpenFolder& folder, const std::string& name) override;
  std::optional<FileAttributes> probeItemIn(const OpenFolder& folder,
                                            const std::string& name) override;
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override;
  void syncFolder(const OpenFolder& folder) override;
  void removeItem(const std::string& path) override;
  void copyItem(const std::string& from, const std::string& to) override;
  std::vector<DirectoryEntry> contentsOfDirectory(const std::string& path) override;
  std::string readFile(const std::string& path) override;
  void writeFileAtomically(const std::string& path, std::string_view bytes,
                           Durability durability) override;

  std::optional<std::string> environment(const std::string& name) override;
  std::string modulePath() override;
  std::string homeFolder() override;
  double now() override;
  void log(const std::string& line) override;
};

}  // namespace tessel
