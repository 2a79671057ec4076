#pragma once
// The State Change Editor window: the dispatches of the animation chosen in
// the main window, one line each, and the fields of the one clicked, shown
// relative to the animation (frames), to the moveable's first animation (Next
// Dide) and to the target animation (Frame Next). Add, Update and Delete
// change the WAD at once; the next save writes them. It exists from start-up
// on, hidden; the main window's "State Changes" shows it and stays disabled
// until it closes.

#include <vector>

#include "model/StateChangeEditing.h"
#include "vcl/Vcl.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner);

  TListBox* ListBox1;
  TButton *Button1, *Button2, *Button3;
  TGroupBox* GroupBox1;
  TLabel* Label5;
  TEdit* Edit5;
  TLabel *Label1, *Label2, *Label3, *Label4;
  TEdit *Edit1, *Edit2, *Edit3, *Edit4;

  void FormShow(TObject* Sender);
  void Salir(TObject* Sender, TCloseAction& Action);
  void ListBox1Click(TObject* Sender);
  void Button1Click(TObject* Sender);  // Add
  void Button2Click(TObject* Sender);  // Update
  void Button3Click(TObject* Sender);  // Delete

 private:
  void refreshStateChangeList();
  void addStateChange(int stateId, int frameIn, int frameOut, int nextAnim, int frameNext);
  void deleteStateChange(int line);
  // The state change and dispatch of the selected line, or null.
  const DispatchLine* SelectedLine() const;

  // The state change and dispatch of each list line, as long as the list.
  std::vector<DispatchLine> stateListMaps;
};
