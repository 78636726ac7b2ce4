// The game's own creature classes (creature-classes.tsv: class name, common name, size class and
// the public game data each row was taken from) against the default settings: every tameable
// super-large species is shrunk to the scale of its kind, its variants through the same name part,
// and no small or medium creature is touched.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "scaling/scaling_fixture.h"
#include "selection/creature_classification.h"

namespace scalingtest {
namespace {

struct CatalogueRow {
  std::string class_name;
  std::string common_name;
  std::string size;  // small, medium, large, super-large or unsure
};

std::vector<CatalogueRow> ReadCatalogue() {
  std::vector<CatalogueRow> rows;
  std::ifstream in(TINYHORDE_CREATURE_CATALOGUE);
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    CatalogueRow row;
    std::getline(fields, row.class_name, '\t');
    std::getline(fields, row.common_name, '\t');
    std::getline(fields, row.size, '\t');
    rows.push_back(row);
  }
  return rows;
}

// The tameable super-large species: a class holding the part is shrunk to the scale.
struct Species {
  const char* part;
  double scale;
};
constexpr Species kSuperLarge[] = {
    {"Dreadnoughtus", 0.25},
    {"Titanosaur", 0.28},
    {"Sauropod", 0.4},
    {"Diplodocus", 0.45},
    {"Gigant_Character", 0.75},
    {"Carcha", 0.75},
    {"Paracer", 0.72},
    {"Oasisaur", 0.25},
    {"Shastasaurus", 0.25},
    {"SpaceWhale", 0.25},
    {"GiantTurtle", 0.5},
    {"Mosa_Character_BP", 0.5},
    {"ForestKaiju_Character", 0.16},
    {"IceKaiju_Character", 0.16},
    {"DesertKaiju_Character", 0.14},
};

// Super-large creatures that no player ever tames, so no stored creature of theirs can hold a
// reduced size: the bosses, Leedsichthys, the Deathworms, the Iceworm Queen, the Mega Mek and the
// Reaper Queens. The test makes no claim about them; it only requires that each super-large row
// is either a species above or one of these, so that a new row of the catalogue is looked at.
constexpr const char* kNeverTamed[] = {
    "Leedsichthys", "Deathworm", "Iceworm_Queen",      "MegaMek",   "Xenomorph_Character_BP_Female",
    "Dragon",       "SpiderL_",  "Rockwell_Character", "KingKaiju", "Kraken",
};

bool Holds(const std::string& name, const char* part) {
  return name.find(part) != std::string::npos;
}

class Catalogue : public ScalingFixture {};

TEST_F(Catalogue, TheDefaultsShrinkTheTameableSuperLargeCreaturesAndNothingSmall) {
  const std::vector<CatalogueRow> rows = ReadCatalogue();
  ASSERT_GT(rows.size(), 600u) << "the catalogue " << TINYHORDE_CREATURE_CATALOGUE;
  std::vector<std::string> failures;
  std::map<std::string, int> reached;  // rows per species part
  int small = 0;
  for (const CatalogueRow& row : rows) {
    const Species* species = nullptr;
    for (const Species& s : kSuperLarge)
      if (Holds(row.class_name, s.part)) species = &s;
    const bool super_large = row.size == "super-large";
    bool never_tamed = false;
    for (const char* part : kNeverTamed) never_tamed = never_tamed || Holds(row.class_name, part);
    const bool gigantoraptor = Holds(row.class_name, "Gigantoraptor");
    const bool must_shrink = super_large && species != nullptr;
    const bool must_stay = row.size == "small" || row.size == "medium" || gigantoraptor;
    if (super_large && species == nullptr && !never_tamed)
      failures.push_back(row.class_name + ": super-large, but neither a species nor never tamed");
    if (!must_shrink && !must_stay) continue;

    const int id = MakeTamed(row.class_name);
    const bool target = tinyhorde::IsTargetCreature(Dino(id));
    Apply(id, "Catalogue", true);
    const double scale = Root(id).X;
    if (must_shrink) {
      ++reached[species->part];
      if (!target || scale != species->scale)
        failures.push_back(row.class_name + " (" + row.common_name + "): at " +
                           std::to_string(scale) + ", not " + std::to_string(species->scale));
    } else {
      ++small;
      if (target || scale != 1.0)
        failures.push_back(row.class_name + " (" + row.size + ", " + row.common_name +
                           "): a target, at " + std::to_string(scale));
    }
  }
  for (const Species& s : kSuperLarge)
    if (reached[s.part] == 0)
      failures.push_back(std::string(s.part) + ": no super-large row of the catalogue");
  EXPECT_GT(small, 400) << "small and medium rows looked at";

  std::string report;
  for (const std::string& failure : failures) report += "\n  " + failure;
  EXPECT_TRUE(failures.empty()) << failures.size() << " class(es):" << report;
}

}  // namespace
}  // namespace scalingtest
