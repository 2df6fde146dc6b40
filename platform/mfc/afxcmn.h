// Common controls: image lists and tooltips (with the window side); tree, list and
// toolbar controls join here as the toolkit needs them.
#pragma once
#include "afxwin.h"
