#pragma once
// A dialog from a dialog resource, modal or modeless. The object is attached on
// WM_INITDIALOG; DataExchange moves values between the controls and the object in
// either direction (save = true: controls to object).
#include <windows.h>

namespace fw {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  INT_PTR DoModal(HWND parent);         // -1 when the dialog cannot be created
  bool CreateModeless(HWND parent);     // false when the dialog cannot be created
  void Destroy();                       // modeless dialogs
  HWND Handle() const { return hwnd_; }
  int TemplateId() const { return templateId_; }

 protected:
  virtual BOOL OnInitDialog();  // default: controls filled from the object
  virtual void DataExchange(bool /*save*/) {}
  // Returns TRUE when the message was handled; the default handles nothing.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs after the dialog window is gone.
  virtual void OnDestroyed() {}

  HWND hwnd_ = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  int templateId_;
};

}  // namespace fw
