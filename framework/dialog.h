#pragma once
// A dialog from a dialog resource, modal or modeless, attached to its object from its
// first message on like every fw::Window (and owned the same way: the window ends before
// the object). DataExchange moves values between the controls and the object in either
// direction (save = true: controls to object).
//
// A template may carry initial list entries (resource type 240 of the same id); they are in
// the lists before OnInitDialog runs.
// Messages reach the dialog in this order: the handlers bound to controls (BindCommand,
// BindNotify), then OnOK / OnCancel for the two standard buttons, then OnMessage.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/window.h"

namespace fw {

class Dialog : public Window {
 public:
  explicit Dialog(int templateId);
  ~Dialog() override;

  INT_PTR DoModal(HWND parent);      // the End result; -1 when the dialog cannot be created
  bool CreateModeless(HWND parent);  // false when the dialog cannot be created
  // Ends a modal dialog with `result`, destroys a modeless one.
  void End(INT_PTR result);
  bool IsModal() const { return modal_; }
  int TemplateId() const { return templateId_; }

 protected:
  using CommandHandler = std::function<void()>;
  using NotifyHandler = std::function<LRESULT(NMHDR&)>;
  // WM_COMMAND from control `id` with notification `code` (BN_CLICKED for buttons).
  void BindCommand(int id, int code, CommandHandler handler);
  // WM_NOTIFY from control `id` with `code`; the handler's result is the message's result.
  void BindNotify(int id, UINT code, NotifyHandler handler);

  virtual BOOL OnInitDialog();  // default: controls filled from the object
  virtual void DataExchange(bool /*save*/) {}
  virtual void OnOK();      // default: controls to object, then End(IDOK)
  virtual void OnCancel();  // default: End(IDCANCEL); the close box comes here too
  // Everything else; TRUE when handled, the dialog procedure's convention.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyInitialData();
  bool RouteCommand(int id, int code);
  bool RouteNotify(NMHDR& header);

  struct CommandEntry {
    int id;
    int code;
    CommandHandler handler;
  };
  struct NotifyEntry {
    int id;
    UINT code;
    NotifyHandler handler;
  };
  int templateId_;
  bool modal_ = false;
  std::vector<CommandEntry> commands_;
  std::vector<NotifyEntry> notifications_;
};

// Keyboard navigation (Tab, Enter, Esc, mnemonics) for modeless dialogs of this thread:
// gives `message` to the outermost modeless dialog that holds its window. True when the
// dialog took it; the message loop then neither translates nor dispatches it.
bool RouteDialogMessage(MSG* message);
// Whether the loop routes keyboard navigation to `hwnd` (a modeless dialog of this thread).
bool IsModelessDialog(HWND hwnd);

}  // namespace fw
