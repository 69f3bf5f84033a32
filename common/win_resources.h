// Resources of a module: strings, and the action bitmaps shown in picture controls.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace korvet {

// The string resource, or an empty text when it cannot be loaded.
std::string LoadResourceText(HINSTANCE module, UINT id);

// A bitmap deleted when the object goes.
using WinBitmap = UniqueBitmap;

// The bitmap resource with its light grey (0xC0C0C0) background mapped to the current colour of
// button faces, so that it blends into the dialog whatever the colour scheme.
WinBitmap LoadButtonFaceBitmap(HINSTANCE module, int bitmapId);

// Puts the bitmap into a picture control, which shows it from then on; the bitmap the control held
// before is deleted. An empty bitmap clears the control.
void ShowPictureBitmap(HWND dialog, int pictureId, WinBitmap bitmap);

}  // namespace korvet
