#include "window/WindowStyle.h"

#include <QPalette>
#include <QPushButton>

namespace tessel::WindowStyle {

void makePanel(QFrame* frame) {
  frame->setObjectName(QStringLiteral("panel"));
  frame->setStyleSheet(
      QStringLiteral("QFrame#panel { border: 1px solid palette(midlight); border-radius: 8px;"
                     " background: palette(base); }"));
}

QFrame* panel(QWidget* parent) {
  auto* frame = new QFrame(parent);
  makePanel(frame);
  return frame;
}

QFrame* divider(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Plain);
  line->setStyleSheet(QStringLiteral("color: palette(midlight);"));
  return line;
}

QLabel* heading(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * 1.15);
  font.setWeight(QFont::DemiBold);
  label->setFont(font);
  return label;
}

void makeSecondary(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
  palette.setColor(QPalette::Text, palette.color(QPalette::PlaceholderText));
  widget->setPalette(palette);
}

QLabel* secondary(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  makeSecondary(label);
  return label;
}

void makeCaption(QWidget* widget) {
  QFont font = widget->font();
  font.setPointSizeF(font.pointSizeF() * 0.88);
  widget->setFont(font);
}

void makeProminent(QPushButton* button) {
  button->setDefault(true);
  button->setAutoDefault(false);
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, palette.color(QPalette::Highlight));
  palette.setColor(QPalette::ButtonText, palette.color(QPalette::HighlightedText));
  button->setPalette(palette);
}

}  // namespace tessel::WindowStyle
