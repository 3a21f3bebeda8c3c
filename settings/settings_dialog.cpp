#include "settings/settings_dialog.h"

#include <cstring>

#include "base/resource_ids.h"
#include "catalogue/product_catalogue.h"
#include "catalogue/product_info_page.h"
#include "catalogue/progress_window.h"
#include "framework/app.h"
#include "settings/collection_registry.h"
#include "settings/product_host_page.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"
#include "settings/settings_ids.h"
#include "settings/settings_page.h"

namespace {

constexpr int kMissingProgramImage = 4;  // the strip's screen with a red cross
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// The failures of a catalogue load that have a message of their own; the others have none.
// It goes to the window that is active, as it always has: during a Web Update the progress
// window is still up.
void ShowLoadFailure(CatalogueError failure, bool fromWeb) {
  const char* text = nullptr;
  switch (failure) {
    case CatalogueError::NoInstallPath:
      text = fromWeb ? "Can't find program's installation path.\nPlease reinstall this software!"
                     : "Can't find program's installation path.\n\t\t\tPlease reinstall this software!";
      break;
    case CatalogueError::NoInternet:
      text = "Can't init internet connection!";
      break;
    case CatalogueError::CantSave:
      text = "Can't save temporary data! \n\t\t\tPlease check free disk space or access rights \n\t\t\tfor "
             "program's installation path, or reinstall the program.";
      break;
    case CatalogueError::None:
    case CatalogueError::DownloadFailed:
    case CatalogueError::Unreadable:
    case CatalogueError::PicturesFailed:
      break;
  }
  if (text) fw::ShowMessage(GetActiveWindow(), text, MB_OK);
}

}  // namespace

CSettingsDlg::CSettingsDlg(int initialPage) : fw::Dialog(IDD_SETTINGS_DIALOG), initialPage_(initialPage) {
  // The current page is a window of this thread (a sibling's page sits inside a host page
  // that passes these on with bounded sends), so these sends never wait on another program.
  BindCommand(IDC_PREVIEW, BN_CLICKED, [this] {
    if (page_) SendMessageA(page_->Handle(), UM_PREVIEW, 0, 0);
  });
  BindCommand(IDC_RESTORE_DEFAULTS, BN_CLICKED, [this] {
    if (page_) SendMessageA(page_->Handle(), UM_RESTOREDEFAULTS, 0, 0);
  });
  BindCommand(IDC_WEB_UPDATE, BN_CLICKED, [this] { operations_.Run([this] { WebUpdate(); }, OneAtATime::Later::Ignored); });
  BindNotify(IDC_PRODUCT_LIST, LVN_ITEMCHANGED, [this](NMHDR& header) { return OnListChanged(header); });
}

BOOL CSettingsDlg::OnInitDialog() {
  HINSTANCE module = GetModuleHandleA(nullptr);
  icon_ = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_TELLARO), IMAGE_ICON, 32, 32, 0));
  smallIcon_ = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_TELLARO), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

  images_ = ImageList_Create(32, 32, ILC_COLOR16 | ILC_MASK, 7, 1);
  ImageList_AddIcon(images_, icon_);
  if (HBITMAP strip = static_cast<HBITMAP>(
          LoadImageA(module, MAKEINTRESOURCEA(IDB_PRODUCT_STRIP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
    ImageList_AddMasked(images_, strip, kTransparent);
    DeleteObject(strip);
  }

  BuildProductList(false);
  FillList();
  SelectPage(initialPage_);
  operations_.Run([this] { SwitchPage(initialPage_); }, OneAtATime::Later::Latest);

  RegistryKey collection;
  if (collection.Create(HKEY_CURRENT_USER, registry_names::kCollectionKey))
    startRandom_ = collection_registry::ReadStartRandom(collection) ? 1 : 0;
  CheckDlgButton(hwnd_, IDC_START_RANDOM, startRandom_ ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(Item(IDC_START_RANDOM), installedCount_ > 0);
  return TRUE;
}

void CSettingsDlg::BuildProductList(bool download) {
  Settings settings;
  settings.Load();
  ProductCatalogue catalogue;
  if (download) {
    CProgressWindow progress;
    const bool shown = progress.Create();
    const CatalogueResult loaded =
        catalogue.LoadFromWeb(settings.InstallPath, CatalogueAddress(), shown ? &progress : nullptr);
    ShowLoadFailure(loaded.code(), true);
    if (shown) progress.End();
    if (!loaded) fw::ShowMessage(hwnd_, "Failed to update products list Online!", MB_OK);
  } else {
    ShowLoadFailure(catalogue.LoadFromCache(settings.InstallPath).code(), false);
  }
  products_ = ::BuildProductList(settings.members, catalogue.Entries());
}

// The member program's own icon 128 at 32x32, read from its file without running it.
int CSettingsDlg::AddMemberIcon(const std::string& program) {
  HMODULE file = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!file) return -1;
  int image = kMissingProgramImage;
  if (HRSRC group = FindResourceA(file, MAKEINTRESOURCEA(IDI_TELLARO), MAKEINTRESOURCEA(14))) {
    if (auto* directory = static_cast<BYTE*>(LockResource(LoadResource(file, group)))) {
      const int id = LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, LR_DEFAULTCOLOR);
      HRSRC found = id ? FindResourceA(file, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)) : nullptr;
      auto* bits = found ? static_cast<BYTE*>(LockResource(LoadResource(file, found))) : nullptr;
      if (HICON icon = bits ? CreateIconFromResourceEx(bits, SizeofResource(file, found), TRUE, 0x00030000, 32, 32,
                                                      LR_DEFAULTCOLOR)
                            : nullptr) {
        image = ImageList_AddIcon(images_, icon);
        DestroyIcon(icon);
      }
    }
  }
  FreeLibrary(file);
  return image;
}

void CSettingsDlg::FillList() {
  HWND list = Item(IDC_PRODUCT_LIST);
  ListView_DeleteAllItems(list);
  // Keep the product icons of the members read so far out of a refilled list.
  ImageList_SetImageCount(images_, 7);
  ListView_SetIconSpacing(list, 70, 72);
  ListView_SetImageList(list, images_, LVSIL_NORMAL);

  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  char ownTitle[] = "Tellaro Screensaver";
  item.pszText = ownTitle;
  item.iImage = 0;
  item.lParam = kOwnPage;
  ListView_InsertItem(list, &item);
  ListView_SetSelectionMark(list, 0);
  ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);

  installedCount_ = 0;
  for (size_t i = 0; i < products_.size(); ++i) {
    const ProductEntry& product = products_[i];
    int image = -1;
    if (product.Installed()) {
      image = AddMemberIcon(product.ExecutablePath);
      if (image < 0) image = kMissingProgramImage;
      else ++installedCount_;
    } else if (HBITMAP bitmap = static_cast<HBITMAP>(
                   LoadImageA(nullptr, product.IconFile.c_str(), IMAGE_BITMAP, 32, 32, LR_LOADFROMFILE))) {
      image = ImageList_AddMasked(images_, bitmap, kTransparent);
      DeleteObject(bitmap);
    }
    std::string title = product.Title;
    item.iItem = static_cast<int>(i) + 1;
    item.pszText = &title[0];
    item.iImage = image;
    item.lParam = static_cast<LPARAM>(i);
    ListView_InsertItem(list, &item);
  }
}

void CSettingsDlg::SelectPage(int code) {
  HWND list = Item(IDC_PRODUCT_LIST);
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = ListView_GetSelectionMark(list);
  if (item.iItem >= 0 && ListView_GetItem(list, &item) && item.lParam == code) return;
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = code;
  const int found = static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(&find)));
  if (found < 0) return;
  ListView_SetItemState(list, found, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetSelectionMark(list, found);
  ListView_EnsureVisible(list, found, FALSE);
}

LRESULT CSettingsDlg::OnListChanged(NMHDR& header) {
  const NMLISTVIEW& change = reinterpret_cast<const NMLISTVIEW&>(header);
  // A choice made while another page switch waits on a sibling is taken once that one ends,
  // so the page shown follows the selection; a Web Update refills the list and drops it.
  if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_FOCUSED) && !(change.uOldState & LVIS_FOCUSED)) {
    const int code = static_cast<int>(change.lParam);
    operations_.Run([this, code] { SwitchPage(code); }, OneAtATime::Later::Latest);
  }
  return 0;
}

void CSettingsDlg::EndPage() {
  // Out of page_ first: nothing answered while its window goes reaches it through the dialog.
  const std::unique_ptr<fw::Dialog> page = std::move(page_);
  if (page) page->Destroy();  // a settings page saves itself; a host page closes its sibling's first
}

void CSettingsDlg::SwitchPage(int code) {
  if (code == currentPage_) return;
  if (code != kOwnPage && (code < 0 || static_cast<size_t>(code) >= products_.size())) return;
  EndPage();
  currentPage_ = kNoPage;

  RECT area;
  GetWindowRect(Item(IDC_PAGE_AREA), &area);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
  bool buttons = true;
  if (code == kOwnPage) {
    auto page = std::make_unique<CSettingsPage>();
    if (page->Create(area, hwnd_)) page_ = std::move(page);
  } else if (products_[static_cast<size_t>(code)].Installed()) {
    auto page = std::make_unique<CProductHostPage>();
    if (page->Create(area, products_[static_cast<size_t>(code)].ExecutablePath, hwnd_)) page_ = std::move(page);
  } else {
    const ProductEntry& product = products_[static_cast<size_t>(code)];
    auto page = std::make_unique<CProductInfoPage>();
    if (page->Create(area, hwnd_, product.Title, product.DescriptionText, product.DownloadURL,
                     product.ScreenshotFile))
      page_ = std::move(page);
    buttons = false;
  }
  ShowWindow(Item(IDC_PREVIEW), buttons ? SW_SHOW : SW_HIDE);
  ShowWindow(Item(IDC_RESTORE_DEFAULTS), buttons ? SW_SHOW : SW_HIDE);
  if (page_) ShowWindow(page_->Handle(), SW_SHOWNA);
  currentPage_ = code;
}

void CSettingsDlg::WebUpdate() {
  // The page shown stays; the list is refilled with this product selected. A page of a
  // catalogue product may name another product now, so the next choice always switches.
  const bool catalogueShown =
      currentPage_ >= 0 && static_cast<size_t>(currentPage_) < products_.size() && !products_[currentPage_].Installed();
  BuildProductList(true);
  FillList();
  if (catalogueShown) currentPage_ = kNoPage;
  operations_.DropWaiting();  // a choice made meanwhile named an item of the old list
}

void CSettingsDlg::OnOK() {
  operations_.Run([this] { SaveAndEnd(); }, OneAtATime::Later::Final);
}

void CSettingsDlg::OnCancel() {
  operations_.Run([this] { fw::Dialog::OnCancel(); }, OneAtATime::Later::Final);
}

void CSettingsDlg::SaveAndEnd() {
  startRandom_ = IsDlgButtonChecked(hwnd_, IDC_START_RANDOM) == BST_CHECKED ? 1 : 0;
  RegistryKey collection;
  if (collection.Create(HKEY_CURRENT_USER, registry_names::kCollectionKey))
    collection_registry::WriteStartRandom(collection, startRandom_ != 0);
  fw::Dialog::OnOK();
}

bool CSettingsDlg::PaintMinimized() {
  if (!IsIconic(hwnd_)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  SendMessageA(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
  DrawIcon(dc, (client.right - width + 1) / 2, (client.bottom - height + 1) / 2, icon_);
  EndPaint(hwnd_, &paint);
  return true;
}

INT_PTR CSettingsDlg::OnMessage(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_PAINT:
      return PaintMinimized() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(icon_));
      return TRUE;
    case WM_DESTROY:
      // The page goes first, while the dialog is still whole: it saves itself. Nothing asked
      // for while it goes is taken afterwards.
      operations_.Run(
          [this] {
            EndPage();
            operations_.DropWaiting();
          },
          OneAtATime::Later::Final);
      ListView_SetImageList(Item(IDC_PRODUCT_LIST), nullptr, LVSIL_NORMAL);
      if (images_) ImageList_Destroy(images_);
      images_ = nullptr;
      return FALSE;
    case WM_NCDESTROY:
      if (icon_) DestroyIcon(icon_);
      if (smallIcon_) DestroyIcon(smallIcon_);
      icon_ = smallIcon_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}
