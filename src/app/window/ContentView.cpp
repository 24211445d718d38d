#include "window/ContentView.h"

#include <QGuiApplication>
#include <QScrollArea>
#include <QVBoxLayout>

#include "window/FavoritesPanel.h"
#include "window/HeaderView.h"
#include "window/HelpGroup.h"
#include "window/ManualMoveGroup.h"
#include "window/MoveSettingsPanel.h"
#include "window/WindowStyle.h"

namespace tessel {

ContentView::ContentView(AppModel& model, ContentEnvironment environment, QWidget* parent)
    : QWidget(parent), model_(model), environment_(std::move(environment)) {
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);

  auto* body = new QWidget;
  auto* bodyLayout = new QVBoxLayout(body);
  bodyLayout->setContentsMargins(20, 16, 20, 16);
  bodyLayout->setSpacing(16);
  bodyLayout->addWidget(
      new FavoritesPanel(model_, environment_.importer, environment_.homeFolder, body));
  bodyLayout->addWidget(new MoveSettingsPanel(model_, body));
  auto* manualMove = new ManualMoveGroup(model_, environment_.homeFolder, body);
  manualMove_ = manualMove;
  bodyLayout->addWidget(manualMove_);
  help_ = new HelpGroup(model_, environment_.extensionModule, body);
  bodyLayout->addWidget(help_);
  bodyLayout->addStretch();

  auto* scroll = new QScrollArea(this);
  scroll->setWidget(body);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  body->setBackgroundRole(QPalette::Window);
  scroll->viewport()->setBackgroundRole(QPalette::Window);

  footer_ = new FooterView(model_, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  header_ = new HeaderView(model_, environment_.extensionModule, this);
  layout->addWidget(header_);
  layout->addWidget(WindowStyle::divider(this));
  layout->addWidget(scroll, 1);
  layout->addWidget(WindowStyle::divider(this));
  layout->addWidget(footer_);

  connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive) refreshExtensionEnabled();
          });
  connect(&mounts_, &MountWatcher::mountsChanged, &model_, &AppModel::refreshMenu);
}

bool ContentView::showingRecent() const {
  return static_cast<ManualMoveGroup*>(manualMove_)->recentGroup()->expanded();
}

bool ContentView::showingHelp() const {
  return help_->expanded();
}

void ContentView::refreshExtensionEnabled() {
  model_.setExtensionEnabled(environment_.extensionInstalled && environment_.extensionInstalled());
  // A module that appeared or went away outside Files' folder changes the advice, not the state.
  header_->showIndicator();
  help_->showExtensionHint();
}

void ContentView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refreshExtensionEnabled();
}

}  // namespace tessel
