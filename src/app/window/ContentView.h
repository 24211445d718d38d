// The settings window's content: header, the scrolling body (favourites, move settings,
// moving from the application, help), footer. Everything it shows comes from the model and
// every change goes through it.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "model/AppModel.h"
#include "window/DisclosureGroup.h"
#include "window/ExtensionSetup.h"
#include "window/FooterView.h"
#include "window/MountWatcher.h"

namespace tessel {

class HeaderView;
class HelpGroup;

struct ContentEnvironment {
  // The folder importer for new favourites.
  OpenPanel& importer;
  // Paths inside it are shown from "~".
  QString homeFolder;
  // Where this installation's GNOME Files module is, and the folder Files loads modules from.
  FilesModule extensionModule;
  // Whether Files' folder holds the module now.
  std::function<bool()> extensionInstalled;
};

class ContentView : public QWidget {
  Q_OBJECT

 public:
  ContentView(AppModel& model, ContentEnvironment environment, QWidget* parent = nullptr);

  bool confirmDismiss() const { return footer_->confirmDismiss(); }
  bool showingManualMove() const { return manualMove_->expanded(); }
  bool showingHelp() const;
  bool showingRecent() const;
  FooterView* footer() const { return footer_; }

  // Reads again whether the file manager's extension is in place.
  void refreshExtensionEnabled();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  AppModel& model_;
  ContentEnvironment environment_;
  DisclosureGroup* manualMove_;
  HelpGroup* help_;
  HeaderView* header_;
  FooterView* footer_;
  MountWatcher mounts_;
};

}  // namespace tessel
