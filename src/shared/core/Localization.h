// Bilingual texts. Every user-visible message exists in Japanese and English; the language is
// chosen on each call from the user's language list, so a change of environment takes effect
// at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel {

class Platform;

// The localizations this deliverable declares ("en", "ja"), ordered by the user's language
// list (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG; "C" and "POSIX" ignored). Never empty: with
// no match the development language "en" is returned alone.
std::vector<std::string> preferredLocalizations(Platform& platform);
std::vector<std::string> preferredLocalizations();

// Returns `ja` when the first preferred localization begins with "ja", `en` otherwise.
std::string localizedText(std::string_view ja, std::string_view en);

// While one exists, localizedText on its thread gives the English text whatever the user's
// languages: scripts name menu items by their English titles in every session.
class EnglishTextsOnThisThread {
 public:
  EnglishTextsOnThisThread();
  ~EnglishTextsOnThisThread();
  EnglishTextsOnThisThread(const EnglishTextsOnThisThread&) = delete;
  EnglishTextsOnThisThread& operator=(const EnglishTextsOnThisThread&) = delete;

 private:
  bool outer_;
};

// Replaces each "%@" in `format`, in order, by the next argument. Messages keep their
// placeholders in both languages so translators can reorder the sentence around them.
std::string formatText(std::string_view format, const std::vector<std::string>& arguments);

}  // namespace tessel
