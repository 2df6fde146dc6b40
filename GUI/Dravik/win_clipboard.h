// Copying text to the clipboard for the copy commands of the console's grids
// and trees. GUI thread (a thread that may enter OLE's single-threaded
// apartment).
#pragma once

#include <windows.h>

// Replaces the clipboard's content with a copy of `text` (null: empty text)
// as CF_TEXT, offered through an OLE data source. OLE is initialised for the
// call and released after it. The text is rendered onto the clipboard before
// the call returns, so that it outlives the source, this thread's OLE and the
// program.
// False, with the clipboard unchanged and the cause logged, when the text
// could not be placed there (the clipboard is held open by another window,
// OLE cannot be initialised on this thread, no memory).
bool CopyTextToClipboard(LPCSTR text);
