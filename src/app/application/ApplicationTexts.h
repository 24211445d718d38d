// The application delegate's messages, each in the user's language.
#pragma once

#include <QString>
#include <cstdint>

namespace tessel::ApplicationTexts {

QString filesNotReceived();
QString serviceWhileBusy();
// For the zero-based `index`; the message counts from 1.
QString favoriteNotRegistered(std::int64_t index);
QString undoLastMove();
QString quit();
QString editMenu();
QString windowTitle();

}  // namespace tessel::ApplicationTexts
