#include "window/HeaderView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "window/ThemeIcons.h"
#include "window/WindowStyle.h"
#include "window/WindowTexts.h"

namespace tessel {
namespace {

const QColor kEnabledGreen(0x26, 0xa2, 0x69);
const QColor kDisabledOrange(0xc6, 0x46, 0x00);

}  // namespace

HeaderView::HeaderView(AppModel& model, FilesModule extensionModule, QWidget* parent)
    : QWidget(parent),
      model_(model),
      extensionModule_(std::move(extensionModule)),
      indicatorIcon_(new QLabel(this)),
      indicatorText_(new QLabel(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(20, 16, 20, 14);
  layout->setSpacing(14);

  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("applicationImage"));
  image->setFixedSize(44, 44);
  image->setPixmap(QApplication::windowIcon().pixmap(44, 44));
  image->setAccessibleName(QStringLiteral("Tessel"));
  layout->addWidget(image);

  auto* titles = new QVBoxLayout;
  titles->setSpacing(0);
  auto* title = new QLabel(QStringLiteral("Tessel"), this);
  QFont font = title->font();
  font.setPointSize(24);
  font.setWeight(QFont::DemiBold);
  title->setFont(font);
  titles->addWidget(title);
  auto* tagline = WindowStyle::secondary(WindowTexts::tagline(), this);
  tagline->setWordWrap(false);
  titles->addWidget(tagline);
  layout->addLayout(titles);
  layout->addStretch();

  indicatorIcon_->setObjectName(QStringLiteral("extensionIndicatorIcon"));
  indicatorText_->setObjectName(QStringLiteral("extensionIndicator"));
  layout->addWidget(indicatorIcon_);
  layout->addWidget(indicatorText_);

  connect(&model_, &AppModel::extensionEnabledChanged, this, &HeaderView::showIndicator);
  showIndicator();
}

void HeaderView::showIndicator() {
  const bool enabled = model_.extensionEnabled();
  const QColor color = enabled ? kEnabledGreen : kDisabledOrange;
  const QString icon = enabled ? QStringLiteral("emblem-ok") : QStringLiteral("dialog-warning");
  indicatorIcon_->setPixmap(ThemeIcons::tinted(icon, color, 16).pixmap(16, 16));
  indicatorText_->setText(enabled ? WindowTexts::extensionAvailable()
                                  : WindowTexts::enableExtension());
  QPalette palette = indicatorText_->palette();
  palette.setColor(QPalette::WindowText, color);
  indicatorText_->setPalette(palette);
  // The short label cannot tell a module Files cannot load from none at all; the tooltip does.
  indicatorText_->setToolTip(
      moduleStateHeadline(moduleState(extensionModule_, model_.extensionEnabled())));
}

}  // namespace tessel
