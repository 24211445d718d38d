#include "core/Localization.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/Platform.h"

namespace tessel {
namespace {

// The localizations every Tessel deliverable ships; "en" is the development language.
constexpr std::array<std::string_view, 2> kDeclaredLocalizations{"en", "ja"};
constexpr std::string_view kDevelopmentLocalization = "en";

thread_local bool englishOnThisThread = false;

// "ja_JP.UTF-8@x" -> "ja"; "C", "POSIX" and their variants give "".
std::string languageOf(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale == "C" || locale == "POSIX") return {};
  std::string language(locale.substr(0, locale.find_first_of("_-")));
  std::transform(language.begin(), language.end(), language.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return language;
}

// The user's languages in order of preference, as gettext reads them.
std::vector<std::string> userLanguages(Platform& platform) {
  std::vector<std::string> locales;
  if (const auto list = platform.environment("LANGUAGE")) {
    size_t start = 0;
    while (start <= list->size()) {
      const size_t end = std::min(list->find(':', start), list->size());
      locales.push_back(list->substr(start, end - start));
      start = end + 1;
    }
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const auto value = platform.environment(name)) locales.push_back(*value);
  }
  std::vector<std::string> languages;
  for (const std::string& locale : locales) {
    std::string language = languageOf(locale);
    if (!language.empty()) languages.push_back(std::move(language));
  }
  return languages;
}

}  // namespace

std::vector<std::string> preferredLocalizations(Platform& platform) {
  std::vector<std::string> preferred;
  for (const std::string& language : userLanguages(platform)) {
    const bool declared = std::find(kDeclaredLocalizations.begin(), kDeclaredLocalizations.end(),
                                    language) != kDeclaredLocalizations.end();
    const bool listed = std::find(preferred.begin(), preferred.end(), language) != preferred.end();
    if (declared && !listed) preferred.push_back(language);
  }
  if (preferred.empty()) preferred.emplace_back(kDevelopmentLocalization);
  return preferred;
}

std::vector<std::string> preferredLocalizations() {
  return preferredLocalizations(Platform::standard());
}

EnglishTextsOnThisThread::EnglishTextsOnThisThread() : outer_(englishOnThisThread) {
  englishOnThisThread = true;
}

EnglishTextsOnThisThread::~EnglishTextsOnThisThread() {
  englishOnThisThread = outer_;
}

std::string localizedText(std::string_view ja, std::string_view en) {
  if (englishOnThisThread) return std::string(en);
  const std::vector<std::string> preferred = preferredLocalizations();
  const bool japanese = !preferred.empty() && preferred.front().compare(0, 2, "ja") == 0;
  return std::string(japanese ? ja : en);
}

std::string formatText(std::string_view format, const std::vector<std::string>& arguments) {
  std::string result;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '@' &&
        next < arguments.size()) {
      result += arguments[next++];
      ++i;
    } else {
      result += format[i];
    }
  }
  return result;
}

}  // namespace tessel
