// Common controls: image lists and tooltips (with the window side), the tree, tab,
// toolbar, status bar and trackbar controls.
#pragma once
#include "afxwin.h"
#include "afxcmn_tree.h"
#include "afxcmn_ctrls.h"
