// The error report dialog as data: its size and controls follow from the
// message and the details, and the template Windows runs is built from them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace cv {

// Control identifiers of the dialog.
constexpr uint16_t kErrorIconId = 500;
constexpr uint16_t kErrorMessageId = 501;
constexpr uint16_t kErrorDetailsId = 502;
constexpr uint16_t kErrorDetailsButtonId = 503;
constexpr uint16_t kErrorCopyButtonId = 504;
constexpr uint16_t kErrorCloseId = 1;

extern const wchar_t kDetailsShowText[];
extern const wchar_t kDetailsHideText[];

enum class DialogControlClass : uint16_t { Button = 0x80, Edit = 0x81, Static = 0x82 };

struct DialogControl {
  DialogControlClass kind;
  uint16_t id;
  std::wstring text;
  uint32_t style;
  int16_t x, y, cx, cy;
};

struct ErrorDialogLayout {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t cx = 0, cy = 0;
  int textHeight = 0;
  int extra = 0;
  std::wstring title;
  std::vector<DialogControl> controls;
};

// Lines of the message (3 to 30) set the height; the details box, its button
// and the copy button exist only with details.
ErrorDialogLayout LayoutErrorDialog(const std::wstring& title, const std::wstring& message,
                                    const std::wstring& details, bool hasOwner);
// The in-memory dialog template (DLGTEMPLATE with an 8-point "MS Shell Dlg"),
// as 16-bit units.
std::vector<uint16_t> BuildDialogTemplate(const ErrorDialogLayout& layout);
// Details that only repeat the message are dropped.
std::wstring DetailsToShow(const std::wstring& message, const std::wstring& details);

}  // namespace cv
