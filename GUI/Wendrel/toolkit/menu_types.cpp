#include "toolkit/menu_types.h"

// The registered messages, colour tables and maps of these classes are
// defined in static_init.cpp, where their order of creation is fixed.

IMPLEMENT_DYNAMIC(VEzaPopupMenuWnd, CWnd)
IMPLEMENT_DYNAMIC(VEzaPopupColorMenuWnd, VEzaPopupMenuWnd)
IMPLEMENT_DYNAMIC(VEzaPopupControlMenuWnd, VEzaPopupMenuWnd)
IMPLEMENT_DYNAMIC(VEzaDatePickerWnd, CWnd)
IMPLEMENT_DYNAMIC(VEzaPopupInplaceListBox, CListBox)
IMPLEMENT_DYNAMIC(VEzaPopupInplaceDatePicker, VEzaDatePickerWnd)
IMPLEMENT_DYNAMIC(VEzaColorCtrl, CWnd)
IMPLEMENT_DYNCREATE(VEzaCustomizeCmdTreeNode, CObject)
