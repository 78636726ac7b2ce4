// How LoadConfig reads each key of config.json into the settings, and what it refuses.
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "config/load_config.h"
#include "config/plugin_settings.h"
#include "config/setting_reading.h"
#include "config_fixture.h"

namespace {

using configtest::ConfigFixture;
using configtest::CurrentSettings;
using configtest::ExpectSameSettings;
using configtest::kFirstRelativePlace;
using configtest::LoadedLine;
using configtest::NonDefaultSettings;
using configtest::StoreSettings;
using tinyhorde::ConfigLoadStatus;
using tinyhorde::Settings;

std::string RangeWarning(const std::string& key, const std::string& shown) {
  return "[Tinyhorde] Ignoring " + key + " = " + shown + ": a scale must lie between 0.01 and 10.";
}

// The text nlohmann gives for text read from a stream, as LoadConfig reads it; empty when it
// parses.
std::string ParseErrorOf(const std::string& text) {
  std::istringstream in(text);
  try {
    const nlohmann::json parsed = nlohmann::json::parse(in);
    (void)parsed;
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

// --- The two global scales -------------------------------------------------------------------

TEST_F(ConfigFixture, EmptyObjectMovesOnlyTheCameraScale) {
  StoreSettings(NonDefaultSettings());
  const auto outcome = LoadText("{}");
  EXPECT_EQ(outcome.status, ConfigLoadStatus::Loaded);
  EXPECT_EQ(outcome.path, kFirstRelativePlace);
  Settings expected = NonDefaultSettings();
  expected.DefaultCameraArmScale = expected.DefaultScale;
  ExpectSameSettings(expected, CurrentSettings());
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{LoadedLine(false, 26, 3)});
}

TEST_F(ConfigFixture, EmptyObjectOverDefaultsReportsTheDefaultEntries) {
  EXPECT_EQ(LoadText("{}").status, ConfigLoadStatus::Loaded);
  ExpectSameSettings(Settings{}, CurrentSettings());
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{LoadedLine(true, 25, 1)});
}

TEST_F(ConfigFixture, ScaleAloneSetsBothScales) {
  LoadText(R"({"Scale": 0.3})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.3);
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.3);
}

TEST_F(ConfigFixture, DefaultScaleBeatsScale) {
  LoadText(R"({"Scale": 0.3, "DefaultScale": 0.4})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.4);
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.4);
}

TEST_F(ConfigFixture, DefaultScaleAsStringFallsBackToScale) {
  LoadText(R"({"DefaultScale": "0.4", "Scale": 0.3})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.3);
}

TEST_F(ConfigFixture, DefaultScaleAsStringAloneLeavesTheScale) {
  StoreSettings(NonDefaultSettings());
  LoadText(R"({"DefaultScale": "0.4"})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.3);
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.3);
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{LoadedLine(false, 26, 3)});
}

TEST_F(ConfigFixture, IntegerScaleIsANumber) {
  LoadText(R"({"DefaultScale": 2})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 2.0);
}

TEST_F(ConfigFixture, CameraArmScaleSetsOnlyTheCamera) {
  LoadText(R"({"DefaultScale": 0.4, "CameraArmScale": 0.8})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.4);
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.8);
}

TEST_F(ConfigFixture, DefaultCameraArmScaleBeatsCameraArmScale) {
  LoadText(R"({"CameraArmScale": 0.8, "DefaultCameraArmScale": 0.6})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.5);
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.6);
}

TEST_F(ConfigFixture, KeyNamesAreCaseSensitive) {
  StoreSettings(NonDefaultSettings());
  LoadText(R"({"defaultscale": 0.4, "cameraarmscale": 0.8, "onlytamed": true,
               "applydelayseconds": 9, "debuglog": true, "targetblueprints": [],
               "creaturescales": {"rex": 0.2}})");
  Settings expected = NonDefaultSettings();
  expected.DefaultCameraArmScale = expected.DefaultScale;
  ExpectSameSettings(expected, CurrentSettings());
}

// --- The range rule --------------------------------------------------------------------------

struct OutOfRange {
  const char* literal;  // as written in the file
  const char* shown;    // as the warning writes it
};

void PrintTo(const OutOfRange& c, std::ostream* os) {
  *os << c.literal;
}

class ScaleRange : public ConfigFixture, public ::testing::WithParamInterface<OutOfRange> {
 protected:
  std::string Value() const { return GetParam().literal; }
  std::string Warning(const std::string& key) const { return RangeWarning(key, GetParam().shown); }
};

TEST_P(ScaleRange, RejectedDefaultScaleFallsBackToScale) {
  LoadText(R"({"DefaultScale": )" + Value() + R"(, "Scale": 0.3})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.3);
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.3);
  EXPECT_EQ(TakeLogLines(),
            (std::vector<std::string>{Warning("DefaultScale"), LoadedLine(true, 25, 1)}));
}

TEST_P(ScaleRange, RejectedScaleLeavesTheScale) {
  StoreSettings(NonDefaultSettings());
  LoadText(R"({"Scale": )" + Value() + "}");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.3);
  EXPECT_EQ(TakeLogLines(), (std::vector<std::string>{Warning("Scale"), LoadedLine(false, 26, 3)}));
}

TEST_P(ScaleRange, BothRejectedWarnTwice) {
  LoadText(R"({"DefaultScale": )" + Value() + R"(, "Scale": )" + Value() + "}");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.5);
  EXPECT_EQ(TakeLogLines(), (std::vector<std::string>{Warning("DefaultScale"), Warning("Scale"),
                                                      LoadedLine(true, 25, 1)}));
}

TEST_P(ScaleRange, RejectedDefaultCameraArmScaleFallsBackToCameraArmScale) {
  LoadText(R"({"DefaultScale": 0.4, "DefaultCameraArmScale": )" + Value() +
           R"(, "CameraArmScale": 0.8})");
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.8);
  EXPECT_EQ(TakeLogLines(),
            (std::vector<std::string>{Warning("DefaultCameraArmScale"), LoadedLine(true, 25, 1)}));
}

TEST_P(ScaleRange, RejectedCameraArmScaleFallsBackToDefaultScale) {
  StoreSettings(NonDefaultSettings());
  LoadText(R"({"DefaultScale": 0.4, "CameraArmScale": )" + Value() + "}");
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 0.4);
  EXPECT_EQ(TakeLogLines(),
            (std::vector<std::string>{Warning("CameraArmScale"), LoadedLine(false, 26, 3)}));
}

TEST_P(ScaleRange, RejectedCreatureScaleKeepsTheEntryAndNamesItAsWritten) {
  LoadText(R"({"CreatureScales": {"Giga": )" + Value() + R"(, "Rex": )" + Value() +
           R"(, "rhynio": 0.6}})");
  const Settings now = CurrentSettings();
  EXPECT_EQ(now.CreatureScales.at("giga"), 0.75);
  EXPECT_EQ(now.CreatureScales.count("rex"), 0u);
  EXPECT_EQ(now.CreatureScales.at("rhynio"), 0.6);
  EXPECT_EQ(TakeLogLines(),
            (std::vector<std::string>{Warning("CreatureScales.Giga"), Warning("CreatureScales.Rex"),
                                      LoadedLine(true, 25, 1)}));
}

INSTANTIATE_TEST_SUITE_P(
    OutsideTheOpenRange, ScaleRange,
    ::testing::Values(OutOfRange{"0", "0"}, OutOfRange{"0.0", "0"}, OutOfRange{"-1", "-1"},
                      OutOfRange{"10", "10"}, OutOfRange{"10.0", "10"}, OutOfRange{"0.01", "0.01"},
                      OutOfRange{"1e300", "1e+300"},
                      OutOfRange{"18446744073709551615", "1.8446744073709552e+19"}));

TEST_F(ConfigFixture, ScalesJustInsideTheRangeAreTaken) {
  LoadText(R"({"DefaultScale": 0.0100001, "CameraArmScale": 9.999,
               "CreatureScales": {"rex": 9.999}})");
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.0100001);
  EXPECT_EQ(CurrentSettings().DefaultCameraArmScale, 9.999);
  EXPECT_EQ(CurrentSettings().CreatureScales.at("rex"), 9.999);
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{LoadedLine(true, 26, 1)});
}

// A number too large for a double: this JSON library refuses it while parsing (then nothing is
// applied), or gives infinity, which the range rule refuses.
TEST_F(ConfigFixture, OverflowingNumberChangesNothing) {
  const std::string text = R"({"DefaultScale": 1e400, "Scale": 0.3})";
  StoreSettings(NonDefaultSettings());
  const auto outcome = LoadText(text);
  const std::string parseError = ParseErrorOf(text);
  if (!parseError.empty()) {
    EXPECT_EQ(outcome.status, ConfigLoadStatus::Failed);
    EXPECT_EQ(outcome.message, parseError);
    ExpectSameSettings(NonDefaultSettings(), CurrentSettings());
  } else {
    EXPECT_EQ(outcome.status, ConfigLoadStatus::Loaded);
    EXPECT_EQ(TakeLogLines().front(), RangeWarning("DefaultScale", "inf"));
    EXPECT_EQ(CurrentSettings().DefaultScale, 0.3);
  }
}

// --- CreatureScales --------------------------------------------------------------------------

TEST_F(ConfigFixture, CreatureScalesMergeLoweredNamesAndSkipNonNumbers) {
  LoadText(R"({"CreatureScales": {"Rex": 0.3, "Bronto": "0.1", "dreadnought": 0.2,
                                   "Paracer": null, "Carcha": {"x": 1}}})");
  Settings expected;
  expected.CreatureScales["rex"] = 0.3;
  expected.CreatureScales["dreadnought"] = 0.2;
  ExpectSameSettings(expected, CurrentSettings());
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{LoadedLine(true, 26, 1)});
}

// Names are visited in byte order, not file order, so the last of them in byte order wins.
TEST_F(ConfigFixture, NamesThatLowerAlikeTakeTheLastInByteOrder) {
  LoadText(R"({"CreatureScales": {"giga": 0.9, "Giga": 0.6}})");
  EXPECT_EQ(CurrentSettings().CreatureScales.at("giga"), 0.9);
  LoadText(R"({"CreatureScales": {"Giga": 0.6, "GIGA": 0.5}})");
  EXPECT_EQ(CurrentSettings().CreatureScales.at("giga"), 0.6);
  EXPECT_EQ(CurrentSettings().CreatureScales.size(), 25u);
}

TEST_F(ConfigFixture, CreatureScalesNotAnObjectLeaveTheTable) {
  LoadText(R"({"CreatureScales": [["rex", 0.3]]})");
  ExpectSameSettings(Settings{}, CurrentSettings());
}

TEST_F(ConfigFixture, EntrySetByCommandSurvivesReload) {
  tinyhorde::SetCreatureScale("Rex", 0.3);
  LoadText(R"({"CreatureScales": {"giga": 0.6}})");
  EXPECT_EQ(CurrentSettings().CreatureScales.at("rex"), 0.3);
  EXPECT_EQ(CurrentSettings().CreatureScales.at("giga"), 0.6);
  LoadText("{}");
  EXPECT_EQ(CurrentSettings().CreatureScales.at("rex"), 0.3);
  EXPECT_EQ(TakeLogLines(),
            (std::vector<std::string>{LoadedLine(true, 26, 1), LoadedLine(true, 26, 1)}));
}

// --- TargetBlueprints ------------------------------------------------------------------------

TEST_F(ConfigFixture, EmptyBlueprintArrayEmptiesTheList) {
  LoadText(R"({"TargetBlueprints": []})");
  EXPECT_TRUE(CurrentSettings().TargetBlueprints.empty());
}

TEST_F(ConfigFixture, BlueprintArrayReplacesTheList) {
  LoadText(R"({"TargetBlueprints": ["Rex_Character_BP"]})");
  EXPECT_EQ(CurrentSettings().TargetBlueprints, std::vector<std::string>{"Rex_Character_BP"});
}

TEST_F(ConfigFixture, BlueprintNonStringsAreSkippedAndCaseKept) {
  LoadText(R"({"TargetBlueprints": [1, "Giga_BP", null, ["x"], "rex_bp", "Giga_BP"]})");
  EXPECT_EQ(CurrentSettings().TargetBlueprints,
            (std::vector<std::string>{"Giga_BP", "rex_bp", "Giga_BP"}));
}

TEST_F(ConfigFixture, BlueprintsNotAnArrayLeaveTheList) {
  LoadText(R"({"TargetBlueprints": "Rex_Character_BP"})");
  LoadText(R"({"TargetBlueprints": {"0": "Rex_Character_BP"}})");
  EXPECT_EQ(CurrentSettings().TargetBlueprints, Settings{}.TargetBlueprints);
}

// --- ExcludedBlueprints ----------------------------------------------------------------------

// Read as TargetBlueprints is, except that an empty entry, which would exclude every creature, is
// dropped with a warning. Each load starts from NonDefaultSettings.
struct ExclusionLoadCase {
  const char* name;
  const char* value;                  // of "ExcludedBlueprints"; null: the key is misspelt
  std::vector<std::string> expected;  // the list afterwards
  int warnings;                       // empty entries warned about
};

void PrintTo(const ExclusionLoadCase& c, std::ostream* os) {
  *os << c.name;
}

class ExclusionLoad : public ConfigFixture,
                      public ::testing::WithParamInterface<ExclusionLoadCase> {};

TEST_P(ExclusionLoad, ReplacesTheListOrKeepsIt) {
  const auto& c = GetParam();
  StoreSettings(NonDefaultSettings());
  LoadText(c.value != nullptr ? std::string(R"({"ExcludedBlueprints": )") + c.value + "}"
                              : R"({"excludedBlueprints": ["Giga"]})");
  Settings expected = NonDefaultSettings();
  expected.DefaultCameraArmScale = expected.DefaultScale;
  expected.ExcludedBlueprints = c.expected;
  ExpectSameSettings(expected, CurrentSettings());
  std::vector<std::string> lines(
      static_cast<std::size_t>(c.warnings),
      "[Tinyhorde] Ignoring an empty ExcludedBlueprints entry: it would exclude every creature.");
  lines.push_back(LoadedLine(false, 26, 3));
  EXPECT_EQ(TakeLogLines(), lines);
}

const std::vector<std::string> kKeptExclusions = NonDefaultSettings().ExcludedBlueprints;

INSTANTIATE_TEST_SUITE_P(
    Values, ExclusionLoad,
    ::testing::Values(
        ExclusionLoadCase{"AnArrayReplacesTheList", R"(["Giga_BP", "rex"])", {"Giga_BP", "rex"}, 0},
        ExclusionLoadCase{"NonStringsAreSkippedAndCaseKept",
                          R"([1, "Giga_BP", null, ["x"], {"a": "b"}, true, "Giga_BP"])",
                          {"Giga_BP", "Giga_BP"},
                          0},
        ExclusionLoadCase{
            "EmptyEntriesAreDroppedWithAWarningEach", R"(["", "Rhynio", ""])", {"Rhynio"}, 2},
        ExclusionLoadCase{"OnlyAnEmptyEntryEmptiesTheList", R"([""])", {}, 1},
        ExclusionLoadCase{"AnEmptyArrayEmptiesTheList", "[]", {}, 0},
        ExclusionLoadCase{"ASpaceIsNoEmptyEntry", R"([" "])", {" "}, 0},
        ExclusionLoadCase{"AStringKeepsTheList", R"("Giga")", kKeptExclusions, 0},
        ExclusionLoadCase{"AnObjectKeepsTheList", R"({"0": "Giga"})", kKeptExclusions, 0},
        ExclusionLoadCase{"NullKeepsTheList", "null", kKeptExclusions, 0},
        ExclusionLoadCase{"TheKeyIsCaseSensitive", nullptr, kKeptExclusions, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- ApplyDelaySeconds -----------------------------------------------------------------------

struct DelayCase {
  const char* literal;
  std::int32_t expected;  // 3, the value before the load, where the literal is skipped
};

void PrintTo(const DelayCase& c, std::ostream* os) {
  *os << c.literal;
}

class Delay : public ConfigFixture, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(Delay, IntegersKeepTheirLow32BitsAndOthersAreSkipped) {
  StoreSettings(NonDefaultSettings());
  LoadText(std::string(R"({"ApplyDelaySeconds": )") + GetParam().literal + "}");
  EXPECT_EQ(CurrentSettings().ApplyDelaySeconds, GetParam().expected);
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{LoadedLine(false, 26, GetParam().expected)});
}

INSTANTIATE_TEST_SUITE_P(
    Values, Delay,
    ::testing::Values(DelayCase{"5", 5}, DelayCase{"0", 0}, DelayCase{"-3", -3},
                      DelayCase{"2147483647", 2147483647},
                      DelayCase{"2147483648", std::numeric_limits<std::int32_t>::min()},
                      DelayCase{"4294967295", -1}, DelayCase{"4294967301", 5},
                      DelayCase{"-4294967291", 5}, DelayCase{"18446744073709551615", -1},
                      DelayCase{"-9223372036854775808", 0}, DelayCase{"2.5", 3},
                      DelayCase{"5.0", 3}, DelayCase{"5e0", 3}, DelayCase{"\"5\"", 3},
                      DelayCase{"true", 3}, DelayCase{"null", 3}));

// --- A number with limits of its own ----------------------------------------------------------
// No setting of the table is one yet: a description of that kind, borrowing a field, is read
// the way LoadConfig reads every description.

struct BoundRead {
  const char* document;
  double stored;        // DefaultScale afterwards; it starts at 7
  const char* warning;  // empty: none
};

TEST_F(ConfigFixture, ABoundTakesANumberWithinItsLimitsUnderEitherName) {
  const tinyhorde::SettingDescription ceiling{
      "Ceiling", "Roof", tinyhorde::BoundSetting{&Settings::DefaultScale, 1.0, 20.0}};
  const std::vector<BoundRead> reads = {
      {R"({"Ceiling": 1})", 1.0, ""},
      {R"({"Ceiling": 20.0})", 20.0, ""},
      {R"({"Roof": 2.5})", 2.5, ""},
      {R"({"Ceiling": 3, "Roof": 4})", 3.0, ""},
      {R"({"Ceiling": "3", "Roof": 4})", 4.0, ""},
      {R"({"Ceiling": true})", 7.0, ""},
      {R"({})", 7.0, ""},
      {R"({"Ceiling": 0.999})", 7.0,
       "[Tinyhorde] Ignoring Ceiling = 0.999: it must lie from 1 to 20."},
      {R"({"Ceiling": 21, "Roof": 5})", 5.0,
       "[Tinyhorde] Ignoring Ceiling = 21: it must lie from 1 to 20."},
      {R"({"Roof": -1e300})", 7.0,
       "[Tinyhorde] Ignoring Roof = -1e+300: it must lie from 1 to 20."},
  };
  for (const BoundRead& read : reads) {
    Settings settings;
    settings.DefaultScale = 7.0;
    tinyhorde::ReadSetting(nlohmann::json::parse(read.document), ceiling, settings);
    EXPECT_EQ(settings.DefaultScale, read.stored) << read.document;
    const std::vector<std::string> expected =
        *read.warning != '\0' ? std::vector<std::string>{read.warning} : std::vector<std::string>{};
    EXPECT_EQ(TakeLogLines(), expected) << read.document;
  }
}

// --- The two flags ---------------------------------------------------------------------------

TEST_F(ConfigFixture, FlagsTakeBooleans) {
  LoadText(R"({"OnlyTamed": false, "DebugLog": false})");
  EXPECT_FALSE(CurrentSettings().OnlyTamed);
  EXPECT_FALSE(CurrentSettings().DebugLog);
  LoadText(R"({"OnlyTamed": true, "DebugLog": true})");
  EXPECT_TRUE(CurrentSettings().OnlyTamed);
  EXPECT_TRUE(CurrentSettings().DebugLog);
}

TEST_F(ConfigFixture, FlagsOfAnotherTypeAreSkipped) {
  for (const char* value : {"0", "1", "\"true\"", "\"false\"", "null", "[true]"}) {
    LoadText(std::string(R"({"OnlyTamed": )") + value + R"(, "DebugLog": )" + value + "}");
    EXPECT_TRUE(CurrentSettings().OnlyTamed) << value;
    EXPECT_TRUE(CurrentSettings().DebugLog) << value;
  }
}

// --- What the parser refuses, and what it accepts --------------------------------------------

class Unparsable : public ConfigFixture, public ::testing::WithParamInterface<const char*> {};

// Each text holds values a partial load would show, before the fault.
TEST_P(Unparsable, ChangesNothingAndReportsTheParserText) {
  const std::string text = GetParam();
  const std::string expected = ParseErrorOf(text);
  ASSERT_FALSE(expected.empty());
  StoreSettings(NonDefaultSettings());

  const auto outcome = LoadText(text);
  EXPECT_EQ(outcome.status, ConfigLoadStatus::Failed);
  EXPECT_EQ(outcome.path, kFirstRelativePlace);
  EXPECT_EQ(outcome.message, expected);
  EXPECT_EQ(TakeLogLines(),
            std::vector<std::string>{"[Tinyhorde] Exception loading config: " + expected});
  ExpectSameSettings(NonDefaultSettings(), CurrentSettings());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Unparsable,
    ::testing::Values("{\"OnlyTamed\": true, \"ApplyDelaySeconds\": 9 // a comment\n}",
                      "{\"OnlyTamed\": true, /* a comment */ \"ApplyDelaySeconds\": 9}",
                      "{\"OnlyTamed\": true, \"ApplyDelaySeconds\": 9,}",
                      "{\"TargetBlueprints\": [\"A_BP\",], \"OnlyTamed\": true}", "", " \n\t",
                      "\xEF\xBB\xBF", "{\"OnlyTamed\": true} {}", "{\"OnlyTamed\": true",
                      "{\"OnlyTamed\": tru}", "{'OnlyTamed': true}"));

TEST_F(ConfigFixture, LeadingByteOrderMarkIsAccepted) {
  const auto outcome = LoadText("\xEF\xBB\xBF{\"ApplyDelaySeconds\": 4}");
  EXPECT_EQ(outcome.status, ConfigLoadStatus::Loaded);
  EXPECT_EQ(CurrentSettings().ApplyDelaySeconds, 4);
}

class NonObjectRoot : public ConfigFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(NonObjectRoot, SkipsEveryKeyButStillMovesTheCameraScale) {
  StoreSettings(NonDefaultSettings());
  const auto outcome = LoadText(GetParam());
  EXPECT_EQ(outcome.status, ConfigLoadStatus::Loaded);
  Settings expected = NonDefaultSettings();
  expected.DefaultCameraArmScale = expected.DefaultScale;
  ExpectSameSettings(expected, CurrentSettings());
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{LoadedLine(false, 26, 3)});
}

INSTANTIATE_TEST_SUITE_P(Roots, NonObjectRoot,
                         ::testing::Values("[{\"OnlyTamed\": true, \"DefaultScale\": 0.4}]", "[]",
                                           "5", "\"OnlyTamed\"", "null", "true"));

}  // namespace
