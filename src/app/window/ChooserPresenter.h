// Puts the chooser window on the screen when the model is asked to let the user pick a folder:
// one window at a time, opened on the menu the model last published and following each new
// publication while it is open. The window's moves go through the model, as a request's move
// does.
//
// A second request while the window is open gives it the newer items (the selection the user
// made last in the file manager is the one they mean) and brings it forward; what they typed
// and highlighted stays.
#pragma once

#include <QPointer>
#include <string>
#include <vector>

#include "model/AppModel.h"
#include "model/Desktop.h"
#include "window/ChooserWindow.h"

namespace tessel {

class ChooserPresenter final : public FolderChooser {
 public:
  ChooserPresenter() = default;
  ~ChooserPresenter() override;
  ChooserPresenter(const ChooserPresenter&) = delete;
  ChooserPresenter& operator=(const ChooserPresenter&) = delete;

  // The model that asks for the window and makes its moves; attached before it carries out any
  // request.
  void attach(AppModel& model) { model_ = &model; }
  void chooseDestination(const std::vector<std::string>& sources) override;
  // The open window; null while none is.
  ChooserWindow* window() const { return window_; }

 private:
  void bringForward();
  void move(const std::vector<std::string>& sources, const std::string& destination,
            bool hierarchical, AppModel::Completion done);

  AppModel* model_ = nullptr;
  QPointer<ChooserWindow> window_;
};

}  // namespace tessel
