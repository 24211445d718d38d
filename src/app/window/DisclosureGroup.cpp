#include "window/DisclosureGroup.h"

namespace tessel {

DisclosureGroup::DisclosureGroup(const QString& title, QWidget* parent)
    : QWidget(parent), toggle_(new QToolButton(this)), body_(new QWidget(this)) {
  toggle_->setText(title);
  toggle_->setCheckable(true);
  toggle_->setAutoRaise(true);
  toggle_->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 2px 0; }"));
  toggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  toggle_->setArrowType(Qt::RightArrow);
  QFont font = toggle_->font();
  font.setBold(true);
  toggle_->setFont(font);

  contentLayout_ = new QVBoxLayout(body_);
  contentLayout_->setContentsMargins(22, 2, 0, 4);
  contentLayout_->setSpacing(6);
  body_->setVisible(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(toggle_, 0, Qt::AlignLeft);
  layout->addWidget(body_);

  connect(toggle_, &QToolButton::toggled, this, [this](bool open) {
    toggle_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    body_->setVisible(open);
  });
}

}  // namespace tessel
