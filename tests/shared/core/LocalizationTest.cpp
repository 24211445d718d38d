#include "core/Localization.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "FaultInjectingPlatform.h"
#include "ScopedLanguage.h"
#include "TempFolder.h"
#include "core/Bundle.h"

namespace tessel {
namespace {

// A platform whose environment holds exactly `variables`.
struct Environment {
  explicit Environment(std::map<std::string, std::string> variables) {
    platform.variables = std::move(variables);
    platform.inheritsEnvironment = false;
  }
  testing::FaultInjectingPlatform platform;
};

// Gettext order (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), skipping undeclared languages and C.
TEST(PreferredLocalizations, FollowsTheUsersLanguageLists) {
  const std::vector<std::pair<std::map<std::string, std::string>, std::string>> cases{
      {{{"LANG", "ja_JP.UTF-8"}}, "ja"},
      {{{"LANGUAGE", "ja:en"}, {"LANG", "en_US.UTF-8"}}, "ja"},
      {{{"LANGUAGE", "en_GB:ja"}, {"LANG", "ja_JP.UTF-8"}}, "en"},
      {{{"LC_ALL", "ja_JP.eucJP"}, {"LANG", "en_US.UTF-8"}}, "ja"},
      {{{"LC_MESSAGES", "en_US"}, {"LANG", "ja_JP"}}, "en"},
      {{{"LANGUAGE", "fr_FR:ja"}}, "ja"},
      {{{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, "ja"},
      {{{"LC_ALL", "POSIX"}, {"LC_MESSAGES", "C.UTF-8"}}, "en"},
      {{{"LANGUAGE", ""}, {"LANG", "de_DE"}}, "en"},
      {{}, "en"},
  };
  for (const auto& [variables, first] : cases) {
    Environment environment(variables);
    EXPECT_EQ(preferredLocalizations(environment.platform).front(), first);
  }
}

TEST(LocalizedText, ChoosesJapaneseOnlyWhenJapaneseComesFirst) {
  // localizedText reads the process environment, as every deliverable does.
  for (const auto& [language, text] : {std::pair{"ja_JP:en", "日本語"}, {"en:ja", "English"}}) {
    const testing::ScopedLanguage scoped(language);
    EXPECT_EQ(localizedText("日本語", "English"), text);
  }
}

TEST(FormatText, FillsPlaceholdersInOrderAndKeepsExtraOnes) {
  EXPECT_EQ(formatText("「%@」を「%@」へ", {"a", "b"}), "「a」を「b」へ");
  EXPECT_EQ(formatText("%@ and %@", {"one"}), "one and %@");
  EXPECT_EQ(formatText("100%", {}), "100%");
}

class InfoFile : public ::testing::Test {
 protected:
  bool directWith(const std::string& content) {
    const std::string path = folder.file("info.json", content);
    Environment environment({{"TESSEL_INFO_FILE", path}});
    return DistributionMode::direct(environment.platform);
  }
  std::optional<std::string> groupWith(const std::string& content) {
    const std::string path = folder.file("info.json", content);
    Environment environment({{"TESSEL_INFO_FILE", path}});
    return Bundle::infoString("TesselAppGroup", environment.platform);
  }
  testing::TempFolder folder;
};

// Only the JSON literal true makes a direct build, and only a JSON string is an identifier.
TEST_F(InfoFile, ValuesOfTheWrongTypeConfigureNothing) {
  EXPECT_TRUE(directWith(R"({"TesselDirectDistribution":true})"));
  for (const char* content :
       {R"({"TesselDirectDistribution":false})", R"({"TesselDirectDistribution":"true"})",
        R"({"TesselDirectDistribution":1})", "{}", "not json", "[true]"}) {
    EXPECT_FALSE(directWith(content)) << content;
  }
  EXPECT_EQ(groupWith(R"({"TesselAppGroup":"group.example"})"), "group.example");
  EXPECT_EQ(groupWith(R"({"TesselAppGroup":42})"), std::nullopt);
  EXPECT_EQ(groupWith(R"({"TesselAppGroup":null})"), std::nullopt);

  Environment environment({{"TESSEL_INFO_FILE", folder.at("absent.json")}});
  EXPECT_FALSE(DistributionMode::direct(environment.platform));
}

}  // namespace
}  // namespace tessel
