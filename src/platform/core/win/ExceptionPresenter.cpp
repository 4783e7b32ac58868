#include "platform/core/win/ExceptionPresenter.h"

#include <algorithm>
#include <vector>

#include "platform/core/win/SystemLibrary.h"

namespace cv {

namespace {

// A control that follows the right and/or bottom edge when the dialog is resized.
struct Anchor {
  int id;
  bool moveX, moveY, growX, growY;
  RECT rect;  // client coordinates at the initial size
};

struct DialogState {
  HFONT font = nullptr;
  HICON icon = nullptr;
  bool ownsIcon = false;
  bool expanded = false;
  RECT collapsed{};
  RECT expandedRect{};
  SIZE minimum{};
  SIZE initialClient{};
  std::vector<Anchor> anchors;
};

RECT ClientRectOf(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void LoadErrorIcon(HWND dialog, DialogState& state) {
  int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  // LoadIconMetric exists from Windows Vista's common controls 6 on.
  using LoadIconMetricFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  UniqueLibrary loaded;
  if (!comctl) {
    loaded = LoadSystemLibrary(L"comctl32.dll");
    comctl = loaded.get();
  }
  auto loadIconMetric = FindFunction<LoadIconMetricFunction>(comctl, "LoadIconMetric");
  HICON icon = nullptr;
  if (loadIconMetric && SUCCEEDED(loadIconMetric(nullptr, IDI_ERROR, 1 /* LIM_LARGE */, &icon)) && icon) {
    state.ownsIcon = true;
  } else {
    icon = static_cast<HICON>(LoadImageW(nullptr, IDI_ERROR, IMAGE_ICON, cx, cy, LR_SHARED));
  }
  state.icon = icon;
  if (icon) SendDlgItemMessageW(dialog, kErrorIconId, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void InitDialog(HWND dialog, DialogState& state) {
  LoadErrorIcon(dialog, state);
  HWND details = GetDlgItem(dialog, kErrorDetailsId);
  if (details) {
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    state.font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
    if (state.font) SendMessageW(details, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  }
  GetWindowRect(dialog, &state.collapsed);
  state.minimum = {state.collapsed.right - state.collapsed.left, state.collapsed.bottom - state.collapsed.top};
  state.expandedRect = state.collapsed;
  HWND copy = GetDlgItem(dialog, kErrorCopyButtonId);
  if (details && copy) {
    RECT a{}, b{};
    GetWindowRect(details, &a);
    GetWindowRect(copy, &b);
    state.expandedRect.bottom = std::max(a.bottom, b.bottom) + 20;
  }
  // The template places the details box and Copy for the expanded size: the
  // anchors measure from there, so the collapsed size only hides them.
  RECT client{};
  GetClientRect(dialog, &client);
  state.initialClient = {client.right, client.bottom + (state.expandedRect.bottom - state.collapsed.bottom)};
  const Anchor anchors[] = {
      {kErrorCloseId, true, false, false, false, {}},
      {kErrorDetailsId, false, false, true, true, {}},
      {kErrorCopyButtonId, true, true, false, false, {}},
  };
  for (Anchor anchor : anchors) {
    HWND control = GetDlgItem(dialog, anchor.id);
    if (!control) continue;
    anchor.rect = ClientRectOf(dialog, control);
    state.anchors.push_back(anchor);
  }
}

void Relayout(HWND dialog, const DialogState& state, int width, int height) {
  int dx = width - state.initialClient.cx, dy = height - state.initialClient.cy;
  for (const Anchor& anchor : state.anchors) {
    RECT r = anchor.rect;
    int x = r.left + (anchor.moveX ? dx : 0), y = r.top + (anchor.moveY ? dy : 0);
    int cx = r.right - r.left + (anchor.growX ? dx : 0), cy = r.bottom - r.top + (anchor.growY ? dy : 0);
    SetWindowPos(GetDlgItem(dialog, anchor.id), nullptr, x, y, std::max(cx, 0), std::max(cy, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(dialog, nullptr, TRUE);
}

void ToggleDetails(HWND dialog, DialogState& state) {
  state.expanded = !state.expanded;
  int show = state.expanded ? SW_SHOW : SW_HIDE;
  ShowWindow(GetDlgItem(dialog, kErrorDetailsId), show);
  ShowWindow(GetDlgItem(dialog, kErrorCopyButtonId), show);
  SetDlgItemTextW(dialog, kErrorDetailsButtonId, state.expanded ? kDetailsHideText : kDetailsShowText);
  const RECT& size = state.expanded ? state.expandedRect : state.collapsed;
  SetWindowPos(dialog, nullptr, 0, 0, size.right - size.left, size.bottom - size.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CopyDetails(HWND dialog) {
  HWND details = GetDlgItem(dialog, kErrorDetailsId);
  SendMessageW(details, EM_SETSEL, 0, -1);
  SendMessageW(details, WM_COPY, 0, 0);
  SendMessageW(details, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

INT_PTR CALLBACK ErrorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      InitDialog(dialog, *reinterpret_cast<DialogState*>(lParam));
      return TRUE;
    case WM_GETMINMAXINFO:
      if (state && state->minimum.cx > 0) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {state->minimum.cx, state->minimum.cy};
        return TRUE;
      }
      return FALSE;
    case WM_SIZE:
      if (state) Relayout(dialog, *state, LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wParam));
          return TRUE;
        case kErrorDetailsButtonId:
          if (state) ToggleDetails(dialog, *state);
          return TRUE;
        case kErrorCopyButtonId:
          CopyDetails(dialog);
          return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      if (state) {
        if (state->font) DeleteObject(state->font);
        if (state->ownsIcon && state->icon) DestroyIcon(state->icon);
        state->font = nullptr;
        state->icon = nullptr;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

INT_PTR ShowErrorDialog(HWND owner, const std::wstring& title, const std::wstring& message,
                        const std::wstring& details) {
  std::vector<uint16_t> dialogTemplate =
      BuildDialogTemplate(LayoutErrorDialog(title, message, details, owner != nullptr));
  DialogState state;
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                 owner, ErrorDialogProc, reinterpret_cast<LPARAM>(&state));
}

void ReportError(HWND parent, const std::wstring& message, const std::wstring& details, const std::wstring& kindName,
                 const SourceLocation& location) {
  (void)kindName;
  (void)location;
  HWND owner = parent && IsWindow(parent) ? parent : nullptr;
  ShowErrorDialog(owner, L"Error", message, DetailsToShow(message, details));
}

}  // namespace cv
