// Puts the composed map view on the screen with GDI+.
#pragma once

#include <windows.h>

// Redraws the whole client area, whatever region was invalidated.
void PaintMapView(HWND window, HDC deviceContext);
