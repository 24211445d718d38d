// The host's two presentation states. Linux has no activation policy, so the policy is kept
// as plain state with the transitions of the platform it stands for: "accessory" is the
// background host, which shows no window and so has no taskbar entry; "regular" is the host
// the user opened. The windows are the real ones.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <cstdint>

#include "model/Desktop.h"

namespace tessel {

class Presentation final : public WindowPresenter {
 public:
  enum class Policy { regular, accessory };

  Policy policy() const { return policy_; }
  void setPolicy(Policy policy) { policy_ = policy; }
  // True after hideApplication() until a window is brought forward again.
  bool hidden() const { return hidden_; }
  // How many times showMainWindow() ran: a hide queued earlier compares it to tell whether a
  // reveal came in between, which the hide must then leave alone.
  std::uint64_t revealCount() const { return revealCount_; }

  // The application's windows, in list order.
  void addWindow(QWidget* window);
  QList<QWidget*> windows() const;
  bool hasVisibleWindows() const;

  // Activates the application and brings its first window that can take focus to the front.
  void showMainWindow();
  // Takes every visible window off the screen, each in list order.
  void orderOutVisibleWindows();
  void hideApplication();

  void hideVisibleWindows() override { orderOutVisibleWindows(); }
  void bringForward() override { showMainWindow(); }

 private:
  QWidget* firstWindowThatCanTakeFocus() const;
  void orderFrontFirstWindow();

  Policy policy_ = Policy::regular;
  bool hidden_ = false;
  std::uint64_t revealCount_ = 0;
  QList<QPointer<QWidget>> windows_;
};

}  // namespace tessel
