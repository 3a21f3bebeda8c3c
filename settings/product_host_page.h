#pragma once
// The page of an installed sibling product (template 148): an empty window into which the
// sibling's own program, started with "-1:<handle>", places its settings page. Preview and
// Restore Defaults are passed on to that page; before this window goes, the sibling's page
// is closed, and so saved, and its program ends. Every wait on the sibling is bounded: one
// that stops answering is left behind after a few seconds and ended with its page.
#include <windows.h>

#include <string>

#include "framework/dialog.h"
#include "rotation/member_start.h"

class CProductHostPage : public fw::Dialog {
 public:
  CProductHostPage();
  ~CProductHostPage() override;
  // Creates the page on `rect` (parent's client coordinates) and starts `program` for it.
  // False only when the window can't be created; a program that can't be started leaves
  // the page empty.
  bool Create(const RECT& rect, const std::string& program, HWND parent);

 protected:
  void OnOK() override {}
  void OnCancel() override {}
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CloseEmbeddedPage();

  rotation::MemberProcess sibling_;
  // Set once closing the sibling's page begins: the waits on it answer messages sent to this
  // thread, and a close asked for meanwhile must not begin a second one.
  bool closing_ = false;
};
