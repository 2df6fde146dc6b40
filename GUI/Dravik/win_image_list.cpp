#include "win_image_list.h"

#include "qr_log.h"

#include <cstdlib>

HIMAGELIST ImageListFromBitmap(CBitmap& bitmap, COLORREF transparent)
{
    BITMAP info{};
    if (bitmap.GetSafeHandle() == nullptr || bitmap.GetBitmap(&info) == 0) {
        TRV_LOG(qr_Error, "No image list from a bitmap that cannot be read");
        return nullptr;
    }
    const int side = std::abs(info.bmHeight);
    const int count = side > 0 ? info.bmWidth / side : 0;
    if (count == 0) {
        TRV_LOG(qr_Error, "No image list from a bitmap of " << info.bmWidth << "x" << info.bmHeight
                                                             << " pixels: it holds no whole square image");
        return nullptr;
    }
    CImageList list;
    if (!list.Create(side, side, ILC_COLOR32 | ILC_MASK, count, 0)) {
        TRV_LOG(qr_Error, "Could not create an image list of " << count << " images of " << side << " pixels");
        return nullptr;
    }
    if (list.Add(&bitmap, transparent) < 0 || list.GetImageCount() != count) {
        TRV_LOG(qr_Error, "Could not fill an image list from a bitmap of " << count << " images");
        return nullptr;  // the list goes with `list`
    }
    return list.Detach();
}
