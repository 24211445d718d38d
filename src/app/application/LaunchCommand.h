// What one start of `tessel` asks of the host, read from its command line:
//
//   tessel                                       open the settings window (or bring it back)
//   tessel [--background-command] URL...         wake-up URLs from the file-manager extension
//   tessel --service [favorite:<n>] FILE...      the Services entry: move FILE... from the
//                                                file manager, into favourite n when named
//
// A second start hands its command to the running host, so the command also has a wire form.
// Paths stay the bytes the caller gave: a file name need not be valid in any encoding.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace tessel {

struct ServiceCall {
  // The entry's user data, such as "favorite:0"; none when the entry names no favourite.
  std::optional<QString> userData;
  // The received items as the file manager gave them, made absolute; each file URL carries
  // the path's bytes percent-encoded, so none is lost to a text conversion.
  QList<QUrl> items;

  bool operator==(const ServiceCall&) const = default;
};

struct LaunchCommand {
  // One of the arguments is exactly "--background-command".
  bool background = false;
  QStringList urls;
  std::optional<ServiceCall> service;

  bool operator==(const LaunchCommand&) const = default;

  // `arguments` without the program name, as the bytes of argv; relative FILE paths are taken
  // from `workingFolder`.
  static LaunchCommand parse(const QByteArrayList& arguments, const QByteArray& workingFolder);

  QByteArray encode() const;
  // None for bytes that are not an encoded command.
  static std::optional<LaunchCommand> decode(const QByteArray& bytes);
};

}  // namespace tessel
