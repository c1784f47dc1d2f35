#include "platform/window_builder.h"

#include "platform/twips.h"
#include "platform/utf.h"

#include <commctrl.h>

#include <algorithm>

namespace bootdeck {

namespace {

struct WindowKind {
  const wchar_t *className;
  DWORD style;
  DWORD exStyle;
};

WindowKind windowKind(ControlKind kind) {
  switch (kind) {
  case ControlKind::PushButton:
    return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
  case ControlKind::OptionButton:
    return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
  case ControlKind::CheckBox:
    return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
  case ControlKind::Frame:
    return {L"BUTTON", BS_GROUPBOX, 0};
  case ControlKind::Label:
    return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
  case ControlKind::Edit:
    return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
  case ControlKind::MultiLineEdit:
    return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
            WS_EX_CLIENTEDGE};
  case ControlKind::ReadOnlyMultiLineEdit:
    return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP,
            WS_EX_CLIENTEDGE};
  case ControlKind::DropDownList:
    return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
  }
  return {L"STATIC", 0, 0};
}

HFONT createDialogFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    if (HFONT font = CreateFontIndirectW(&metrics.lfMessageFont))
      return font;
  LOGFONTW fallback = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
  return CreateFontIndirectW(&fallback);
}

// A drop-down list's given height is that of its closed field; the list below is extra.
void fitClosedHeight(HWND combo, int height) {
  RECT rect;
  GetWindowRect(combo, &rect);
  const int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, WPARAM(-1), 0));
  const int border = (rect.bottom - rect.top) - itemHeight;
  if (height - border > 0)
    SendMessageW(combo, CB_SETITEMHEIGHT, WPARAM(-1), height - border);
}

} // namespace

int screenDpi() {
  ScopedScreenDc dc;
  return dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
}

void placeCentred(HWND window, int clientWidthTwips, int clientHeightTwips, int dpi) {
  RECT rect = {0, 0, twipsToPixels(clientWidthTwips, dpi), twipsToPixels(clientHeightTwips, dpi)};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowControls::WindowControls(HWND window, const std::vector<ControlSpec> &table, int dpi)
    : font_(createDialogFont()) {
  std::vector<const ControlSpec *> order;
  for (const ControlSpec &row : table)
    order.push_back(&row);
  std::sort(order.begin(), order.end(),
            [](const ControlSpec *a, const ControlSpec *b) { return a->tabIndex < b->tabIndex; });

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const bool anyTip =
      std::any_of(order.begin(), order.end(), [](const ControlSpec *s) { return s->toolTip; });
  if (anyTip) {
    toolTip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, twipsToPixels(6000, dpi));
  }

  int groups = 0;
  controls_.reserve(order.size());
  for (const ControlSpec *row : order) {
    const Created *previous = controls_.empty() ? nullptr : &controls_.back();
    int originLeft = 0, originTop = 0;
    if (row->container != 0) {
      const auto frame = std::find_if(table.begin(), table.end(),
                                      [&](const ControlSpec &s) { return s.id == row->container; });
      if (frame != table.end()) {
        originLeft = frame->left;
        originTop = frame->top;
      }
    }

    const WindowKind kind = windowKind(row->kind);
    const bool continuesGroup = row->kind == ControlKind::OptionButton && previous &&
                                previous->row->kind == ControlKind::OptionButton &&
                                previous->row->container == row->container;
    const int group = row->kind != ControlKind::OptionButton ? -1
                      : continuesGroup                       ? previous->group
                                                             : groups++;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
    if (!continuesGroup)
      style |= WS_GROUP;

    const int height = twipsToPixels(row->height, dpi);
    const int createdHeight = row->kind == ControlKind::DropDownList ? height * 10 : height;
    HWND hwnd = CreateWindowExW(
        kind.exStyle, kind.className, widen(row->text ? row->text : "").c_str(), style,
        twipsToPixels(originLeft + row->left, dpi), twipsToPixels(originTop + row->top, dpi),
        twipsToPixels(row->width, dpi), createdHeight, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row->id)), instance, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (row->kind == ControlKind::DropDownList)
      fitClosedHeight(hwnd, height);
    if (row->checked)
      SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    if (row->toolTip) {
      const std::wstring tip = widen(row->toolTip);
      TOOLINFOW info = {};
      info.cbSize = sizeof info;
      info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      info.hwnd = window;
      info.uId = reinterpret_cast<UINT_PTR>(hwnd);
      info.lpszText = const_cast<wchar_t *>(tip.c_str());
      SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    controls_.push_back({row, hwnd, group});
  }

  for (const Created &created : controls_) {
    if (created.group >= 0)
      syncOptionTabStop(created.hwnd);
    // Frames lie below everything, so the controls drawn within them stay visible.
    if (created.row->kind == ControlKind::Frame)
      SetWindowPos(created.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

HWND WindowControls::control(int id) const {
  for (const Created &created : controls_)
    if (created.row->id == id)
      return created.hwnd;
  return nullptr;
}

const WindowControls::Created *WindowControls::find(HWND hwnd) const {
  for (const Created &created : controls_)
    if (created.hwnd == hwnd)
      return &created;
  return nullptr;
}

void WindowControls::syncOptionTabStop(HWND optionButton) {
  const Created *clicked = find(optionButton);
  if (!clicked || clicked->group < 0)
    return;
  HWND first = nullptr, selected = nullptr;
  for (const Created &created : controls_) {
    if (created.group != clicked->group)
      continue;
    if (!first)
      first = created.hwnd;
    if (!selected && SendMessageW(created.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
      selected = created.hwnd;
  }
  const HWND stop = selected ? selected : first;
  for (const Created &created : controls_) {
    if (created.group != clicked->group)
      continue;
    const LONG_PTR style = GetWindowLongPtrW(created.hwnd, GWL_STYLE);
    const LONG_PTR wanted = created.hwnd == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
    if (wanted != style)
      SetWindowLongPtrW(created.hwnd, GWL_STYLE, wanted);
  }
}

} // namespace bootdeck
