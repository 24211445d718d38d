#include "application/TesselServices.h"

#include <QMetaObject>

#include "application/ApplicationTexts.h"
#include "application/FavoriteIndex.h"
#include "core/Bundle.h"
#include "model/FileUrls.h"

namespace tessel {

TesselServices::TesselServices(const QStringList& arguments, Presentation& presentation,
                               QObject* parent)
    : QObject(parent),
      backgroundLaunch(arguments.contains(QStringLiteral("--background-command"))),
      presentation_(presentation) {}

void TesselServices::applicationWillFinishLaunching() {
  if (backgroundLaunch) presentation_.setPolicy(Presentation::Policy::accessory);
}

void TesselServices::applicationDidFinishLaunching() {
  servicesRegistered_ = !DistributionMode::direct();
}

bool TesselServices::applicationShouldHandleReopen(bool /*hasVisibleWindows*/) {
  presentation_.setPolicy(Presentation::Policy::regular);
  // The user asked for the window: on Linux it takes the focus too, or it may stay behind.
  presentation_.showMainWindow();
  return true;
}

std::optional<QString> TesselServices::moveFiles(const QList<QUrl>& items,
                                                 const std::optional<QString>& userData) {
  QList<QUrl> files;
  for (const QUrl& item : items) {
    if (item.isLocalFile()) files.append(item);
  }
  if (files.isEmpty()) return ApplicationTexts::filesNotReceived();
  pendingSources = files;
  pendingFavoriteIndex = favoriteIndex(userData);
  deliverPendingSources();
  return std::nullopt;
}

void TesselServices::contentAppeared(AppModel& appModel) {
  model = &appModel;
  // Queued first, so that a window the delivered items ask for stays in front.
  if (backgroundLaunch) queueEnterBackground();
  deliverPendingSources();
}

std::optional<QString> TesselServices::openURL(const QString& url) {
  enterBackground();
  const std::optional<QString> refusal = model ? model->handleURL(url) : std::nullopt;
  queueEnterBackground();
  return refusal;
}

void TesselServices::deliverPendingSources() {
  if (pendingSources.isEmpty() || !model) return;
  if (model->busy()) {
    pendingSources.clear();
    pendingFavoriteIndex.reset();
    model->setStatus(ApplicationTexts::serviceWhileBusy());
    showMainWindow();
    return;
  }
  model->acceptServiceSources(pendingSources);
  pendingSources.clear();
  if (!pendingFavoriteIndex) {
    showMainWindow();
    return;
  }
  const std::int64_t index = *pendingFavoriteIndex;
  pendingFavoriteIndex.reset();
  const std::vector<FolderGrant>& favorites = model->settings().favorites;
  if (index < 0 || index >= static_cast<std::int64_t>(favorites.size())) {
    model->setStatus(ApplicationTexts::favoriteNotRegistered(index));
    showMainWindow();
    return;
  }
  presentation_.orderOutVisibleWindows();
  const QPointer<TesselServices> self(this);
  model->move(localPaths(model->selectedSources()), favorites[static_cast<size_t>(index)].path,
              false, [self](bool ok) {
                if (!ok && self) self->showMainWindow();
              });
}

void TesselServices::showMainWindow() {
  presentation_.showMainWindow();
}

void TesselServices::enterBackground() {
  presentation_.setPolicy(Presentation::Policy::accessory);
  presentation_.orderOutVisibleWindows();
  presentation_.hideApplication();
}

void TesselServices::queueEnterBackground() {
  // The outcome of what the wake-up started may bring the window forward (a failed move) before
  // this hide runs; the reveal is the later word and must stay.
  const std::uint64_t reveals = presentation_.revealCount();
  QMetaObject::invokeMethod(
      this,
      [this, reveals] {
        if (presentation_.revealCount() == reveals) enterBackground();
      },
      Qt::QueuedConnection);
}

}  // namespace tessel
