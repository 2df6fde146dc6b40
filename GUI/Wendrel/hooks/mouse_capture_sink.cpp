#include "hooks/mouse_capture_sink.h"

HWND VEzaMouseCaptureSink::SetCapture(HWND hwnd) { return ::SetCapture(hwnd); }
