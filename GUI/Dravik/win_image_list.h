// The console's image lists come from bitmap strips: one row of square
// images side by side, each as wide as the strip is high. GUI thread.
#pragma once

#include "afxwin.h"

// A new image list of the strip's images (32-bit colour with a mask), the
// pixels of `transparent` colour masked out. The bitmap must not be selected
// into a device context; the image list may change its transparent pixels.
// Null (logged) when the bitmap holds no whole image or the list cannot be
// made. The caller owns the list (CImageList::Attach, or ImageList_Destroy).
HIMAGELIST ImageListFromBitmap(CBitmap& bitmap, COLORREF transparent);
