#include "platform/core/ExceptionPresenter.h"

#include <algorithm>

namespace cv {

const wchar_t kDetailsShowText[] = L"Details >>";
const wchar_t kDetailsHideText[] = L"Details <<";

namespace {

constexpr uint32_t kDialogStyle = 0x80CC08C0;  // popup, caption, system menu, sizing border, centred, modal frame, font
constexpr uint32_t kAppWindow = 0x00040000;    // WS_EX_APPWINDOW

void PutDword(std::vector<uint16_t>& out, uint32_t value) {
  out.push_back(static_cast<uint16_t>(value & 0xFFFF));
  out.push_back(static_cast<uint16_t>(value >> 16));
}

void PutText(std::vector<uint16_t>& out, const std::wstring& text) {
  for (wchar_t c : text) out.push_back(static_cast<uint16_t>(c));
  out.push_back(0);
}

}  // namespace

ErrorDialogLayout LayoutErrorDialog(const std::wstring& title, const std::wstring& message,
                                    const std::wstring& details, bool hasOwner) {
  int lines = static_cast<int>(std::count(message.begin(), message.end(), L'\n')) + 1;
  lines = std::clamp(lines, 3, 30);
  ErrorDialogLayout layout;
  // 8.3 dialog units per line, truncated; in tenths so no rounding creeps in.
  layout.textHeight = lines * 83 / 10;
  layout.extra = (lines - 3) * 83 / 10;
  layout.style = kDialogStyle;
  layout.exStyle = hasOwner ? 0 : kAppWindow;
  layout.cx = 350;
  layout.cy = static_cast<int16_t>(layout.extra + 60);
  layout.title = title;
  auto extra = static_cast<int16_t>(layout.extra);
  layout.controls.push_back({DialogControlClass::Static, kErrorIconId, L"", 0x50000003, 10, 10, 21, 21});
  layout.controls.push_back({DialogControlClass::Static, kErrorMessageId, message, 0x50000000, 38, 10, 306,
                             static_cast<int16_t>(layout.textHeight)});
  layout.controls.push_back(
      {DialogControlClass::Button, kErrorCloseId, L"Close", 0x50000001, 296, static_cast<int16_t>(extra + 37), 50, 14});
  if (!details.empty()) {
    layout.controls.push_back({DialogControlClass::Button, kErrorDetailsButtonId, kDetailsShowText, 0x50000000, 5,
                               static_cast<int16_t>(extra + 37), 50, 14});
    layout.controls.push_back({DialogControlClass::Edit, kErrorDetailsId, details, 0x40B018C4, 4,
                               static_cast<int16_t>(extra + 55), 342, 200});
    layout.controls.push_back({DialogControlClass::Button, kErrorCopyButtonId, L"Copy", 0x40000000, 296,
                               static_cast<int16_t>(extra + 260), 50, 14});
  }
  return layout;
}

std::vector<uint16_t> BuildDialogTemplate(const ErrorDialogLayout& layout) {
  std::vector<uint16_t> out;
  PutDword(out, layout.style);
  PutDword(out, layout.exStyle);
  out.push_back(static_cast<uint16_t>(layout.controls.size()));
  for (int16_t v : {int16_t{0}, int16_t{0}, layout.cx, layout.cy}) out.push_back(static_cast<uint16_t>(v));
  out.push_back(0);  // no menu
  out.push_back(0);  // the standard dialog class
  PutText(out, layout.title);
  out.push_back(8);
  PutText(out, L"MS Shell Dlg");
  for (const DialogControl& control : layout.controls) {
    if (out.size() % 2 != 0) out.push_back(0);  // each item starts on a 32-bit boundary
    PutDword(out, control.style);
    PutDword(out, 0);
    for (int16_t v : {control.x, control.y, control.cx, control.cy}) out.push_back(static_cast<uint16_t>(v));
    out.push_back(control.id);
    out.push_back(0xFFFF);
    out.push_back(static_cast<uint16_t>(control.kind));
    PutText(out, control.text);
    out.push_back(0);  // no creation data
  }
  return out;
}

std::wstring DetailsToShow(const std::wstring& message, const std::wstring& details) {
  return details == message ? std::wstring() : details;
}

}  // namespace cv
