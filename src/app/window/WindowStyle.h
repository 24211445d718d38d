// The few looks the settings window repeats: framed panels, headings, secondary and caption
// text, dividers, Japanese lines in one font.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace tessel::WindowStyle {

// A panel with a thin rounded frame on the view's base colour.
QFrame* panel(QWidget* parent = nullptr);
void makePanel(QFrame* frame);
QFrame* divider(QWidget* parent = nullptr);
QLabel* heading(const QString& text, QWidget* parent = nullptr);
// Text of lesser weight (the platform's placeholder colour).
QLabel* secondary(const QString& text, QWidget* parent = nullptr);
void makeSecondary(QWidget* widget);
void makeCaption(QWidget* widget);
// Draws a line with Japanese text in the font that shows its kana, spaces and symbols included.
// Qt takes the font of a space or an arrow from the script before it, so "ク → " and "先 → "
// would otherwise get arrows of different widths from two fonts. Other lines are left alone.
void keepJapaneseInOneFont(QLabel* label);
// A prominent button: the default look of the window's main actions.
void makeProminent(QPushButton* button);

}  // namespace tessel::WindowStyle
