// The host on the session bus, the desktop's way to reach a single-instance application: it
// owns the name com.quillmark.Tessel and answers org.freedesktop.Application at
// /com/quillmark/Tessel. Each call becomes the command a later start of `tessel` would hand
// over, so the bus and the local socket lead to the same place:
//
//   Activate(a{sv} platform_data)                 open the window (the reopen path)
//   Open(as uris, a{sv} platform_data)            wake-up URLs from the file-manager extension;
//                                                 answered once each request is taken up, with
//                                                 the error RequestRefused and the host's reason
//                                                 when one was not
//   ActivateAction(s name, av parameter, a{sv})   "service": the Services entry, with an
//                                                 optional favourite index (any integer type)
//                                                 and the files as byte strings (ay or aay)
//
// The desktop entry's own actions ("MoveFiles", "MoveToFavorite<n>") are the Services entry
// too, with the favourite their name gives.
#pragma once

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <functional>
#include <optional>

#include "application/LaunchCommand.h"

namespace tessel {

class ApplicationBus : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

 public:
  // Carries out one command; a non-empty reply is the reason the Services entry received
  // nothing or a request was not taken up, returned to the caller as an error.
  using Receiver = std::function<QByteArray(const LaunchCommand& command)>;

  explicit ApplicationBus(Receiver receiver, QObject* parent = nullptr);
  // Gives the name up, so that the next caller starts a new host instead of waiting for this
  // one.
  ~ApplicationBus() override;

  // Takes the name on the session bus; false without a bus or when another process owns it,
  // and the host is then reached through its socket alone.
  bool publish();

  // The Services command that an action asks for; none for an unknown action or a parameter
  // that is neither an integer nor bytes.
  static std::optional<LaunchCommand> actionCommand(const QString& name,
                                                    const QVariantList& parameter);

 public Q_SLOTS:
  void Activate(const QVariantMap& platformData);
  void Open(const QStringList& uris, const QVariantMap& platformData);
  void ActivateAction(const QString& name, const QVariantList& parameter,
                      const QVariantMap& platformData);

 private:
  Receiver receiver_;
  bool published_ = false;
};

}  // namespace tessel
