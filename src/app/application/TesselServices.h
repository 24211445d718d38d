// The application delegate: decides whether the host shows itself or stays in the background,
// offers the Services entry (`tessel --service ...`), and hands what arrives from outside to
// the model. It never owns the model.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdint>
#include <optional>

#include "application/Presentation.h"
#include "model/AppModel.h"

namespace tessel {

class TesselServices : public QObject {
  Q_OBJECT

 public:
  // `arguments` are the process's command-line arguments.
  TesselServices(const QStringList& arguments, Presentation& presentation,
                 QObject* parent = nullptr);

  QPointer<AppModel> model;
  QList<QUrl> pendingSources;
  std::optional<std::int64_t> pendingFavoriteIndex;
  const bool backgroundLaunch;

  void applicationWillFinishLaunching();
  // Offers the Services entry, only in a build that is not distributed directly.
  void applicationDidFinishLaunching();
  bool applicationShouldHandleReopen(bool hasVisibleWindows);
  bool servicesRegistered() const { return servicesRegistered_; }

  // The Services entry: `items` as the file manager handed them over (non-file URLs are
  // dropped). Returns the error for the caller when no file arrived.
  std::optional<QString> moveFiles(const QList<QUrl>& items,
                                   const std::optional<QString>& userData);

  // The window's content appeared (at start-up): delivers what arrived before it.
  void contentAppeared(AppModel& appModel);
  // The wake-up URL from the file-manager extension. Returns the reason when the host did not
  // take its request up.
  std::optional<QString> openURL(const QString& url);

  void deliverPendingSources();
  void showMainWindow();
  void enterBackground();

 private:
  void queueEnterBackground();

  Presentation& presentation_;
  bool servicesRegistered_ = false;
};

}  // namespace tessel
