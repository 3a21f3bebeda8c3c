#pragma once
// The small window shown while "Web Update" downloads (template 139): status, location and
// a progress bar. The download blocks the user-interface thread; the loader calls
// DispatchPending between steps so that this window alone paints and takes clicks.
// Owned like every fw::Window: the owner ends the window (End or Destroy), then frees it.
#include "catalogue/download_progress.h"
#include "framework/dialog.h"

class CProgressWindow : public fw::Dialog, public DownloadProgress {
 public:
  CProgressWindow();

  // Creates the window without a parent and shows it; false when it can't be created.
  bool Create();
  void SetStatus(const char* text) override;
  void SetLocation(const char* text) override;
  void SetPercent(int percent) override;
  void DispatchPending() override;
  // Ends and destroys the window.
  void End() { fw::Dialog::End(IDCANCEL); }

 protected:
  BOOL OnInitDialog() override;
  // The first press of Cancel only disables it: the download runs to its end.
  void OnCancel() override;
};
