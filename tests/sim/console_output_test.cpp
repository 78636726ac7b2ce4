// What the console prints around each command: exactly one closing line, last, whatever the
// command printed before it or went wrong inside it; and the form for people (--pretty).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/pretty_output.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class ClosingLine : public simtest::SimFixture {
 protected:
  // A timer due at once that reports the host error `what` when the clock passes it.
  void ErringTimer(const std::string& what) {
    Server().Clock().Add([this, what] { Server().Error(what); }, 0, u"t", u"test");
  }
};

bool IsClosing(const std::string& line) {
  return line == "ok" || line.rfind("ok ", 0) == 0 || line.rfind("error", 0) == 0;
}

struct ClosingCase {
  const char* line;
  std::size_t lines_before;  // lines the command prints before its closing line
  const char* closing;
};

TEST_F(ClosingLine, EveryCommandEndsWithExactlyOneOkOrErrorLine) {
  const ClosingCase cases[] = {
      {"player Ada admin", 0, "ok player 1"},
      {"spawn Rex_Character_BP_C", 0, "ok creature 2"},
      {"state", 1, "ok"},
      {"rcon hordesize.resizeall", 1, "ok"},  // no plugin: the host's own reply
      {"camera 2", 0, "ok 800"},
      {"expect creature.2.dead false", 0, "ok"},
      {"expect creature.2.dead true", 0, "error expect creature.2.dead: expected true, got false"},
      {"expect creature.9.dead true", 0, "error expect creature.9.dead: no creature 9"},
      {"fly away", 0, "error unknown command 'fly'"},
      {"wait 1", 0, "ok"},
  };
  for (const ClosingCase& c : cases) {
    const Lines printed = Run(c.line);
    ASSERT_EQ(printed.size(), c.lines_before + 1) << c.line;
    EXPECT_EQ(printed.back(), c.closing) << c.line;
    for (std::size_t i = 0; i + 1 < printed.size(); ++i) {
      EXPECT_FALSE(IsClosing(printed[i])) << c.line << ": " << printed[i];
    }
  }
}

TEST_F(ClosingLine, ErrorsInsideACommandBecomeItsOneClosingLine) {
  ErringTimer("first");
  ErringTimer("second");
  EXPECT_EQ(Run("wait 1"), Lines{"error first; second"});
  EXPECT_EQ(Server().ErrorCount(), 2);
  // Errors outside a command are printed at once, as before.
  Server().Error("outside");
  EXPECT_EQ(TakeOutput().back(), "error outside");
  EXPECT_EQ(Run("wait 1"), Lines{"ok"});
}

TEST_F(ClosingLine, ExpectationsAreCountedHeldAndFailed) {
  sim::Console console(Server());
  for (const char* line : {"expect clock 0", "expect clock 1", "expect nowhere 1", "expect clock 0",
                           "# expect clock 5", "wait 1"}) {
    console.Execute(line);
  }
  EXPECT_EQ(console.ExpectationsHeld(), 2);
  EXPECT_EQ(console.ExpectationsFailed(), 2);
}

// A state with one creature and one stored record, as the console prints it.
const char* const kState =
    R"({"clock":3.5,"creatures":[{"id":3,"class":"Dreadnoughtus_Character_BP_C","tamed":true,)"
    R"("dead":false,"root_scale":[0.25,0.25,0.25],"base_dino_scale":[1,1,1],)"
    R"("mesh_scale":[0.25,0.25,0.25],"camera":{"TPVDefaultCameraOffset":[10,0,5],)"
    R"("RiderFPVCameraOffset":[0,0,50]}}],"stored":[{"id":7,"kind":"cryopod",)"
    R"("class":"Rex_Character_BP_C","root_scale":[1,1,0.5],"base_dino_scale":[1,1,1],)"
    R"("mesh_scale":[1,1,1],"camera":{}}],"memory":{"live_blocks":12}})";

TEST(PrettyOutput, EchoesCommandsIndentsOutputAndDropsBareOk) {
  Lines out;
  sim::PrettyOutput pretty([&out](const std::string& line) { out.push_back(line); });
  pretty.Echo("# the story so far");
  pretty.Echo("");
  pretty.Echo("  spawn Rex_Character_BP_C");
  pretty.Print("log [Tinyhorde] something");
  pretty.Print("ok creature 3");
  pretty.Echo("expect clock 0");
  pretty.Print("ok");
  pretty.Echo("state");
  pretty.Print(std::string("state ") + kState);
  pretty.Print("ok");
  pretty.Print("error expect clock: expected 1, got 0");
  pretty.Summary(4, 1);
  EXPECT_EQ(out, (Lines{
                     "# the story so far",
                     "",
                     "> spawn Rex_Character_BP_C",
                     "  log [Tinyhorde] something",
                     "  ok creature 3",
                     "> expect clock 0",
                     "> state",
                     "  clock 3.5 s, 12 live allocator blocks",
                     "  creatures:",
                     "    id  class                         tamed  dead  scale  "
                     "TPVDefaultCameraOffset",
                     "    3   Dreadnoughtus_Character_BP_C  yes    no    0.25   (10, 0, 5)",
                     "  stored:",
                     "    id  kind     class               scale        TPVDefaultCameraOffset",
                     "    7   cryopod  Rex_Character_BP_C  (1, 1, 0.5)  -",
                     "  error expect clock: expected 1, got 0",
                     "expectations: 4 held, 1 failed",
                 }));
}

TEST(PrettyOutput, EmptyTablesSayNone) {
  EXPECT_EQ(sim::StateTables(nlohmann::json::parse(
                R"({"clock":0,"creatures":[],"stored":[],"memory":{"live_blocks":0}})")),
            (Lines{"clock 0 s, 0 live allocator blocks", "creatures: none", "stored: none"}));
}

}  // namespace
