// Each storage detour but the world save, on its own: the game's own function must see the creature
// at full size. Every case runs twice, with the detour installed and with the host refusing it,
// and the second run must show the reduced size reaching the game, so that no case passes
// because another detour happened to restore the creature first.
#include <gtest/gtest.h>

#include "hooks/flow_fixture.h"
#include "scaling/shrink_gate.h"

namespace {

using sim::Hook;

struct StorageCase {
  Hook hook;
  // Calls the game function through its hook entry on a shrunk, tamed dreadnoughtus.
  void (*call)(flowtest::FlowFixture&, int creature, int player);
  // The hook whose game function must have seen full size (usually the same one).
  Hook observed;
};

void PrintTo(const StorageCase& c, std::ostream* os) {
  *os << sim::HookName(c.hook);
}

class StorageDetour : public flowtest::FlowFixture,
                      public ::testing::WithParamInterface<std::tuple<StorageCase, bool>> {
 public:
  using flowtest::FlowFixture::Dino;
  using simtest::SimFixture::Game;
  using simtest::SimFixture::Server;
  sim::AShooterPlayerController* Controller(int player) {
    return Game().PlayerById(player).controller;
  }
};

void CallOnCryo(flowtest::FlowFixture& f, int c, int p) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::OnCryo>()(t.Dino(c), t.Controller(p));
}
void CallMultiOnCryo(flowtest::FlowFixture& f, int c, int p) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::MultiOnCryo>()(t.Dino(c), t.Controller(p));
}
void CallGiveCryoItem(flowtest::FlowFixture& f, int c, int p) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::GiveCryoItemAndCaptureDino>()(t.Controller(p), t.Dino(c));
}
void CallGetCryoDinoData(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  const sim::FCustomItemData data = t.Game().EntryOf<Hook::GetCryoDinoData>()(
      reinterpret_cast<sim::UObject*>(t.Game().World()), t.Dino(c));
  EXPECT_EQ(data.Tag, "cryopod") << "the game's record comes back untouched";
  EXPECT_NE(t.Game().StoredById(static_cast<int>(data.StoredId)), nullptr);
}
void CallCanCryo(flowtest::FlowFixture& f, int c, int p) {
  auto& t = static_cast<StorageDetour&>(f);
  EXPECT_TRUE(t.Game().EntryOf<Hook::CanCryo>()(t.Dino(c), t.Controller(p)));
  // The game answers first and the restore follows it, so what counts is the size right after
  // the call, recorded as a second CanCryo observation.
  t.Game().RecordCall(Hook::CanCryo, t.Dino(c));
}
// The creature's own TakeDamage, through the game's damage flow (it calls the character's).
void CallDinoTakeDamage(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  EXPECT_FLOAT_EQ(t.Game().Damage(c, "PrimalItem_WeaponCryoGun_C", 5), 5.f);
}
// The character's TakeDamage alone, as a base-class call reaches it.
void CallTakeDamage(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  auto& cls = t.Server().Classes().ActorBlueprint("PrimalItem_WeaponCryoGun_C");
  auto* causer = t.Server().Objects().Create<sim::AActor>(
      &cls.cls, t.Server().Names().Add(std::string("PrimalItem_WeaponCryoGun_C")));
  sim::FDamageEvent event;
  EXPECT_FLOAT_EQ(
      t.Game().EntryOf<Hook::TakeDamage>()(&t.Dino(c)->PrimalCharacter, 5, &event, nullptr, causer),
      5.f);
  t.Server().Objects().Destroy(reinterpret_cast<sim::UObject*>(causer));
}
void CallSerialize(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  auto& record = t.Game().NewRecord("save");
  sim::SimArchive archive(&record, true);
  t.Game().EntryOf<Hook::Serialize>()(&t.Dino(c)->PrimalCharacter, &archive.base);
}
void CallDestroy(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  EXPECT_TRUE(t.Game().EntryOf<Hook::Destroy>()(t.Dino(c), false, true));
}
void CallDestroyed(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::Destroyed>()(t.Dino(c));
}
void CallServerUploadDino(flowtest::FlowFixture& f, int c, int p) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::ServerUploadDino>()(t.Controller(p), t.Dino(c));
}
void CallServerUploadCharacter(flowtest::FlowFixture& f, int c, int p) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::ServerUploadCharacter>()(t.Dino(c), t.Controller(p));
}
void CallExport(flowtest::FlowFixture& f, int c, int p) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::ExportDinoData>()(t.Controller(p), t.Dino(c));
}
void CallCharacterSnapshot(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::CharacterCaptureSnapshot>()(&t.Dino(c)->PrimalCharacter, nullptr);
}
void CallDinoSnapshot(flowtest::FlowFixture& f, int c, int) {
  auto& t = static_cast<StorageDetour&>(f);
  t.Game().EntryOf<Hook::DinoCaptureSnapshot>()(t.Dino(c), nullptr);
}

TEST_P(StorageDetour, TheGameSeesFullSizeOnlyWhenTheDetourIsInstalled) {
  const auto& [c, installed] = GetParam();
  if (!installed) Server().Hooks().Refuse(sim::HookName(c.hook));
  Do("player Ada");
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  StartInProcess();
  // With a storage hook refused the plugin shrinks nothing, so the reduced size is put in place
  // directly, as a creature stored small by an earlier version would carry it.
  EXPECT_EQ(tinyhorde::ShrinkingAllowed(), installed);
  ForceScale(dino, 0.25);
  Game().ClearCalls();
  c.call(*this, dino, 1);
  EXPECT_DOUBLE_EQ(SeenByGame(c.observed, dino), installed ? 1.0 : 0.25)
      << sim::HookName(c.hook) << (installed ? " installed" : " refused");
}

const StorageCase kCases[] = {
    {Hook::OnCryo, &CallOnCryo, Hook::OnCryo},
    {Hook::MultiOnCryo, &CallMultiOnCryo, Hook::MultiOnCryo},
    {Hook::GiveCryoItemAndCaptureDino, &CallGiveCryoItem, Hook::GiveCryoItemAndCaptureDino},
    {Hook::GetCryoDinoData, &CallGetCryoDinoData, Hook::GetCryoDinoData},
    {Hook::CanCryo, &CallCanCryo, Hook::CanCryo},
    {Hook::TakeDamage, &CallTakeDamage, Hook::TakeDamage},
    {Hook::DinoTakeDamage, &CallDinoTakeDamage, Hook::DinoTakeDamage},
    {Hook::Serialize, &CallSerialize, Hook::Serialize},
    {Hook::Destroy, &CallDestroy, Hook::Destroy},
    {Hook::Destroyed, &CallDestroyed, Hook::Destroyed},
    {Hook::ServerUploadDino, &CallServerUploadDino, Hook::ServerUploadDino},
    {Hook::ServerUploadCharacter, &CallServerUploadCharacter, Hook::ServerUploadCharacter},
    {Hook::ExportDinoData, &CallExport, Hook::ExportDinoData},
    {Hook::CharacterCaptureSnapshot, &CallCharacterSnapshot, Hook::CharacterCaptureSnapshot},
    {Hook::DinoCaptureSnapshot, &CallDinoSnapshot, Hook::DinoCaptureSnapshot},
};

INSTANTIATE_TEST_SUITE_P(EachStorageHook, StorageDetour,
                         ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Bool()),
                         [](const auto& info) {
                           std::string name = sim::HookName(std::get<0>(info.param).hook);
                           std::string clean;
                           for (char ch : name) {
                             if (ch == '(') break;
                             if (std::isalnum(static_cast<unsigned char>(ch))) clean += ch;
                           }
                           return clean + (std::get<1>(info.param) ? "_Installed" : "_Refused");
                         });

}  // namespace
