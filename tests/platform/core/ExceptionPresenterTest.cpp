// The error dialog's size and controls, and the template Windows runs.
#include "platform/core/ExceptionPresenter.h"

#include <gtest/gtest.h>

namespace cv {
namespace {

std::wstring Lines(int count) {
  std::wstring text = L"line";
  for (int i = 1; i < count; ++i) text += L"\r\nline";
  return text;
}

TEST(ErrorDialogLayout, HeightFollowsTheMessageLines) {
  struct Case {
    int lines;
    int textHeight, extra, cy;
  } cases[] = {
      {1, 24, 0, 60}, {3, 24, 0, 60}, {4, 33, 8, 68}, {10, 83, 58, 118}, {30, 249, 224, 284}, {45, 249, 224, 284},
  };
  for (const Case& c : cases) {
    ErrorDialogLayout layout = LayoutErrorDialog(L"Error", Lines(c.lines), L"details", false);
    EXPECT_EQ(layout.textHeight, c.textHeight) << c.lines;
    EXPECT_EQ(layout.extra, c.extra) << c.lines;
    EXPECT_EQ(layout.cy, c.cy) << c.lines;
    EXPECT_EQ(layout.cx, 350);
    ASSERT_EQ(layout.controls.size(), 6u);
    EXPECT_EQ(layout.controls[1].cy, c.textHeight);
    EXPECT_EQ(layout.controls[2].y, c.extra + 37);  // Close
    EXPECT_EQ(layout.controls[4].y, c.extra + 55);  // details box
    EXPECT_EQ(layout.controls[5].y, c.extra + 260); // Copy
  }
}

TEST(ErrorDialogLayout, DetailsControlsOnlyWithDetails) {
  ErrorDialogLayout without = LayoutErrorDialog(L"Error", L"message", L"", true);
  ASSERT_EQ(without.controls.size(), 3u);
  EXPECT_EQ(without.exStyle, 0u);
  EXPECT_EQ(without.controls[2].text, L"Close");
  EXPECT_EQ(without.controls[2].style, 0x50000001u);

  ErrorDialogLayout with = LayoutErrorDialog(L"Error", L"message", L"the details", false);
  EXPECT_EQ(with.style, 0x80CC08C0u);
  EXPECT_EQ(with.exStyle, 0x00040000u);  // its own taskbar button without an owner
  ASSERT_EQ(with.controls.size(), 6u);
  EXPECT_EQ(with.controls[3].text, L"Details >>");
  EXPECT_EQ(with.controls[4].kind, DialogControlClass::Edit);
  EXPECT_EQ(with.controls[4].text, L"the details");
  EXPECT_EQ(with.controls[4].style, 0x40B018C4u);
  EXPECT_EQ(with.controls[5].style, 0x40000000u);

  EXPECT_EQ(DetailsToShow(L"same", L"same"), L"");
  EXPECT_EQ(DetailsToShow(L"message", L"more"), L"more");
}

TEST(ErrorDialogLayout, TemplateHeaderAndItemsAreAligned) {
  ErrorDialogLayout layout = LayoutErrorDialog(L"Error", L"Odd", L"x", false);
  std::vector<uint16_t> t = BuildDialogTemplate(layout);
  ASSERT_GT(t.size(), 30u);
  EXPECT_EQ(t[0] | (t[1] << 16), 0x80CC08C0u);
  EXPECT_EQ(t[2] | (t[3] << 16), 0x00040000u);
  EXPECT_EQ(t[4], 6);                                 // items
  EXPECT_EQ(t[7], 350);                               // cx
  EXPECT_EQ(t[8], 60);                                // cy
  EXPECT_EQ(t[9], 0);                                 // menu
  EXPECT_EQ(t[10], 0);                                // class
  EXPECT_EQ(std::wstring(t.begin() + 11, t.begin() + 16), L"Error");
  EXPECT_EQ(t[17], 8);                                // point size
  EXPECT_EQ(std::wstring(t.begin() + 18, t.begin() + 30), L"MS Shell Dlg");
  // Walk the items: each on a 32-bit boundary, with its class atom, text and id.
  size_t at = 31;
  for (const DialogControl& control : layout.controls) {
    if (at % 2) ++at;
    EXPECT_EQ(t[at] | (t[at + 1] << 16), control.style);
    EXPECT_EQ(static_cast<int16_t>(t[at + 4]), control.x);
    EXPECT_EQ(static_cast<int16_t>(t[at + 5]), control.y);
    EXPECT_EQ(t[at + 8], control.id);
    EXPECT_EQ(t[at + 9], 0xFFFF);
    EXPECT_EQ(t[at + 10], static_cast<uint16_t>(control.kind));
    at += 11;
    EXPECT_EQ(std::wstring(t.begin() + at, t.begin() + at + control.text.size()), control.text);
    at += control.text.size() + 1;
    EXPECT_EQ(t[at], 0);  // creation data
    ++at;
  }
  EXPECT_EQ(at, t.size());
}

}  // namespace
}  // namespace cv
