#include "catalogue/embossed_label.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr UINT_PTR kSubclassId = 0x7E11;

void Paint(HWND label, HFONT font) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(label, &paint);
  RECT client;
  GetClientRect(label, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

  const int length = GetWindowTextLengthA(label);
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(label, text.data(), length + 1);

  const LONG style = GetWindowLongA(label, GWL_STYLE) & SS_TYPEMASK;
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  format |= style == SS_CENTER ? DT_CENTER : style == SS_RIGHT ? DT_RIGHT : DT_LEFT;

  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  // 1. highlight one pixel up and left, 2. shadow one pixel down and right, 3. black in place.
  const struct {
    int dx, dy;
    COLORREF colour;
  } passes[] = {{-1, -1, GetSysColor(COLOR_BTNHIGHLIGHT)}, {1, 1, GetSysColor(COLOR_BTNSHADOW)}, {0, 0, RGB(0, 0, 0)}};
  for (const auto& pass : passes) {
    RECT rect = client;
    OffsetRect(&rect, pass.dx, pass.dy);
    SetTextColor(dc, pass.colour);
    DrawTextA(dc, text.data(), length, &rect, format);
  }
  SelectObject(dc, oldFont);
  EndPaint(label, &paint);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  HFONT font = reinterpret_cast<HFONT>(data);
  switch (message) {
    case WM_PAINT:
      Paint(label, font);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_SETTEXT: {
      const LRESULT result = DefSubclassProc(label, message, wParam, lParam);
      RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(label, &LabelProc, kSubclassId);
      DeleteObject(font);
      break;
    default:
      break;
  }
  return DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace

bool MakeEmbossedLabel(HWND label) {
  if (!label) return false;
  HFONT font = CreateFontA(16, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
  if (!font) return false;
  if (!SetWindowSubclass(label, &LabelProc, kSubclassId, reinterpret_cast<DWORD_PTR>(font))) {
    DeleteObject(font);
    return false;
  }
  InvalidateRect(label, nullptr, TRUE);
  return true;
}
