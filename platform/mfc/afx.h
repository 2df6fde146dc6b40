// The core of the class layer: objects and runtime classes, strings,
// exceptions, collections, files and archives, module and thread state.
#pragma once

#include "afx_base.h"
#include "afx_object.h"
#include "afx_string.h"
#include "afx_exceptions.h"
#include "afx_collections.h"
#include "afx_file.h"
#include "afx_archive.h"
#include "afx_module_state.h"
#include "afx_sync.h"
#include "afx_datetime.h"
