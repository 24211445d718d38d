// The one seam between Tessel and the operating system. Everything Tessel asks of the OS goes
// through a Platform; PosixPlatform is the real one, PlatformWrapper forwards to another so a
// test can override just the call it wants to break.
//
// Every file operation throws PlatformError (errno and a description naming the path) on
// failure and has no effect when it fails, unless stated otherwise.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessel {

enum class FileType { regular, directory, symbolicLink, other };

// Attributes of an item itself (a final symbolic link is not followed).
struct FileAttributes {
  FileType type = FileType::other;
  std::optional<std::uint64_t> device;  // the volume, as makedev(major, minor)
  std::optional<std::uint64_t> inode;
  std::optional<double> birthTime;  // seconds since 1970; absent where the file system keeps none
  std::uint64_t size = 0;
  std::int64_t modificationNanoseconds = 0;  // since 1970
};

struct DirectoryEntry {
  std::string name;
  FileType type = FileType::other;  // of the entry itself, links not followed
};

// A folder held open by descriptor. Calls given one address the entries of that very folder,
// so renaming a folder on its path or swapping one for a symbolic link afterwards cannot
// redirect them. Closed when destroyed.
class OpenFolder {
 public:
  OpenFolder(int descriptor, std::string path) : descriptor_(descriptor), path_(std::move(path)) {}
  ~OpenFolder();
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  int descriptor() const { return descriptor_; }
  // The path it was opened by; used to name entries in messages.
  const std::string& path() const { return path_; }

 private:
  int descriptor_;
  std::string path_;
};

enum class Durability {
  atomic,   // readers see the old or the new content, never a mix
  durable,  // atomic, and on disk (file and folder synced) before the call returns
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The process-wide POSIX implementation.
  static Platform& standard();

  // Files.
  virtual FileAttributes attributesOfItem(const std::string& path) = 0;
  // attributesOfItem(), or none when they cannot be read for whatever reason. Never throws: a
  // test that expects "absent" as often as "present" must not pay for building an error.
  virtual std::optional<FileAttributes> probeItem(const std::string& path) = 0;
  virtual bool fileExists(const std::string& path) = 0;  // symbolic links followed
  // The target of a symbolic link; none when `path` is missing or not a link.
  virtual std::optional<std::string> readSymbolicLink(const std::string& path) = 0;
  // Makes every missing folder of `path`; `mode` applies to the folders it makes. An existing
  // folder is no error; an existing item of another kind is.
  virtual void createDirectories(const std::string& path, mode_t mode = 0755) = 0;
  // Renames within one volume and never replaces: fails with EEXIST when `to` exists, also on
  // file systems without renameat2(RENAME_NOREPLACE).
  virtual void moveItem(const std::string& from, const std::string& to) = 0;
  // Opens the folder at an absolute `path` without following a symbolic link in any of its
  // components: fails with ELOOP or ENOTDIR when one is a link (an error of the attributes
  // operation, naming `path`).
  virtual std::unique_ptr<OpenFolder> openFolderNoFollow(const std::string& path) = 0;
  // attributesOfItem() for the entry `name` of `folder`.
  virtual FileAttributes attributesOfItemIn(const OpenFolder& folder, const std::string& name) = 0;
  // probeItem() for the entry `name` of `folder`.
  virtual std::optional<FileAttributes> probeItemIn(const OpenFolder& folder,
                                                    const std::string& name) = 0;
  // moveItem() between entries of two open folders, with the same never-replace guarantee.
  virtual void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                               const OpenFolder& toFolder, const std::string& toName) = 0;
  // Puts the folder's entries on disk: once it returns, items renamed into or out of the folder
  // and items created in it stay so across a power loss.
  virtual void syncFolder(const OpenFolder& folder) = 0;
  // Deletes an item; a folder with everything in it.
  virtual void removeItem(const std::string& path) = 0;
  // Copies a file or a folder tree; fails with EEXIST when `to` exists.
  virtual void copyItem(const std::string& from, const std::string& to) = 0;
  // Entries of one folder, without "." and "..", in no particular order.
  virtual std::vector<DirectoryEntry> contentsOfDirectory(const std::string& path) = 0;
  virtual std::string readFile(const std::string& path) = 0;
  // Replaces `path` as a whole through a temporary file in the same folder.
  virtual void writeFileAtomically(const std::string& path, std::string_view bytes,
                                   Durability durability) = 0;

  // Process and session.
  virtual std::optional<std::string> environment(const std::string& name) = 0;
  // The file holding the running code: the executable, or the loaded module.
  virtual std::string modulePath() = 0;
  virtual std::string homeFolder() = 0;
  // Wall-clock time (CLOCK_REALTIME) in seconds since 1970: the only clock two processes share.
  virtual double now() = 0;
  // One English line to the system log.
  virtual void log(const std::string& line) = 0;
};

// Forwards every call to another Platform.
class PlatformWrapper : public Platform {
 public:
  explicit PlatformWrapper(Platform& target) : target_(target) {}

  FileAttributes attributesOfItem(const std::string& path) override {
    return target_.attributesOfItem(path);
  }
  std::optional<FileAttributes> probeItem(const std::string& path) override {
    return target_.probeItem(path);
  }
  bool fileExists(const std::string& path) override { return target_.fileExists(path); }
  std::optional<std::string> readSymbolicLink(const std::string& path) override {
    return target_.readSymbolicLink(path);
  }
  void createDirectories(const std::string& path, mode_t mode) override {
    target_.createDirectories(path, mode);
  }
  void moveItem(const std::string& from, const std::string& to) override {
    target_.moveItem(from, to);
  }
  std::unique_ptr<OpenFolder> openFolderNoFollow(const std::string& path) override {
    return target_.openFolderNoFollow(path);
  }
  FileAttributes attributesOfItemIn(const OpenFolder& folder, const std::string& name) override {
    return target_.attributesOfItemIn(folder, name);
  }
  std::optional<FileAttributes> probeItemIn(const OpenFolder& folder,
                                            const std::string& name) override {
    return target_.probeItemIn(folder, name);
  }
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override {
    target_.moveItemBetween(fromFolder, fromName, toFolder, toName);
  }
  void syncFolder(const OpenFolder& folder) override { target_.syncFolder(folder); }
  void removeItem(const std::string& path) override { target_.removeItem(path); }
  void copyItem(const std::string& from, const std::string& to) override {
    target_.copyItem(from, to);
  }
  std::vector<DirectoryEntry> contentsOfDirectory(const std::string& path) override {
    return target_.contentsOfDirectory(path);
  }
  std::string readFile(const std::string& path) override { return target_.readFile(path); }
  void writeFileAtomically(const std::string& path, std::string_view bytes,
                           Durability durability) override {
    target_.writeFileAtomically(path, bytes, durability);
  }
  std::optional<std::string> environment(const std::string& name) override {
    return target_.environment(name);
  }
  std::string modulePath() override { return target_.modulePath(); }
  std::string homeFolder() override { return target_.homeFolder(); }
  double now() override { return target_.now(); }
  void log(const std::string& line) override { target_.log(line); }

  Platform& target() { return target_; }

 private:
  Platform& target_;
};

}  // namespace tessel
