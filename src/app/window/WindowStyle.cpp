#include "window/WindowStyle.h"

#include <QGlyphRun>
#include <QPalette>
#include <QPushButton>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>

namespace tessel::WindowStyle {
namespace {

bool isJapanese(QChar character) {
  const QChar::Script script = character.script();
  return script == QChar::Script_Hiragana || script == QChar::Script_Katakana ||
         script == QChar::Script_Han;
}

// The family that `font` falls back to for kana on this system.
QString kanaFamily(const QFont& font) {
  QTextLayout probe(QStringLiteral("ク"), font);
  probe.beginLayout();
  probe.createLine();
  probe.endLayout();
  const QList<QGlyphRun> runs = probe.glyphRuns();
  return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

}  // namespace

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
  // Bold, not semibold: a font with only a regular face (as many Japanese ones) is drawn
  // bold by the renderer, but semibold is left regular.
  font.setWeight(QFont::Bold);
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

void keepJapaneseInOneFont(QLabel* label) {
  const QString text = label->text();
  if (std::none_of(text.begin(), text.end(), isJapanese)) return;
  QFont font = label->font();
  const QString family = kanaFamily(font);
  if (family.isEmpty() || family == font.family()) return;
  font.setFamilies({family, font.family()});
  label->setFont(font);
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
