#include "common/win_resources.h"

#include <commctrl.h>

#include <utility>

namespace korvet {

std::string LoadResourceText(HINSTANCE module, UINT id) {
  char text[1024] = {};
  int length = LoadStringA(module, id, text, sizeof text);
  return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
}

WinBitmap LoadButtonFaceBitmap(HINSTANCE module, int bitmapId) {
  COLORMAP map{RGB(0xC0, 0xC0, 0xC0), GetSysColor(COLOR_BTNFACE)};
  return WinBitmap(CreateMappedBitmap(module, bitmapId, 0, &map, 1));
}

void ShowPictureBitmap(HWND dialog, int pictureId, WinBitmap bitmap) {
  HWND picture = GetDlgItem(dialog, pictureId);
  if (!picture) return;
  // The control hands back the bitmap it showed before; from here on that one is ours to delete.
  WinBitmap previous(reinterpret_cast<HBITMAP>(
      SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.Get()))));
  bitmap.Release();
}

}  // namespace korvet
