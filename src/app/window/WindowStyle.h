// The few looks the settings window repeats: framed panels, headings, secondary and caption
// text, dividers.
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
// A prominent button: the default look of the window's main actions.
void makeProminent(QPushButton* button);

}  // namespace tessel::WindowStyle
