#include "platform/PosixPlatform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "path/PathText.h"
#include "platform/PlatformError.h"
#include "platform/SystemLog.h"

namespace tessel {
namespace {

// Closes a descriptor on every way out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports close's own failure (a late write error on some file systems).
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

FileType typeOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileType::regular;
  if (S_ISDIR(mode)) return FileType::directory;
  if (S_ISLNK(mode)) return FileType::symbolicLink;
  return FileType::other;
}

FileType typeOfDirent(unsigned char type) {
  switch (type) {
    case DT_REG:
      return FileType::regular;
    case DT_DIR:
      return FileType::directory;
    case DT_LNK:
      return FileType::symbolicLink;
    default:
      return FileType::other;
  }
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Reserves `to` with an empty item of the kind `from` is, created exclusively, then renames
// over that placeholder. Used where a file system lacks RENAME_NOREPLACE: the exclusive create
// keeps the never-replace guarantee, and the rename only ever replaces our own placeholder.
int moveOverPlaceholder(int fromFolder, const char* from, int toFolder, const char* to) {
  struct stat st;
  if (::fstatat(fromFolder, from, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  const bool directory = S_ISDIR(st.st_mode);
  if (directory) {
    if (::mkdirat(toFolder, to, 0700) != 0) return errno;
  } else {
    const int fd = ::openat(toFolder, to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    ::close(fd);
  }
  if (::renameat(fromFolder, from, toFolder, to) != 0) {
    const int error = errno;
    ::unlinkat(toFolder, to, directory ? AT_REMOVEDIR : 0);
    return error;
  }
  return 0;
}

// A rename that never replaces `to`; 0 or the errno of the failure.
int moveWithoutReplacing(int fromFolder, const char* from, int toFolder, const char* to) {
  if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) return 0;
  const int error = errno;
  if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
    return moveOverPlaceholder(fromFolder, from, toFolder, to);
  }
  return error;
}

// Attributes of `name` relative to `folder` (AT_FDCWD for a path); the final link not followed.
// None, with errno set, when they cannot be read.
std::optional<FileAttributes> readAttributes(int folder, const char* name) {
  struct statx sx;
  const unsigned mask = STATX_TYPE | STATX_INO | STATX_SIZE | STATX_BTIME | STATX_MTIME;
  if (::statx(folder, name, AT_SYMLINK_NOFOLLOW, mask, &sx) != 0) return std::nullopt;
  FileAttributes attributes;
  attributes.type = typeOfMode(sx.stx_mode);
  attributes.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
  if (sx.stx_mask & STATX_INO) attributes.inode = sx.stx_ino;
  if (sx.stx_mask & STATX_BTIME) {
    attributes.birthTime =
        static_cast<double>(sx.stx_btime.tv_sec) + static_cast<double>(sx.stx_btime.tv_nsec) / 1e9;
  }
  attributes.size = sx.stx_size;
  attributes.modificationNanoseconds =
      static_cast<std::int64_t>(sx.stx_mtime.tv_sec) * 1000000000 + sx.stx_mtime.tv_nsec;
  return attributes;
}

FileAttributes attributesAt(int folder, const char* name, const std::string& shownPath) {
  std::optional<FileAttributes> attributes = readAttributes(folder, name);
  if (!attributes) throw makePlatformError(errno, FileOperation::attributes, shownPath);
  return *attributes;
}

// An entry name of an open folder must be one plain component: anything else could reach
// outside the folder.
bool isPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void copyFile(const std::string& from, const std::string& to, mode_t mode) {
  FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.valid()) throw makePlatformError(errno, FileOperation::copy, from, to);
  FileDescriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777));
  if (!out.valid()) throw makePlatformError(errno, FileOperation::copy, from, to);
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t count = ::read(in.get(), buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw makePlatformError(errno, FileOperation::copy, from, to);
    }
    if (!writeAll(out.get(), std::string_view(buffer, static_cast<size_t>(count)))) {
      throw makePlatformError(errno, FileOperation::copy, from, to);
    }
  }
  if (out.close() != 0) throw makePlatformError(errno, FileOperation::copy, from, to);
}

}  // namespace

Platform& Platform::standard() {
  static PosixPlatform platform;
  return platform;
}

FileAttributes PosixPlatform::attributesOfItem(const std::string& path) {
  return attributesAt(AT_FDCWD, path.c_str(), path);
}

std::optional<FileAttributes> PosixPlatform::probeItem(const std::string& path) {
  return readAttributes(AT_FDCWD, path.c_str());
}

bool PosixPlatform::fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

std::optional<std::string> PosixPlatform::readSymbolicLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return std::nullopt;
    if (static_cast<size_t>(length) < target.size()) {
      target.resize(static_cast<size_t>(length));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

void PosixPlatform::createDirectories(const std::string& path, mode_t mode) {
  if (isDirectory(path)) return;
  const std::string parent = parentPath(path);
  if (parent != path) createDirectories(parent, mode);
  if (::mkdir(path.c_str(), mode) != 0) {
    const int error = errno;
    // Someone else made it in the meantime: still no error.
    if (error == EEXIST && isDirectory(path)) return;
    throw makePlatformError(error == EEXIST ? ENOTDIR : error, FileOperation::createDirectory,
                            path);
  }
}

void PosixPlatform::moveItem(const std::string& from, const std::string& to) {
  const int error = moveWithoutReplacing(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str());
  if (error != 0) throw makePlatformError(error, FileOperation::move, from, to);
}

OpenFolder::~OpenFolder() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

std::unique_ptr<OpenFolder> PosixPlatform::openFolderNoFollow(const std::string& path) {
  if (path.empty() || path.front() != '/') {
    throw makePlatformError(EINVAL, FileOperation::attributes, path);
  }
  // One component at a time with O_NOFOLLOW: the kernel refuses a link at any step, so the
  // folder reached is the one at this very path. O_PATH needs no read permission on the way.
  const int flags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  auto folder = std::make_unique<OpenFolder>(::open("/", flags), path);
  int error = folder->descriptor() < 0 ? errno : 0;
  for (const std::string& component : pathComponents(standardizedPath(path))) {
    if (error != 0) break;
    const int next = ::openat(folder->descriptor(), component.c_str(), flags);
    error = next < 0 ? errno : 0;
    // O_PATH with O_NOFOLLOW reaches the link itself, which O_DIRECTORY then refuses as "not a
    // directory"; say what it is.
    struct stat st;
    if (error == ENOTDIR &&
        ::fstatat(folder->descriptor(), component.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(st.st_mode)) {
      error = ELOOP;
    }
    folder = std::make_unique<OpenFolder>(next, path);
  }
  if (error != 0) throw makePlatformError(error, FileOperation::attributes, path);
  return folder;
}

FileAttributes PosixPlatform::attributesOfItemIn(const OpenFolder& folder,
                                                 const std::string& name) {
  const std::string shown = joinPath(folder.path(), name);
  if (!isPlainName(name)) throw makePlatformError(EINVAL, FileOperation::attributes, shown);
  return attributesAt(folder.descriptor(), name.c_str(), shown);
}

std::optional<FileAttributes> PosixPlatform::probeItemIn(const OpenFolder& folder,
                                                         const std::string& name) {
  if (!isPlainName(name)) return std::nullopt;
  return readAttributes(folder.descriptor(), name.c_str());
}

void PosixPlatform::moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                                    const OpenFolder& toFolder, const std::string& toName) {
  const int error = isPlainName(fromName) && isPlainName(toName)
                        ? moveWithoutReplacing(fromFolder.descriptor(), fromName.c_str(),
                                               toFolder.descriptor(), toName.c_str())
                        : EINVAL;
  if (error != 0) {
    throw makePlatformError(error, FileOperation::move, joinPath(fromFolder.path(), fromName),
                            joinPath(toFolder.path(), toName));
  }
}

void PosixPlatform::syncFolder(const OpenFolder& folder) {
  // A descriptor opened with O_PATH cannot be synced; the folder is opened again through it,
  // so the folder synced is the one held, whatever its path leads to now.
  FileDescriptor directory(::openat(folder.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!directory.valid() || ::fsync(directory.get()) != 0) {
    throw makePlatformError(errno, FileOperation::sync, folder.path());
  }
}

void PosixPlatform::removeItem(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) throw makePlatformError(errno, FileOperation::remove, path);
  if (S_ISDIR(st.st_mode)) {
    for (const DirectoryEntry& entry : contentsOfDirectory(path)) {
      removeItem(joinPath(path, entry.name));
    }
    if (::rmdir(path.c_str()) != 0) throw makePlatformError(errno, FileOperation::remove, path);
  } else if (::unlink(path.c_str()) != 0) {
    throw makePlatformError(errno, FileOperation::remove, path);
  }
}

void PosixPlatform::copyItem(const std::string& from, const std::string& to) {
  struct stat st;
  if (::lstat(from.c_str(), &st) != 0)
    throw makePlatformError(errno, FileOperation::copy, from, to);
  if (S_ISDIR(st.st_mode)) {
    if (::mkdir(to.c_str(), st.st_mode & 07777) != 0) {
      throw makePlatformError(errno, FileOperation::copy, from, to);
    }
    for (const DirectoryEntry& entry : contentsOfDirectory(from)) {
      copyItem(joinPath(from, entry.name), joinPath(to, entry.name));
    }
  } else if (S_ISLNK(st.st_mode)) {
    const std::optional<std::string> target = readSymbolicLink(from);
    if (!target || ::symlink(target->c_str(), to.c_str()) != 0) {
      throw makePlatformError(target ? errno : EIO, FileOperation::copy, from, to);
    }
  } else if (S_ISREG(st.st_mode)) {
    copyFile(from, to, st.st_mode);
  } else {
    throw makePlatformError(ENOTSUP, FileOperation::copy, from, to);
  }
}

std::vector<DirectoryEntry> PosixPlatform::contentsOfDirectory(const std::string& path) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
  if (!dir) throw makePlatformError(errno, FileOperation::list, path);
  std::vector<DirectoryEntry> entries;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (entry == nullptr) {
      if (errno != 0) throw makePlatformError(errno, FileOperation::list, path);
      break;
    }
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    FileType type = typeOfDirent(entry->d_type);
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        type = typeOfMode(st.st_mode);
      }
    }
    entries.push_back({name, type});
  }
  return entries;
}

std::string PosixPlatform::readFile(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) throw makePlatformError(errno, FileOperation::read, path);
  std::string content;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count == 0) return content;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw makePlatformError(errno, FileOperation::read, path);
    }
    content.append(buffer, static_cast<size_t>(count));
  }
}

void PosixPlatform::writeFileAtomically(const std::string& path, std::string_view bytes,
                                        Durability durability) {
  const std::string folder = parentPath(path);
  std::string temporary = joinPath(folder, "." + lastComponent(path) + ".tmp-XXXXXX");
  FileDescriptor fd(::mkstemp(temporary.data()));
  if (!fd.valid()) throw makePlatformError(errno, FileOperation::write, path);
  const bool durable = durability == Durability::durable;
  const auto fail = [&](int error) {
    ::unlink(temporary.c_str());
    return makePlatformError(error, FileOperation::write, path);
  };
  if (!writeAll(fd.get(), bytes)) throw fail(errno);
  if (durable && ::fsync(fd.get()) != 0) throw fail(errno);
  if (fd.close() != 0) throw fail(errno);
  if (::rename(temporary.c_str(), path.c_str()) != 0) throw fail(errno);
  if (durable) {
    // The rename is on disk only once the folder is: without this a power loss could bring
    // back the old content after a caller was told the new one was safe.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.valid() || ::fsync(directory.get()) != 0) {
      throw makePlatformError(errno, FileOperation::write, path);
    }
  }
}

std::optional<std::string> PosixPlatform::environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string PosixPlatform::modulePath() {
  // dladdr names the shared object holding this function when Tessel runs inside a loaded
  // module (the file manager's extension); for an executable /proc/self/exe is exact.
  Dl_info info;
  if (::dladdr(reinterpret_cast<void*>(&Platform::standard), &info) != 0 &&
      info.dli_fname != nullptr &&
      std::string_view(info.dli_fname).find(".so") != std::string_view::npos) {
    if (char* resolved = ::realpath(info.dli_fname, nullptr)) {
      std::string path = resolved;
      std::free(resolved);
      return path;
    }
  }
  return readSymbolicLink("/proc/self/exe").value_or(std::string());
}

std::string PosixPlatform::homeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  struct passwd entry;
  struct passwd* result = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &result) == 0 && result != nullptr) {
    return result->pw_dir;
  }
  return "/";
}

double PosixPlatform::now() {
  timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void PosixPlatform::log(const std::string& line) {
  SystemLog::write(line);
}

}  // namespace tessel
