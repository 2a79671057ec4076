#include "ui/ChangeForm.h"

#include <cstdint>
#include <optional>

#include "ui/ControlPlacement.h"
#include "ui/EditorWindows.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

constexpr int kClientWidth = 220;
constexpr int kClientHeight = 300;
// Shown over the middle of the main window at its designed place.
constexpr int kLeft = 324, kTop = 160;

const wchar_t* const kProductCaption = L"Ulvo Dide Rizid";

// A field with its caption above it.
TEdit* PlaceField(TForm1* form, TLabel*& label, int left, int top, const wchar_t* caption) {
  constexpr int kWidth = 98;
  label = Place<TLabel>(form, form, left, top, kWidth, 13, caption);
  return Place<TEdit>(form, form, left, top + 15, kWidth, 21);
}

// Stored values are 16-bit: typed values wrap.
uint16_t Word(int64_t value) { return static_cast<uint16_t>(value); }

// The fields of a dispatch as typed: frames relative to the animation's first
// frame, Next Dide to the moveable's first animation, Frame Next to the first
// frame of the animation Next Dide names.
struct TypedDispatch {
  int frameIn, frameOut, nextAnim, frameNext;
};

void Warn(const String& text) { ShowMessageBox(text, L"Warning", MB_OK | MB_ICONEXCLAMATION); }

// The animation the main window chose, when the open WAD has it.
std::optional<uint32_t> EditedAnimation() {
  const MainUnit& M = Main();
  if (M._Animacion < 0 || static_cast<uint32_t>(M._Animacion) >= M.wadfile.numAnimations())
    return std::nullopt;
  return static_cast<uint32_t>(M._Animacion);
}

// The dispatch as stored, or none (the user told why) when Next Dide names no
// animation whose first frame Frame Next could count from.
std::optional<WadDispatch> StoredDispatch(uint32_t g, const TypedDispatch& typed) {
  const MainUnit& M = Main();
  const WadFile& wad = M.wadfile;
  const int64_t target = int64_t{M.pivoteAnimacion} + typed.nextAnim;
  if (target < 0 || target >= wad.numAnimations()) {
    Warn(String(L"Next Dide must name an animation of this WAD: a value from ") +
         IntToStr(-M.pivoteAnimacion) + L" to " +
         IntToStr(static_cast<int>(wad.numAnimations()) - 1 - M.pivoteAnimacion) + L".");
    return std::nullopt;
  }
  const int64_t start = wad.animations[g].frameStart;
  const int64_t targetStart = wad.animations[static_cast<std::size_t>(target)].frameStart;
  return WadDispatch{Word(typed.frameIn + start), Word(typed.frameOut + start), Word(target),
                     Word(typed.frameNext + targetStart)};
}

void ReportRefusal(StateChangeEdit result) {
  switch (result) {
    case StateChangeEdit::kOutOfSequence:
      Warn(L"The state changes of this WAD are not stored in order, so none can be added or "
           L"deleted without damaging those of other animations.");
      break;
    case StateChangeEdit::kTooLarge:
      Warn(L"No more state changes or dispatches fit: a count or an index would pass 65535.");
      break;
    case StateChangeEdit::kDone:
    case StateChangeEdit::kNotFound: break;
  }
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetText(L"State Change Editor");
  SetBorderStyle(bsDialog);
  SetLeft(kLeft);
  SetTop(kTop);
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);
  ListBox1 = Place<TListBox>(this, this, 8, 8, 204, 124);
  Button1 = Place<TButton>(this, this, 8, 272, 64, 22, L"Add");
  Button2 = Place<TButton>(this, this, 78, 272, 64, 22, L"Update");
  Button3 = Place<TButton>(this, this, 148, 272, 64, 22, L"Delete");
  GroupBox1 = Place<TGroupBox>(this, this, 8, 222, 204, 44, L"Changes Parameters");
  Label5 = Place<TLabel>(this, GroupBox1, 10, 18, 50, 13, L"State ID");
  Edit5 = Place<TEdit>(this, GroupBox1, 70, 14, 124, 21);
  Edit1 = PlaceField(this, Label1, 8, 138, L"Frame In");
  Edit2 = PlaceField(this, Label2, 114, 138, L"Frame Out");
  Edit3 = PlaceField(this, Label3, 8, 178, L"Next Dide");
  Edit4 = PlaceField(this, Label4, 114, 178, L"Frame Next");

  OnShow = Bind(this, &TForm1::FormShow);
  OnClose = Bind(this, &TForm1::Salir);
  ListBox1->OnClick = Bind(this, &TForm1::ListBox1Click);
  Button1->OnClick = Bind(this, &TForm1::Button1Click);
  Button2->OnClick = Bind(this, &TForm1::Button2Click);
  Button3->OnClick = Bind(this, &TForm1::Button3Click);
}

void TForm1::FormShow(TObject* Sender) { refreshStateChangeList(); }

void TForm1::Salir(TObject* Sender, TCloseAction& Action) {
  ListBox1->Clear();
  stateListMaps.clear();
  HideBackToMainWindow(this);
}

void TForm1::refreshStateChangeList() {
  ListBox1->Clear();
  stateListMaps.clear();
  const std::optional<uint32_t> g = EditedAnimation();
  if (!g) return;
  const WadFile& wad = Main().wadfile;
  stateListMaps = DispatchLinesOf(wad, *g);
  for (const DispatchLine& line : stateListMaps)
    ListBox1->AddItem(String(L"State ID:") + IntToStr(wad.stateChanges[line.stateChange].stateId),
                      nullptr);
}

const DispatchLine* TForm1::SelectedLine() const {
  const int i = ListBox1->GetItemIndex();
  if (i < 0 || static_cast<std::size_t>(i) >= stateListMaps.size()) return nullptr;
  const DispatchLine& line = stateListMaps[static_cast<std::size_t>(i)];
  const WadFile& wad = Main().wadfile;
  if (line.stateChange >= wad.numStateChanges() || line.dispatch >= wad.numDispatches()) return nullptr;
  return &line;
}

void TForm1::ListBox1Click(TObject* Sender) {
  const DispatchLine* line = SelectedLine();
  const std::optional<uint32_t> g = EditedAnimation();
  if (line == nullptr || !g) return;
  const MainUnit& M = Main();
  const WadFile& wad = M.wadfile;
  const WadDispatch& dispatch = wad.dispatches[line->dispatch];
  const int start = wad.animations[*g].frameStart;
  Edit1->SetText(IntToStr(dispatch.inFrame - start));
  Edit2->SetText(IntToStr(dispatch.outFrame - start));
  Edit3->SetText(IntToStr(dispatch.nextAnimation - M.pivoteAnimacion));
  // A next animation past the table leaves the next frame as stored.
  int nextFrame = dispatch.nextFrame;
  if (dispatch.nextAnimation < wad.numAnimations())
    nextFrame -= wad.animations[dispatch.nextAnimation].frameStart;
  Edit4->SetText(IntToStr(nextFrame));
  Edit5->SetText(IntToStr(wad.stateChanges[line->stateChange].stateId));
}

void TForm1::Button1Click(TObject* Sender) {
  const int frameNext = StrToInt(Edit4->GetText());
  const int nextAnim = StrToInt(Edit3->GetText());
  const int frameOut = StrToInt(Edit2->GetText());
  const int frameIn = StrToInt(Edit1->GetText());
  const int stateId = StrToInt(Edit5->GetText());
  addStateChange(stateId, frameIn, frameOut, nextAnim, frameNext);
  refreshStateChangeList();
}

void TForm1::addStateChange(int stateId, int frameIn, int frameOut, int nextAnim, int frameNext) {
  const std::optional<uint32_t> g = EditedAnimation();
  if (!g) return;
  const std::optional<WadDispatch> dispatch =
      StoredDispatch(*g, {frameIn, frameOut, nextAnim, frameNext});
  if (!dispatch) return;
  ReportRefusal(AddDispatch(Main().wadfile, *g, Word(stateId), *dispatch));
}

void TForm1::Button2Click(TObject* Sender) {
  const DispatchLine* line = SelectedLine();
  const std::optional<uint32_t> g = EditedAnimation();
  if (line == nullptr || !g) return;
  WadStateChange& change = Main().wadfile.stateChanges[line->stateChange];
  const int stateId = StrToInt(Edit5->GetText());
  if (Word(stateId) != change.stateId) {
    ShowMessageBox(L"You can't update the StateID field, you must delete this entry and add a new "
                   L"one with a different StateID",
                   kProductCaption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // Every field is read before any is stored: a bad one changes nothing.
  const TypedDispatch typed{StrToInt(Edit1->GetText()), StrToInt(Edit2->GetText()),
                            StrToInt(Edit3->GetText()), StrToInt(Edit4->GetText())};
  const std::optional<WadDispatch> dispatch = StoredDispatch(*g, typed);
  if (!dispatch) return;
  Main().wadfile.dispatches[line->dispatch] = *dispatch;
  change.stateId = Word(stateId);
  refreshStateChangeList();
  ShowMessageBox(L"State Changes updated", kProductCaption, MB_OK);
}

void TForm1::Button3Click(TObject* Sender) {
  if (SelectedLine() == nullptr) return;
  // The value is not used, but a text that is no number stops the delete.
  StrToInt(Edit5->GetText());
  deleteStateChange(ListBox1->GetItemIndex());
  refreshStateChangeList();
}

void TForm1::deleteStateChange(int line) {
  const std::optional<uint32_t> g = EditedAnimation();
  if (!g || line < 0 || static_cast<std::size_t>(line) >= stateListMaps.size()) return;
  ReportRefusal(DeleteDispatch(Main().wadfile, *g, stateListMaps[static_cast<std::size_t>(line)]));
}
