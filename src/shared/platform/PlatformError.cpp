#include "platform/PlatformError.h"

#include <cstring>

#include "core/DisplayPath.h"
#include "core/Localization.h"

namespace tessel {
namespace {

std::string systemMessage(int code) {
  char buffer[256];
  // GNU strerror_r returns a pointer that may or may not be `buffer`.
  return strerror_r(code, buffer, sizeof buffer);
}

std::string frame(FileOperation operation) {
  switch (operation) {
    case FileOperation::attributes:
      return localizedText("「%@」の属性を読み取れません: %@",
                           "Cannot read the attributes of \"%@\": %@");
    case FileOperation::createDirectory:
      return localizedText("フォルダ「%@」を作成できません: %@",
                           "Cannot create the folder \"%@\": %@");
    case FileOperation::move:
      return localizedText("「%@」を「%@」へ移動できません: %@",
                           "Cannot move \"%@\" to \"%@\": %@");
    case FileOperation::remove:
      return localizedText("「%@」を削除できません: %@", "Cannot remove \"%@\": %@");
    case FileOperation::copy:
      return localizedText("「%@」を「%@」へコピーできません: %@",
                           "Cannot copy \"%@\" to \"%@\": %@");
    case FileOperation::list:
      return localizedText("フォルダ「%@」の内容を読み取れません: %@",
                           "Cannot list the folder \"%@\": %@");
    case FileOperation::read:
      return localizedText("「%@」を読み込めません: %@", "Cannot read \"%@\": %@");
    case FileOperation::write:
      return localizedText("「%@」に書き込めません: %@", "Cannot write \"%@\": %@");
    case FileOperation::sync:
      return localizedText("フォルダ「%@」の変更をディスクに保存できません: %@",
                           "Cannot save the changes of the folder \"%@\" to disk: %@");
  }
  return {};
}

}  // namespace

PlatformError makePlatformError(int code, FileOperation operation, const std::string& path,
                                const std::string& secondPath) {
  std::vector<std::string> arguments{displayPath(path)};
  if (operation == FileOperation::move || operation == FileOperation::copy) {
    arguments.push_back(displayPath(secondPath));
  }
  arguments.push_back(systemMessage(code));
  return PlatformError(code, formatText(frame(operation), arguments));
}

}  // namespace tessel
