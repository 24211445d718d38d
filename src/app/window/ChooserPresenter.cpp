#include "window/ChooserPresenter.h"

#include <functional>

namespace tessel {

ChooserPresenter::~ChooserPresenter() {
  delete window_;
}

void ChooserPresenter::chooseDestination(const std::vector<std::string>& sources) {
  if (window_) {
    window_->setSources(sources);
  } else {
    // No file is read here: the model's own copy of the menu opens the window at once.
    auto* window = new ChooserWindow(sources, model_->publishedMenu(),
                                     std::bind_front(&ChooserPresenter::move, this));
    QObject::connect(model_, &AppModel::menuPublished, window,
                     [window, model = model_] { window->showSnapshot(model->publishedMenu()); });
    QObject::connect(window, &QDialog::finished, window, [this, window] {
      window_ = nullptr;
      window->deleteLater();
    });
    window_ = window;
  }
  bringForward();
}

void ChooserPresenter::bringForward() {
  if (window_->isMinimized()) window_->showNormal();
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void ChooserPresenter::move(const std::vector<std::string>& sources, const std::string& destination,
                            bool hierarchical, AppModel::Completion done) {
  const std::uint64_t movedBefore = model_->movesThatMovedItems();
  model_->move(sources, destination, hierarchical, [this, movedBefore, done](bool ok) {
    // Once items have moved the choice is made, even when some were skipped or the move stopped
    // part-way: the window closes. Only a move that moved nothing keeps it for another try.
    done(ok || model_->movesThatMovedItems() != movedBefore);
    // The settings window comes forward with the status line that says why, as for a request's
    // move; a chooser still open stays in front of it, since that is where the user tries again.
    model_->revealOnFailure(ok);
    if (!ok && window_) bringForward();
  });
}

}  // namespace tessel
