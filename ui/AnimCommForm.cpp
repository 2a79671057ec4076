#include "ui/AnimCommForm.h"

#include "ui/ControlPlacement.h"
#include "ui/EditorWindows.h"
#include "ui/MainUnit.h"

namespace {

constexpr int kClientWidth = 368;
constexpr int kClientHeight = 268;
constexpr int kStepLandRow = 48, kStepWaterRow = 49;
constexpr int kNotSpecifiedEffect = 47;

const wchar_t* const kTypeNames[] = {L"Position Reference", L"Jumping Reference",
                                     L"Slaved Animation",   L"Die",
                                     L"Play Sound ID",      L"Play Effect"};

struct Effect {
  uint16_t number;
  const wchar_t* name;
};
// The effects ComboBox2 offers, in the order of its items.
constexpr Effect kEffects[kEffectItems] = {
    {0, L"Change direction 180 deg"}, {1, L"Soft earthquake"},
    {2, L"Play flooding sound "},     {3, L"Make bubble "},
    {4, L"End level"},                {5, L"Activate camera trigger"},
    {6, L"Activate triggers "},       {7, L"Heavy earthquake"},
    {8, L"Get Crowbar"},              {11, L"Soft earthquake"},
    {12, L"Disable guns"},            {14, L"Get right gun"},
    {15, L"Get left gun "},           {16, L"Fire right gun "},
    {17, L"Fire left gun "},          {18, L"Use MESHSWAP 1 "},
    {19, L"Use MESHSWAP 2"},          {20, L"Use MESHSWAP 3"},
    {21, L"Unknown1"},                {22, L"Unknown2"},
    {23, L"Hide object"},             {24, L"Show object"},
    {26, L"Remove ponytail"},         {32, L"Unknown3"},
    {37, L"Unknown4"},                {38, L"Unknown5"},
    {43, L"Get Water Skin"},          {44, L"Put back Waterskin"},
    {EFFECT_STEP_LAND, L"Play step sound,land"}, {EFFECT_STEP_WATER, L"Play step sound,water"}};

int EffectRow(uint16_t effect) {
  if (effect == EFFECT_STEP_LAND) return kStepLandRow;
  if (effect == EFFECT_STEP_WATER) return kStepWaterRow;
  return effect < kEffectRows ? effect : -1;
}

}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner) {
  SetText(L"Dide Command Editor");
  SetBorderStyle(bsDialog);
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);
  PlaceOverMainWindow(this);
  CreateControls();
  BindHandlers();
}

void TForm3::CreateControls() {
  ListBox1 = Place<TListBox>(this, this, 8, 8, 351, 161);
  // Lists to choose from: a typed text would name no type or effect.
  ComboBox1 = Place<TComboBox>(this, this, 8, 175, 144, 21);
  ComboBox1->SetStyle(csDropDownList);
  Edit1 = Place<TEdit>(this, this, 8, 202, 33, 21);
  Edit2 = Place<TEdit>(this, this, 64, 202, 34, 21);
  Edit3 = Place<TEdit>(this, this, 120, 202, 32, 21);
  ComboBox2 = Place<TComboBox>(this, this, 8, 229, 145, 21);
  ComboBox2->SetStyle(csDropDownList);
  Button1 = Place<TButton>(this, this, 286, 175, 73, 25, L"Update");
  Button2 = Place<TButton>(this, this, 286, 206, 73, 25, L"Add");
  Button3 = Place<TButton>(this, this, 286, 237, 73, 25, L"Delete");
  RadioGroup1 = Place<TRadioGroup>(this, this, 159, 175, 105, 82, L"Play Sound When:");
  // Children of the window, not of the frame, so that they exclude each other.
  RadioButton1 = Place<TRadioButton>(this, this, 168, 188, 87, 17, L"On Water");
  RadioButton2 = Place<TRadioButton>(this, this, 168, 211, 81, 17, L"On Land");
  RadioButton3 = Place<TRadioButton>(this, this, 168, 229, 81, 25, L"Both");
}

void TForm3::BindHandlers() {
  OnCreate = Bind(this, &TForm3::FormCreate);
  OnShow = Bind(this, &TForm3::Cargar);
  OnClose = Bind(this, &TForm3::Salir);
  ListBox1->OnClick = Bind(this, &TForm3::ListBox1Click);
  ComboBox1->OnChange = Bind(this, &TForm3::ComboBox1Change);
  ComboBox2->OnChange = Bind(this, &TForm3::ComboBox2Change);
  Button1->OnClick = Bind(this, &TForm3::Button1Click);
  Button2->OnClick = Bind(this, &TForm3::Button2Click);
  Button3->OnClick = Bind(this, &TForm3::Button3Click);
  for (TRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3})
    radio->OnMouseUp = Bind(this, &TForm3::RadioButtonMouseUp);
}

void TForm3::FormCreate(TObject* Sender) {
  effectNames[kNotSpecifiedEffect] = L"Not Specified";
  // A number without an item of its own shows none when clicked, so that
  // Update keeps it unless an item is chosen.
  effectToItem.fill(-1);
  for (int item = 0; item < kEffectItems; ++item) {
    const Effect& effect = kEffects[item];
    effectNames[static_cast<std::size_t>(EffectRow(effect.number))] = effect.name;
    itemToEffect[static_cast<std::size_t>(item)] = effect.number;
    if (effect.number < kEffectRows) effectToItem[effect.number] = item;
  }
  ComboBox1->Clear();
  for (const wchar_t* name : kTypeNames) ComboBox1->AddItem(name, nullptr);
  ComboBox2->Clear();
  for (const Effect& effect : kEffects) ComboBox2->AddItem(effect.name, nullptr);
}

void TForm3::Cargar(TObject* Sender) {
  ComboBox2->SetVisible(false);
  RadioGroup1->SetVisible(false);
  for (TRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3}) radio->SetVisible(false);
  refreshCommandList();
}

void TForm3::Salir(TObject* Sender, TCloseAction& Action) {
  HideBackToMainWindow(this);
  for (TEdit* edit : {Edit1, Edit2, Edit3}) edit->SetVisible(true);
  ComboBox2->SetVisible(false);
}

bool TForm3::AnimationValid() const {
  const MainUnit& M = Main();
  return M._Animacion >= 0 && static_cast<uint32_t>(M._Animacion) < M.wadfile.numAnimations();
}

int TForm3::FrameStart() const {
  if (!AnimationValid()) return 0;
  return Main().wadfile.animations[static_cast<std::size_t>(Main()._Animacion)].frameStart;
}

void TForm3::refreshCommandList() {
  const MainUnit& M = Main();
  ListBox1->Clear();
  keepSoundFlags = false;
  commandListMap.clear();
  for (uint32_t i = 0; i < M.comandos.size(); ++i)
    if (static_cast<int64_t>(M.comandos[i].animIndex) == M._Animacion) commandListMap.push_back(i);
  for (uint32_t i : commandListMap) ListBox1->AddItem(CommandLine(M.comandos[i]), nullptr);
}

String TForm3::CommandLine(const AnimCommand& c) const {
  const int frame = c.params[0] - FrameStart();
  switch (c.type) {
    case kCommandPositionReference:
      return String(L"Position reference at: X=") + IntToStr(c.params[0]) + L" Y=" +
             IntToStr(c.params[1]) + L" Z=" + IntToStr(c.params[2]);
    case kCommandJumpingReference:
      return String(L"Jumping reference at: (") + IntToStr(c.params[0]) + L" , " +
             IntToStr(c.params[1]) + L")";
    case kCommandSlavedAnimation: return L"Slaved Animation";
    case kCommandDie: return L"Die";
    case kCommandPlaySound:
      return String(L"Play Sound at Frame #") + IntToStr(frame) + L" with Sound ID #" +
             IntToStr(c.params[1] & kSoundNumberMask);
    case kCommandPlayEffect:
      return String(L"Play Effect (") + EffectName(c.params[1]) + L") at Frame #" + IntToStr(frame);
    default: return String(L"Unknown command type #") + IntToStr(c.type);
  }
}

String TForm3::EffectName(uint16_t effect) const {
  const int row = EffectRow(effect);
  return row < 0 ? String() : effectNames[static_cast<std::size_t>(row)];
}

int TForm3::EffectItem(uint16_t effect) const {
  if (effect == EFFECT_STEP_LAND) return kEffectItems - 2;
  if (effect == EFFECT_STEP_WATER) return kEffectItems - 1;
  return effect < kEffectRows ? effectToItem[effect] : -1;
}

const AnimCommand* TForm3::SelectedCommand(uint32_t* index) const {
  const int line = ListBox1->GetItemIndex();
  if (line < 0 || static_cast<std::size_t>(line) >= commandListMap.size()) return nullptr;
  const uint32_t i = commandListMap[static_cast<std::size_t>(line)];
  if (i >= Main().comandos.size()) return nullptr;
  if (index != nullptr) *index = i;
  return &Main().comandos[i];
}
