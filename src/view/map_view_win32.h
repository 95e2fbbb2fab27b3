// Puts the composed map view on the screen with GDI+.
#pragma once

#include <windows.h>

#include "view/view_canvas.h"

// Redraws the whole client area, whatever region was invalidated.
void PaintMapView(HWND window, HDC deviceContext);

// Composes the picture PaintMapView would show, without drawing it. The
// canvas is the paint's frame buffer, valid until the next paint.
const ViewCanvas& ComposeMapView(HWND window);
