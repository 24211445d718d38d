// A titled group that the user expands and collapses; collapsed at first.
#pragma once

#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace tessel {

class DisclosureGroup : public QWidget {
  Q_OBJECT

 public:
  explicit DisclosureGroup(const QString& title, QWidget* parent = nullptr);

  bool expanded() const { return toggle_->isChecked(); }
  void setExpanded(bool expanded) { toggle_->setChecked(expanded); }
  // Where the group's rows go.
  QVBoxLayout* content() const { return contentLayout_; }
  QToolButton* toggle() const { return toggle_; }

 private:
  QToolButton* toggle_;
  QWidget* body_;
  QVBoxLayout* contentLayout_;
};

}  // namespace tessel
